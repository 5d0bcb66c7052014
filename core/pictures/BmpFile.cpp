#include "core/pictures/BmpFile.h"

#include "core/pictures/PictureFile.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <limits>

namespace {

constexpr qint64 FileHeader = 14;
constexpr quint32 PlainRgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3;

// The advice every refusal ends with.
QString refused(const QString &why)
{
    return why + QStringLiteral("; save it as a 24-bit BMP or as a JPEG picture and choose that file");
}

// The 40-byte header's fields followed by masks, without the colour space of
// the larger headers: 52 bytes with three masks, 56 with the alpha mask too.
bool maskHeader(quint32 infoSize)
{
    return infoSize == 52 || infoSize == 56;
}

// A channel's mask is one run of bits inside the pixel; its values are
// widened by repeating their bits from the top (5 bits v: v << 3 | v >> 2).
bool channelOf(quint32 mask, int pixelBits, BmpChannel *channel)
{
    const quint64 inside = (quint64(1) << pixelBits) - 1;
    if (mask == 0 || (mask & ~inside) != 0)
        return false;
    const int shift = std::countr_zero(mask);
    const quint32 run = mask >> shift;
    if ((run & (run + 1)) != 0)
        return false; // holes in the run
    const int bits = std::popcount(run);
    channel->mask = mask;
    channel->shift = shift;
    channel->dropped = std::max(bits - 8, 0);
    const int kept = bits - channel->dropped;
    for (quint32 v = 0; v < (quint32(1) << kept); ++v) {
        quint32 out = 0;
        for (int at = 8 - kept; at > -kept; at -= kept)
            out |= at >= 0 ? v << at : v >> -at;
        channel->widened[v] = quint8(out);
    }
    return true;
}

QString compressionName(quint32 compression)
{
    switch (compression) {
    case Rle8:
        return QStringLiteral("run-length coded in 8 bits");
    case Rle4:
        return QStringLiteral("run-length coded in 4 bits");
    case BitFields:
        return QStringLiteral("in bit fields");
    case 4:
        return QStringLiteral("as a JPEG picture inside the BMP");
    case 5:
        return QStringLiteral("as a PNG picture inside the BMP");
    case 6:
        return QStringLiteral("in bit fields with transparency");
    default:
        return QStringLiteral("with compression %1").arg(compression);
    }
}

} // namespace

quint32 bmpField(const QByteArray &bytes, qsizetype at, int size)
{
    quint32 v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = v << 8 | quint8(bytes[at + i]);
    return v;
}

Result<std::optional<BmpLayout>> readBmpLayout(const QByteArray &head)
{
    using Read = Result<std::optional<BmpLayout>>;
    const qint64 n = head.size();
    if (n < FileHeader + 4 || !head.startsWith("BM"))
        return Read::success(std::nullopt);
    const quint32 infoSize = bmpField(head, 14, 4);
    if (!(infoSize == 40 || maskHeader(infoSize) || infoSize == 108 || infoSize == 124))
        return Read::success(std::nullopt);
    if (n < FileHeader + 40)
        return Read::success(std::nullopt);
    const int bits = int(bmpField(head, 28, 2));
    if (bits != 16 && !maskHeader(infoSize))
        return Read::success(std::nullopt); // the decoder's, as before

    const QString header = QStringLiteral("it is a BMP with a %1-byte header").arg(infoSize);
    const quint32 compression = bmpField(head, 30, 4);
    if (bits != 16 && bits != 24 && bits != 32) {
        return Read::failure(refused(
            header + QStringLiteral(" and %1 bits a pixel, which this program does not read").arg(bits)));
    }
    if (!(compression == PlainRgb || (compression == BitFields && bits != 24))) {
        return Read::failure(refused(QStringLiteral("it is a %1-bit BMP with its pixels stored %2, which this program "
                                                    "does not read")
                                         .arg(bits)
                                         .arg(compressionName(compression))));
    }
    if (bmpField(head, 26, 2) != 1)
        return Read::failure(refused(QStringLiteral("the file is damaged: its header gives %1 colour planes, not 1")
                                         .arg(bmpField(head, 26, 2))));
    const qint64 width = qint32(bmpField(head, 18, 4)), storedHeight = qint32(bmpField(head, 22, 4));
    if (width <= 0 || storedHeight == 0 || storedHeight == std::numeric_limits<qint32>::min()) {
        return Read::failure(
            refused(QStringLiteral("the file is damaged: its header gives a picture of %1 x %2 pixels")
                        .arg(width)
                        .arg(storedHeight)));
    }
    const qint64 height = std::llabs(storedHeight);
    if (const QString tooLarge = pictureSizeRefusal(width, height); !tooLarge.isEmpty())
        return Read::failure(tooLarge);

    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bottomUp = storedHeight > 0;
    layout.bits = bits;
    layout.dotsPerMeterX = qint32(bmpField(head, 38, 4));
    layout.dotsPerMeterY = qint32(bmpField(head, 42, 4));
    // The masks follow the 40-byte header's fields, inside the larger headers
    // or after the 40-byte one.
    quint32 red = 0xFF0000, green = 0xFF00, blue = 0xFF;
    if (compression == BitFields) {
        if (n < FileHeader + 40 + 12)
            return Read::success(std::nullopt);
        red = bmpField(head, 54, 4);
        green = bmpField(head, 58, 4);
        blue = bmpField(head, 62, 4);
    } else if (bits == 16) {
        red = 0x7C00, green = 0x03E0, blue = 0x001F;
    }
    if (!channelOf(red, bits, &layout.red) || !channelOf(green, bits, &layout.green) ||
        !channelOf(blue, bits, &layout.blue) || (red & green) != 0 || (red & blue) != 0 || (green & blue) != 0) {
        return Read::failure(refused(QStringLiteral("it is a %1-bit BMP whose colour masks (red %2, green %3, blue "
                                                    "%4) this program does not read")
                                         .arg(bits)
                                         .arg(red, 0, 16)
                                         .arg(green, 0, 16)
                                         .arg(blue, 0, 16)));
    }
    // The rows start after the headers and masks at the earliest; an offset
    // that points inside them is not followed.
    const qint64 headers = FileHeader + infoSize + (infoSize == 40 && compression == BitFields ? 12 : 0);
    layout.dataStart = std::max<qint64>(headers, bmpField(head, 10, 4));
    layout.rowBytes = (width * bits + 31) / 32 * 4;
    return Read::success(layout);
}

