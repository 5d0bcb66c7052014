# make run   installs what is missing, builds and starts scenara5
# make test  installs what is missing, builds with sanitizers and the library's
#            assertions, runs every test, then starts each program once and ends it
#            with SIGTERM, and shares a scene from make run's build against
#            services that fail and one that takes it (scripts/smoke-share)
# make bench builds and runs every benchmark (not part of make test), and fails
#            at the end, naming them, when any missed a target
# make fuzz  builds the fuzz targets with clang and runs each for FUZZ_SECONDS (60)

JOBS ?= $(shell nproc)

.PHONY: run test bench fuzz deps build-run build-test clean

deps:
	scripts/install-deps

RUN_TREE = cmake -S . -B build/run -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCENARA_TESTS=OFF

build-run: deps
	$(RUN_TREE)
	cmake --build build/run -j $(JOBS)

run: build-run
	cd build/run && ./scenara5

build-test: deps
	cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DSCENARA_SANITIZE=ON -DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS
	cmake --build build/test -j $(JOBS)

test: build-test
	cd build/test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error -j $(JOBS)
	scripts/smoke-signals build/test
	$(RUN_TREE)
	scripts/smoke-share build/run

bench: deps
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DSCENARA_BENCH=ON -DSCENARA_TESTS=OFF
	cmake --build build/bench -j $(JOBS)
	scripts/run-bench build/bench

FUZZ_SECONDS ?= 60

fuzz:
	scripts/install-deps fuzz
	cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DSCENARA_FUZZ=ON -DSCENARA_TESTS=OFF
	cmake --build build/fuzz -j $(JOBS) --target fuzz_targets
	scripts/run-fuzz build/fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build
