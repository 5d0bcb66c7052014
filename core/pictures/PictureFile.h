#pragma once
// The bytes of a picture file: which of the two formats the program reads they
// hold, and whether they hold a whole picture. The decoders take a BMP or JPEG
// file that ends too early as a whole picture (the missing rows left black,
// grey or undefined), so a frame copied or saved only in part would go into a
// scene as if it were complete.

#include <QByteArray>
#include <QImage>
#include <QString>

// The most memory one picture may take, 4 bytes a pixel: the picture readers'
// allocation limit, or 2 GiB where Qt sets none. No picture the program
// holds, decodes or makes is larger.
qint64 pictureMemoryLimit();
// True when a picture of width x height pixels stays within pictureMemoryLimit.
bool pictureFitsInMemory(qint64 width, qint64 height);

// The longest side of a picture the program loads: the JPEG decoder's own
// bound, which holds for BMP pictures too. A BMP of run-length coded rows
// declares a row of millions of pixels in a few bytes, which fits in memory
// and then takes seconds to decode, scale and show.
inline constexpr qint64 LongestPictureSide = 65500;
// Why a picture of width x height pixels, as its header declares them, is
// not loaded, in words a user can act on: a side longer than
// LongestPictureSide, or more than pictureMemoryLimit holds. Empty when it
// may be loaded. Every reader asks it of the header before it decodes.
QString pictureSizeRefusal(qint64 width, qint64 height);
// True when pictureSizeRefusal has nothing against the size.
bool pictureSizeAllowed(qint64 width, qint64 height);
// True when a file of `bytes` can hold such a picture: no larger than twice
// pictureMemoryLimit (a BMP of 24-bit rows, padded, stays below that).
bool pictureFileFitsInMemory(qint64 bytes);

// "bmp" or "jpeg" when the bytes start as one, else empty: the format is told
// by the content alone, whatever the file's name says.
QByteArray pictureFormat(const QByteArray &bytes);

// True when the bytes start as a BMP or JPEG file and their own structure shows
// that they end before its picture does: an uncompressed BMP shorter than its
// rows, a JPEG whose markers run out before the one that ends the picture.
// False for anything else. A quick test on the bytes, before any decoding;
// decodePicture sees the rest.
bool pictureFileCutShort(const QByteArray &bytes);

// Follows a JPEG file's markers as the JPEG decoder does, up to the one that
// ends the picture, over the file's bytes read in order from its start in
// pieces of any size. Bytes that are no marker are skipped; segments are
// stepped over by their length, where a length below 2 counts as 2: the
// decoder passes the two bytes of such a length in a comment or application
// segment and refuses it in any other; the coded data after a scan header runs
// to the next marker. Restart markers and every marker below 0xC0 have no
// segment: where the decoder looks for a restart marker in the coded data it
// passes a marker below 0xC0 as a bare one and goes on to the next, and it
// refuses one anywhere else.
class JpegPictureEnd {
public:
    void read(const char *bytes, qsizetype size);
    // True once the bytes read hold the end of the picture, or a second start
    // marker, which the decoder refuses.
    bool found() const { return m_end != 0; }
    // Where the picture ends, just past its end marker; -1 for a second start.
    qint64 end() const { return m_end; }

private:
    enum class Step { Skip, Scan, Marker, Length };
    Step m_step = Step::Skip;
    qint64 m_skip = 2; // the start marker, then what is left of a segment
    qint64 m_read = 0; // bytes read before the current piece
    int m_lengthBytes = 0;
    qint64 m_length = 0;
    qint64 m_end = 0;
};

// Where a JPEG picture in `bytes` ends (JpegPictureEnd::end), or 0 when the
// bytes end first.
qint64 jpegPictureEnd(const QByteArray &bytes);

struct DecodedPicture {
    QImage image;          // null when the decoder refused the bytes
    bool cutShort = false; // the decoder asked for bytes past the end
    QString error;         // why the bytes were refused, in words a user can act on (BmpFile.h, JpegFile.h)
};

// Decodes BMP or JPEG bytes (told by pictureFormat; anything else is refused)
// and notes whether the decoder ran past their end, which a picture that is
// whole never makes it do. The BMP layouts of BmpFile.h are read by the
// program's own reader, every other picture by Qt's decoder; a picture whose
// header declares a size that pictureSizeRefusal refuses is not decoded, and
// the refusal is the error. A JPEG picture larger than `shownSize` both ways is
// decoded at that size, scaled as it is decoded (DCT scaling, then smoothed);
// anything else at its own size. A JPEG decoder is given the bytes only up
// to the end of the picture: libjpeg-turbo decodes a damaged scan a little
// differently where fewer than 512 bytes a block are left in its buffer, so
// bytes after the end could otherwise change the picture.
DecodedPicture decodePicture(const QByteArray &bytes, QSize shownSize = QSize());
