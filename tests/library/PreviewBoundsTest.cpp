// Scenes made to exhaust the preview: a tiny background under ordinary
// frames, huge frames without a background, a thousand frames claimed beside
// thousands of other pictures, and pictures the readers cannot allocate. Each
// load keeps to the frame bound and the budget (core/preview/PreviewBudget.h),
// leaves out the layers that pass them, shows no message, and does no more
// file work than its layers need; a plain scene then shows as before.

#include "core/preview/PreviewBudget.h"
#include "tests/library/LayerWindowFixture.h"
#include "tests/support/EncodedPicture.h"
#include "tests/support/FileWork.h"

#include <QImageReader>
#include <QRegularExpression>

namespace {

CharacterScene everyLayer(const QString &name)
{
    CharacterScene c;
    c.name = name;
    c.smile = c.blink = c.brow = c.userMouth = c.userBlink = true;
    return c;
}

// The bytes of every decoded picture the window holds for its preview.
qint64 heldBytes(const VelmNShare &w)
{
    qint64 total = 0;
    for (const QImage &picture : w.HeldPictures())
        total += picture.sizeInBytes();
    return total;
}

// Every folder listed for a lookup ignoring case, while it lives.
class FolderListings {
public:
    FolderListings()
    {
        listed().clear();
        FolderNames::setListedHook([](const QString &folder) { listed() << folder; });
    }
    ~FolderListings() { FolderNames::setListedHook(nullptr); }
    int of(const QString &folder) const
    {
        const QString wanted = QDir::cleanPath(folder);
        return int(std::count_if(listed().cbegin(), listed().cend(),
                                 [&](const QString &f) { return QDir::cleanPath(f) == wanted; }));
    }
    static QStringList &listed()
    {
        static QStringList folders;
        return folders;
    }
};

class PreviewBoundsTest : public LayerTest {
protected:
    // The layer boxes that show after a load.
    static QStringList shownBoxes(const VelmNShare &w)
    {
        QStringList shown;
        for (const PictureBox *box : {w.VelmMouth, w.VelmBlink, w.UserMouth, w.UserBlink, w.MiscPic, w.TriggerPic})
            if (box->isVisibleTo(&w))
                shown << box->objectName();
        return shown;
    }
    // Garden, a plain scene of every character layer, shows as it always has.
    void expectGardenShows(VelmNShare &w)
    {
        load(w, QStringLiteral("Garden"));
        EXPECT_EQ(shownBoxes(w), (QStringList{"VelmMouth", "VelmBlink", "UserMouth", "UserBlink"}));
        EXPECT_EQ(w.Player->ImageList8.Count(), 52);
        EXPECT_EQ(w.Player->ImageList10.Count(), 15);
        EXPECT_EQ(w.Player->ImageList9.Count(), 22);
        EXPECT_EQ(w.Player->ImageList11.Count(), 5);
        EXPECT_TRUE(holds(w.Player->ImageList8, 2, Layer::Mouth, 5));
        EXPECT_TRUE(holds(w.Player->ImageList10, 6, Layer::Brow, 1));
        EXPECT_EQ(w.Player->ImageList8.Picture(1).size(), QSize(40, 30));
        EXPECT_EQ(w.MainPic->Picture().size(), QSize(1200, 857));
    }
    // One JPEG picture of one colour, encoded once and written under every name.
    void writeSamePicture(const QStringList &names, QSize size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(qRgb(90, 30, 30));
        const QByteArray bytes = encodedPicture(image, "JPEG", false, 10);
        ASSERT_FALSE(bytes.isEmpty());
        for (const QString &name : names)
            writeFile(base(QStringLiteral("Images/") + name), bytes);
    }
    // Garden, and a scene of every character layer on a 600 x 400 background (ratio 2).
    CharacterScene writeRatioTwoScene(const QString &name)
    {
        writeCharacterScene(everyLayer(QStringLiteral("Garden")));
        CharacterScene c = everyLayer(name);
        c.background = QSize(600, 400);
        writeCharacterScene(c);
        return c;
    }
    // The frame names of every character layer of scene `name`.
    static QStringList characterFrames(const QString &name)
    {
        QStringList names;
        for (Layer layer : {Layer::Mouth, Layer::Smile, Layer::Blink, Layer::Brow, Layer::UserMouth, Layer::UserBlink})
            for (int n = 1; n <= frameCount(layer); ++n)
                names << frameName(name, layer, n);
        return names;
    }
};

// A tiny background makes the ratio huge: every layer would be resized far
// beyond what MainPic shows, so each is left out, from frame 01's header alone.
TEST_F(PreviewBoundsTest, ATinyBackgroundLeavesOutEveryLayerItWouldBlowUp)
{
    const struct {
        const char *name;
        QSize background, frames; // every layer's frames the same size
    } rows[] = {
        {"Tiny", {10, 8}, {40, 30}}, // ratio 120: 4800 x 3600 frames
        {"Dot", {1, 1}, {8, 6}},     // ratio 1200: 9600 x 7200
    };
    writeCharacterScene(everyLayer(QStringLiteral("Garden")));
    for (const auto &row : rows) {
        CharacterScene c = everyLayer(QString::fromLatin1(row.name));
        c.background = row.background;
        c.mouthSize = c.smileSize = c.blinkSize = c.browSize = c.userMouthSize = c.userBlinkSize = row.frames;
        writeCharacterScene(c);
    }
    VelmNShare &w = openLayers();
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        load(w, QStringLiteral("Garden"));
        FileWork work({base(QStringLiteral("Images"))});
        ASSERT_TRUE(work.watching());
        load(w, QString::fromLatin1(row.name));

        EXPECT_EQ(shownBoxes(w), QStringList());
        for (const ImageList *list : {&w.Player->ImageList2, &w.Player->ImageList3, &w.Player->ImageList4, &w.Player->ImageList8, &w.Player->ImageList9,
                                      &w.Player->ImageList10, &w.Player->ImageList11})
            EXPECT_EQ(list->Count(), 0);
        EXPECT_FALSE(w.Player->Smile.VelmHasSmile);
        EXPECT_FALSE(w.Player->BrowTimer2->Enabled());
        // Each layer's frame 01 is read for its header; no other frame is opened.
        const QStringList frames = characterFrames(QString::fromLatin1(row.name));
        for (const QString &frame : frames)
            EXPECT_LE(work.opened(frame), frame.endsWith(QLatin1String("01.bmp")) ? 1 : 0) << frame.toStdString();
        EXPECT_EQ(work.opened(frameName(QString::fromLatin1(row.name), Layer::Mouth, 1)), 1);
        // The background, in MainPic and as the picture the box swaps.
        EXPECT_LE(heldBytes(w), 16 << 20);
        EXPECT_TRUE(messages.shown.isEmpty());
    }
    expectGardenShows(w);
}

