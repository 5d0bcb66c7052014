// The picture lists of the counted frame sets and the file names they record
// for the share package.

#include "core/preview/CountedFrames.h"
#include "tests/core/AnimationFixture.h"
#include "tests/support/QtNotes.h"

namespace {

using CountedFramesTest = AnimationTest;

TEST_F(CountedFramesTest, EntryNPlusOneHoldsFrameNAndMissingFramesShareThePreviousPicture)
{
    const QRgb colors[3] = {qRgb(200, 40, 40), qRgb(40, 200, 40), qRgb(40, 40, 200)};
    writePicture(QStringLiteral("ParkBG.jpg"), QSize(600, 400), qRgb(20, 60, 120));
    for (int n = 1; n <= 3; ++n)
        writeFrame(QStringLiteral("ParkExtra0%1.bmp").arg(n), colors[n - 1]);
    writeSceneOf(QStringLiteral("Three"), {"BG=ParkBG.jpg", "MP=ParkExtra01.bmp", "MF=3"});
    // Frames 03 to 20 of this one are missing.
    writeFrame(QStringLiteral("GapExtra01.bmp"), colors[0]);
    writeFrame(QStringLiteral("GapExtra02.bmp"), colors[1]);
    writeSceneOf(QStringLiteral("Gap"), {"BG=ParkBG.jpg", "MP=GapExtra01.bmp", "MF=20"});
    writeSceneOf(QStringLiteral("Many"), {"BG=ParkBG.jpg", "MP=GapExtra01.bmp", "MF=1500"});
    writeSceneOf(QStringLiteral("Twelve"), {"BG=ParkBG.jpg", "TP=GapExtra01.bmp", "TF=12"});
    PreviewPlayer &w = *player;

    load(QStringLiteral("Three"));
    const ImageList &list = w.ImageList12;
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Key(1), QStringLiteral("MSC"));
    for (int n = 1; n <= 3; ++n) {
        const QImage entry = list.Picture(n + 1);
        EXPECT_EQ(entry.size(), QSize(40, 32)) << "entry " << n + 1;
        EXPECT_EQ(entry.pixel(20, 16) | 0xFF000000u, colors[n - 1]) << "entry " << n + 1;
    }
    EXPECT_EQ(list.Picture(1).cacheKey(), list.Picture(2).cacheKey());

    load(QStringLiteral("Gap"));
    ASSERT_EQ(list.Count(), 21);
    for (int k = 4; k <= 21; ++k)
        EXPECT_EQ(list.Picture(k).cacheKey(), list.Picture(3).cacheKey()) << "entry " << k;
    EXPECT_EQ(list.Picture(3).pixel(20, 16) | 0xFF000000u, colors[1]);

    load(QStringLiteral("Many"));
    EXPECT_EQ(list.Count(), 1001);
    const QStringList &files = scene().Files.ExtraFrameFiles;
    EXPECT_EQ(files[1], QStringLiteral("GapExtra01.bmp"));
    EXPECT_EQ(files[999], QStringLiteral("GapExtra999.bmp"));
    EXPECT_EQ(files[1000], QStringLiteral("GapExtra1000.bmp"));
    EXPECT_EQ(w.ExtraAnim.MiscFrames, 1000);

    load(QStringLiteral("Twelve"));
    EXPECT_EQ(scene().Files.TriggerFrameFiles.mid(1, 13),
              (QStringList{"GapExtra01.bmp", "GapExtra02.bmp", "GapExtra03.bmp", "GapExtra04.bmp", "GapExtra05.bmp",
                           "GapExtra06.bmp", "GapExtra07.bmp", "GapExtra08.bmp", "GapExtra09.bmp", "GapExtra10.bmp",
                           "GapExtra11.bmp", "GapExtra12.bmp", ""}));
    EXPECT_TRUE(reported.isEmpty());
}

