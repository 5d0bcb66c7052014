// Pictures encoded straight from their rows are the files Qt's JPEG writer
// makes of them, byte for byte; pictures that the writer adds markers for are
// left to it.

#include "adapters/jpeg/JpegEncoder.h"
#include "core/pictures/ImageWorkspace.h"

#include <QColorSpace>

#include <gtest/gtest.h>

#include "tests/support/EncodedPicture.h"
#include "tests/support/Printers.h"

namespace {

QImage noisy(int width, int height, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, format);
    quint32 state = 3;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            image.setPixel(x, y, qRgba(int(state >> 24), (x * 5 + y) % 256, int(state >> 8) & 255, 255));
        }
    return image;
}


QImage withDensity(QImage picture, int x, int y)
{
    picture.setDotsPerMeterX(x);
    picture.setDotsPerMeterY(y);
    return picture;
}

TEST(JpegEncoder, MakesTheFileQtsWriterMakes)
{
    const struct {
        const char *name;
        QImage picture;
        int quality;
    } cases[] = {
        {"68 x 47", noisy(68, 47), JpegQuality},
        {"1 x 1", noisy(1, 1), JpegQuality},
        {"odd sizes", noisy(203, 151), JpegQuality},
        {"a view into a larger picture", noisy(300, 200).copy(13, 7, 120, 90), JpegQuality},
        {"with alpha, which the writer ignores", noisy(40, 30, QImage::Format_ARGB32), JpegQuality},
        {"72 dots an inch", withDensity(noisy(40, 30), 2835, 2835), JpegQuality},
        {"whole dots a centimetre", withDensity(noisy(40, 30), 5000, 12000), JpegQuality},
        {"uneven densities", withDensity(noisy(40, 30), 3779, 1), JpegQuality},
        {"a density beyond 16 bits", withDensity(noisy(40, 30), 9000000, 3780), JpegQuality},
        {"another quality", noisy(64, 64), 75},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes("left over from an earlier picture");
        ASSERT_TRUE(encodeJpegRows(c.picture, c.quality, &bytes));
        EXPECT_EQ(bytes, encodedPicture(c.picture, "JPEG", false, c.quality));
    }
    // A picture larger than the first chunk of output grows it.
    const QImage large = noisy(900, 700);
    QByteArray bytes;
    ASSERT_TRUE(encodeJpegRows(large, 100, &bytes));
    EXPECT_GT(bytes.size(), 64 * 1024);
    EXPECT_EQ(bytes, encodedPicture(large, "JPEG", false, 100));
}

TEST(JpegEncoder, LeavesPicturesWithMarkersOrOtherLayoutsToQt)
{
    QImage described = noisy(20, 10);
    described.setText(QStringLiteral("Description"), QStringLiteral("a frame"));
    QImage profiled = noisy(20, 10);
    profiled.setColorSpace(QColorSpace::SRgb);
    QByteArray bytes;
    EXPECT_FALSE(encodeJpegRows(described, JpegQuality, &bytes));
    EXPECT_FALSE(encodeJpegRows(profiled, JpegQuality, &bytes));
    EXPECT_FALSE(encodeJpegRows(noisy(20, 10).convertToFormat(QImage::Format_Grayscale8), JpegQuality, &bytes));
    EXPECT_FALSE(encodeJpegRows(QImage(), JpegQuality, &bytes));

    // The workspace's encoding gives Qt's file for them too.
    for (const QImage &picture : {described, profiled}) {
        ASSERT_TRUE(EncodeJpeg(picture, &bytes));
        EXPECT_EQ(bytes, encodedPicture(picture, "JPEG", false, JpegQuality));
    }
}

} // namespace
