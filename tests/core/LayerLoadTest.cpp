// The loads of the smile, blink, brow and user character layers: what each
// display and source list holds, checked by colour, the boxes' places and
// sizes, the frame-name lists, scenes that lack a layer's key, and frames
// missing on disk.

#include "tests/core/PlayerFixture.h"

namespace {

// The mouth frame of each talk mouth 1..22.
const QVector<int> TalkFrames = {1, 5, 5, 4, 4, 3, 3, 7, 7, 5, 7, 4, 4, 7, 6, 2, 7, 3, 2, 2, 3, 1};
// The smile frame of each entry 23..52 of ImageList8: the smile-talk mouths
// for visemes 0..21, then the smile.
const QVector<int> SmileFrames = {8, 12, 12, 13, 11, 10, 10, 14, 14, 14, 14, 11, 11, 14, 13, 9,
                                  14, 10, 9, 9, 10, 8, 1, 2, 3, 4, 5, 6, 7, 8};

CharacterScene everyLayer(const QString &name = QStringLiteral("Garden"))
{
    CharacterScene c;
    c.name = name;
    c.smile = c.blink = c.brow = c.userMouth = c.userBlink = true;
    return c;
}

QStringList names(const QString &scene, const QString &layer, int count, const QString &extension)
{
    QStringList out;
    for (int n = 1; n <= count; ++n)
        out << scene + layer + QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')) + extension;
    return out;
}

// The very same picture, not one that only looks alike.
bool same(const QImage &a, const QImage &b)
{
    return !a.isNull() && a.constBits() == b.constBits();
}

QStringList filesOf(const QStringList &list, int count)
{
    return list.mid(1, count);
}

using LayerLoadTest = PlayerLayerTest;

TEST_F(LayerLoadTest, EveryListHoldsItsFramesByColour)
{
    writeCharacterScene(everyLayer());
    PreviewPlayer &w = *player;
    loadLayers(QStringLiteral("Garden"));

    const struct {
        const char *label;
        const ImageList &list;
        const char *key; // the list's keyed entry 1
        int count;       // entries in the list
        int first;       // the first entry the row checks
        Layer layer;
        QVector<int> frames; // the frame each entry from `first` on holds
        bool composed;       // a display entry: the frame over frame 01
    } rows[] = {
        {"ImageList8 talk mouths", w.ImageList8, "KMT", 52, 1, Layer::Mouth, TalkFrames, true},
        {"ImageList8 smile", w.ImageList8, "KMT", 52, 23, Layer::Smile, SmileFrames, true},
        {"ImageList10 blink", w.ImageList10, "KBL", 15, 1, Layer::Blink, {1, 1, 2, 3, 4}, true},
        {"ImageList10 brow", w.ImageList10, "KBL", 15, 6, Layer::Brow, {1, 2, 3, 4, 5, 6, 7, 8, 9, 9}, true},
        {"ImageList3 blink frames", w.ImageList3, "KBL", 4, 1, Layer::Blink, {1, 2, 3, 4}, false},
        {"ImageList9 user talk mouths", w.ImageList9, "UMT", 22, 1, Layer::UserMouth, TalkFrames, true},
        {"ImageList11 user blink", w.ImageList11, "UBL", 5, 1, Layer::UserBlink, {1, 1, 2, 3, 4}, true},
        {"ImageList4 user blink frames", w.ImageList4, "UBL", 4, 1, Layer::UserBlink, {1, 2, 3, 4}, false},
        // The user mouth refills the scratch list last.
        {"ImageList2 user mouth frames", w.ImageList2, "UMT", 7, 1, Layer::UserMouth, {1, 2, 3, 4, 5, 6, 7}, false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.label);
        ASSERT_EQ(row.list.Count(), row.count);
        EXPECT_EQ(row.list.Key(1), QString::fromUtf8(row.key));
        for (int i = 2; i <= row.list.Count(); ++i)
            EXPECT_EQ(row.list.Key(i), QString()) << "entry " << i;
        for (int i = 0; i < row.frames.size(); ++i) {
            const int e = row.first + i;
            if (row.composed)
                EXPECT_TRUE(holds(row.list, e, row.layer, row.frames[i]));
            else
                EXPECT_EQ(row.list.Picture(e).pixel(20, 10), frameColor(row.layer, row.frames[i])) << "entry " << e;
        }
    }

    // Every box shows its layer's frame 01 at its place; ratio 1.
    const struct {
        const PreviewBox *box;
        QPoint place;
        Layer layer;
    } boxes[] = {{w.VelmMouth, {10, 20}, Layer::Mouth},
                 {w.VelmBlink, {30, 40}, Layer::Blink},
                 {w.UserMouth, {50, 60}, Layer::UserMouth},
                 {w.UserBlink, {70, 80}, Layer::UserBlink}};
    for (const auto &b : boxes) {
        SCOPED_TRACE(b.box->objectName().toStdString());
        EXPECT_TRUE(b.box->isShown());
        EXPECT_EQ(b.box->pos(), b.place);
        EXPECT_EQ(b.box->Picture().pixel(20, 10), frameColor(b.layer, 1));
    }
    EXPECT_TRUE(w.HasUser);
    EXPECT_TRUE(w.Smile.VelmHasSmile);
    EXPECT_TRUE(w.Brow.VelmHasBrow);
    EXPECT_TRUE(w.SmileTimer2->Enabled());
    EXPECT_FALSE(w.SmileTimer1->Enabled());
    EXPECT_TRUE(w.BrowTimer2->Enabled());
    EXPECT_FALSE(w.BrowTimer1->Enabled());
    EXPECT_EQ(w.Smile.VelmSmileVar1, 44);
    EXPECT_EQ(w.Brow.VelmBrowVar1, 5);

    const SceneFileLists &f = scene().Files;
    EXPECT_EQ(filesOf(f.SmileFrameFiles, 14), names("Garden", "Smile", 14, ".bmp"));
    EXPECT_EQ(filesOf(f.MainBlinkFrameFiles, 4), names("Garden", "Blink", 4, ".bmp"));
    EXPECT_EQ(filesOf(f.BrowFrameFiles, 9), names("Garden", "Brow", 9, ".bmp"));
    EXPECT_EQ(filesOf(f.UserMouthFrameFiles, 7), names("Garden", "UserMouth", 7, ".bmp"));
    EXPECT_EQ(filesOf(f.UserBlinkFrameFiles, 4), names("Garden", "UserBlink", 4, ".bmp"));
    EXPECT_TRUE(trace.isEmpty()) << "a load shows nothing through the timer steps";
    EXPECT_TRUE(reported.isEmpty());
}

TEST_F(LayerLoadTest, ScenesWithoutALayersKey)
{
    CharacterScene blinkOnly;
    blinkOnly.name = QStringLiteral("Blinks");
    blinkOnly.blink = true;
    CharacterScene bare;
    bare.name = QStringLiteral("Bare");
    CharacterScene userBlinkOnly;
    userBlinkOnly.name = QStringLiteral("Eyes");
    userBlinkOnly.userBlink = true;
    CharacterScene userMouthOnly;
    userMouthOnly.name = QStringLiteral("Talker");
    userMouthOnly.userMouth = true;
    for (const CharacterScene &c : {everyLayer(), blinkOnly, bare, userBlinkOnly, userMouthOnly})
        writeCharacterScene(c);

    const struct {
        const char *label;
        const char *scene;
        bool blinkShows;
        int blinkEntries;     // ImageList10
        bool blinkListsKept;  // ImageList10 and ImageList3 hold Garden's pictures
        bool browStarter;     // BrowTimer2
        bool hasUser;
        bool userMouthShows;
        bool userMouthKept;   // ImageList9 holds Garden's pictures
        bool userBlinkShows;
        bool userBlinkKept;   // ImageList11 and ImageList4 hold Garden's pictures
    } rows[] = {
        {"KB= only", "Blinks", true, 5, false, false, false, false, true, false, true},
        {"no layer key", "Bare", false, 15, true, false, false, false, true, false, true},
        {"UB= without UM=", "Eyes", false, 15, true, false, false, false, true, true, false},
        {"UM= without UB=", "Talker", false, 15, true, false, true, true, false, false, true},
    };
    PreviewPlayer &w = *player;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.label);
        loadLayers(QStringLiteral("Garden"));
        const QImage blink5 = w.ImageList10.Picture(5), brow15 = w.ImageList10.Picture(15);
        const QImage blinkFrame = w.ImageList3.Picture(4), talk = w.ImageList9.Picture(22);
        const QImage userBlink = w.ImageList11.Picture(5), userBlinkFrame = w.ImageList4.Picture(4);
        loadLayers(QString::fromUtf8(row.scene));

