#include "core/base/Numbers.h"

#include <QLocale>

#include <cmath>
#include <limits>

long long roundHalfEven(double v)
{
    if (std::isnan(v))
        return 0;
    // 2^63 is the first double beyond the range; converting it would be undefined.
    constexpr double limit = 9223372036854775808.0;
    const double r = std::nearbyint(v); // default rounding mode: ties to even
    if (r >= limit)
        return std::numeric_limits<long long>::max();
    if (r < -limit)
        return std::numeric_limits<long long>::min();
    return static_cast<long long>(r);
}

std::optional<double> toReal(const QString &text)
{
    QString t = text.trimmed();
    if (t.isEmpty() || (t.contains(u'.') && t.contains(u',')))
        return std::nullopt;
    t.replace(u',', u'.');
    bool ok = false;
    const double d = t.toDouble(&ok); // locale independent: "." only
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}

template <class Int>
static std::optional<Int> wholeOf(double v)
{
    if (!std::isfinite(v))
        return std::nullopt;
    const double r = std::nearbyint(v);
    if (r < double(std::numeric_limits<Int>::min()) || r > double(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(r);
}

std::optional<int16_t> int16Of(double v)
{
    return wholeOf<int16_t>(v);
}

std::optional<int32_t> int32Of(double v)
{
    return wholeOf<int32_t>(v);
}

namespace {

// A box text is written with "." only; toReal also takes the user's ",".
std::optional<double> boxNumber(const QString &text)
{
    if (text.contains(u','))
        return std::nullopt;
    return toReal(text);
}

} // namespace

std::optional<int16_t> toInt16(const QString &text)
{
    const auto v = boxNumber(text);
    return v ? int16Of(*v) : std::nullopt;
}

std::optional<int32_t> toInt32(const QString &text)
{
    const auto v = boxNumber(text);
    return v ? int32Of(*v) : std::nullopt;
}

double val(const QString &text)
{
    int i = 0;
    const int n = text.size();
    auto skipBlanks = [&] {
        while (i < n && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r'))
            ++i;
    };
    skipBlanks();
    if (i + 1 < n && text[i] == u'&') {
        const QChar p = text[i + 1].toUpper();
        int base = p == u'H' ? 16 : p == u'O' ? 8 : 0;
        if (base) {
            i += 2;
            // In double: a long run of digits grows large, never past the range
            // of a whole number type.
            double v = 0;
            while (i < n) {
                const char16_t c = text[i].unicode();
                int d = -1;
                if (c >= u'0' && c <= u'9')
                    d = c - u'0';
                else if (base == 16 && c >= u'a' && c <= u'f')
                    d = c - u'a' + 10;
                else if (base == 16 && c >= u'A' && c <= u'F')
                    d = c - u'A' + 10;
                if (d < 0 || d >= base)
                    break;
                v = v * base + d;
                ++i;
            }
            return std::isfinite(v) ? v : std::numeric_limits<double>::max();
        }
    }
    QString digits;
    bool seenDigit = false, seenPoint = false, seenExp = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+'))
        digits += text[i++];
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r')
            continue;
        if (c.isDigit() && c.unicode() < 128) {
            digits += c;
            seenDigit = true;
        } else if (c == u'.' && !seenPoint && !seenExp) {
            digits += c;
            seenPoint = true;
        } else if ((c == u'e' || c == u'E' || c == u'd' || c == u'D') && seenDigit && !seenExp) {
            // An exponent counts only when digits follow it.
            int j = i + 1;
            QString exp = QStringLiteral("e");
            if (j < n && (text[j] == u'-' || text[j] == u'+'))
                exp += text[j++];
            if (j < n && text[j] >= u'0' && text[j] <= u'9') {
                digits += exp;
                seenExp = true;
                i = j - 1;
            } else {
                break;
            }
        } else {
            break;
        }
    }
    if (!seenDigit)
        return 0.0;
    bool ok = false;
    const double d = digits.toDouble(&ok);
    return ok ? d : 0.0;
}

QString numberText(double v, int digits)
{
    if (v == 0.0)
        return QStringLiteral("0");
    if (!std::isfinite(v))
        return v > 0 ? QStringLiteral("Infinity") : v < 0 ? QStringLiteral("-Infinity") : QStringLiteral("NaN");
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(v))));
    // Fixed notation while the number fits in the significant digits.
    if (exponent >= digits || exponent < -digits) {
        QString s = QString::number(v, 'E', digits - 1); // d.dddE+xx
        // Rounded to `digits`, a value near the largest double can pass it and
        // would no longer read back; it is then written with the digits it needs.
        bool readsBack = false;
        if (std::isinf(s.toDouble(&readsBack)) || !readsBack)
            s = QString::number(v, 'E', QLocale::FloatingPointShortest);
        QString mantissa = s.section(u'E', 0, 0);
        QString exp = s.section(u'E', 1, 1);
        if (mantissa.contains(u'.')) {
            while (mantissa.endsWith(u'0'))
                mantissa.chop(1);
            if (mantissa.endsWith(u'.'))
                mantissa.chop(1);
        }
        const QChar sign = exp.startsWith(u'-') ? u'-' : u'+';
        exp.remove(0, (exp.startsWith(u'-') || exp.startsWith(u'+')) ? 1 : 0);
        while (exp.size() > 2 && exp.startsWith(u'0'))
            exp.remove(0, 1);
        if (exp.size() < 2)
            exp.prepend(u'0');
        return mantissa + u'E' + sign + exp;
    }
    QString s = QString::number(v, 'g', digits);
    if (s.contains(u'e')) // very small or large values within range: force fixed
        s = QString::number(v, 'f', std::max(0, digits - 1 - exponent));
    if (s.contains(u'.')) {
        while (s.endsWith(u'0'))
            s.chop(1);
        if (s.endsWith(u'.'))
            s.chop(1);
    }
    return s;
}
