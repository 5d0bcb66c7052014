#include "core/pictures/PictureFile.h"

#include "core/pictures/BmpFile.h"
#include "core/pictures/JpegFile.h"

#include <QIODevice>
#include <QImageReader>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// A BMP that the program's own reader reads is judged by its layout (BmpFile.h).
// Any other header is read as the BMP decoder reads it: a size field of 40,
// 64, 108 or 124 announces the Windows header, any other value (0 included)
// the old 12-byte one with 16-bit sizes.
// `b` holds the file's first bytes, all of them up to BmpHeadBytes; `n` is its size.
bool bmpCutShort(const QByteArray &b, qint64 n)
{
    constexpr qint64 fileHeader = 14;
    if (n < fileHeader + 4)
        return true;
    const qint32 dataOffset = qint32(bmpField(b, 10, 4));
    const qint32 infoSize = qint32(bmpField(b, 14, 4));
    // The headers of 52 and 56 bytes hold the 40-byte header's fields and masks.
    if ((infoSize == 52 || infoSize == 56) && n < fileHeader + infoSize)
        return true;
    if (const auto own = readBmpLayout(b.left(BmpHeadBytes)); !own || own.value)
        return own && !own.value->rowsFit(n); // a refused header is the reader's to report
    const bool windows = infoSize == 40 || infoSize == 64 || infoSize == 108 || infoSize == 124;
    // The decoder reads 40 bytes of fields from a 64-byte header.
    const qint64 fields = !windows ? 12 : infoSize == 64 ? 40 : infoSize;
    if (n < fileHeader + fields)
        return true;
    qint64 width = 0, height = 0;
    quint32 planes = 0, bits = 0, compression = 0, colours = 0;
    if (windows) {
        width = qint32(bmpField(b, 18, 4));
        height = qint32(bmpField(b, 22, 4)); // negative: rows stored top down
        planes = bmpField(b, 26, 2);
        bits = bmpField(b, 28, 2);
        compression = bmpField(b, 30, 4);
        colours = bmpField(b, 46, 4);
    } else {
        width = qint16(bmpField(b, 18, 2));
        height = qint16(bmpField(b, 20, 2));
        planes = bmpField(b, 22, 2);
        bits = bmpField(b, 24, 2);
    }
    // Headers that the decoder refuses are its own to report.
    if (planes != 1 || !(bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32))
        return false;
    constexpr quint32 plainRgb = 0, bitFields = 3;
    const bool masks = compression == bitFields && (bits == 16 || bits == 32);
    // Run-length coded rows have no fixed size; the decoder sees where they end.
    if (compression != plainRgb && !masks)
        return false;
    const qint64 rows = std::llabs(height);
    if (width <= 0 || rows == 0)
        return false;

    // Where the rows start at the earliest: after the header's fields, the
    // colour masks and the palette, or further on where the header says. An
    // offset that points inside the headers is not followed.
    qint64 start = fileHeader + (windows ? 40 : 0);
    if (masks && windows && infoSize < 108)
        start += 12;
    if (bits <= 8) {
        const qint64 count = colours ? colours : qint64(1) << bits;
        if (count > 256)
            return false;
        start += count * (infoSize == 12 ? 3 : 4);
    }
    start = std::max<qint64>(start, dataOffset);
    if (n < start)
        return true;
    // Every row, the last one too, is padded to a multiple of 4 bytes. Width
    // and rows are below 2^31 and bits at most 32, so a row takes below 2^35
    // bytes; the rows are counted by division, as their product could overflow.
    const qint64 rowBytes = (width * bits + 31) / 32 * 4;
    return (n - start) / rowBytes < rows;
}

bool jpegCutShort(const QByteArray &b)
{
    return jpegPictureEnd(b) == 0;
}