// A JPEG whose header and first scan are sound, with a second scan that
// names a component the frame lacks before its end: it passes every check of
// the load and fails only when decoded.
QByteArray undecodableJpeg()
{
    QImage image(20, 16, QImage::Format_RGB32);
    image.fill(qRgb(90, 90, 90));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "JPEG"));
    EXPECT_TRUE(bytes.endsWith("\xFF\xD9"));
    bytes.chop(2);
    return bytes + QByteArray("\xFF\xDA\x00\x08\x01\x09\x00\x00\x3F\x00\xFF\xD9", 12);
}

TEST_F(CountedFramesTest, ABadFrameFileIsKnownAtLoadAndOneThatDoesNotDecodeShowsNothing)
{
    const QRgb colors[2] = {qRgb(200, 40, 40), qRgb(40, 200, 40)};
    writePicture(QStringLiteral("ParkBG.jpg"), QSize(600, 400), qRgb(20, 60, 120));
    QByteArray whole;
    {
        QImage image(20, 16, QImage::Format_RGB32);
        image.fill(colors[1]);
        QBuffer buffer(&whole);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(image.save(&buffer, "BMP"));
    }
    const struct {
        const char *name;
        QByteArray frame3;
        bool knownAtLoad; // the entry shares frame 2's picture
    } rows[] = {
        {"NotAPicture", "hello", true},
        {"CutShort", whole.left(whole.size() / 2), true},
        {"Undecodable", undecodableJpeg(), false},
    };
    for (const auto &row : rows) {
        const QString name = QLatin1String(row.name);
        writeFrame(name + QStringLiteral("01.bmp"), colors[0]);
        writeFrame(name + QStringLiteral("02.bmp"), colors[1]);
        writeFile(base(QStringLiteral("Images/") + name + QStringLiteral("03.bmp")), row.frame3);
        writeSceneOf(name, {"BG=ParkBG.jpg", "MP=" + name + "01.bmp", "MF=3"});
    }
    PreviewPlayer &w = *player;
    const ImageList &list = w.ImageList12;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        // From the load on: the frames after the one shown are decoded ahead.
        const AllowedQtNotes damaged(AllowedQtNotes::JpegDecoder, "a frame made to fail its decoding");
        load(QLatin1String(row.name));
        ASSERT_EQ(list.Count(), 4);
        if (row.knownAtLoad) {
            EXPECT_EQ(list.Picture(4).cacheKey(), list.Picture(3).cacheKey());
            EXPECT_EQ(list.Picture(4).pixel(10, 10) | 0xFF000000u, colors[1]);
            continue;
        }
        EXPECT_TRUE(list.Picture(4).isNull());
        ASSERT_TRUE(ShowListEntry(w.MiscPic, list, QStringLiteral("MSC"), 3));
        const QImage before = w.MiscPic->Picture();
        EXPECT_FALSE(ShowListEntry(w.MiscPic, list, QStringLiteral("MSC"), 4));
        EXPECT_EQ(w.MiscPic->Picture(), before);
    }
    EXPECT_TRUE(reported.isEmpty());
}

TEST(CountedFrameNumbers, EachNumberIsReadOnce)
{
    const struct {
        const char *text;
        int count, length, number;
        double factor;
    } rows[] = {
        {"3", 3, 3, 3, 3},       {"3.5", 4, 4, 4, 3.5},  {"2.5", 2, 2, 2, 2.5},      {"0.4", 0, 0, 0, 0.4},
        {"", 0, 0, 0, 0},        {"x", 0, 0, 0, 0},      {"-3", 0, 0, -3, -3},       {"1500", 1000, 1500, 1500, 1500},
        {"1e9", 1000, 32767, 32767, 1e9}, {" 7 ", 7, 7, 7, 7},
    };
    for (const auto &row : rows) {
        const QString text = QString::fromLatin1(row.text);
        EXPECT_EQ(frameCountOf(text), row.count) << row.text;
        EXPECT_EQ(pauseLengthOf(text), row.length) << row.text;
        EXPECT_EQ(frameNumberOf(text), row.number) << row.text;
        EXPECT_EQ(factorOf(text), row.factor) << row.text;
    }
}

} // namespace