// Without a background the frames keep their own size, and frames of a
// camera's size pass the frame bound: those layers are left out, unread
// beyond frame 01's header. The frames are one flat colour, small on disk.
TEST_F(PreviewBoundsTest, HugeFramesWithoutABackgroundAreLeftOut)
{
    writeCharacterScene(everyLayer(QStringLiteral("Garden")));
    CharacterScene c = everyLayer(QStringLiteral("Photo"));
    writeScene(c.name, sceneFileBytes(sceneTextOf(c).remove(QRegularExpression(QStringLiteral("BG=[^;]*;")))));
    QStringList huge = characterFrames(c.name);
    // The user's blink stays within the bound, and shows.
    writeLayer(c.name, Layer::UserBlink, QSize(1300, 900));
    huge.removeIf([](const QString &n) { return n.contains(QLatin1String("UserBlink")); });
    writeSamePicture(huge, QSize(4000, 3000));

    VelmNShare &w = openLayers();
    load(w, QStringLiteral("Garden"));
    FileWork work({base(QStringLiteral("Images"))});
    ASSERT_TRUE(work.watching());
    load(w, c.name);
    EXPECT_EQ(shownBoxes(w), QStringList{"UserBlink"});
    EXPECT_EQ(w.Player->ImageList8.Count(), 0);
    EXPECT_EQ(w.Player->ImageList10.Count(), 0);
    EXPECT_EQ(w.Player->ImageList9.Count(), 0);
    ASSERT_EQ(w.Player->ImageList11.Count(), 5);
    EXPECT_EQ(w.Player->ImageList11.Picture(5).size(), QSize(1300, 900));
    for (const QString &frame : huge)
        EXPECT_LE(work.opened(frame), frame.endsWith(QLatin1String("01.bmp")) ? 1 : 0) << frame.toStdString();
    // The user blink's four frames and five entries, the box's picture: within the budget.
    EXPECT_LE(heldBytes(w), PreviewBudgetBytes);
    EXPECT_TRUE(messages.shown.isEmpty());
    expectGardenShows(w);
}