        EXPECT_EQ(w.VelmBlink->isShown(), row.blinkShows);
        EXPECT_EQ(w.ImageList10.Count(), row.blinkEntries);
        EXPECT_EQ(same(w.ImageList10.Picture(5), blink5) && same(w.ImageList3.Picture(4), blinkFrame),
                  row.blinkListsKept);
        if (row.blinkListsKept) {
            EXPECT_TRUE(same(w.ImageList10.Picture(15), brow15));
        }
        EXPECT_EQ(w.BrowTimer2->Enabled(), row.browStarter);
        EXPECT_FALSE(w.Brow.VelmHasBrow);
        EXPECT_FALSE(w.Brow.VelmBrowOn);
        EXPECT_EQ(w.HasUser, row.hasUser);
        EXPECT_EQ(w.UserMouth->isShown(), row.userMouthShows);
        EXPECT_EQ(same(w.ImageList9.Picture(22), talk), row.userMouthKept);
        EXPECT_EQ(w.UserBlink->isShown(), row.userBlinkShows);
        EXPECT_EQ(same(w.ImageList11.Picture(5), userBlink) && same(w.ImageList4.Picture(4), userBlinkFrame),
                  row.userBlinkKept);
        // None of these scenes smiles.
        EXPECT_FALSE(w.Smile.VelmHasSmile);
        EXPECT_FALSE(w.SmileTimer1->Enabled());
        EXPECT_FALSE(w.SmileTimer2->Enabled());
        EXPECT_EQ(w.ImageList8.Count(), 22);
    }
    // The layers that load are the new scene's own.
    loadLayers(QStringLiteral("Blinks"));
    EXPECT_TRUE(holds(w.ImageList10, 5, Layer::Blink, 4));
    loadLayers(QStringLiteral("Eyes"));
    EXPECT_TRUE(holds(w.ImageList11, 5, Layer::UserBlink, 4));
    EXPECT_EQ(w.UserBlink->Picture().pixel(20, 10), frameColor(Layer::UserBlink, 1));
    EXPECT_TRUE(reported.isEmpty());
}

