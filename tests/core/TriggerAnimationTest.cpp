// The "Trigger Anim" box as the player takes its clicks: the trigger
// animation in TriggerPic, played by Timer13, and the alternate picture in
// MainPic. The box itself, clicked in the library window, is in
// tests/library/PreviewWindowTest.cpp.

#include "tests/core/AnimationFixture.h"

namespace {

const QRgb Background = qRgb(20, 60, 120);
const QRgb Alternate = qRgb(230, 120, 160);
const QRgb TriggerColors[5] = {qRgb(200, 40, 40), qRgb(40, 200, 40), qRgb(40, 40, 200), qRgb(200, 200, 40),
                               qRgb(40, 200, 200)};

class TriggerAnimationTest : public AnimationTest {
protected:
    void SetUp() override
    {
        AnimationTest::SetUp();
        writePicture(QStringLiteral("ParkBG.jpg"), QSize(600, 400), Background);
        writePicture(QStringLiteral("ParkAlt.jpg"), QSize(300, 200), Alternate);
        for (int n = 1; n <= 5; ++n)
            writeFrame(QStringLiteral("ParkTrigger0%1.bmp").arg(n), TriggerColors[n - 1]);
    }
    void writeTriggerScene(const QString &name, const QStringList &keys)
    {
        writeSceneOf(name, QStringList{"BG=ParkBG.jpg", "TP=ParkTrigger01.bmp", "TPx=30", "TPy=40"} + keys);
    }
    // A click on the box: it turns ticked or cleared, and the player takes its value.
    void clickBox(PreviewPlayer &w)
    {
        ticked = !ticked;
        w.Check1_Click(ticked ? 1 : 0);
    }
    // Entries shown in `ticks` ticks of 200 ms.
    QStringList ticks(int count)
    {
        trace.clear();
        clock->Advance(200 * count);
        return trace;
    }