// Frames within the bound that together would pass the budget: the layers
// load in table order while they fit, and the one that would pass it is left
// out whole, as a layer without frame 01.
TEST_F(PreviewBoundsTest, LayersThatWouldPassTheBudgetAreLeftOut)
{
    const CharacterScene c = writeRatioTwoScene(QStringLiteral("Large"));
    // Mouth and smile frames of 900 x 800 are shown at 1800 x 1600 (11.5 MB
    // each): 14 pictures of the mouth and 28 of the smile fit 512 MB, the 14
    // of the user's mouth after them do not.
    QStringList large;
    for (Layer layer : {Layer::Mouth, Layer::Smile, Layer::UserMouth})
        for (int n = 1; n <= frameCount(layer); ++n)
            large << frameName(c.name, layer, n);
    writeSamePicture(large, QSize(900, 800));

    VelmNShare &w = openLayers();
    load(w, c.name);
    EXPECT_EQ(shownBoxes(w), (QStringList{"VelmMouth", "VelmBlink", "UserBlink"}));
    EXPECT_EQ(w.Player->ImageList8.Count(), 52);
    EXPECT_EQ(w.Player->ImageList8.Picture(30).size(), QSize(1800, 1600));
    EXPECT_TRUE(w.Player->Smile.VelmHasSmile);
    EXPECT_EQ(w.Player->ImageList9.Count(), 0);
    EXPECT_EQ(w.Player->ImageList10.Count(), 15);
    EXPECT_LE(heldBytes(w), PreviewBudgetBytes);
    EXPECT_TRUE(messages.shown.isEmpty());
    expectGardenShows(w);
}

// "MF=32767" with only frame 01 on disk, beside 3000 other pictures, and a
// child set whose frames are named in another letter case: the Images folder
// is listed once for the whole load, and no other picture is opened.
TEST_F(PreviewBoundsTest, AThousandMissingFramesListTheFolderOnce)
{
    writeCharacterScene(everyLayer(QStringLiteral("Garden")));
    writeFrame(QStringLiteral("Fish01.bmp"), QSize(40, 30), qRgb(10, 200, 10), 2);
    for (int n = 1; n <= 300; ++n)
        writeFrame(QStringLiteral("KICK%1.BMP").arg(n, 2, 10, QLatin1Char('0')), QSize(4, 3), qRgb(200, 10, 10), 0);
    for (int n = 0; n < 3000; ++n)
        writeFile(base(QStringLiteral("Images/Other%1.jpg").arg(n)), QByteArray());
    writeScene(QStringLiteral("School"), "BG=GardenBG.jpg;\r\nMP=Fish01.bmp;\r\nMPx=5;\r\nMPy=5;\r\nMF=32767;\r\n"
                                         "EMA=Kick01.bmp;\r\nEMAF=300;\r\n\r\n");
    VelmNShare &w = openLayers();
    load(w, QStringLiteral("Garden"));

    const FolderListings listings;
    FileWork work({base(QStringLiteral("Images"))});
    ASSERT_TRUE(work.watching());
    load(w, QStringLiteral("School"));
    EXPECT_EQ(listings.of(base(QStringLiteral("Images"))), 1);
    // The background, Fish01 and each child frame once.
    QStringList opened{QStringLiteral("Fish01.bmp"), QStringLiteral("GardenBG.jpg")};
    for (int n = 1; n <= 300; ++n)
        opened << QStringLiteral("KICK%1.BMP").arg(n, 2, 10, QLatin1Char('0'));
    opened.sort();
    EXPECT_EQ(work.openedFiles(), opened);

    EXPECT_EQ(shownBoxes(w), QStringList{"MiscPic"});
    ASSERT_EQ(w.Player->ImageList12.Count(), MaxCountedFrames + 1);
    EXPECT_EQ(w.Player->ImageList12.Picture(MaxCountedFrames + 1).cacheKey(), w.Player->ImageList12.Picture(1).cacheKey());
    EXPECT_EQ(w.Player->ImageList13.Count(), 301);
    EXPECT_EQ(w.Player->ImageList13.Picture(300).size(), QSize(40, 30));
    EXPECT_LE(heldBytes(w), 64 << 20);
    EXPECT_TRUE(messages.shown.isEmpty());

    // The next load lists the folder afresh, once.
    load(w, QStringLiteral("School"));
    EXPECT_EQ(listings.of(base(QStringLiteral("Images"))), 2);
    expectGardenShows(w);
}

