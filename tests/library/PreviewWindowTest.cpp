// What the library window adds to the player (core/preview/PreviewPlayer.h):
// its preview boxes paint what the player's boxes report, and its "Trigger
// Anim" box and frame stepper buttons, clicked as a user clicks them, reach
// the player. The animations themselves are tested on the player alone
// (tests/core/).

#include "tests/library/LibraryFixture.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {

class PreviewWindowTest : public LibraryTest {
protected:
    void writeFramesOf(const QString &name, int count, QSize size)
    {
        for (int n = 1; n <= count; ++n)
            writePicture(name + QStringLiteral("0%1.jpg").arg(n), size, qRgb(30 * n, 200 - 20 * n, 90));
    }
    // Every window box against the player's box of its name: the same place,
    // the same shown state and the same picture.
    static void expectPainted(const VelmNShare &w, const char *when)
    {
        const std::pair<const PictureBox *, const PreviewBox *> boxes[] = {
            {w.MainPic, w.Player->MainPic},     {w.VelmMouth, w.Player->VelmMouth}, {w.VelmBlink, w.Player->VelmBlink},
            {w.UserMouth, w.Player->UserMouth}, {w.UserBlink, w.Player->UserBlink}, {w.MiscPic, w.Player->MiscPic},
            {w.TriggerPic, w.Player->TriggerPic},
        };
        for (const auto &[box, shown] : boxes) {
            SCOPED_TRACE(::testing::Message() << when << ", " << shown->objectName().toStdString());
            EXPECT_EQ(box->objectName(), shown->objectName());
            EXPECT_EQ(box->geometry(), shown->geometry());
            EXPECT_EQ(box->isVisibleTo(&w), shown->isShown());
            EXPECT_EQ(box->Picture().cacheKey(), shown->Picture().cacheKey());
        }
    }
};

TEST_F(PreviewWindowTest, TheBoxesPaintWhatThePlayerReports)
{
    writeFramesOf(QStringLiteral("ParkExtra"), 3, QSize(30, 20));
    writeFramesOf(QStringLiteral("ParkTrigger"), 3, QSize(24, 18));
    writeBeach(QStringLiteral("Park"), "MP=ParkExtra01.jpg;\r\nMPx=100;\r\nMPy=50;\r\nMF=3;\r\nMS=100;\r\nMPL=Loop;\r\n"
                                       "TP=ParkTrigger01.jpg;\r\nTPx=200;\r\nTPy=150;\r\nTF=3;\r\nTS=100;\r\n");
    writeBeach(QStringLiteral("Beach"));
    VelmNShare &w = openLibrary();
    expectPainted(w, "before a load");
    click(w.List2, QStringLiteral("Park"));
    ASSERT_TRUE(w.MiscPic->isVisibleTo(&w));
    ASSERT_TRUE(w.TriggerPic->isVisibleTo(&w));
    EXPECT_EQ(w.MiscPic->geometry().topLeft(), QPoint(200, 100)) << "at ratio 2";
    expectPainted(w, "after the load");
    QTest::mouseClick(w.Check1, Qt::LeftButton);
    for (int tick = 1; tick <= 8; ++tick) {
        clock->Advance(100);
        expectPainted(w, "while the extra and the trigger play");
    }
    // The next scene hides the layer boxes the last one showed.
    click(w.List2, QStringLiteral("Beach"));
    EXPECT_FALSE(w.MiscPic->isVisibleTo(&w));
    EXPECT_FALSE(w.TriggerPic->isVisibleTo(&w));
    expectPainted(w, "after the next load");
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(PreviewWindowTest, TriggerAnimPlaysTheTriggerAndStaysTickedAcrossLoads)
{
    writeFramesOf(QStringLiteral("ParkTrigger"), 3, QSize(24, 18));
    writeBeach(QStringLiteral("Park"), "TP=ParkTrigger01.jpg;\r\nTPx=30;\r\nTPy=40;\r\nTF=3;\r\nTS=200;\r\n");
    writeBeach(QStringLiteral("Short"), "TP=ParkTrigger01.jpg;\r\nTF=2;\r\nTS=200;\r\n");
    writeBeach(QStringLiteral("Gone"), "TP=GoneTrigger01.jpg;\r\nTF=3;\r\nTS=200;\r\n");
    VelmNShare &w = openLibrary();
    click(w.List2, QStringLiteral("Park"));
    ASSERT_TRUE(w.Check1->isEnabled());

    // Ticked: the trigger plays forward to its last entry and shuts.
    QTest::mouseClick(w.Check1, Qt::LeftButton);
    EXPECT_TRUE(w.Check1->isChecked());
    clock->Advance(1000);
    EXPECT_EQ(w.Player->TriggerAnim.TrigState, QStringLiteral("Closed"));
    EXPECT_EQ(w.TriggerPic->Picture().cacheKey(), w.Player->TriggerPic->Picture().cacheKey());
    // Cleared: it plays back.
    QTest::mouseClick(w.Check1, Qt::LeftButton);
    clock->Advance(1000);
    EXPECT_EQ(w.Player->TriggerAnim.TrigState, QStringLiteral("Open"));

    // The box keeps its tick over a load; a scene without its trigger frames disables it.
    QTest::mouseClick(w.Check1, Qt::LeftButton);
    click(w.List2, QStringLiteral("Short"));
    EXPECT_TRUE(w.Check1->isChecked());
    EXPECT_TRUE(w.Check1->isEnabled());
    click(w.List2, QStringLiteral("Gone"));
    EXPECT_FALSE(w.Check1->isEnabled());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(PreviewWindowTest, TheFrameStepperButtonsShowTheirNumber)
{
    writeBeach();
    VelmNShare &w = openLibrary();
    click(w.List2, QStringLiteral("Beach"));
    EXPECT_EQ(w.TextB1->text(), QStringLiteral("1")) << "the number before any click";

    w.Command1->click();
    EXPECT_EQ(w.TextB1->text(), QStringLiteral("1"));
    EXPECT_EQ(w.VelmMouth->Picture().cacheKey(), w.Player->VelmMouth->Picture().cacheKey());
    for (int i = 0; i < 25; ++i)
        w.Command2->click();
    EXPECT_EQ(w.TextB1->text(), QStringLiteral("21"));
    EXPECT_EQ(w.Player->ImageNum, 21);
    w.Command1->click();
    EXPECT_EQ(w.TextB1->text(), QStringLiteral("20"));

    // A second scene keeps the number.
    click(w.List2, QStringLiteral("Beach"));
    w.Command2->click();
    EXPECT_EQ(w.TextB1->text(), QStringLiteral("21"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

} // namespace
