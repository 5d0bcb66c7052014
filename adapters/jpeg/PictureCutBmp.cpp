// The BMP reader of PictureCutter: uncompressed 24-bit and 8-bit pictures with
// the common 40-byte header, and the layouts of the core's own BMP reader
// (16-bit pixels, a 56-byte header), read only for the rows of the cut.

#include "adapters/jpeg/PictureCutFormats.h"
#include "core/pictures/BmpFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>

#include <unistd.h>

namespace {

quint32 le32(const uchar *p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint16 le16(const uchar *p)
{
    return quint16(p[0] | p[1] << 8);
}

// Reads exactly `size` bytes at `offset`; false on an error or a short read.
bool readAt(int fd, void *to, qint64 size, qint64 offset)
{
    auto *at = static_cast<uchar *>(to);
    while (size > 0) {
        const ssize_t n = ::pread(fd, at, size_t(size), off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        at += n;
        offset += n;
        size -= n;
    }
    return true;
}

// The rows of the cut, `rowBytes` each, into `input`; false on a short read.
bool readCutRows(const CutRequest &request, const QRect &cut, qint64 height, bool bottomUp, qint64 dataStart,
                 qint64 rowBytes, std::vector<uchar> &input)
{
    // The cut's rows lie together in the file; a file stored bottom up (a
    // positive height) holds the last row first.
    const qint64 firstFileRow = bottomUp ? height - (cut.y() + cut.height()) : cut.y();
    const qint64 span = rowBytes * cut.height();
    if (input.size() < size_t(span))
        input.resize(size_t(span));
    return readAt(request.fd, input.data(), span, dataStart + firstFileRow * rowBytes);
}

// A BMP of the core's own reader (16-bit pixels, a 56-byte header): its rows
// widened as the loader widens them.
bool readOwnBmpCut(const CutRequest &request, const BmpLayout &layout, std::vector<uchar> &pixels,
                   std::vector<uchar> &input, QImage *picture)
{
    if (!layout.rowsFit(request.fileSize))
        return false;
    const QRect cut = cutRect(request, layout.width, layout.height);
    if (cut.isEmpty())
        return false;
    if (!readCutRows(request, cut, layout.height, layout.bottomUp, layout.dataStart, layout.rowBytes, input))
        return false;
    const qint64 stride = qint64(cut.width()) * 4;
    pixels.resize(size_t(stride * cut.height()));
    for (int y = 0; y < cut.height(); ++y) {
        const qint64 fileRow = layout.bottomUp ? cut.height() - 1 - y : y;
        readBmpRow(layout, input.data() + fileRow * layout.rowBytes, cut.x(), cut.width(),
                   reinterpret_cast<QRgb *>(pixels.data() + y * stride));
    }
    *picture = QImage(pixels.data(), cut.width(), cut.height(), stride, QImage::Format_RGB32);
    picture->setDotsPerMeterX(layout.dotsPerMeterX);
    picture->setDotsPerMeterY(layout.dotsPerMeterY);
    return true;
}

} // namespace

bool readBmpCut(const CutRequest &request, std::vector<uchar> &pixels, std::vector<uchar> &input, QImage *picture)
{
    QByteArray start(qsizetype(std::min<qint64>(request.fileSize, BmpHeadBytes)), Qt::Uninitialized);
    if (!readAt(request.fd, start.data(), start.size(), 0))
        return false;
    // A header the core's reader refuses is the loader's to report.
    const auto own = readBmpLayout(start);
    if (!own)
        return false;
    if (own.value)
        return readOwnBmpCut(request, *own.value, pixels, input, picture);

    constexpr qint64 fileHeader = 14, infoHeader = 40;
    if (request.fileSize < fileHeader + infoHeader)
        return false;
    const auto *head = reinterpret_cast<const uchar *>(start.constData());
    // Only the layout that the picture loader reads as it stands: the palette
    // right after a 40-byte header, plain rows where the file header says.
    const qint64 dataStart = le32(head + 10);
    const qint64 width = qint32(le32(head + 18)), storedHeight = qint32(le32(head + 22));
    const int planes = le16(head + 26), bits = le16(head + 28);
    const quint32 compression = le32(head + 30);
    const qint32 dotsPerMeterX = qint32(le32(head + 38)), dotsPerMeterY = qint32(le32(head + 42));
    const qint64 colorsUsed = le32(head + 46);
    if (le32(head + 14) != infoHeader || planes != 1 || compression != 0 || (bits != 24 && bits != 8))
        return false;
    if (width <= 0 || storedHeight == 0 || storedHeight == std::numeric_limits<qint32>::min())
        return false;
    const qint64 height = std::llabs(storedHeight);
    const qint64 colors = bits == 8 ? (colorsUsed ? colorsUsed : 256) : 0;
    if (colors > 256 || dataStart < fileHeader + infoHeader + 4 * colors || dataStart > request.fileSize)
        return false;
    // Every row, the last one too, is padded to a multiple of 4 bytes; a file
    // shorter than its rows is cut short.
    const qint64 rowBytes = (width * bits + 31) / 32 * 4;
    if ((request.fileSize - dataStart) / rowBytes < height)
        return false;
    const QRect cut = cutRect(request, width, height);
    if (cut.isEmpty())
        return false;

    // Indexes beyond the palette show black, as in the loader's pictures.
    QRgb palette[256];
    if (bits == 8) {
        uchar raw[4 * 256];
        if (!readAt(request.fd, raw, 4 * colors, fileHeader + infoHeader))
            return false;
        for (int i = 0; i < 256; ++i)
            palette[i] = i < colors ? qRgb(raw[4 * i + 2], raw[4 * i + 1], raw[4 * i]) : qRgb(0, 0, 0);
    }

    const bool bottomUp = storedHeight > 0;
    if (!readCutRows(request, cut, height, bottomUp, dataStart, rowBytes, input))
        return false;

    const qint64 stride = qint64(cut.width()) * 4;
    pixels.resize(size_t(stride * cut.height()));
    const int bytesPerPixel = bits / 8;
    for (int y = 0; y < cut.height(); ++y) {
        const qint64 fileRow = bottomUp ? cut.height() - 1 - y : y;
        const uchar *in = input.data() + fileRow * rowBytes + qint64(cut.x()) * bytesPerPixel;
        auto *out = reinterpret_cast<QRgb *>(pixels.data() + y * stride);
        if (bits == 24) {
            for (int x = 0; x < cut.width(); ++x, in += 3)
                out[x] = qRgb(in[2], in[1], in[0]);
        } else {
            for (int x = 0; x < cut.width(); ++x)
                out[x] = palette[in[x]];
        }
    }
    *picture = QImage(pixels.data(), cut.width(), cut.height(), stride, QImage::Format_RGB32);
    picture->setDotsPerMeterX(dotsPerMeterX);
    picture->setDotsPerMeterY(dotsPerMeterY);
    return true;
}
