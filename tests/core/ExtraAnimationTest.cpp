// The extra animation and its child in MiscPic, played by Timer5 with Timer6
// counting its pauses, each scene loaded into the player as the library
// window loads a clicked one.
// Where the extra rests, the test starts Timer5 again as the master tick does.

#include "tests/core/AnimationFixture.h"

namespace {

const QRgb ExtraColors[4] = {qRgb(200, 40, 40), qRgb(40, 200, 40), qRgb(40, 40, 200), qRgb(200, 200, 40)};
const QRgb ChildColors[2] = {qRgb(250, 140, 20), qRgb(140, 20, 250)};

struct ExtraRow {
    const char *name;
    QStringList keys;   // before the scene's usual keys, so they win
    bool armed;         // the master tick has armed the child
    QStringList trace;  // from the load's entry 1 on
};

// A child whose "EMAR=0" the master tick never arms: the extra keeps its pause point.
const QStringList IdleChild{"EMA=ParkChild01.bmp", "EMAF=2", "EMAR=0", "EMAFl=End"};

QStringList with(QStringList keys, const QStringList &more)
{
    return keys << more;
}

class ExtraAnimationTest : public AnimationTest {
protected:
    void SetUp() override
    {
        AnimationTest::SetUp();
        writePicture(QStringLiteral("ParkBG.jpg"), QSize(600, 400), qRgb(20, 60, 120));
        for (int n = 1; n <= 4; ++n)
            writeFrame(QStringLiteral("ParkExtra0%1.bmp").arg(n), ExtraColors[n - 1]);
        for (int n = 1; n <= 2; ++n)
            writeFrame(QStringLiteral("ParkChild0%1.bmp").arg(n), ChildColors[n - 1]);
        childColors = {ChildColors[0], ChildColors[1]};
    }
    // A scene of three extra frames, one a second, "MR=0", with the row's keys
    // first. At this speed the load's own Timer6 tick, a second after the load,
    // comes before the first step, so every pause counts from its start.
    void writeExtraScene(const QString &name, const QStringList &keys)
    {
        writeSceneOf(name, QStringList{"BG=ParkBG.jpg", "MP=ParkExtra01.bmp", "MPx=10", "MPy=20"} + keys
                               + QStringList{"MR=0", "MF=3", "MS=1000"});
    }
    // Writes each row's scene, opens the library and plays each row.
    void playRows(const std::vector<ExtraRow> &rows)
    {
        for (size_t i = 0; i < rows.size(); ++i)
            writeExtraScene(QStringLiteral("Row%1").arg(i), rows[i].keys);
        PreviewPlayer &w = *player;
        // The master tick would start the extra and arm the child on its own
        // draws; the rows do both themselves.
        w.Timer1->SetEnabled(false);
        for (size_t i = 0; i < rows.size(); ++i) {
            const ExtraRow &row = rows[i];
            trace.clear();
            load(QStringLiteral("Row%1").arg(i));
            w.ExtraAnim.PlayExtraMiscA = row.armed;
            ASSERT_EQ(trace, QStringList{"1"}) << row.name;
            const QStringList rest = row.trace.mid(1);
            EXPECT_EQ(run(w.Timer5, w.Timer6, int(rest.size()), 1000, 600000, true), rest) << row.name;
        }
        EXPECT_TRUE(reported.isEmpty());
    }
};

TEST_F(ExtraAnimationTest, ThreeFramesLoopAndPongWithTheirPausesAndRests)
{
    playRows({
        {"Loop, no pause", {"MPL=Loop"}, false, {"1", "2", "3", "4", "2", "3", "4", "2"}},
        {"Loop, MR 990, MD 5: a rest after frame 01",
         {"MPL=Loop", "MR=990", "MD=5"},
         false,
         {"1", "2", "REST", "3", "4", "2", "REST", "3"}},
        {"Loop, MPLT End, MD 5",
         with({"MPL=Loop", "MPLT=End", "MD=5"}, IdleChild),
         false,
         {"1", "2", "3", "4", "PAUSE 5", "2", "3", "4", "PAUSE 5", "2"}},
        {"Loop, MDA 2, MD 5",
         {"MPL=Loop", "MDA=2", "MD=5"},
         false,
         {"1", "2", "3", "PAUSE 5", "4", "2", "3", "PAUSE 5", "4"}},
        {"Pong, MD 0", {"MPL=Pong", "MD=0"}, false, {"1", "2", "3", "4", "3", "2", "1", "2", "3", "4", "3"}},
        {"Pong, MD 5, MPLT End: the fall skips entry 4",
         with({"MPL=Pong", "MD=5", "MPLT=End"}, IdleChild),
         false,
         {"1", "2", "3", "4", "PAUSE 5", "2", "1", "2", "3", "4", "PAUSE 5", "2", "1"}},
        {"Pong, MD 5, MPLT Start",
         with({"MPL=Pong", "MD=5", "MPLT=Start"}, IdleChild),
         false,
         {"1", "2", "PAUSE 5", "3", "4", "PAUSE 5", "2", "1", "2", "PAUSE 5", "3", "4", "PAUSE 5", "2"}},
        {"Pong, MD 0, MPLT Start: a pause until Timer6's next tick",
         with({"MPL=Pong", "MD=0", "MPLT=Start"}, IdleChild),
         false,
         {"1", "2", "PAUSE 1", "3", "4", "3", "2", "1", "2", "PAUSE 1", "3"}},
        {"MPL absent plays as Pong", {"MD=0"}, false, {"1", "2", "3", "4", "3", "2", "1", "2"}},
        {"Pong, MR 990, MD 0.5: a rest at the bottom, no pause at the top",
         {"MPL=Pong", "MR=990", "MD=0.5"},
         false,
         {"1", "2", "REST", "3", "4", "3", "2", "1", "2", "REST", "3"}},
        {"MPL loop in lower case stays on frame 01", {"MPL=loop"}, false, {"1"}},
    });
    // The frozen extra's stepper goes on ticking without effect.
    EXPECT_TRUE(player->Timer5->Enabled());
}

TEST_F(ExtraAnimationTest, TheChildPlaysOnceAtItsPointInBothModes)
{
    const QStringList child{"EMA=ParkChild01.bmp", "EMAF=2", "EMAR=0"};
    playRows({
        {"Loop, Start: then a rest on frame 01",
         with({"MPL=Loop", "EMAFl=Start"}, child),
         true,
         {"1", "c1", "c2", "c3", "1", "REST", "2", "3", "4", "2"}},
        {"Loop, End: the box keeps the child's last frame while it rests",
         with({"MPL=Loop", "EMAFl=End"}, child),
         true,
         {"1", "2", "3", "4", "c1", "c2", "c3", "REST", "2", "3", "4", "2"}},
        {"Pong, Start: the tick that begins on entry 2",
         with({"MPL=Pong", "EMAFl=Start"}, child),
         true,
         {"1", "2", "c1", "c2", "c3", "1", "REST", "3", "4", "3", "2", "1"}},
        {"Pong, End: the extra steps on",
         with({"MPL=Pong", "EMAFl=End"}, child),
         true,
         {"1", "2", "3", "4", "c1", "c2", "c3", "3", "2", "1", "2"}},
        {"a scene without a child never plays one", {"MPL=Loop"}, true, {"1", "2", "3", "4", "2"}},
    });
    // The flag stays armed: a scene without a child does not use it.
    EXPECT_TRUE(player->ExtraAnim.PlayExtraMiscA);
    EXPECT_EQ(player->ExtraAnim.ExtaMiscAEndOrStart, QStringLiteral("Null"));
}

TEST_F(ExtraAnimationTest, ValuesThatAreNoCountOrLengthNeitherCrashNorStall)
{
    playRows({
        {"MF 0: frame 01 only", {"MF=0", "MPL=Loop"}, false, {"1"}},
        {"MF empty: frame 01 only", {"MF=", "MPL=Loop"}, false, {"1"}},
        {"MF 3.5 rounds to 4 frames", {"MF=3.5", "MPL=Loop"}, false, {"1", "2", "3", "4", "5", "2", "3"}},
        {"MD x counts as 0", with({"MPL=Pong", "MD=x", "MPLT=End"}, IdleChild), false,
         {"1", "2", "3", "4", "3", "2", "1", "2"}},
        {"MD -3 counts as 0", with({"MPL=Loop", "MD=-3", "MPLT=End"}, IdleChild), false,
         {"1", "2", "3", "4", "2", "3", "4"}},
        {"MD empty counts as 0", with({"MPL=Pong", "MD=", "MPLT=Start"}, IdleChild), false,
         {"1", "2", "PAUSE 1", "3", "4", "3", "2", "1", "2", "PAUSE 1"}},
        {"MDA empty counts as 0, a frame never reached", {"MPL=Loop", "MDA=", "MD=5"}, false,
         {"1", "2", "3", "4", "2", "3", "4"}},
        {"EMAF beyond the frames on disk: the last one stands in",
         {"MPL=Loop", "EMA=ParkChild01.bmp", "EMAF=4", "EMAR=0", "EMAFl=Start"},
         true,
         {"1", "c1", "c2", "c3", "c4", "c5", "1", "REST", "2"}},
    });
    EXPECT_EQ(player->ImageList13.Count(), 5);
    EXPECT_EQ(player->ImageList13.Picture(5).cacheKey(), player->ImageList13.Picture(3).cacheKey());
}

// A delay under a second is a delay all the same: an extra with a random
// factor rests after frame 01 and each master tick then draws whether it
// starts again, 1 in MR. Only a delay of 0 takes no draw and never starts it.
TEST_F(ExtraAnimationTest, ADelayUnderASecondLetsTheMasterTickStartTheRestingExtra)
{
    const struct {
        const char *delay;
        bool drawn;
    } rows[] = {{"0.5", true}, {"0.4", true}, {"0", false}};
    for (const auto &row : rows)
        writeExtraScene(QStringLiteral("Delay %1").arg(QLatin1String(row.delay)),
                        {"MPL=Loop", "MR=990", QStringLiteral("MD=") + QLatin1String(row.delay)});
    PreviewPlayer &w = *player;
    w.SmileTimer2->SetEnabled(false); // its draws would mix with the master tick's
    for (const auto &row : rows) {
        SCOPED_TRACE(row.delay);
        load(QStringLiteral("Delay %1").arg(QLatin1String(row.delay)));
        // At 0.5 a draw m = floor(0.5 x 990 + 1) is 496: no start.
        ASSERT_EQ(run(w.Timer5, w.Timer6, 2, 100, 10000, false), (QStringList{"2", "STOP"}));
        const int before = random.taken;
        clock->Advance(100);
        EXPECT_EQ(random.taken - before, row.drawn ? 2 : 1) << "the child's draw, then the extra's";
        random.values << 0.5f << 0.001f; // the child's, then m = floor(0.001 x 990 + 1) = 1
        clock->Advance(100);
        EXPECT_EQ(w.Timer5->Enabled(), row.drawn);
        random.values.clear();
    }
    EXPECT_TRUE(reported.isEmpty());
}

TEST_F(ExtraAnimationTest, AbsentSpeedKeepsThePreviousScenesInterval)
{
    writeSceneOf(QStringLiteral("Fast"), {"BG=ParkBG.jpg", "MP=ParkExtra01.bmp", "MF=3", "MS=250"});
    writeSceneOf(QStringLiteral("Slow"), {"BG=ParkBG.jpg", "MP=ParkExtra01.bmp", "MF=3"});
    PreviewPlayer &w = *player;
    // A fresh player steps every 1000 ms.
    load(QStringLiteral("Slow"));
    EXPECT_EQ(w.Timer5->Interval(), 1000);
    trace.clear();
    clock->Advance(999);
    EXPECT_TRUE(trace.isEmpty());
    clock->Advance(1);
    EXPECT_EQ(trace, QStringList{"2"});

    load(QStringLiteral("Fast"));
    EXPECT_EQ(w.Timer5->Interval(), 250);
    load(QStringLiteral("Slow"));
    EXPECT_EQ(w.Timer5->Interval(), 250);
    trace.clear();
    clock->Advance(250);
    EXPECT_EQ(trace, QStringList{"2"});
}

TEST_F(ExtraAnimationTest, AMissingFirstFrameLeavesTheExtraHiddenAndStill)
{
    writeSceneOf(QStringLiteral("Gone"), {"BG=ParkBG.jpg", "MP=GoneExtra01.bmp", "MF=3", "MS=100",
                                          "EMA=ParkChild01.bmp", "EMAF=2", "EMAFl=Start"});
    writeSceneOf(QStringLiteral("NoChild"), {"BG=ParkBG.jpg", "MP=ParkExtra01.bmp", "MF=3", "MS=100", "MPL=Loop",
                                             "EMA=GoneChild01.bmp", "EMAF=2", "EMAFl=Start"});
    PreviewPlayer &w = *player;
    load(QStringLiteral("Gone"));
    EXPECT_FALSE(w.MiscPic->isShown());
    EXPECT_FALSE(w.Timer5->Enabled());
    EXPECT_FALSE(w.Timer6->Enabled());
    EXPECT_EQ(scene().Files.ExtraFrameFiles.mid(1, 3),
              (QStringList{"GoneExtra01.bmp", "GoneExtra02.bmp", "GoneExtra03.bmp"}));

    // A child without its frame 01 never plays, however armed.
    load(QStringLiteral("NoChild"));
    w.ExtraAnim.PlayExtraMiscA = true;
    EXPECT_EQ(run(w.Timer5, w.Timer6, 4, 100, 10000, true), (QStringList{"2", "3", "4", "2"}));
    EXPECT_EQ(w.ImageList13.Count(), 0);
    EXPECT_TRUE(w.ExtraAnim.PlayExtraMiscA);
}

} // namespace
