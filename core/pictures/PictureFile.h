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

struct DecodedPicture {
    QImage image;          // null when the decoder refused the bytes
    bool cutShort = false; // the decoder asked for bytes past the end
    QString error;         // why the bytes were refused: for a BMP, in words a user can act on (BmpFile.h)
};

// Decodes BMP or JPEG bytes (told by pictureFormat; anything else is refused)
// and notes whether the decoder ran past their end, which a picture that is
// whole never makes it do. The BMP layouts of BmpFile.h are read by the
// program's own reader, every other picture by Qt's decoder. A JPEG picture larger than `shownSize` both ways is
// decoded at that size, scaled as it is decoded (DCT scaling, then smoothed);
// anything else at its own size.
DecodedPicture decodePicture(const QByteArray &bytes, QSize shownSize = QSize());