// A background whose header declares a row of 16777223 pixels in 155 bytes of
// run-length coded rows, which the picture fuzz target found: it is refused
// from its header, neither read whole nor decoded, and the scene plays
// without it. The file is made 64 MB long (sparse), so that a read of the
// whole of it shows in the bytes read.
TEST_F(PreviewBoundsTest, ABackgroundWithARowOfMillionsOfPixelsIsRefusedFromItsHeader)
{
    writeCharacterScene(everyLayer(QStringLiteral("Garden")));
    CharacterScene c;
    c.name = QStringLiteral("Streak");
    writeCharacterScene(c);
    const FileRead row = readFile(QStringLiteral(SCENARA_FUZZ_CORPUS "/picture_load/bmprle8-row-of-16777223.bmp"), 4096);
    ASSERT_TRUE(row) << row.error.toStdString();
    const QString background = base(QStringLiteral("Images/StreakBG.jpg"));
    writeFile(background, row.value);
    QFile file(background);
    ASSERT_TRUE(file.resize(qint64(64) << 20));
    const QString refusal = QStringLiteral("the picture is 16777223 x 1 pixels, too large to load");
    EXPECT_TRUE(LoadPicture(background).error.contains(refusal)) << LoadPicture(background).error.toStdString();

    VelmNShare &w = openLayers();
    load(w, QStringLiteral("Garden"));
    FileWork work({base(QStringLiteral("Images"))});
    ASSERT_TRUE(work.watching());
    load(w, c.name);
    EXPECT_EQ(work.opened(QStringLiteral("StreakBG.jpg")), 1);
    EXPECT_LT(work.bytesRead(), 4 << 20);
    EXPECT_EQ(w.Player->MainPicName, QString());
    // Without a background the mouth keeps its own size.
    EXPECT_EQ(shownBoxes(w), QStringList{"VelmMouth"});
    EXPECT_EQ(w.Player->ImageList8.Picture(1).size(), c.mouthSize);
    EXPECT_TRUE(messages.shown.isEmpty());
    expectGardenShows(w);
}

// Pictures the readers cannot allocate (their limit set low): a frame 01 that
// cannot be resized leaves its layer out, a frame n too large to decode is
// missing and repeats the frame before it.
TEST_F(PreviewBoundsTest, APictureThatCannotBeAllocatedIsAMissingFrame)
{
    const CharacterScene c = writeRatioTwoScene(QStringLiteral("Short"));
    // 8 MB holds the background at 1200 x 857, not 2 million pixels more.
    writeLayer(c.name, Layer::Blink, QSize(800, 700)); // shown at 1600 x 1400
    writeFrame(frameName(c.name, Layer::Mouth, 3), QSize(1500, 1500), qRgb(1, 2, 3), 4);

    VelmNShare &w = openLayers();
    {
        const struct Limit {
            int before = QImageReader::allocationLimit();
            Limit() { QImageReader::setAllocationLimit(8); }
            ~Limit() { QImageReader::setAllocationLimit(before); }
        } limit;
        load(w, c.name);
    }

    EXPECT_EQ(shownBoxes(w), (QStringList{"VelmMouth", "UserMouth", "UserBlink"}));
    EXPECT_EQ(w.Player->ImageList10.Count(), 0);
    EXPECT_EQ(w.Player->ImageList3.Count(), 0);
    ASSERT_EQ(w.Player->ImageList8.Count(), 52);
    // Talk mouth 6 shows frame 3, which stands as frame 2.
    const QImage six = w.Player->ImageList8.Picture(6);
    ASSERT_EQ(six.size(), QSize(80, 60));
    EXPECT_EQ(six.pixel(40, 30), frameColor(Layer::Mouth, 2));
    EXPECT_TRUE(messages.shown.isEmpty());
    expectGardenShows(w);
}

} // namespace