TEST_F(LayerLoadTest, FramesTakeTheirLayersFrameOneSizeTimesTheRatio)
{
    CharacterScene c = everyLayer();
    c.background = QSize(600, 400); // ratio 2
    c.smileSize = QSize(30, 30);    // the smile takes the main mouth's size
    c.browSize = QSize(50, 50);     // the brows take the blink's size
    writeCharacterScene(c);
    PreviewPlayer &w = *player;
    loadLayers(QStringLiteral("Garden"));

    const struct {
        const char *label;
        const ImageList &list;
        int first, last;
        QSize size;
    } rows[] = {
        {"talk mouths", w.ImageList8, 1, 22, {80, 60}},
        {"smile on the main mouth's size", w.ImageList8, 23, 52, {80, 60}},
        {"blink", w.ImageList10, 1, 5, {120, 40}},
        {"brow on the blink's size", w.ImageList10, 6, 15, {120, 40}},
        {"blink frames", w.ImageList3, 1, 4, {120, 40}},
        {"user talk mouths", w.ImageList9, 1, 22, {72, 48}},
        {"user mouth frames", w.ImageList2, 1, 7, {72, 48}},
        {"user blink", w.ImageList11, 1, 5, {88, 32}},
        {"user blink frames", w.ImageList4, 1, 4, {88, 32}},
    };
    for (const auto &row : rows)
        for (int e = row.first; e <= row.last; ++e)
            EXPECT_EQ(row.list.Picture(e).size(), row.size) << row.label << ", entry " << e;

    // Places at twice the scene's; sizes from frame 01's HIMETRIC size, times 2, less 1.
    EXPECT_EQ(w.VelmBlink->geometry(), QRect(60, 80, 119, 39));
    EXPECT_EQ(w.UserMouth->geometry(), QRect(100, 120, 71, 47));
    EXPECT_EQ(w.UserBlink->geometry(), QRect(140, 160, 87, 31));
}

