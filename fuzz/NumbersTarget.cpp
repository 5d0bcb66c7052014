#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzTargets.h"

#include "core/base/Numbers.h"
#include "core/base/Text1252.h"
#include "core/base/Value.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

// The text of a finite number reads back as a number within the rounding of
// its significant digits.
void readsBack(double v, int digits)
{
    const QString text = numberText(v, digits);
    const double back = val(text);
    FUZZ_CHECK(std::isfinite(back));
    if (v == 0.0) {
        FUZZ_CHECK(back == 0.0);
        return;
    }
    // Below the normal range the digits cannot hold their precision.
    if (std::fabs(v) < std::numeric_limits<double>::min())
        return;
    FUZZ_CHECK(std::fabs(back - v) <= std::fabs(v) * std::pow(10.0, 1 - digits));
}

} // namespace

void fuzzNumbers(const uint8_t *data, size_t size)
{
    // The bytes as a text in the code page: Val, the 16-bit box conversion, the
    // dynamic value. The sanitizers catch any conversion out of range.
    const QString text = fromWindows1252(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const double v = val(text);
    (void)roundHalfEven(v);
    if (const auto n = toInt16(text))
        FUZZ_CHECK(*n >= -32768 && *n <= 32767);
    (void)Value(text).toDouble();

    // The first bytes as a double, and as a single.
    double d = 0;
    std::memcpy(&d, data, std::min(size, sizeof d));
    (void)roundHalfEven(d);
    if (std::isfinite(d)) {
        readsBack(d, 15);
        const auto r = roundHalfEven(d);
        if (std::fabs(d) < 1e18)
            FUZZ_CHECK(std::fabs(double(r) - d) <= 0.5);
    }
    float f = 0;
    std::memcpy(&f, data, std::min(size, sizeof f));
    if (std::isfinite(f)) {
        const double back = val(numberText(f));
        FUZZ_CHECK(std::isfinite(back));
    }
    // The largest double is written so that it reads back as itself.
    FUZZ_CHECK(val(numberText(std::numeric_limits<double>::max())) == std::numeric_limits<double>::max());
}