void readBmpRow(const BmpLayout &layout, const uchar *row, int first, int count, QRgb *out)
{
    const int bytes = layout.bits / 8;
    const uchar *p = row + qint64(first) * bytes;
    auto channel = [](const BmpChannel &c, quint32 v) { return c.widened[((v & c.mask) >> c.shift) >> c.dropped]; };
    for (int x = 0; x < count; ++x, p += bytes) {
        quint32 v = quint32(p[0]) | quint32(p[1]) << 8;
        if (bytes > 2)
            v |= quint32(p[2]) << 16;
        if (bytes > 3)
            v |= quint32(p[3]) << 24;
        out[x] = qRgb(channel(layout.red, v), channel(layout.green, v), channel(layout.blue, v));
    }
}

QString bmpRefusal(const QByteArray &head)
{
    const QString damaged = refused(QStringLiteral("the file is damaged: its header or pixels do not make a picture"));
    if (head.size() < FileHeader + 16 || !head.startsWith("BM"))
        return damaged;
    const quint32 infoSize = bmpField(head, 14, 4);
    // Any size but these the decoder reads as the old 12-byte header.
    const bool windows = infoSize == 40 || infoSize == 64 || infoSize == 108 || infoSize == 124;
    if (!windows && infoSize != 12 && !maskHeader(infoSize)) {
        return refused(QStringLiteral("it is a BMP with a %1-byte header, a kind this program does not read")
                           .arg(infoSize));
    }
    if (!windows && !maskHeader(infoSize)) {
        const int bits = int(bmpField(head, 24, 2));
        if (!(bits == 1 || bits == 4 || bits == 8 || bits == 24))
            return refused(QStringLiteral("it is a BMP of %1 bits a pixel, which this program does not read").arg(bits));
        return damaged;
    }
    if (head.size() < FileHeader + 40)
        return damaged;
    const int bits = int(bmpField(head, 28, 2));
    const quint32 compression = bmpField(head, 30, 4);
    if (!(bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32))
        return refused(QStringLiteral("it is a BMP of %1 bits a pixel, which this program does not read").arg(bits));
    const bool known = compression == PlainRgb || (compression == Rle8 && bits == 8) ||
                       (compression == Rle4 && bits == 4) || (compression == BitFields && (bits == 16 || bits == 32));
    if (!known) {
        return refused(QStringLiteral("it is a %1-bit BMP with its pixels stored %2, which this program does not read")
                           .arg(bits)
                           .arg(compressionName(compression)));
    }
    return damaged;
}
