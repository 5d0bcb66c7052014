#include "core/pictures/ImageWorkspace.h"

#include "tests/support/ScriptedServices.h"

#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <limits>

namespace {

// Every pixel has its own colour, so a crop shows exactly where it was taken.
QImage patterned(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, (x + y) % 256));
    return image;
}

class ImageWorkspaceTest : public CoreTest {
protected:
    QString savedFixture(const QString &name, const QImage &image, const char *format)
    {
        const QString path = tempPath(name);
        EXPECT_TRUE(image.save(path, format));
        return path;
    }
    ImageWorkspace ws;
};

TEST_F(ImageWorkspaceTest, LoadsBmpAndJpegAtTheirPixelSize)
{
    const QImage source = patterned(30, 20);
    ASSERT_TRUE(ws.LoadImageFile(savedFixture("frame.bmp", source, "BMP")));
    EXPECT_EQ(ws.ImageWidth(), 30);
    EXPECT_EQ(ws.ImageHeight(), 20);
    EXPECT_EQ(ws.Picture(), source);
    EXPECT_EQ(ws.ImageDisplayWidth(), 450);
    EXPECT_EQ(ws.ImageDisplayHeight(), 300);

    ASSERT_TRUE(ws.LoadImageFile(savedFixture("frame.jpg", source, "JPEG")));
    EXPECT_EQ(ws.Picture().size(), QSize(30, 20));
}

TEST_F(ImageWorkspaceTest, FormatComesFromContentsNotName)
{
    // A JPEG named .bmp still loads: the user's file names do not always tell the truth.
    ASSERT_TRUE(ws.LoadImageFile(savedFixture("frame0001.bmp", patterned(12, 9), "JPEG")));
    EXPECT_EQ(ws.ImageWidth(), 12);
}

TEST_F(ImageWorkspaceTest, FailedLoadReportsAndDropsTheOldPicture)
{
    ASSERT_TRUE(ws.LoadImageFile(savedFixture("good.bmp", patterned(10, 10), "BMP")));
    writeTempFile(QStringLiteral("bad.jpg"), "not a picture");

    for (const QString &path : {tempPath("bad.jpg"), tempPath("missing.bmp")}) {
        SCOPED_TRACE(path.toStdString());
        ASSERT_TRUE(ws.LoadImageFile(tempPath("good.bmp")));
        const Result<> loaded = ws.LoadImageFile(path);
        EXPECT_FALSE(loaded);
        EXPECT_FALSE(ws.HasPicture());
        EXPECT_TRUE(loaded.error.contains(QFileInfo(path).fileName())) << loaded.error.toStdString();
        EXPECT_FALSE(ws.CropImage(0, 0, 5, 5));
        ws.SaveImageFileName(tempPath("out.jpg"));
        EXPECT_FALSE(ws.SaveImageFile());
        EXPECT_FALSE(QFile::exists(tempPath("out.jpg")));
    }
}

TEST_F(ImageWorkspaceTest, CropsCutThePartInsideThePicture)
{
    const QImage source = patterned(40, 30);
    struct Case {
        const char *name;
        QRect area;     // x, y, width, height as asked
        QRect expected; // what is left, in the source's pixels
    } cases[] = {
        {"interior", QRect(5, 7, 10, 6), QRect(5, 7, 10, 6)},
        {"whole", QRect(0, 0, 40, 30), QRect(0, 0, 40, 30)},
        {"past right and bottom", QRect(35, 25, 20, 20), QRect(35, 25, 5, 5)},
        {"negative origin", QRect(-4, -3, 10, 8), QRect(0, 0, 6, 5)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ws.SetPicture(source);
        ASSERT_TRUE(ws.CropImage(c.area.x(), c.area.y(), c.area.width(), c.area.height()));
        EXPECT_EQ(ws.Picture(), source.copy(c.expected));
    }
}

TEST_F(ImageWorkspaceTest, CropAreaTakesRightAndBottomEdges)
{
    const QImage source = patterned(400, 700);
    ws.SetPicture(source);
    ASSERT_TRUE(ws.CropImageArea(242, 284, 380, 617));
    EXPECT_EQ(ws.Picture().size(), QSize(138, 333));
    EXPECT_EQ(ws.Picture(), source.copy(242, 284, 138, 333));
}

TEST_F(ImageWorkspaceTest, CropWithNothingInsideIsRefused)
{
    constexpr int big = std::numeric_limits<int>::max(), small = std::numeric_limits<int>::min();
    struct Case {
        int x, y, width, height;
    } outside[] = {{40, 0, 5, 5},    {0, 30, 5, 5},        {-10, -10, 10, 10}, {3, 3, 0, 4},
                   {3, 3, 4, -1},    {big - 5, 0, 100, 10}, {0, big, 10, 10},  {small, 0, 100, 10},
                   {-5, 0, small, 10}};
    for (const Case &c : outside) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.width << "x" << c.height);
        ws.SetPicture(patterned(40, 30));
        const Result<> cropped = ws.CropImage(c.x, c.y, c.width, c.height);
        EXPECT_FALSE(cropped);
        EXPECT_FALSE(ws.HasPicture());
        EXPECT_FALSE(cropped.error.isEmpty());
    }
    // The same for an area given by its edges, the far edge before the near one included.
    for (const QRect &edges : {QRect(QPoint(10, 10), QPoint(5, 20)), QRect(QPoint(small, 0), QPoint(big, 0))}) {
        ws.SetPicture(patterned(40, 30));
        EXPECT_FALSE(ws.CropImageArea(edges.left(), edges.top(), edges.right(), edges.bottom()));
    }
    ws.SetPicture(patterned(40, 30));
    ASSERT_TRUE(ws.CropImageArea(small, small, big, big)); // everything inside is kept
    EXPECT_EQ(ws.Picture().size(), QSize(40, 30));
}

