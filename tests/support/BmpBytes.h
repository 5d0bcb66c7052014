#pragma once
// A BMP file made byte by byte, for the layouts that Qt's writer never makes:
// 16-bit pixels, bit-field masks, other header sizes. Each pixel is the raw
// value stored for it (its low bits/8 bytes, little endian).

#include <QByteArray>

#include <array>
#include <functional>

struct BmpBytes {
    int width = 1, height = 1;
    bool topDown = false;  // a negative height, the first row first
    int bits = 16;
    quint32 compression = 0; // 0 plain, 3 bit fields
    quint32 infoSize = 40;   // 40, 52, 56, 108, 124 or any other value to claim
    // Red, green, blue and alpha: written after the 40-byte header's fields
    // for bit fields or a larger header (alpha from a header of 56 bytes on).
    std::array<quint32, 4> masks{0, 0, 0, 0};

    QByteArray make(const std::function<quint32(int x, int y)> &pixel) const
    {
        const int rowBytes = (width * bits + 31) / 32 * 4;
        const bool masksAfter = infoSize == 40 && compression == 3;
        const int dataStart = 14 + int(infoSize) + (masksAfter ? 12 : 0);
        QByteArray bytes(dataStart + rowBytes * height, '\0');
        auto put = [&](int at, qint64 value, int size) {
            for (int i = 0; i < size; ++i)
                bytes[at + i] = char((value >> (8 * i)) & 0xFF);
        };
        bytes[0] = 'B';
        bytes[1] = 'M';
        put(2, bytes.size(), 4);
        put(10, dataStart, 4);
        put(14, infoSize, 4);
        put(18, width, 4);
        put(22, topDown ? -height : height, 4);
        put(26, 1, 2);
        put(28, bits, 2);
        put(30, compression, 4);
        put(34, rowBytes * height, 4);
        put(38, 2835, 4); // 72 dots an inch
        put(42, 2835, 4);
        const int maskCount = masksAfter ? 3 : infoSize == 52 ? 3 : infoSize >= 56 ? 4 : 0;
        for (int i = 0; i < maskCount; ++i)
            put(54 + 4 * i, masks[size_t(i)], 4);
        for (int y = 0; y < height; ++y) {
            const int stored = topDown ? y : height - 1 - y;
            for (int x = 0; x < width; ++x)
                put(dataStart + stored * rowBytes + x * bits / 8, pixel(x, y), bits / 8);
        }
        return bytes;
    }
};