// The picture's bytes as a device that notes when its reader asks for bytes
// past their end. The BMP decoder asks for exactly what it needs, so any read
// that comes back short counts; the JPEG decoder asks for blocks, so only a
// read at the very end does.
class WatchedBytes : public QIODevice {
public:
    WatchedBytes(const QByteArray &bytes, bool readsBlocks) : m_bytes(bytes), m_readsBlocks(readsBlocks)
    {
        // Unbuffered: every read of the decoder reaches readData as it was asked.
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool ranOut() const { return m_ranOut; }
    qint64 size() const override { return m_bytes.size(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 at = pos();
        const qint64 n = std::clamp<qint64>(m_bytes.size() - at, 0, maxSize);
        if (n < maxSize && (!m_readsBlocks || n == 0))
            m_ranOut = true;
        if (n > 0)
            std::memcpy(data, m_bytes.constData() + at, size_t(n));
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    const QByteArray &m_bytes;
    const bool m_readsBlocks;
    bool m_ranOut = false;
};

} // namespace

void JpegPictureEnd::read(const char *bytes, qsizetype size)
{
    const auto *p = reinterpret_cast<const quint8 *>(bytes);
    qsizetype at = 0;
    while (at < size && m_end == 0) {
        switch (m_step) {
        case Step::Skip: {
            const qsizetype step = qsizetype(std::min<qint64>(m_skip, size - at));
            at += step;
            m_skip -= step;
            if (m_skip == 0)
                m_step = Step::Scan;
            break;
        }
        case Step::Scan: {
            const void *ff = std::memchr(p + at, 0xFF, size_t(size - at));
            if (!ff) {
                at = size;
                break;
            }
            at = static_cast<const quint8 *>(ff) - p + 1;
            m_step = Step::Marker;
            break;
        }
        case Step::Marker: {
            const quint8 marker = p[at++];
            if (marker == 0xFF)
                break; // a fill byte
            if (marker == 0xD9)
                m_end = m_read + at; // the end of the picture
            else if (marker == 0xD8)
                m_end = -1;
            else if (marker < 0xC0 || (marker >= 0xD0 && marker <= 0xD7))
                m_step = Step::Scan; // a stuffed byte of coded data, or a marker without a segment
            else {
                m_step = Step::Length;
                m_lengthBytes = 0;
                m_length = 0;
            }
            break;
        }
        case Step::Length:
            m_length = m_length << 8 | p[at++];
            if (++m_lengthBytes == 2) {
                m_skip = std::max<qint64>(m_length, 2) - 2;
                m_step = m_skip > 0 ? Step::Skip : Step::Scan;
            }
            break;
        }
    }
    m_read += size;
}

qint64 jpegPictureEnd(const QByteArray &bytes)
{
    JpegPictureEnd walk;
    walk.read(bytes.constData(), bytes.size());
    return walk.end();
}

qint64 pictureMemoryLimit()
{
    const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    return limit > 0 ? limit : qint64(1) << 31;
}

bool pictureFitsInMemory(qint64 width, qint64 height)
{
    const qint64 limit = pictureMemoryLimit();
    // Compared a side at a time first, so that the product cannot overflow.
    return width <= limit && height <= limit && width * height <= limit / 4;
}

bool pictureSizeAllowed(qint64 width, qint64 height)
{
    return width <= LongestPictureSide && height <= LongestPictureSide && pictureFitsInMemory(width, height);
}

QString pictureSizeRefusal(qint64 width, qint64 height)
{
    if (pictureSizeAllowed(width, height))
        return QString();
    const QString refused = QStringLiteral("the picture is %1 x %2 pixels, too large to load").arg(width).arg(height);
    if (width > LongestPictureSide || height > LongestPictureSide)
        return refused + QStringLiteral(": no side may be longer than %1 pixels").arg(LongestPictureSide);
    return refused;
}

bool pictureFileFitsInMemory(qint64 bytes)
{
    return bytes <= 2 * pictureMemoryLimit();
}

QByteArray pictureFormat(const QByteArray &bytes)
{
    if (bytes.startsWith("BM"))
        return QByteArrayLiteral("bmp");
    if (bytes.startsWith("\xFF\xD8"))
        return QByteArrayLiteral("jpeg");
    return QByteArray();
}

bool pictureFileCutShort(const QByteArray &bytes)
{
    const QByteArray format = pictureFormat(bytes);
    if (format == "bmp")
        return bmpCutShort(bytes, bytes.size());
    if (format == "jpeg")
        return jpegCutShort(bytes);
    return false;
}

namespace {

// A BMP of the program's own reader, read whole: every row through readBmpRow,
// as the cutter reads them.
DecodedPicture decodeOwnBmp(const BmpLayout &layout, const QByteArray &bytes)
{
    DecodedPicture result;
    if (!layout.rowsFit(bytes.size())) {
        result.cutShort = true;
        return result;
    }
    QImage image(int(layout.width), int(layout.height), QImage::Format_RGB32);
    if (image.isNull()) {
        result.error = QStringLiteral("there is not enough memory for a picture of %1 x %2 pixels")
                           .arg(layout.width)
                           .arg(layout.height);
        return result;
    }
    const auto *rows = reinterpret_cast<const uchar *>(bytes.constData()) + layout.dataStart;
    for (qint64 y = 0; y < layout.height; ++y) {
        const qint64 stored = layout.bottomUp ? layout.height - 1 - y : y;
        readBmpRow(layout, rows + stored * layout.rowBytes, 0, image.width(),
                   reinterpret_cast<QRgb *>(image.scanLine(int(y))));
    }
    image.setDotsPerMeterX(layout.dotsPerMeterX);
    image.setDotsPerMeterY(layout.dotsPerMeterY);
    result.image = image;
    return result;
}

} // namespace

DecodedPicture decodePicture(const QByteArray &bytes, QSize shownSize)
{
    DecodedPicture result;
    const QByteArray format = pictureFormat(bytes);
    if (format.isEmpty()) {
        result.error = QStringLiteral("it is not a BMP or JPEG picture");
        return result;
    }
    if (format == "bmp") {
        const auto own = readBmpLayout(bytes.left(BmpHeadBytes));
        if (!own) {
            result.error = own.error;
            return result;
        }
        if (own.value)
            return decodeOwnBmp(*own.value, bytes);
    }
    const qint64 end = format == "jpeg" ? jpegPictureEnd(bytes) : 0;
    const QByteArray picture = end > 0 ? QByteArray::fromRawData(bytes.constData(), qsizetype(end)) : bytes;
    WatchedBytes device(picture, format == "jpeg");
    QImageReader reader(&device, format);
    // Only the format of the content: no other decoder is asked.
    reader.setAutoDetectImageFormat(false);
    // The size the header declares (a negative height: rows stored top down),
    // judged before a pixel is decoded.
    const QSize declared = reader.size();
    const qint64 width = declared.width(), height = qAbs(qint64(declared.height()));
    if (width > 0 && height > 0) {
        result.error = pictureSizeRefusal(width, height);
        if (!result.error.isEmpty())
            return result;
    }
    QImage image;
    if (format == "jpeg" && !shownSize.isEmpty()) {
        if (shownSize.width() < width && shownSize.height() < height)
            reader.setScaledSize(shownSize);
    }
    if (format == "bmp") {
        // The BMP decoder writes into the picture it is given when its size and
        // format fit, and leaves the pixels that run-length coded rows skip as
        // it finds them: given none, that is whatever the memory held. A
        // picture of colour 0 makes them the same on every load.
        const QImage::Format pixels = reader.imageFormat();
        if (width > 0 && height > 0 && pixels != QImage::Format_Invalid) {
            image = QImage(int(width), int(height), pixels);
            image.fill(0);
        }
    }
    if (!reader.read(&image))
        image = QImage();
    result.image = image;
    result.cutShort = device.ranOut();
    // The decoder's own words ("Unable to read image data") tell a user
    // nothing to do; the file's header says what it is.
    if (result.image.isNull())
        result.error = format == "bmp" ? bmpRefusal(bytes.left(BmpHeadBytes)) : jpegRefusal(bytes);
    return result;
}