TEST_F(ImageWorkspaceTest, JpegSaveReplacesTheFileAndReloads)
{
    const QString target = writeTempFile(QStringLiteral("MyMouth01.jpg"), QByteArray(100000, 'x')); // an older, longer file
    ASSERT_TRUE(ws.LoadImageFile(savedFixture("frame.bmp", patterned(64, 48), "BMP")));
    ASSERT_TRUE(ws.CropImage(8, 4, 50, 40));
    ws.SaveImageFileName(target);
    const Result<> saved = ws.SaveImageFile();
    ASSERT_TRUE(saved) << saved.error.toStdString();

    QImageReader reader(target);
    EXPECT_EQ(reader.format(), "jpeg");
    EXPECT_EQ(reader.size(), QSize(50, 40));
    EXPECT_LT(QFileInfo(target).size(), 100000);
    ImageWorkspace again;
    ASSERT_TRUE(again.LoadImageFile(target));
    EXPECT_EQ(again.Picture().size(), QSize(50, 40));
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(temp.path()).entryList({"MyMouth01*"}, QDir::Files), QStringList{"MyMouth01.jpg"});
}

TEST_F(ImageWorkspaceTest, SaveIntoMissingFolderFailsAndSaysWhere)
{
    ws.SetPicture(patterned(5, 5));
    ws.SaveImageFileName(tempPath("no/such/folder/x.jpg"));
    const Result<> saved = ws.SaveImageFile();
    EXPECT_FALSE(saved);
    EXPECT_TRUE(saved.error.contains("x.jpg")) << saved.error.toStdString();
}

TEST_F(ImageWorkspaceTest, ResizeAndThumbnailGiveTheAskedSize)
{
    ws.SetPicture(patterned(300, 200));
    ASSERT_TRUE(ws.ResizeImage(1200, 857));
    EXPECT_EQ(ws.Picture().size(), QSize(1200, 857));
    ASSERT_TRUE(ws.MakeThumbnail(140, 100));
    EXPECT_EQ(ws.Picture().size(), QSize(140, 100));
    EXPECT_FALSE(ws.ResizeImage(0, 10));
    // Beyond what a picture may hold in memory: refused at once, the picture kept.
    constexpr int most = std::numeric_limits<int>::max();
    for (const QSize &huge : {QSize(48000, 36000), QSize(most, most), QSize(1, most)}) {
        const Result<> resized = ws.ResizeImage(huge.width(), huge.height());
        EXPECT_FALSE(resized) << huge.width() << " x " << huge.height();
        EXPECT_TRUE(resized.error.contains(QStringLiteral("too large"))) << resized.error.toStdString();
        EXPECT_EQ(ws.Picture().size(), QSize(140, 100));
    }
    ImageWorkspace empty;
    EXPECT_FALSE(empty.MakeThumbnail(140, 100));
}

// The largest difference of one colour channel between two pictures of one size.
int largestDifference(const QImage &a, const QImage &b)
{
    int most = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            most = std::max({most, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q))});
        }
    return most;
}

TEST_F(ImageWorkspaceTest, AHeldPictureShowsWhatALoadAndResizeShow)
{
    // Smooth, as photographs are between their edges.
    QImage source(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            source.setPixel(x, y, qRgb(x * 255 / 320, y * 255 / 240, (x + y) * 255 / 560));
    const struct {
        const char *name;
        const char *format;
        QSize shown;
        int tolerance; // a JPEG shown smaller is decoded at its size: the scalers round apart
    } rows[] = {
        {"BmpLarger", "BMP", {480, 360}, 0},   {"BmpSmaller", "BMP", {160, 120}, 0},
        {"JpegLarger", "JPEG", {480, 360}, 0}, {"JpegSame", "JPEG", {320, 240}, 0},
        {"JpegSmaller", "JPEG", {160, 120}, 4}, {"JpegThirdSize", "JPEG", {107, 80}, 4},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = savedFixture(QLatin1String(row.name), source, row.format);
        ASSERT_TRUE(ws.LoadImageFile(path));
        ASSERT_TRUE(ws.ResizeImage(row.shown.width(), row.shown.height()));
        PictureBytes read = ReadPictureFile(path);
        ASSERT_TRUE(read) << read.error.toStdString();
        EXPECT_EQ(read.value.size, source.size());
        const QImage held = HeldPicture(std::move(read.value.bytes), row.shown).make();
        ASSERT_EQ(held.size(), row.shown);
        EXPECT_EQ(held.format(), QImage::Format_RGB32);
        if (row.tolerance == 0)
            EXPECT_EQ(held, ws.Picture());
        else
            EXPECT_LE(largestDifference(held, ws.Picture()), row.tolerance);
    }
}

TEST(HimetricSize, PixelsAt96Dpi)
{
    struct Case {
        int pixels, himetric;
    } cases[] = {{1, 26}, {12, 318}, {41, 1085}, {56, 1482}, {96, 2540}, {1200, 31750}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pixels);
        EXPECT_EQ(HimetricSize(QImage(c.pixels, c.pixels, QImage::Format_RGB32)), QSize(c.himetric, c.himetric));
    }
    EXPECT_EQ(HimetricSize(QImage(56, 41, QImage::Format_RGB32)), QSize(1482, 1085));
    EXPECT_EQ(HimetricSize(QImage()), QSize(0, 0));
}

} // namespace
