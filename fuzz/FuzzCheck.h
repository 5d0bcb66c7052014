#pragma once
// What a fuzz target demands of the code it runs. Under the fuzzer a failed
// demand stops the run and keeps the input that broke it; the corpus replay
// test turns it into a test failure instead.

#include <QByteArray>
#include <QList>

#include <cstddef>
#include <cstdint>

using FuzzFailureHandler = void (*)(const char *what, const char *file, int line);

// The handler runs on every failed demand; without one the process aborts.
void setFuzzFailureHandler(FuzzFailureHandler handler);
void fuzzFailed(const char *what, const char *file, int line);

#define FUZZ_CHECK(condition)                                                                                    \
    do {                                                                                                         \
        if (!(condition))                                                                                        \
            fuzzFailed(#condition, __FILE__, __LINE__);                                                          \
    } while (0)

// The input split at every zero byte, so one input can fill several fields.
QList<QByteArray> fuzzFields(const uint8_t *data, size_t size);
