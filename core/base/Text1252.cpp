#include "core/base/Text1252.h"

namespace {
// Characters of bytes 0x80..0x9F; 0 marks the five undefined bytes.
constexpr char16_t kHigh[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

int byteFor(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] && kHigh[i] == c)
            return 0x80 + i;
    return -1;
}
}

QByteArray toWindows1252(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const int b = byteFor(c.unicode());
        out.append(char(b < 0 ? '?' : b));
    }
    return out;
}

QString fromWindows1252(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const unsigned char b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80])
            out.append(QChar(kHigh[b - 0x80]));
        else
            out.append(QChar(b));
    }
    return out;
}

bool fitsWindows1252(const QString &text)
{
    for (QChar c : text)
        if (byteFor(c.unicode()) < 0)
            return false;
    return true;
}
