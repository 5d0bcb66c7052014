#pragma once
// Frames whose every pixel tells where it stands and which frame it belongs
// to, so that a cut from the wrong place or the wrong frame shows; and the
// checks that read them back, exactly from a picture held in memory, and
// through the writer's JPEG encoding from a saved picture.

#include <QImage>
#include <QRect>
#include <QString>

#include <ostream>

#include <gtest/gtest.h>

// What a generated pixel says.
struct PixelTag {
    int x, y, frame;
    bool operator==(const PixelTag &) const = default;
};

// Pixels of frame `frame` (0 to 20): red and green the low bits of x and y,
// blue the frame number with the high bits of x and y (frames up to 1024 x 768).
inline QRgb tagColor(int x, int y, int frame)
{
    return qRgb(x % 256, y % 256, frame * 12 + (x / 256) * 3 + y / 256);
}

inline PixelTag readTag(QRgb c)
{
    const int b = qBlue(c);
    return {qRed(c) + (b % 12 / 3) * 256, qGreen(c) + (b % 3) * 256, b / 12};
}

inline std::ostream &operator<<(std::ostream &out, const PixelTag &t)
{
    return out << "(" << t.x << ", " << t.y << ", frame " << t.frame << ")";
}

// The designers' frames are 800 x 600 pixels.
constexpr int FrameWidth = 800, FrameHeight = 600;

QImage taggedFrame(int frame, QSize size = QSize(FrameWidth, FrameHeight));

// True when `cut` is exactly the area (x, y, width, height) of frame `frame`.
::testing::AssertionResult isCutOf(const QImage &cut, int x, int y, int width, int height, int frame);

// What the program's JPEG writer makes of `picture`, decoded again.
QImage asSavedJpeg(const QImage &picture);

// True when the saved picture at `saved` is `area` of the picture file
// `source`, as the writer encodes it. When it is not, says whether it is that
// area moved by a pixel or two, or another size.
::testing::AssertionResult isSavedCutOf(const QString &saved, const QString &source, const QRect &area);
