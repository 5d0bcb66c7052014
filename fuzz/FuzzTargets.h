#pragma once
// One fuzz target for every reader of input that comes from outside the
// program. Each takes any bytes, runs the real code on them and demands what
// must hold for every input (FUZZ_CHECK); the sanitizers add that nothing
// overflows, leaks or reads out of bounds. `make fuzz` runs them under
// libFuzzer; the corpus replay test runs every file of fuzz/corpus/<name>/
// through the same functions.

#include <cstddef>
#include <cstdint>

// A picture file's bytes through the picture loader: whatever it accepts, a
// shorter part of the same bytes is refused or gives the same pixels.
void fuzzPictureLoad(const uint8_t *data, size_t size);
// Scene list contents: every name the library lists, the writer's duplicate
// test finds, and a name the writer adds is found at once.
void fuzzSceneList(const uint8_t *data, size_t size);
// A scene name and typed values: when the save's checks pass them, every path
// stays in its folder and the scene file gives each key back its own value.
void fuzzSceneNames(const uint8_t *data, size_t size);
// Number texts and doubles: no conversion overflows, every number's text
// reads back as that number.
void fuzzNumbers(const uint8_t *data, size_t size);

struct FuzzTarget {
    const char *name; // also the folder of its seed corpus
    void (*run)(const uint8_t *data, size_t size);
};

inline constexpr FuzzTarget kFuzzTargets[] = {
    {"picture_load", fuzzPictureLoad},
    {"scene_list", fuzzSceneList},
    {"scene_names", fuzzSceneNames},
    {"numbers", fuzzNumbers},
};
