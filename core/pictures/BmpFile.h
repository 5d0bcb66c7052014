#pragma once
// The BMP layouts the program reads with its own code, and the words for a BMP
// that nothing here reads. Qt's BMP decoder widens the channels of 16-bit
// pixels by a shift, so that white comes out 248, 252, 248, and refuses a
// 56-byte header (the 40-byte one followed by four masks) as unreadable. Those
// files are read here: 16-bit pixels of 5-5-5 or 5-6-5 (or other whole bit
// fields) in every Windows header, and 16-, 24- and 32-bit pixels after a
// 56-byte header, each channel widened to 8 bits by repeating its bits, so
// that a full channel is 255. Every other BMP is the decoder's, as before.
//
// Both the whole-picture load (decodePicture) and the cutter read their rows
// through readBmpRow, so that they give the same pixels.

#include "core/base/Result.h"

#include <QByteArray>
#include <QRgb>
#include <QString>

#include <array>
#include <optional>

// The bytes at a BMP file's start that readBmpLayout needs at most: the file
// header, the largest info header and three masks after it.
inline constexpr qint64 BmpHeadBytes = 14 + 124 + 12;

// The little-endian field of `size` bytes (at most 4) at `at`, which the
// bytes hold.
quint32 bmpField(const QByteArray &bytes, qsizetype at, int size);

// One colour channel of a pixel: its bits in the pixel, and the 8-bit value
// of each value they can hold.
struct BmpChannel {
    quint32 mask = 0;
    int shift = 0;         // of the channel's lowest bit
    int dropped = 0;       // low bits beyond 8 that are not kept
    std::array<quint8, 256> widened{};
};

// A BMP this program reads itself, as its header gives it.
struct BmpLayout {
    qint64 width = 0, height = 0; // in pixels, both above 0
    bool bottomUp = true;         // the last row first, as a positive height stores it
    int bits = 0;                 // 16, 24 or 32 a pixel
    qint64 dataStart = 0;         // where the first stored row starts
    qint64 rowBytes = 0;          // a stored row, padded to a multiple of 4
    qint32 dotsPerMeterX = 0, dotsPerMeterY = 0;
    BmpChannel red, green, blue;

    // True when `fileSize` bytes hold every row.
    bool rowsFit(qint64 fileSize) const { return fileSize >= dataStart && (fileSize - dataStart) / rowBytes >= height; }
};

// The layout of the BMP whose first bytes are `head` (up to BmpHeadBytes of
// them, or all of a shorter file): nullopt when the file is not one of those
// read here, and is the decoder's; refused, with a sentence for the user,
// when it is one of them that cannot be read (a bit field of odd masks, a
// 56-byte header with a palette or run-length coded rows, a picture too large
// to hold). A file too short for its header is nullopt: the cut-short check
// sees it.
[[nodiscard]] Result<std::optional<BmpLayout>> readBmpLayout(const QByteArray &head);

// Widens `count` pixels of a stored row, starting at pixel `first`, into
// `out` (opaque RGB). The row holds at least first + count pixels.
void readBmpRow(const BmpLayout &layout, const uchar *row, int first, int count, QRgb *out);

// Why the decoder refused a BMP file whose first bytes are `head`, in words a
// user can act on: its header size, bit depth or compression when the program
// does not read it, or that the file is damaged; each with what will do.
QString bmpRefusal(const QByteArray &head);