TEST_F(LayerLoadTest, BlinkBoxWithoutItsOwnXTakesTheMouths)
{
    writeCharacterScene(everyLayer());
    writeScene(QStringLiteral("Squint"), "BG=GardenBG.jpg;\r\nKM=GardenMouth01.bmp;\r\nKMx=10;\r\nKMy=20;\r\n"
                                         "KB=GardenBlink01.bmp;\r\nKBy=40;\r\n\r\n");
    PreviewPlayer &w = *player;
    loadLayers(QStringLiteral("Squint"));
    EXPECT_TRUE(w.VelmBlink->isShown());
    EXPECT_EQ(w.VelmBlink->pos(), QPoint(10, 40));
}

TEST_F(LayerLoadTest, FrameNameListsAreWrittenWhetherTheFramesExistOrNot)
{
    writePicture(QStringLiteral("GardenBG.jpg"), QSize(1200, 857), qRgb(20, 60, 120));
    writeScene(QStringLiteral("Names"), "BG=GardenBG.jpg;\r\nKS=GardenSmile01.jpg;\r\nKB=GardenBlink01.jpg;\r\n"
                                        "KBr=GardenBrow01.jpg;\r\nUM=GardenUserMouth01.jpg;\r\n"
                                        "UB=GardenUserBlink01.jpg;\r\n\r\n");
    PreviewPlayer &w = *player;
    loadLayers(QStringLiteral("Names"));

    const SceneFileLists &f = scene().Files;
    EXPECT_EQ(filesOf(f.UserMouthFrameFiles, 8),
              (QStringList{"GardenUserMouth01.jpg", "GardenUserMouth02.jpg", "GardenUserMouth03.jpg",
                           "GardenUserMouth04.jpg", "GardenUserMouth05.jpg", "GardenUserMouth06.jpg",
                           "GardenUserMouth07.jpg", ""}));
    EXPECT_EQ(filesOf(f.SmileFrameFiles, 15), names("Garden", "Smile", 14, ".jpg") + QStringList{""});
    EXPECT_EQ(filesOf(f.MainBlinkFrameFiles, 5), names("Garden", "Blink", 4, ".jpg") + QStringList{""});
    EXPECT_EQ(filesOf(f.BrowFrameFiles, 10), names("Garden", "Brow", 9, ".jpg") + QStringList{""});
    EXPECT_EQ(filesOf(f.UserBlinkFrameFiles, 5), names("Garden", "UserBlink", 4, ".jpg") + QStringList{""});
    // No frame on disk: no layer shows, though the scene has a user character.
    EXPECT_TRUE(w.HasUser);
    EXPECT_TRUE(w.Brow.VelmHasBrow);
    EXPECT_FALSE(w.Smile.VelmHasSmile);
    for (const PreviewBox *box : {w.VelmMouth, w.VelmBlink, w.UserMouth, w.UserBlink})
        EXPECT_FALSE(box->isShown()) << box->objectName().toStdString();
    EXPECT_FALSE(w.BrowTimer2->Enabled());
    EXPECT_FALSE(w.SmileTimer2->Enabled());
    EXPECT_TRUE(reported.isEmpty());
}