    bool ticked = false; // the box as the user left it
};

TEST_F(TriggerAnimationTest, TickingPlaysForwardAndClearingPlaysBack)
{
    writeTriggerScene(QStringLiteral("Park"), {"TS=200", "TF=3"});
    PreviewPlayer &w = *player;
    load(QStringLiteral("Park"));
    ASSERT_TRUE(w.triggerEnabled());
    EXPECT_TRUE(w.TriggerPic->isShown());
    EXPECT_EQ(centre(w.TriggerPic), TriggerColors[0]);
    EXPECT_EQ(w.ImageList1.Count(), 4);

    clickBox(w);
    trace.clear();
    clock->Advance(199);
    EXPECT_TRUE(trace.isEmpty());
    clock->Advance(1);
    EXPECT_EQ(trace, QStringList{"1"});
    EXPECT_EQ(ticks(5), (QStringList{"2", "3", "4"}));
    EXPECT_EQ(w.TriggerAnim.TrigState, QStringLiteral("Closed"));
    EXPECT_FALSE(w.Timer13->Enabled());
    EXPECT_EQ(centre(w.TriggerPic), TriggerColors[2]);

    clickBox(w);
    EXPECT_EQ(ticks(5), (QStringList{"3", "2", "1"}));
    EXPECT_EQ(w.TriggerAnim.TrigState, QStringLiteral("Open"));
    EXPECT_FALSE(w.Timer13->Enabled());
    EXPECT_EQ(centre(w.TriggerPic), TriggerColors[0]);

    // A reversal in mid-play goes back from the entry shown.
    clickBox(w);
    EXPECT_EQ(ticks(2), (QStringList{"2", "3"}));
    clickBox(w);
    EXPECT_EQ(ticks(5), (QStringList{"2", "1"}));

    // Cleared and ticked again before the next tick at entry 4: the timer runs
    // without effect until the box is cleared.
    clickBox(w);
    EXPECT_EQ(ticks(5), (QStringList{"2", "3", "4"}));
    clickBox(w);
    clickBox(w);
    EXPECT_EQ(ticks(5), QStringList());
    EXPECT_TRUE(w.Timer13->Enabled());
    EXPECT_EQ(w.TriggerAnim.TrigState, QStringLiteral("Open"));
    clickBox(w);
    EXPECT_EQ(ticks(5), (QStringList{"3", "2", "1"}));
    EXPECT_TRUE(reported.isEmpty());
}

TEST_F(TriggerAnimationTest, ALoadAfterAPlayStaysInRange)
{
    writeTriggerScene(QStringLiteral("Long"), {"TS=200", "TF=5"});
    writeTriggerScene(QStringLiteral("Short"), {"TF=2"});
    writeTriggerScene(QStringLiteral("NoCount"), {});
    PreviewPlayer &w = *player;
    load(QStringLiteral("Long"));
    clickBox(w);
    EXPECT_EQ(ticks(10), (QStringList{"1", "2", "3", "4", "5", "6"}));

    // The box stays ticked; the new scene starts shut.
    load(QStringLiteral("Short"));
    EXPECT_TRUE(ticked);
    EXPECT_EQ(w.TriggerAnim.TrigFrames, 2);
    clickBox(w);
    EXPECT_EQ(ticks(5), QStringList());
    clickBox(w);
    EXPECT_EQ(ticks(5), (QStringList{"1", "2", "3"}));

    // A trigger scene without a count has frame 01 only.
    load(QStringLiteral("NoCount"));
    EXPECT_EQ(w.TriggerAnim.TrigFrames, 0);
    EXPECT_EQ(w.ImageList1.Count(), 1);
    clickBox(w);
    clickBox(w);
    EXPECT_EQ(ticks(5), QStringList{"1"});
    for (const ShownEntry &e : shown)
        EXPECT_TRUE(e.shown) << e.entry;
}

TEST_F(TriggerAnimationTest, TheAlternatePictureWithoutATrigger)
{
    writeSceneOf(QStringLiteral("Alt"), {"BG=ParkBG.jpg", "NI=ParkAlt.jpg"});
    writeSceneOf(QStringLiteral("Gone"), {"BG=ParkBG.jpg", "NI=GoneAlt.jpg"});
    PreviewPlayer &w = *player;
    load(QStringLiteral("Alt"));
    ASSERT_TRUE(w.triggerEnabled());
    EXPECT_FALSE(w.HasTrigger);
    EXPECT_EQ(w.TriggerAnim.TrigFrames, -1);

    clickBox(w);
    EXPECT_EQ(w.MainPic->Picture().size(), QSize(1200, 857));
    EXPECT_TRUE(colorNear(centre(w.MainPic), Alternate));
    clickBox(w);
    EXPECT_TRUE(colorNear(centre(w.MainPic), Background));
    clock->Advance(5000);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_FALSE(w.Timer13->Enabled());

    // A missing alternate leaves the background, with no message.
    load(QStringLiteral("Gone"));
    clickBox(w);
    EXPECT_TRUE(colorNear(centre(w.MainPic), Background));
    EXPECT_TRUE(reported.isEmpty());
}

TEST_F(TriggerAnimationTest, AFullBackgroundStepReplacesTheAlternatePicture)
{
    writeFrame(QStringLiteral("ParkFull01.bmp"), qRgb(90, 10, 10), QSize(60, 40));
    writeSceneOf(QStringLiteral("Both"), {"BG=ParkBG.jpg", "NI=ParkAlt.jpg", "MainAnimName=ParkFull01.bmp",
                                          "MainAnimF=1", "MainAnimS=1000", "MainAnimLoop=Loop"});
    PreviewPlayer &w = *player;
    load(QStringLiteral("Both"));
    clickBox(w);
    EXPECT_TRUE(colorNear(centre(w.MainPic), Alternate));
    clock->Advance(1000);
    EXPECT_EQ(centre(w.MainPic), qRgb(90, 10, 10));
}

TEST_F(TriggerAnimationTest, AMissingFirstFrameMeansNoTrigger)
{
    writeSceneOf(QStringLiteral("Gone"), {"BG=ParkBG.jpg", "TP=GoneTrigger01.bmp", "TF=3", "TS=200"});
    PreviewPlayer &w = *player;
    load(QStringLiteral("Gone"));
    EXPECT_FALSE(w.HasTrigger);
    EXPECT_FALSE(w.TriggerPic->isShown());
    EXPECT_FALSE(w.triggerEnabled());
}

} // namespace
