// The timer steps of the smile, blink, brow and user blink layers under the
// virtual clock: every picture shown, with its time, against the layers'
// sequence tables; the random draws each starter and stepper takes; loads
// in the middle of a step; and the lip sync over the smile and user mouths.

#include "core/preview/LipSyncRouter.h"
#include "tests/core/PlayerFixture.h"

namespace {

// Random draws clearly inside or outside each band.
constexpr float SmileHit = 0.02f, SmileMiss = 0.03f; // SmileTimer2: r < 1/40
constexpr float BrowHit = 0.09f, BrowMiss = 0.11f;   // BrowTimer2: r < 1/10
constexpr float Hold = 0.45f, Turn = 0.55f;          // SmileTimer1: c = 1 or 2

const QString Blink = QStringLiteral("VelmBlink"), KBL = QStringLiteral("KBL");

CharacterScene sceneWith(const QString &name, bool smile, bool blink, bool brow, bool userMouth, bool userBlink)
{
    CharacterScene c;
    c.name = name;
    c.smile = smile;
    c.blink = blink;
    c.brow = brow;
    c.userMouth = userMouth;
    c.userBlink = userBlink;
    return c;
}

using LayerStepTest = PlayerLayerTest;

TEST_F(LayerStepTest, BlinksAndBrowsFollowTheirTables)
{
    writeCharacterScene(sceneWith(QStringLiteral("Lids"), false, true, true, false, false));
    PreviewPlayer &w = *player;
    loadLayers(QStringLiteral("Lids"));
    const qint64 t0 = clock->Now();

    // A blink with the brows down.
    w.Timer2->SetEnabled(true);
    advance(800);
    EXPECT_EQ(trace, steps(Blink, KBL, t0 + 80, 80, {1, 2, 3, 4, 5, 5, 4, 3, 2, 1}));
    EXPECT_FALSE(w.Timer2->Enabled());
    EXPECT_EQ(w.MainBlinks.Blink, 1);
    EXPECT_EQ(w.MainBlinks.BlinkState, QStringLiteral("Close"));

    // The first raise after a load: one draw a second, then 6 to 11.
    trace.clear();
    advance(200, {BrowHit});
    advance(480);
    EXPECT_EQ(trace, steps(Blink, KBL, t0 + 1080, 80, {6, 7, 8, 9, 10, 11}));
    EXPECT_FALSE(w.BrowTimer1->Enabled());
    EXPECT_TRUE(w.Brow.VelmBrowOn);
    EXPECT_EQ(w.Brow.VelmBrowVar1, 11);

    // A blink with the brows raised; the starter draws but starts nothing meanwhile.
    trace.clear();
    advance(20);
    w.Timer2->SetEnabled(true);
    advance(800, {BrowHit});
    EXPECT_EQ(trace, steps(Blink, KBL, t0 + 1580, 80, {11, 12, 13, 14, 15, 15, 14, 13, 12, 11}));
    EXPECT_FALSE(w.BrowTimer1->Enabled());
    EXPECT_TRUE(w.Brow.VelmBrowOn);

    // A lowering, then a later raise.
    trace.clear();
    advance(1100, {BrowHit});
    EXPECT_EQ(trace, steps(Blink, KBL, t0 + 3080, 80, {10, 9, 8, 7, 6}));
    EXPECT_FALSE(w.Brow.VelmBrowOn);
    trace.clear();
    advance(1000, {BrowHit});
    EXPECT_EQ(trace, steps(Blink, KBL, t0 + 4080, 80, {7, 8, 9, 10, 11}));

    // A miss starts nothing; a blink after a lowering starts at 1.
    trace.clear();
    advance(1000, {BrowMiss});
    EXPECT_TRUE(trace.isEmpty());
    advance(1000, {BrowHit});
    EXPECT_EQ(trace, steps(Blink, KBL, t0 + 6080, 80, {10, 9, 8, 7, 6}));
    trace.clear();
    w.Timer2->SetEnabled(true);
    advance(800, {BrowHit});
    EXPECT_EQ(trace, steps(Blink, KBL, t0 + 6480, 80, {1, 2, 3, 4, 5, 5, 4, 3, 2, 1}));
    EXPECT_TRUE(holds(w.ImageList10, 1, Layer::Blink, 1));
    EXPECT_EQ(w.VelmBlink->Picture(), w.ImageList10.Overlay(KBL, 1));
    EXPECT_TRUE(reported.isEmpty());
}

TEST_F(LayerStepTest, AUserBlinkTurnsAtFiveAndCountsBeforeItShows)
{
    writeCharacterScene(sceneWith(QStringLiteral("Eyes"), false, false, false, false, true));
    PreviewPlayer &w = *player;
    loadLayers(QStringLiteral("Eyes"));
    const qint64 t0 = clock->Now();
    w.Timer4->SetEnabled(true);
    const int frames[] = {1, 2, 3, 4, 3, 2, 1, 1};
    for (const int frame : frames) {
        advance(80);
        EXPECT_EQ(w.UserBlink->Picture().pixel(20, 10), frameColor(Layer::UserBlink, frame)) << clock->Now();
    }
    EXPECT_EQ(trace, steps(QStringLiteral("UserBlink"), QStringLiteral("UBL"), t0 + 80, 80, {2, 3, 4, 5, 4, 3, 2, 1}));
    EXPECT_FALSE(w.Timer4->Enabled());
    EXPECT_EQ(w.UserBlinks.BlinkB, 1);
    EXPECT_EQ(w.UserBlinks.BlinkStateB, QStringLiteral("Close"));
}

TEST_F(LayerStepTest, SmilesRiseHoldAndFall)
{
    writeCharacterScene(sceneWith(QStringLiteral("Grin"), true, false, false, false, false));
    PreviewPlayer &w = *player;
    loadLayers(QStringLiteral("Grin"));
    const qint64 t0 = clock->Now();
    const QString mouth = QStringLiteral("VelmMouth"), KMT = QStringLiteral("KMT");

    // SmileTimer2 draws every 250 ms; SmileTimer1 every 50 ms while it runs,
    // after SmileTimer2 when both tick at once.
    advance(250, {SmileHit});
    advance(50, {Turn});
    EXPECT_FALSE(w.Smile.VelmSmileOn) << "the first step of the first smile";
    advance(50, {Turn});
    EXPECT_TRUE(w.Smile.VelmSmileOn);
    advance(100, {Turn, Turn});
    advance(100, {SmileMiss, Turn, Turn});
    advance(100, {Turn, Hold}); // c = 1 at the full smile: it holds
    EXPECT_EQ(trace, steps(mouth, KMT, t0 + 300, 50, {45, 46, 47, 48, 49, 50, 51, 52}));
    EXPECT_FALSE(w.SmileTimer1->Enabled());
    EXPECT_TRUE(w.Smile.VelmSmileOn);
    EXPECT_TRUE(w.Smile.VelmSmileOpen);

    // Held until SmileTimer2 hits, then back down to 45.
    trace.clear();
    advance(350, {SmileMiss, SmileHit});
    advance(350, {Turn, Turn, Turn, Turn, SmileMiss, Turn, Turn, Turn});
    EXPECT_EQ(trace, steps(mouth, KMT, t0 + 1050, 50, {51, 50, 49, 48, 47, 46, 45}));
    EXPECT_FALSE(w.SmileTimer1->Enabled());
    EXPECT_FALSE(w.Smile.VelmSmileOn);
    EXPECT_TRUE(holds(w.ImageList8, 45, Layer::Smile, 1));
    EXPECT_EQ(w.VelmMouth->Picture(), w.ImageList8.Overlay(KMT, 45));

    // A later smile starts at 46; with c = 2 at the full smile it turns back at once.
    trace.clear();
    advance(150, {SmileHit});
    advance(50, {Hold});
    EXPECT_TRUE(w.Smile.VelmSmileOn);
    advance(300, {Hold, Hold, Hold, SmileMiss, Hold, Hold, Turn});
    advance(350, {Hold, Hold, SmileMiss, Hold, Hold, Hold, Hold, Hold});
    EXPECT_EQ(trace, steps(mouth, KMT, t0 + 1550, 50, {46, 47, 48, 49, 50, 51, 52, 51, 50, 49, 48, 47, 46, 45}));
    EXPECT_FALSE(w.SmileTimer1->Enabled());
    EXPECT_EQ(w.Smile.VelmSmileVar1, 45);
    EXPECT_TRUE(reported.isEmpty());
}

TEST_F(LayerStepTest, TheStartersDrawOncePerTickAndTheStepperOnlyWithASmile)
{
    writeCharacterScene(sceneWith(QStringLiteral("Grin"), true, true, true, false, false));
    PreviewPlayer &w = *player;

    // Before any load both smile timers run: SmileTimer1 neither draws nor shows.
    advance(240);
    EXPECT_TRUE(w.SmileTimer1->Enabled());
    advance(10, {SmileHit});
    advance(500, {SmileMiss, SmileMiss});
    EXPECT_TRUE(trace.isEmpty());

    // A blink running: BrowTimer2 draws a hit and starts nothing.
    loadLayers(QStringLiteral("Grin"));
    advance(900, {SmileMiss, SmileMiss, SmileMiss});
    w.Timer2->SetEnabled(true);
    // Both tick at 1750; the brow starter was started first, at the load.
    advance(100, {BrowHit, SmileMiss});
    EXPECT_FALSE(w.BrowTimer1->Enabled());
    advance(700, {SmileMiss, SmileMiss});
    EXPECT_FALSE(w.SmileTimer1->Enabled());
    EXPECT_FALSE(w.Timer2->Enabled());
    EXPECT_EQ(entriesIn(Blink), (QVector<int>{1, 2, 3, 4, 5, 5, 4, 3, 2, 1}));
    EXPECT_TRUE(reported.isEmpty());
}

TEST_F(LayerStepTest, LoadsInTheMiddleOfSteps)
{
    CharacterScene wide = sceneWith(QStringLiteral("Wide"), true, true, true, true, true);
    wide.blinkSize = QSize(50, 10);
    wide.userBlinkSize = QSize(30, 12);
    for (const CharacterScene &c : {sceneWith(QStringLiteral("Lids"), true, true, true, true, true), wide,
                                    sceneWith(QStringLiteral("Plain"), false, false, false, false, false)})
        writeCharacterScene(c);
    PreviewPlayer &w = *player;
    // Loads between the starters' ticks keep their draws out of the way.
    const struct {
        const char *label;
        const char *next;
        QVector<int> rest;  // VelmBlink's entries after the load
        QSize blinkSize;    // its picture's size at the end
        QVector<int> userRest;
        QVector<float> draws; // the new scene's smile starter
    } rows[] = {
        {"over the new entries", "Wide", {4, 5, 5, 4, 3, 2, 1}, {50, 10}, {5, 4, 3, 2, 1}, {SmileMiss, SmileMiss}},
        {"without a blink", "Plain", {}, {60, 20}, {}, {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.label);
        loadLayers(QStringLiteral("Lids"));
        w.Timer2->SetEnabled(true);
        w.Timer4->SetEnabled(true);
        advance(240);
        EXPECT_EQ(entriesIn(Blink), (QVector<int>{1, 2, 3}));
        EXPECT_EQ(entriesIn(QStringLiteral("UserBlink")), (QVector<int>{2, 3, 4}));
        loadLayers(QString::fromUtf8(row.next));
        advance(560, row.draws);
        EXPECT_EQ(entriesIn(Blink), row.rest);
        EXPECT_EQ(entriesIn(QStringLiteral("UserBlink")), row.userRest);
        EXPECT_EQ(w.VelmBlink->Picture().size(), row.blinkSize);
        EXPECT_FALSE(w.Timer2->Enabled());
        EXPECT_FALSE(w.Timer4->Enabled());
        EXPECT_EQ(w.MainBlinks.Blink, 1);
        EXPECT_EQ(w.UserBlinks.BlinkB, 1);
        EXPECT_EQ(w.UserBlinks.BlinkStateB, QStringLiteral("Close"));
        // Draws are scripted only for smile scenes; the next test loads afresh.
        random.strict = false;
    }

    // A brow movement stops; the brows come down.
    loadLayers(QStringLiteral("Lids"));
    // At 1000 ms the brow starter, started after the smile's at the load, ticks first.
    advance(1000, {SmileMiss, SmileMiss, SmileMiss, BrowHit, SmileMiss});
    advance(240);
    EXPECT_EQ(entriesIn(Blink), (QVector<int>{6, 7, 8}));
    loadLayers(QStringLiteral("Wide"));
    EXPECT_FALSE(w.BrowTimer1->Enabled());
    EXPECT_EQ(w.Brow.VelmBrowVar1, 5);
    EXPECT_FALSE(w.Brow.VelmBrowOn);
    EXPECT_FALSE(w.Brow.VelmBrowOpen);
    advance(1000, {SmileMiss, SmileMiss, SmileMiss, BrowHit, SmileMiss});
    advance(480, {SmileMiss});
    EXPECT_EQ(entriesIn(Blink), (QVector<int>{6, 7, 8, 9, 10, 11})) << "the first raise after a load";

    // A smile returns to rest.
    for (const char *next : {"Wide", "Plain"}) {
        SCOPED_TRACE(next);
        loadLayers(QStringLiteral("Lids"));
        advance(250, {SmileHit});
        advance(150, {Turn, Turn, Turn});
        EXPECT_TRUE(w.Smile.VelmSmileOn);
        loadLayers(QString::fromUtf8(next));
        EXPECT_EQ(w.Smile.VelmSmileVar1, 44);
        EXPECT_FALSE(w.Smile.VelmSmileOn);
        EXPECT_FALSE(w.SmileTimer1->Enabled());
        EXPECT_EQ(w.SmileTimer2->Enabled(), QByteArray(next) == "Wide");
        EXPECT_EQ(w.Smile.VelmHasSmile, QByteArray(next) == "Wide");
        random.strict = false;
    }
    // Without a smile nothing draws: SmileTimer1 and SmileTimer2 are off.
    advance(1000);
    EXPECT_TRUE(trace.isEmpty());
    EXPECT_TRUE(reported.isEmpty());
}

// Shows a lip-sync pick as the window's viseme step hands it to the player.
void showPick(PreviewPlayer &w, const MouthPick &pick)
{
    w.showMouth(pick);
}

TEST_F(LayerStepTest, LipSyncTakesTheSmileTalkMouthsWhileSmiling)
{
    writeCharacterScene(sceneWith(QStringLiteral("Grin"), true, false, false, true, false));
    PreviewPlayer &w = *player;
    loadLayers(QStringLiteral("Grin"));
    const QPoint middle(20, 15);

    showPick(w, visemeMouth(QStringLiteral("Velm"), 14, w.Smile.VelmSmileOn));
    EXPECT_EQ(w.VelmMouth->Picture().pixel(middle), frameColor(Layer::Mouth, 6)) << "at rest: entry 15";

    advance(250, {SmileHit});
    advance(400, {Hold, Hold, Hold, Hold, SmileMiss, Hold, Hold, Hold, Hold});
    ASSERT_TRUE(w.Smile.VelmSmileOn);
    ASSERT_FALSE(w.SmileTimer1->Enabled());
    trace.clear();
    showPick(w, visemeMouth(QStringLiteral("Velm"), 14, w.Smile.VelmSmileOn));
    EXPECT_EQ(w.VelmMouth->Picture().pixel(middle), frameColor(Layer::Smile, 13)) << "held smile: entry 37";

    for (const int viseme : {0, 21}) {
        showPick(w, visemeMouth(QStringLiteral("User"), viseme, w.Smile.VelmSmileOn));
        EXPECT_EQ(w.UserMouth->Picture().pixel(middle), frameColor(Layer::UserMouth, 1)) << viseme;
        showPick(w, visemeMouth(QStringLiteral("User"), 14, w.Smile.VelmSmileOn));
        EXPECT_EQ(w.UserMouth->Picture().pixel(middle), frameColor(Layer::UserMouth, 6)) << viseme;
    }
    const QVector<Shown> expected{{clock->Now(), {QStringLiteral("VelmMouth"), QStringLiteral("KMT"), 37, true}},
                                  {clock->Now(), {QStringLiteral("UserMouth"), QStringLiteral("UMT"), 1, true}},
                                  {clock->Now(), {QStringLiteral("UserMouth"), QStringLiteral("UMT"), 15, true}},
                                  {clock->Now(), {QStringLiteral("UserMouth"), QStringLiteral("UMT"), 22, true}},
                                  {clock->Now(), {QStringLiteral("UserMouth"), QStringLiteral("UMT"), 15, true}}};
    EXPECT_EQ(trace, expected);
}

TEST_F(LayerStepTest, ASmileOrABrowNeedsItsSceneLayers)
{
    writeCharacterScene(sceneWith(QStringLiteral("Grin"), true, true, true, false, false));
    CharacterScene noMouth = sceneWith(QStringLiteral("Toothless"), true, false, true, false, false);
    noMouth.mainMouth = false;
    writeCharacterScene(noMouth);
    CharacterScene browOnly = sceneWith(QStringLiteral("Brows"), false, false, true, false, false);
    writeCharacterScene(browOnly);

    const struct {
        const char *label;
        const char *before; // loaded first, or nothing
        const char *scene;
        int mouthEntries, blinkEntries; // ImageList8, ImageList10 after the load
        const char *scratchKey;         // ImageList2's key
    } rows[] = {
        {"KS= without KM= in a fresh player", nullptr, "Toothless", 0, 0, ""},
        {"KS= without KM= after a smile scene", "Grin", "Toothless", 52, 15, "KBL"},
        {"KBr= without KB=", "Grin", "Brows", 22, 15, "KMT"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.label);
        PreviewPlayer &w = *player;
        if (row.before)
            loadLayers(QString::fromUtf8(row.before));
        const QImage kept = w.ImageList8.Picture(52);
        loadLayers(QString::fromUtf8(row.scene));
        EXPECT_FALSE(w.Smile.VelmHasSmile);
        EXPECT_FALSE(w.SmileTimer1->Enabled());
        EXPECT_FALSE(w.SmileTimer2->Enabled());
        EXPECT_FALSE(w.BrowTimer2->Enabled());
        EXPECT_TRUE(w.Brow.VelmHasBrow);
        EXPECT_FALSE(w.VelmBlink->isShown());
        EXPECT_EQ(w.ImageList8.Count(), row.mouthEntries);
        EXPECT_EQ(w.ImageList10.Count(), row.blinkEntries);
        EXPECT_EQ(w.ImageList2.IndexOf(QString::fromUtf8(row.scratchKey)), *row.scratchKey ? 1 : 0);
        if (row.mouthEntries == 52) {
            EXPECT_EQ(w.ImageList8.Picture(52), kept) << "never shifted by inserts";
        }
        EXPECT_EQ(scene().Files.SmileFrameFiles[1], row.scene == QByteArray("Brows") ? QString()
                                                                                    : QStringLiteral("ToothlessSmile01.bmp"));
        EXPECT_EQ(scene().Files.BrowFrameFiles[9], QString::fromUtf8(row.scene) + QStringLiteral("Brow09.bmp"));
        // Nothing steps, draws or shows.
        advance(3000);
        EXPECT_TRUE(trace.isEmpty());
        restart();
    }
    EXPECT_TRUE(reported.isEmpty());
}

TEST_F(LayerStepTest, AListEmptiedUnderARunningStepShowsNothingAndTheStepGoesOn)
{
    writeCharacterScene(sceneWith(QStringLiteral("Lids"), true, true, true, true, true));
    PreviewPlayer &w = *player;
    loadLayers(QStringLiteral("Lids"));
    advance(250, {SmileHit});
    w.Timer2->SetEnabled(true);
    w.Timer4->SetEnabled(true);
    advance(10, {});
    const QImage blink = w.VelmBlink->Picture(), userBlink = w.UserBlink->Picture();
    const QImage mouth = w.VelmMouth->Picture();
    for (ImageList *list : {&w.ImageList8, &w.ImageList10, &w.ImageList11})
        list->Clear();
    trace.clear();
    // The smile rises and turns back at once; at 1000 ms the brow starter, the
    // smile starter and the smile stepper all draw.
    advance(800, {Turn, Turn, Turn, Turn, SmileMiss, Turn, Turn, Turn, Turn, Turn, SmileMiss, Turn, Turn, Turn,
                  Turn, Turn, BrowMiss, SmileMiss, Turn});
    ASSERT_FALSE(trace.isEmpty());
    for (const Shown &s : trace)
        EXPECT_FALSE(s.entry.shown) << ::testing::PrintToString(s);
    EXPECT_EQ(w.VelmBlink->Picture(), blink);
    EXPECT_EQ(w.UserBlink->Picture(), userBlink);
    EXPECT_EQ(w.VelmMouth->Picture(), mouth);
    EXPECT_FALSE(w.Timer2->Enabled());
    EXPECT_FALSE(w.Timer4->Enabled());
    EXPECT_FALSE(w.SmileTimer1->Enabled());
    EXPECT_EQ(w.Smile.VelmSmileVar1, 45);
    EXPECT_TRUE(reported.isEmpty());
}

} // namespace
