#include "core/pictures/JpegFile.h"

#include "core/pictures/PictureFile.h"

#include <algorithm>
#include <optional>

namespace {

// The advice every refusal ends with.
QString refused(const QString &why)
{
    return why + QStringLiteral("; save it as an 8-bit JPEG or as a 24-bit BMP picture and choose that file");
}

QString damaged(const QString &why)
{
    return refused(QStringLiteral("the file is damaged: ") + why);
}

// A frame header: SOF0 to SOF15 but for the three markers among them that
// are no frame (DHT, JPG and DAC).
bool isFrameHeader(int marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, with no segment after them.
bool standsAlone(int marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

struct Reader {
    const QByteArray &bytes;
    int at(qsizetype i) const { return quint8(bytes[i]); }
    int field(qsizetype i) const { return at(i) << 8 | at(i + 1); }
};

// What the frame header at `segment` (just past its marker) says the decoder
// does not read; nothing when it says nothing against the picture.
std::optional<QString> frameRefusal(const Reader &r, qsizetype segment, int marker)
{
    if (marker == 0xC3 || marker == 0xC7 || marker == 0xCB || marker == 0xCF)
        return refused(QStringLiteral("it is a lossless JPEG, which this program does not read"));
    if (marker == 0xC5 || marker == 0xC6 || marker == 0xCD || marker == 0xCE)
        return refused(QStringLiteral("it is a hierarchical JPEG, which this program does not read"));
    const qsizetype size = r.bytes.size();
    if (segment + 8 > size)
        return damaged(QStringLiteral("its frame header is cut short"));
    const int length = r.field(segment), precision = r.at(segment + 2);
    const int height = r.field(segment + 3), width = r.field(segment + 5), components = r.at(segment + 7);
    if (length < 8 + 3 * components || segment + 8 + 3 * components > size)
        return damaged(QStringLiteral("its frame header is cut short"));
    if (precision != 8) {
        if (precision >= 2 && precision <= 16)
            return refused(QStringLiteral("it has %1-bit samples, which this program does not read").arg(precision));
        return damaged(QStringLiteral("its frame header gives samples of %1 bits").arg(precision));
    }
    if (width == 0)
        return damaged(QStringLiteral("its frame header gives a picture %1 pixels high and 0 wide").arg(height));
    if (height == 0)
        return refused(QStringLiteral("it gives its height only after its picture data (in a DNL marker), which this "
                                      "program does not read"));
    // The decoder refuses such a picture at its header; the loader keeps to
    // the same bound for every picture.
    if (width > LongestPictureSide || height > LongestPictureSide)
        return refused(QStringLiteral("the picture is %1 x %2 pixels, and the JPEG decoder reads no side longer than %3")
                           .arg(width)
                           .arg(height)
                           .arg(LongestPictureSide));
    if (components != 1 && components != 3 && components != 4)
        return refused(QStringLiteral("it has %1 colour components, which this program does not read (only 1, 3 or 4)")
                           .arg(components));
    for (int c = 0; c < components; ++c) {
        const int sampling = r.at(segment + 8 + 3 * c + 1);
        const int across = sampling >> 4, down = sampling & 0xF;
        if (across < 1 || across > 4 || down < 1 || down > 4)
            return damaged(QStringLiteral("its frame header gives a sampling factor of %1 x %2").arg(across).arg(down));
    }
    return std::nullopt;
}

} // namespace

QString jpegRefusal(const QByteArray &bytes)
{
    const QString unread = refused(QStringLiteral(
        "the JPEG decoder could not read its picture: the file is damaged, or a kind of JPEG this program does not read"));
    const Reader r{bytes};
    const qsizetype size = bytes.size();
    // The markers before the picture data, as the decoder reads them: bytes
    // that are no marker are skipped, and so are the fill bytes before one.
    qsizetype at = 2;
    for (;;) {
        while (at < size && r.at(at) != 0xFF)
            ++at;
        while (at < size && r.at(at) == 0xFF)
            ++at;
        if (at >= size)
            return damaged(QStringLiteral("it has no frame header"));
        const int marker = r.at(at++);
        if (isFrameHeader(marker))
            return frameRefusal(r, at, marker).value_or(unread);
        if (marker == 0xDA)
            return damaged(QStringLiteral("its picture data come before its frame header"));
        if (marker == 0xD8 || marker == 0xD9)
            return damaged(QStringLiteral("it has no frame header"));
        if (standsAlone(marker))
            continue;
        if (at + 2 > size)
            return damaged(QStringLiteral("it has no frame header"));
        at += std::max(r.field(at), 2);
    }
}
