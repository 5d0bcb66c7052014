#include "fuzz/FuzzCheck.h"

#include <cstdio>
#include <cstdlib>

static FuzzFailureHandler failureHandler = nullptr;

void setFuzzFailureHandler(FuzzFailureHandler handler)
{
    failureHandler = handler;
}

void fuzzFailed(const char *what, const char *file, int line)
{
    if (failureHandler) {
        failureHandler(what, file, line);
        return;
    }
    std::fprintf(stderr, "%s:%d: demand failed: %s\n", file, line, what);
    std::abort();
}

QList<QByteArray> fuzzFields(const uint8_t *data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0');
}
