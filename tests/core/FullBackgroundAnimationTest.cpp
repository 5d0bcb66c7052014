// The full-background animation in MainPic, played by Timer7 with Timer10
// counting its pauses, each scene loaded into the player as the library
// window loads a clicked one.

#include "tests/core/AnimationFixture.h"

namespace {

const QRgb FullColors[3] = {qRgb(200, 40, 40), qRgb(40, 200, 40), qRgb(40, 40, 200)};
const QRgb Background = qRgb(20, 60, 120);

struct FullRow {
    const char *name;
    QStringList keys;  // before the usual keys, so they win
    QStringList trace; // from the first step on
};

class FullBackgroundAnimationTest : public AnimationTest {
protected:
    void SetUp() override
    {
        AnimationTest::SetUp();
        writePicture(QStringLiteral("ParkBG.jpg"), QSize(600, 400), Background);
        for (int n = 1; n <= 3; ++n)
            writeFrame(QStringLiteral("ParkFull0%1.bmp").arg(n), FullColors[n - 1], QSize(60, 40));
        for (int n = 1; n <= 7; ++n)
            writeFrame(QStringLiteral("ParkMouth0%1.bmp").arg(n), MouthColors[n - 1], QSize(40, 30));
    }
    // Three frames a second apart, a main mouth, the row's keys first.
    void writeFullScene(const QString &name, const QStringList &keys)
    {
        writeSceneOf(name, QStringList{"BG=ParkBG.jpg", "KM=ParkMouth01.bmp", "KMx=10", "KMy=20",
                                       "MainAnimName=ParkFull01.bmp"}
                               + keys + QStringList{"MainAnimF=3", "MainAnimS=1000", "MainAnimD=0"});
    }
    QStringList play(PreviewPlayer &w, int want) { return run(w.Timer7, w.Timer10, want, 1000, 600000, false); }
};

TEST_F(FullBackgroundAnimationTest, ThreeFramesLoopAndPongWithTheirPauses)
{
    const std::vector<FullRow> rows{
        {"Loop, D 0", {"MainAnimLoop=Loop"}, {"1", "2", "3", "4", "1", "2", "3", "4"}},
        {"Loop, D 2, Start",
         {"MainAnimLoop=Loop", "MainAnimD=2", "MainAnimDS=Start"},
         {"1", "PAUSE 2", "2", "3", "4", "1", "PAUSE 2", "2"}},
        {"Loop, D 2, End",
         {"MainAnimLoop=Loop", "MainAnimD=2", "MainAnimDS=End"},
         {"1", "2", "3", "4", "PAUSE 2", "1", "2", "3", "4", "PAUSE 2"}},
        {"Pong, D 0", {"MainAnimLoop=Pong"}, {"1", "2", "3", "4", "4", "3", "2", "1", "1", "2", "3", "4", "4", "3"}},
        {"Pong, D 2, End",
         {"MainAnimLoop=Pong", "MainAnimD=2", "MainAnimDS=End"},
         {"1", "2", "3", "4", "PAUSE 2", "3", "2", "1", "1", "2", "3", "4", "PAUSE 2", "3"}},
        {"Pong, D 2, Start",
         {"MainAnimLoop=Pong", "MainAnimD=2", "MainAnimDS=Start"},
         {"1", "2", "3", "4", "4", "3", "2", "1", "PAUSE 2", "2", "3", "4", "4", "3", "2", "1", "PAUSE 2"}},
        {"Pong, D 0, Start: a pause until Timer10's next tick",
         {"MainAnimLoop=Pong", "MainAnimDS=Start"},
         {"1", "2", "3", "4", "4", "3", "2", "1", "PAUSE 1", "2"}},
        {"Pong, R 5: once up and down", {"MainAnimLoop=Pong", "MainAnimR=5"},
         {"1", "2", "3", "4", "4", "3", "2", "1", "STOP"}},
        {"Pong, R 5 and Start: the stop comes first", {"MainAnimLoop=Pong", "MainAnimR=5", "MainAnimDS=Start"},
         {"1", "2", "3", "4", "4", "3", "2", "1", "STOP"}},
        {"MainAnimD empty counts as 0", {"MainAnimLoop=Loop", "MainAnimD=", "MainAnimDS=End"},
         {"1", "2", "3", "4", "1", "2"}},
        {"no loop key: Timer7 runs without a step", {}, {}},
    };
    for (size_t i = 0; i < rows.size(); ++i)
        writeFullScene(QStringLiteral("Row%1").arg(i), rows[i].keys);
    PreviewPlayer &w = *player;
    for (size_t i = 0; i < rows.size(); ++i) {
        load(QStringLiteral("Row%1").arg(i));
        EXPECT_TRUE(colorNear(centre(w.MainPic), Background)) << rows[i].name;
        // Each load starts at entry 1, with the counter off.
        EXPECT_FALSE(w.Timer10->Enabled()) << rows[i].name;
        EXPECT_EQ(play(w, int(rows[i].trace.size())), rows[i].trace) << rows[i].name;
    }
    // The last row: ten seconds of ticks, nothing shown.
    EXPECT_TRUE(trace.isEmpty());
    EXPECT_TRUE(w.Timer7->Enabled());
    EXPECT_TRUE(colorNear(centre(w.MainPic), Background));
    EXPECT_TRUE(reported.isEmpty());
}

TEST_F(FullBackgroundAnimationTest, EntriesShowTheirFramesInMainPic)
{
    writeFullScene(QStringLiteral("Park"), {"MainAnimLoop=Loop"});
    PreviewPlayer &w = *player;
    load(QStringLiteral("Park"));
    const QRgb expected[] = {FullColors[0], FullColors[0], FullColors[1], FullColors[2]};
    for (int k = 1; k <= 4; ++k) {
        clock->Advance(1000);
        EXPECT_EQ(centre(w.MainPic), expected[k - 1]) << "entry " << k;
    }
}

TEST_F(FullBackgroundAnimationTest, OnlyNoKeepsTheMouths)
{
    const std::pair<const char *, bool> rows[] = {
        {"MainAnimMPause=No", true},
        {"MainAnimMPause=no", false},
        {"MainAnimMPause=Yes", false},
        {"MainAnimLoop=Loop", false}, // no pause-for-talking key
    };
    for (size_t i = 0; i < std::size(rows); ++i)
        writeFullScene(QStringLiteral("Row%1").arg(i), {rows[i].first});
    PreviewPlayer &w = *player;
    for (size_t i = 0; i < std::size(rows); ++i) {
        load(QStringLiteral("Row%1").arg(i));
        EXPECT_EQ(w.VelmMouth->isShown(), rows[i].second) << rows[i].first;
        EXPECT_FALSE(w.UserMouth->isShown()) << rows[i].first;
    }
}

TEST_F(FullBackgroundAnimationTest, ALaterSceneStopsItAndEachLoadStartsAtEntryOne)
{
    writeFullScene(QStringLiteral("Paused"), {"MainAnimLoop=Loop", "MainAnimD=5", "MainAnimDS=End"});
    writeFullScene(QStringLiteral("Again"), {"MainAnimLoop=Loop"});
    writeFullScene(QStringLiteral("Once"), {"MainAnimLoop=Pong", "MainAnimR=5", "MainAnimD=2"});
    writePicture(QStringLiteral("BeachBG.jpg"), QSize(600, 400), qRgb(230, 210, 150));
    writeSceneOf(QStringLiteral("Plain"), {"BG=BeachBG.jpg"});
    PreviewPlayer &w = *player;

    load(QStringLiteral("Again"));
    EXPECT_EQ(play(w, 2), (QStringList{"1", "2"}));
    load(QStringLiteral("Paused"));
    EXPECT_EQ(play(w, 1), QStringList{"1"});

    // A scene without the animation: both timers off, its own background shown.
    load(QStringLiteral("Plain"));
    EXPECT_FALSE(w.Timer7->Enabled());
    EXPECT_FALSE(w.Timer10->Enabled());
    EXPECT_TRUE(colorNear(centre(w.MainPic), qRgb(230, 210, 150)));

    // An earlier scene's pause never restarts a "Pong" that stopped for good.
    load(QStringLiteral("Paused"));
    EXPECT_EQ(play(w, 4), (QStringList{"1", "2", "3", "4"}));
    clock->Advance(1000);
    ASSERT_TRUE(w.Timer10->Enabled());
    load(QStringLiteral("Once"));
    EXPECT_FALSE(w.Timer10->Enabled());
    // Its pause point "End" carries over from the scene before.
    EXPECT_EQ(play(w, 9), (QStringList{"1", "2", "3", "4", "PAUSE 2", "3", "2", "1", "STOP"}));
    trace.clear();
    clock->Advance(30000);
    EXPECT_TRUE(trace.isEmpty());
    EXPECT_FALSE(w.Timer7->Enabled());
}

} // namespace
