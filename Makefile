# make run   installs what is missing, builds and starts scenara5
# make test  installs what is missing, builds with sanitizers and runs every test
# make bench builds and runs the benchmarks (not part of make test)

JOBS ?= $(shell nproc)

.PHONY: run test bench deps build-run build-test clean

deps:
	scripts/install-deps

build-run: deps
	cmake -S . -B build/run -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCENARA_TESTS=OFF
	cmake --build build/run -j $(JOBS)

run: build-run
	cd build/run && ./scenara5

build-test: deps
	cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DSCENARA_SANITIZE=ON
	cmake --build build/test -j $(JOBS)

test: build-test
	cd build/test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error -j $(JOBS)

bench: deps
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DSCENARA_BENCH=ON -DSCENARA_TESTS=OFF
	cmake --build build/bench -j $(JOBS)
	cd build/bench && for b in bench_*; do if [ -f "$$b" ] && [ -x "$$b" ]; then ./$$b || exit 1; fi; done

clean:
	rm -rf build
