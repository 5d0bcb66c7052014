#include "platform/PictureFile.h"

#include <cstdlib>
#include <cstring>

namespace {

quint32 le(const QByteArray &b, qsizetype at, int bytes)
{
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | quint8(b[at + i]);
    return v;
}

bool bmpCutShort(const QByteArray &b)
{
    constexpr qsizetype fileHeader = 14;
    if (b.size() < fileHeader + 4)
        return true;
    const qint64 dataStart = le(b, 10, 4);
    const quint32 infoSize = le(b, 14, 4);
    qint64 width = 0, height = 0;
    quint32 bitsPerPixel = 0, compression = 0;
    if (infoSize == 12) { // the old core header: 16-bit sizes
        if (b.size() < fileHeader + 12)
            return true;
        width = le(b, 18, 2);
        height = le(b, 20, 2);
        bitsPerPixel = le(b, 24, 2);
    } else if (infoSize >= 40) {
        if (b.size() < fileHeader + 40)
            return true;
        width = qint32(le(b, 18, 4));
        height = qint32(le(b, 22, 4)); // negative: rows stored top down
        bitsPerPixel = le(b, 28, 2);
        compression = le(b, 30, 4);
    } else {
        return false;
    }
    // Run-length coded rows have no fixed size; only plain rows can be counted.
    constexpr quint32 plainRgb = 0, bitFields = 3, alphaBitFields = 6;
    if (compression != plainRgb && compression != bitFields && compression != alphaBitFields)
        return false;
    // Every row, the last one too, is padded to a multiple of 4 bytes.
    const qint64 rowBytes = (std::llabs(width) * bitsPerPixel + 31) / 32 * 4;
    return b.size() < dataStart + rowBytes * std::llabs(height);
}

bool jpegCutShort(const QByteArray &b)
{
    const auto *p = reinterpret_cast<const quint8 *>(b.constData());
    const qsizetype n = b.size();
    qsizetype at = 2; // after the start marker
    while (at < n) {
        if (p[at] != 0xFF)
            return false; // not a marker where one belongs: the decoder says what is wrong
        while (at < n && p[at] == 0xFF)
            ++at; // fill bytes
        if (at >= n)
            return true;
        const quint8 marker = p[at++];
        if (marker == 0xD9)
            return false; // the end of the picture
        if (marker == 0x01 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // markers without a segment
        if (at + 2 > n)
            return true;
        const qsizetype length = p[at] << 8 | p[at + 1];
        if (length < 2)
            return false;
        at += length;
        if (at > n)
            return true;
        if (marker != 0xDA)
            continue;
        // Coded data after a scan header, up to the next marker: in it a 0xFF
        // is followed by a stuffed 0 or a restart marker.
        for (;;) {
            const void *ff = std::memchr(p + at, 0xFF, size_t(n - at));
            if (!ff)
                return true;
            at = static_cast<const quint8 *>(ff) - p;
            if (at + 1 >= n)
                return true;
            const quint8 next = p[at + 1];
            if (next == 0x00 || (next >= 0xD0 && next <= 0xD7))
                at += 2;
            else if (next == 0xFF)
                at += 1;
            else
                break;
        }
    }
    return true;
}

} // namespace

bool pictureFileCutShort(const QByteArray &bytes)
{
    if (bytes.startsWith("BM"))
        return bmpCutShort(bytes);
    if (bytes.startsWith("\xFF\xD8"))
        return jpegCutShort(bytes);
    return false;
}
