#pragma once
// Reads a BMP or JPEG picture cut to an area without decoding what the cut
// throws away. A JPEG is decoded only for the area's columns and rows (the
// rest of its data is only walked through, so that a file cut short is still
// found); an uncompressed BMP is read only for the area's rows. The pixels
// are those that LoadPicture followed by a crop gives. A cutter reuses its
// buffers from picture to picture, so a long series keeps memory flat, and
// never holds a whole file in memory.
//
// The cutter takes only the files it reads exactly: every other file (other
// layouts, damaged or cut-short files, no regular file, too large, an area
// outside the picture) it leaves to LoadPicture and the workspace's crop,
// which give the verdict and the reason.

#include "core/scene/FrameExport.h"

#include <QImage>
#include <QString>

#include <optional>
#include <vector>

// An area of a picture in pixels, right and bottom not included. It may reach
// beyond the picture: only the part inside is kept.
struct PictureArea {
    qint64 left = 0, top = 0, right = 0, bottom = 0;
};

class PictureCutter {
public:
    // Reads `path` cut to `area`, or whole without one. True when picture()
    // holds the cut; false when the file is left to LoadPicture.
    bool read(const QString &path, const std::optional<PictureArea> &area);

    // The picture of the last successful read. It lives in the cutter's
    // buffer: valid until the next read, copied by QImage::copy() to keep.
    const QImage &picture() const { return m_picture; }

    // How the last read went, for tests and the benchmark: which reader took
    // the file, or none.
    enum class Reader { None, Jpeg, Bmp };
    Reader lastReader() const { return m_lastReader; }

private:
    std::vector<uchar> m_pixels; // the cut, 4 bytes a pixel
    std::vector<uchar> m_input;  // file bytes on their way in
    QImage m_picture;
    Reader m_lastReader = Reader::None;
};

// Makes the frame export (core/scene/FrameExport.h) read its frames with a cutter.
void useLibJpegPictureCutter();