// A missing frame 03 repeats frame 02, the same picture.
TEST_F(LayerLoadTest, AMissingFrameRepeatsTheFrameBeforeIt)
{
    const struct {
        Layer layer;
        const ImageList PreviewPlayer::*source;
        const ImageList PreviewPlayer::*display;
        int entry3, entry4; // display entries of frames 03 and 04
    } rows[] = {
        {Layer::Smile, nullptr, &PreviewPlayer::ImageList8, 47, 48},
        {Layer::Blink, &PreviewPlayer::ImageList3, &PreviewPlayer::ImageList10, 4, 5},
        {Layer::Brow, nullptr, &PreviewPlayer::ImageList10, 8, 9},
        {Layer::UserMouth, &PreviewPlayer::ImageList2, &PreviewPlayer::ImageList9, 6, 4},
        {Layer::UserBlink, &PreviewPlayer::ImageList4, &PreviewPlayer::ImageList11, 4, 5},
    };
    for (const auto &row : rows) {
        const QString name = QStringLiteral("Missing") + layerName(row.layer);
        writeCharacterScene(everyLayer(name));
        removeFrame(name, row.layer, 3);
    }
    PreviewPlayer &w = *player;
    for (const auto &row : rows) {
        SCOPED_TRACE(layerName(row.layer).toStdString());
        loadLayers(QStringLiteral("Missing") + layerName(row.layer));
        EXPECT_TRUE(holds(w.*row.display, row.entry3, row.layer, 2));
        EXPECT_TRUE(holds(w.*row.display, row.entry4, row.layer, 4));
        if (row.source) {
            EXPECT_TRUE(same((w.*row.source).Picture(3), (w.*row.source).Picture(2)));
        }
    }
    EXPECT_TRUE(reported.isEmpty());
}

// A missing frame 01 leaves the layer out, with its lists emptied.
TEST_F(LayerLoadTest, AMissingFrameOneLeavesTheLayerOut)
{
    const struct {
        Layer layer;
        QVector<const ImageList PreviewPlayer::*> emptied;
        int mouthEntries, blinkEntries; // ImageList8, ImageList10
    } rows[] = {
        {Layer::Smile, {}, 22, 15},
        {Layer::Blink, {&PreviewPlayer::ImageList10, &PreviewPlayer::ImageList3}, 52, 0},
        {Layer::Brow, {}, 52, 5},
        {Layer::UserMouth, {&PreviewPlayer::ImageList9, &PreviewPlayer::ImageList2}, 52, 15},
        {Layer::UserBlink, {&PreviewPlayer::ImageList11, &PreviewPlayer::ImageList4}, 52, 15},
    };
    writeCharacterScene(everyLayer());
    for (const auto &row : rows) {
        const QString name = QStringLiteral("Missing") + layerName(row.layer);
        writeCharacterScene(everyLayer(name));
        removeFrame(name, row.layer, 1);
    }
    PreviewPlayer &w = *player;
    for (const auto &row : rows) {
        SCOPED_TRACE(layerName(row.layer).toStdString());
        loadLayers(QStringLiteral("Garden"));
        loadLayers(QStringLiteral("Missing") + layerName(row.layer));
        for (const auto list : row.emptied)
            EXPECT_EQ((w.*list).Count(), 0);
        EXPECT_EQ(w.ImageList8.Count(), row.mouthEntries);
        EXPECT_EQ(w.ImageList10.Count(), row.blinkEntries);
        EXPECT_EQ(w.Smile.VelmHasSmile, row.layer != Layer::Smile);
        EXPECT_EQ(w.SmileTimer2->Enabled(), row.layer != Layer::Smile);
        EXPECT_EQ(w.BrowTimer2->Enabled(), row.layer != Layer::Brow && row.layer != Layer::Blink);
        EXPECT_TRUE(w.Brow.VelmHasBrow);
        EXPECT_TRUE(w.HasUser);
        EXPECT_EQ(w.VelmBlink->isShown(), row.layer != Layer::Blink);
        EXPECT_EQ(w.UserMouth->isShown(), row.layer != Layer::UserMouth);
        EXPECT_EQ(w.UserBlink->isShown(), row.layer != Layer::UserBlink);
        EXPECT_TRUE(w.VelmMouth->isShown());
    }
    EXPECT_TRUE(reported.isEmpty());
}

} // namespace
