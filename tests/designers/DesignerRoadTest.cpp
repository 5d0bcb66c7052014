// The crop designers, review pages and routing on a generated series: what
// each NEXT cuts, the frame buttons, the road over the layer flags and BACK.

#include "app/Form1.h"
#include "app/Form2.h"
#include "app/LoadImages.h"
#include "app/Wizard1.h"
#include "core/scene/CanvasRules.h"
#include "core/scene/SceneDocument.h"
#include "designers/frmFormDesign.h"
#include "designers/frmFormDesignB.h"
#include "designers/frmFormDesignC.h"
#include "designers/frmFormDesignD.h"
#include "designers/frmFormDesignE.h"
#include "designers/frmFormDesignF.h"
#include "designers/frmFormDesignG.h"
#include "designers/Routing.h"
#include "designers/ShowBlink.h"
#include "designers/ShowExtraAnim.h"
#include "designers/ShowMouth.h"
#include "designers/ShowUserBlink.h"
#include "designers/ShowUserMouth.h"
#include "platform/Controls.h"
#include "platform/PictureBox.h"
#include "tests/designers/DesignerFixture.h"
#include "tests/support/Printers.h"

#include <QCheckBox>
#include <QLabel>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

class DesignerRoadTest : public DesignerTest {
protected:
    void SetUp() override
    {
        DesignerTest::SetUp();
        makePrimarySeries();
    }

    // Opens the main mouth designer at frame 0001 as the series loader does.
    frmFormDesign &openMouthDesigner()
    {
        frmFormDesign &d = form<frmFormDesign>();
        d.SetPicture(taggedFrame(1));
        showAt(d);
        return d;
    }

    static ::testing::AssertionResult showsFrame(const QImage &picture, int frame)
    {
        return isCutOf(picture, 0, 0, FrameWidth, FrameHeight, frame);
    }

    // The windows of the set-up on screen now.
    static QStringList shownWindows()
    {
        QStringList shown;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible())
                shown << w->metaObject()->className();
        shown.sort();
        return shown;
    }
};

TEST_F(DesignerRoadTest, EachCharacterDesignerCutsSevenFramesWithItsRectangle)
{
    struct Case {
        CharacterDesigner &(*open)();
        int x, y;
        ReviewPage &(*page)();
    } cases[] = {
        {[]() -> CharacterDesigner & { return form<frmFormDesign>(); }, 342, 446,
         []() -> ReviewPage & { return form<ShowMouth>(); }},
        {[]() -> CharacterDesigner & { return form<frmFormDesignB>(); }, 333, 449,
         []() -> ReviewPage & { return form<ShowBlink>(); }},
        {[]() -> CharacterDesigner & { return form<frmFormDesignC>(); }, 341, 453,
         []() -> ReviewPage & { return form<ShowUserMouth>(); }},
        {[]() -> CharacterDesigner & { return form<frmFormDesignD>(); }, 330, 450,
         []() -> ReviewPage & { return form<ShowUserBlink>(); }},
    };
    for (const Case &c : cases) {
        CharacterDesigner &d = c.open();
        SCOPED_TRACE(d.Caption().toStdString());
        d.SetPicture(taggedFrame(1));
        showAt(d);
        // Whatever frame is on display, NEXT cuts frames 0001 to 0007.
        click(d.Command3);
        ASSERT_TRUE(showsFrame(d.Picture(), 3));
        click(d.Image2);
        for (int n = 1; n <= 7; ++n)
            EXPECT_TRUE(isCutOf(d.Xpress(n).Picture(), c.x, c.y, 56, 41, n)) << "workspace " << n;
        ReviewPage &page = c.page();
        EXPECT_TRUE(page.Visible());
        EXPECT_FALSE(d.Visible());
        EXPECT_TRUE(isCutOf(page.Picture1->Picture(), c.x, c.y, 56, 41, 1));
        EXPECT_EQ(controlTwips(page.Picture1).size(), QSizeF(56 * 15, 41 * 15));
        page.Hide();
    }
    // The blink designers have four frame buttons, the others seven.
    EXPECT_EQ(form<frmFormDesignB>().Command5, nullptr);
    EXPECT_NE(form<frmFormDesignB>().Command4, nullptr);
    EXPECT_NE(form<frmFormDesignD>().Command7, nullptr);

    // The main mouth's NEXT also gives the canvas the mouth over frame 0001.
    EXPECT_TRUE(isCutOf(form<Form2>().picImage->Picture(), 342, 446, 56, 41, 1));
    EXPECT_TRUE(showsFrame(form<Form2>().picBackground->Picture(), 1));
    EXPECT_FALSE(form<Form2>().Visible());
}

TEST_F(DesignerRoadTest, ReviewPageFrameButtonsShowTheirDesignersCuts)
{
    frmFormDesign &d = openMouthDesigner();
    click(d.Image2);
    ShowMouth &page = form<ShowMouth>();
    ASSERT_EQ(page.FrameButtonCount(), 7);
    for (int n = 7; n >= 1; --n) {
        click(page.FrameButton(n));
        EXPECT_TRUE(isCutOf(page.Picture1->Picture(), 342, 446, 56, 41, n)) << "button " << n;
    }

    frmFormDesignB &b = form<frmFormDesignB>();
    b.SetPicture(taggedFrame(1));
    showAt(b);
    click(b.Image2);
    ShowBlink &blink = form<ShowBlink>();
    ASSERT_EQ(blink.FrameButtonCount(), 4);
    click(blink.Command4);
    EXPECT_TRUE(isCutOf(blink.Picture1->Picture(), 333, 449, 56, 41, 4));
    // Frames 5 to 7 are cut but have no button.
    EXPECT_TRUE(isCutOf(b.Xpress7.Picture(), 333, 449, 56, 41, 7));
    EXPECT_EQ(blink.Command5, nullptr);
}

TEST_F(DesignerRoadTest, AFrameThatCannotBeReadChangesNothing)
{
    frmFormDesign &d = openMouthDesigner();
    click(d.Image2);
    click(form<ShowMouth>().Image2); // BACK
    ASSERT_TRUE(d.Visible());

    const QString gone = primaryFrame(5);
    ASSERT_TRUE(QFile::remove(gone));
    ASSERT_TRUE(writeFile(primaryFrame(6), "not a picture"));

    placeTwips(d.Shape1, 0, 0, 855, 615);
    messages.expect(MsgResult::Ok);
    click(d.Image2);
    const QString missing = messages.takeOne().text;
    EXPECT_TRUE(missing.contains(gone)) << missing.toStdString();
    // The designer stays, and every workspace keeps the last good cut.
    EXPECT_TRUE(d.Visible());
    EXPECT_FALSE(form<ShowMouth>().Visible());
    for (int n = 1; n <= 7; ++n)
        EXPECT_TRUE(isCutOf(d.Xpress(n).Picture(), 342, 446, 56, 41, n)) << "workspace " << n;

    // A frame button on a missing frame says so and keeps the picture.
    messages.expect(MsgResult::Ok);
    click(d.Command5);
    EXPECT_TRUE(messages.takeOne().text.contains(gone));
    EXPECT_TRUE(showsFrame(d.Picture(), 1));

    ASSERT_TRUE(taggedFrame(5).save(gone, "BMP"));
    messages.expect(MsgResult::Ok);
    click(d.Image2);
    const QString damagedSaid = messages.takeOne().text;
    EXPECT_TRUE(damagedSaid.contains(primaryFrame(6))) << damagedSaid.toStdString();
    EXPECT_TRUE(d.Visible());
}

TEST_F(DesignerRoadTest, NextRefusesARectangleOutsideThePicture)
{
    frmFormDesign &d = openMouthDesigner();
    placeTwips(d.Shape1, FrameWidth * 15 + 300, 600, 855, 615);
    messages.expect(MsgResult::Ok);
    click(d.Image2);
    EXPECT_EQ(messages.takeTexts(), QStringList{QStringLiteral("The green rectangle does not lie over the picture. "
                                                               "Please move it over the picture and click NEXT again.")});
    EXPECT_TRUE(d.Visible());
    EXPECT_FALSE(d.Xpress1.HasPicture());
    EXPECT_FALSE(formExists<ShowMouth>());

    // Partly outside: the part over the picture is cut, from its negative place.
    placeTwips(d.Shape1, -300, 600, 855, 615);
    click(d.Image2);
    EXPECT_TRUE(isCutOf(d.Xpress1.Picture(), 0, 40, 56 - 20, 41, 1));
    click(form<ShowMouth>().Image2); // BACK

    // Sized down to no height: the user is asked to make it larger, the cut stays.
    placeTwips(d.Shape1, 3000, 3000, 855, 0);
    messages.expect(MsgResult::Ok);
    click(d.Image2);
    EXPECT_EQ(messages.takeTexts(), QStringList{QStringLiteral("The green rectangle has no area. Please make it "
                                                               "larger with its handles and click NEXT again.")});
    EXPECT_TRUE(d.Visible());
    EXPECT_TRUE(isCutOf(d.Xpress1.Picture(), 0, 40, 56 - 20, 41, 1));

    // The extra designer refuses the same way.
    makeFrameSet(scene().ExtraFrameSet, QStringLiteral("Walk"), 1, 3);
    frmFormDesignE &e = form<frmFormDesignE>();
    showAt(e);
    placeTwips(e.Shape1, FrameWidth * 15 + 300, 600, 1035, 705);
    messages.expect(MsgResult::Ok);
    click(e.Image2);
    EXPECT_TRUE(messages.takeOne().text.contains(QStringLiteral("does not lie over")));
    EXPECT_TRUE(e.Visible());
    EXPECT_FALSE(formExists<ShowExtraAnim>());
}

TEST_F(DesignerRoadTest, FitReviewPageStartsFromTheLaidOutPageEveryTime)
{
    ShowMouth &page = form<ShowMouth>();
    const QSizeF client = page.ClientTwips();
    const QRectF next = controlTwips(page.Image3), label = controlTwips(page.Label1);
    const QRectF button = controlTwips(page.Command1);
    struct Case {
        int width, height; // pixels of the cut-out
        double down, pageWidth;
    } cases[] = {
        {56, 41, 0, client.width()},
        {100, 165, 0, client.width()},      // 2475 twips high: no change
        {100, 200, 525, client.width()},    // 3000 twips: 525 lower and taller
        {340, 100, 0, client.width()},      // 5100 twips wide: no change
        {350, 100, 0, 350 * 15 + 925},      // 5250 twips wide: wider
        {350, 250, 1275, 350 * 15 + 925},
        {56, 41, 0, client.width()},        // a later small cut is laid out afresh
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        ImageWorkspace cut;
        cut.SetPicture(taggedFrame(1).copy(0, 0, c.width, c.height));
        FitReviewPage(page, cut);
        EXPECT_EQ(controlTwips(page.Picture1), QRectF(315, 285, c.width * 15, c.height * 15));
        // The box shows the whole cut-out, also one larger than the laid-out box.
        EXPECT_TRUE(isCutOf(page.Picture1->Image(), 0, 0, c.width, c.height, 1));
        EXPECT_EQ(controlTwips(page.Image3).top(), next.top() + c.down);
        EXPECT_EQ(controlTwips(page.Label1).top(), label.top() + c.down);
        EXPECT_EQ(controlTwips(page.Command1).top(), button.top() + c.down);
        EXPECT_EQ(page.ClientTwips(), QSizeF(c.pageWidth, client.height() + c.down));
        EXPECT_EQ(controlTwips(page.Image1).size(), page.ClientTwips());
        EXPECT_EQ(controlTwips(page.Image1).topLeft(), QPointF(30, -375));
    }
}

TEST_F(DesignerRoadTest, RoutingTableOverTheLayerFlags)
{
    using F = RouteFrom;
    using T = RouteTo;
    struct Case {
        const char *name;
        F from;
        std::initializer_list<Flag SceneState::*> on;
        T to;
    } cases[] = {
        {"mouth page, no layer", F::ShowMouth, {}, T::Canvas},
        {"mouth page, blink before trigger", F::ShowMouth,
         {&SceneState::SceneHasMainBlink, &SceneState::SceneHasTrigger}, T::frmFormDesignB},
        {"mouth page, user mouth", F::ShowMouth, {&SceneState::SceneHasUser}, T::frmFormDesignC},
        // The user blink follows the user mouth only.
        {"mouth page, user blink alone", F::ShowMouth, {&SceneState::SceneHasUserBlink}, T::Canvas},
        {"mouth page, extra before trigger", F::ShowMouth,
         {&SceneState::SceneHasExtraAnim, &SceneState::SceneHasTrigger}, T::frmFormDesignE},
        {"mouth page, trigger", F::ShowMouth, {&SceneState::SceneHasTrigger}, T::frmFormDesignF},
        {"blink page, blink is behind it", F::ShowBlink, {&SceneState::SceneHasMainBlink}, T::Canvas},
        {"blink page, user mouth before extra", F::ShowBlink,
         {&SceneState::SceneHasUser, &SceneState::SceneHasExtraAnim}, T::frmFormDesignC},
        {"user mouth page, user blink before extra", F::ShowUserMouth,
         {&SceneState::SceneHasUserBlink, &SceneState::SceneHasExtraAnim}, T::frmFormDesignD},
        {"user mouth page, trigger", F::ShowUserMouth, {&SceneState::SceneHasTrigger}, T::frmFormDesignF},
        {"user blink page, extra", F::ShowUserBlink, {&SceneState::SceneHasUser, &SceneState::SceneHasExtraAnim},
         T::frmFormDesignE},
        {"extra page, extra is behind it", F::ShowExtraAnim, {&SceneState::SceneHasExtraAnim}, T::Canvas},
        {"extra page, trigger", F::ShowExtraAnim, {&SceneState::SceneHasTrigger}, T::frmFormDesignF},
        {"extra designer, trigger", F::frmFormDesignE, {&SceneState::SceneHasTrigger}, T::frmFormDesignF},
        {"trigger designer, always the canvas", F::frmFormDesignF, {&SceneState::SceneHasTrigger}, T::Canvas},
        {"brow designer, user mouth", F::frmFormDesignG,
         {&SceneState::SceneHasMainBlink, &SceneState::SceneHasUser}, T::frmFormDesignC},
        {"brow designer, blink is no next layer", F::frmFormDesignG, {&SceneState::SceneHasMainBlink}, T::Canvas},
    };
    for (const Case &c : cases) {
        SceneState s;
        for (Flag SceneState::*flag : c.on)
            s.*flag = FlagOn;
        EXPECT_EQ(NextLayerAfter(c.from, s), c.to) << c.name;
    }
}

TEST_F(DesignerRoadTest, BackTargetsOfTheAnimationDesigners)
{
    using P = ReviewPageId;
    struct Case {
        const char *name;
        std::initializer_list<Flag SceneState::*> on;
        P extraBack, triggerBack;
    } cases[] = {
        {"no layer", {}, P::ShowMouth, P::ShowMouth},
        {"blink", {&SceneState::SceneHasMainBlink}, P::ShowBlink, P::ShowBlink},
        {"blink and user mouth", {&SceneState::SceneHasMainBlink, &SceneState::SceneHasUser}, P::ShowUserMouth,
         P::ShowUserMouth},
        {"user mouth and blink", {&SceneState::SceneHasUser, &SceneState::SceneHasUserBlink}, P::ShowUserBlink,
         P::ShowUserBlink},
        // No user character: no user blink page was filled on this road.
        {"user blink without the user", {&SceneState::SceneHasUserBlink}, P::ShowMouth, P::ShowMouth},
        {"user blink without the user, blink", {&SceneState::SceneHasUserBlink, &SceneState::SceneHasMainBlink},
         P::ShowBlink, P::ShowBlink},
        {"extra and user mouth", {&SceneState::SceneHasExtraAnim, &SceneState::SceneHasUser}, P::ShowUserMouth,
         P::ShowExtraAnim},
    };
    for (const Case &c : cases) {
        SceneState s;
        for (Flag SceneState::*flag : c.on)
            s.*flag = FlagOn;
        EXPECT_EQ(ReviewPageBefore(false, s), c.extraBack) << c.name;
        EXPECT_EQ(ReviewPageBefore(true, s), c.triggerBack) << c.name;
    }

    // Through the windows: the extra designer with no flag set goes back to the mouth page.
    frmFormDesignE &e = form<frmFormDesignE>();
    showAt(e);
    click(e.Image1);
    EXPECT_TRUE(form<ShowMouth>().Visible());
    EXPECT_FALSE(e.Visible());

    // The user mouth designer goes back to the page that opened it.
    frmFormDesignC &c = form<frmFormDesignC>();
    showAt(c);
    click(c.Image1);
    EXPECT_TRUE(form<ShowMouth>().Visible());
    scene().SceneHasMainBlink = FlagOn;
    showAt(c);
    click(c.Image1);
    EXPECT_TRUE(form<ShowBlink>().Visible());
    EXPECT_FALSE(c.Visible());

    // The main mouth designer goes back to the series loader.
    frmFormDesign &m = openMouthDesigner();
    click(m.Image1);
    EXPECT_TRUE(form<LoadImages>().Visible());
    EXPECT_FALSE(m.Visible());
}

TEST_F(DesignerRoadTest, EveryOtherBackShowsTheWindowBefore)
{
    // Each case shows its window and gives its BACK button.
    using Open = QAbstractButton *(*)();
    const std::pair<Open, const char *> cases[] = {
        {[]() -> QAbstractButton * { showAt(form<frmFormDesignB>()); return form<frmFormDesignB>().Image1; },
         "ShowMouth"},
        {[]() -> QAbstractButton * { showAt(form<frmFormDesignD>()); return form<frmFormDesignD>().Image1; },
         "ShowUserMouth"},
        {[]() -> QAbstractButton * { showAt(form<ShowMouth>()); return form<ShowMouth>().Image2; }, "frmFormDesign"},
        {[]() -> QAbstractButton * { showAt(form<ShowBlink>()); return form<ShowBlink>().Image2; }, "frmFormDesignB"},
        {[]() -> QAbstractButton * { showAt(form<ShowUserMouth>()); return form<ShowUserMouth>().Image2; },
         "frmFormDesignC"},
        {[]() -> QAbstractButton * { showAt(form<ShowUserBlink>()); return form<ShowUserBlink>().Image2; },
         "frmFormDesignD"},
        {[]() -> QAbstractButton * { showAt(form<ShowExtraAnim>()); return form<ShowExtraAnim>().Image2; },
         "frmFormDesignE"},
    };
    for (const auto &[open, before] : cases) {
        SCOPED_TRACE(before);
        click(open());
        EXPECT_EQ(shownWindows(), QStringList{QString::fromUtf8(before)});
        for (QWidget *w : QApplication::topLevelWidgets())
            w->hide();
    }
}

TEST_F(DesignerRoadTest, EveryLayerFromTheMainMouthToTheCanvas)
{
    SceneState &s = scene();
    s.SceneHasMainBlink = s.SceneHasUser = s.SceneHasUserBlink = s.SceneHasExtraAnim = s.SceneHasTrigger = FlagOn;
    makeFrameSet(s.ExtraFrameSet, QStringLiteral("Walk"), 1, 12);
    makeFrameSet(s.TriggerFrameSet, QStringLiteral("Jump"), 3, 8);

    frmFormDesign &mouth = openMouthDesigner();
    click(mouth.Image2);
    EXPECT_EQ(shownWindows(), QStringList{QStringLiteral("ShowMouth")});

    // Each review page's NEXT opens the next designer at frame 0001 of the series.
    click(form<ShowMouth>().Image3);
    EXPECT_EQ(shownWindows(), QStringList{QStringLiteral("frmFormDesignB")});
    EXPECT_TRUE(showsFrame(form<frmFormDesignB>().Picture(), 1));
    click(form<frmFormDesignB>().Image2);
    EXPECT_EQ(shownWindows(), QStringList{QStringLiteral("ShowBlink")});
    click(form<ShowBlink>().Image3);
    EXPECT_EQ(shownWindows(), QStringList{QStringLiteral("frmFormDesignC")});
    EXPECT_TRUE(showsFrame(form<frmFormDesignC>().Picture(), 1));
    click(form<frmFormDesignC>().Image2);
    click(form<ShowUserMouth>().Image3);
    EXPECT_EQ(shownWindows(), QStringList{QStringLiteral("frmFormDesignD")});
    click(form<frmFormDesignD>().Image2);
    EXPECT_EQ(shownWindows(), QStringList{QStringLiteral("ShowUserBlink")});

    // The extra designer opens at the set's first frame.
    click(form<ShowUserBlink>().Image3);
    frmFormDesignE &extra = form<frmFormDesignE>();
    EXPECT_EQ(shownWindows(), QStringList{QStringLiteral("frmFormDesignE")});
    EXPECT_TRUE(showsFrame(extra.Picture(), 1));

    // Its NEXT fits the extra page without showing it and opens the trigger designer.
    click(extra.Command2);
    click(extra.Image2);
    EXPECT_TRUE(isCutOf(extra.Xpress1.Picture(), 248, 211, 68, 47, 1));
    ASSERT_TRUE(formExists<ShowExtraAnim>());
    EXPECT_TRUE(isCutOf(form<ShowExtraAnim>().Picture1->Picture(), 248, 211, 68, 47, 1));
    frmFormDesignF &trigger = form<frmFormDesignF>();
    EXPECT_EQ(shownWindows(), QStringList{QStringLiteral("frmFormDesignF")});
    EXPECT_TRUE(showsFrame(trigger.Picture(), 3));

    // Its BACK is the only way to the extra page, whose NEXT returns.
    click(trigger.Image1);
    EXPECT_EQ(shownWindows(), QStringList{QStringLiteral("ShowExtraAnim")});
    click(form<ShowExtraAnim>().Image3);
    EXPECT_EQ(shownWindows(), QStringList{QStringLiteral("frmFormDesignF")});

    // Placed flags of an earlier scene are cleared: the round starts afresh.
    s.MainBlinkPlaced = s.ExtraPlaced = FlagOn;
    messages.expect(MsgResult::Ok);
    click(trigger.Image2);
    EXPECT_TRUE(isCutOf(trigger.Xpress1.Picture(), 260, 217, 56, 41, 3));
    EXPECT_EQ(shownWindows(), QStringList{QStringLiteral("Form2")});
    EXPECT_EQ(s.MainBlinkPlaced, FlagOff);
    EXPECT_EQ(s.ExtraPlaced, FlagOff);
    EXPECT_EQ(messages.takeTexts(), QStringList{QString::fromUtf8(MouthPlacementMessage)});
}

// Notes what the screen shows when a message comes up.
class ObservingMessages : public ScriptedMessages {
public:
    QStringList shownWhenAsked, selectedWhenAsked;
    MsgResult show(const QString &text, MsgButtons buttons, const QString &title, MsgIcon icon) override
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible())
                shownWhenAsked << w->metaObject()->className();
        if (form<Form1>().Option1->isChecked())
            selectedWhenAsked << QStringLiteral("Option1");
        return ScriptedMessages::show(text, buttons, title, icon);
    }
};

TEST_F(DesignerRoadTest, MouthPlacementOpensTheCanvasWithTheMouthAt350By250)
{
    frmFormDesign &mouth = openMouthDesigner();
    click(mouth.Image2);
    ObservingMessages observing;
    observing.expect(MsgResult::Ok);
    windowServices().messages = &observing;
    click(form<ShowMouth>().Image3);
    windowServices().messages = &messages;
    // The message comes while the canvas is open with the mouth layer selected.
    EXPECT_EQ(observing.shownWhenAsked, QStringList{QStringLiteral("Form2")});
    EXPECT_EQ(observing.selectedWhenAsked, QStringList{QStringLiteral("Option1")});
    EXPECT_EQ(observing.takeTexts(), QStringList{QStringLiteral(
                                         "We will now position the Main Character Mouth frames over the background.")});
    observing.verify();

    Form2 &canvas = form<Form2>();
    EXPECT_EQ(shownWindows(), QStringList{QStringLiteral("Form2")});
    EXPECT_TRUE(form<Form1>().Option1->isChecked());

    const LayerPlacement &p = scene().LayerPlacements[LayerMainMouth];
    LayerPlacement expected;
    LayerSizeFromPicture(expected, mouth.Xpress1.Picture());
    EXPECT_DOUBLE_EQ(p.LayerWidth.toDouble(), expected.LayerWidth.toDouble());
    EXPECT_DOUBLE_EQ(p.LayerHeight.toDouble(), expected.LayerHeight.toDouble());
    EXPECT_NEAR(p.LayerWidth.toDouble(), 1482 / 26.454545, 1e-9);
    EXPECT_NEAR(p.LayerHeight.toDouble(), 1085 / 26.454545, 1e-9);
    EXPECT_EQ(p.LayerX.toDouble(), 350);
    EXPECT_EQ(p.LayerY.toDouble(), 250);

    // The canvas shows the background with the mouth over it at (350, 250).
    const QImage shown = canvas.PicBox->Image();
    EXPECT_EQ(readTag(shown.pixel(350, 250)), (PixelTag{342, 446, 1}));
    EXPECT_EQ(readTag(shown.pixel(350 + 55, 250 + 40)), (PixelTag{342 + 55, 446 + 40, 1}));
    EXPECT_EQ(readTag(shown.pixel(349, 250)), (PixelTag{349, 250, 1}));
}

TEST_F(DesignerRoadTest, ALayerWhoseSetWasNeverPickedAsksForItsFirstFrame)
{
    scene().SceneHasExtraAnim = FlagOn;
    frmFormDesign &mouth = openMouthDesigner();
    click(mouth.Image2);
    messages.expect(MsgResult::Ok);
    click(form<ShowMouth>().Image3);
    EXPECT_EQ(messages.takeTexts(),
              QStringList{QStringLiteral("The Extra Animation has no frames yet. Please LOAD its first frame in the "
                                         "Extra Animation properties, then click NEXT again.")});
    EXPECT_EQ(shownWindows(), QStringList{QStringLiteral("ShowMouth")});

    // A picked set whose first frame has gone since: named, and the page stays.
    makeFrameSet(scene().ExtraFrameSet, QStringLiteral("Walk"), 1, 3);
    ASSERT_TRUE(QFile::remove(setFrame(QStringLiteral("Walk"), 1)));
    messages.expect(MsgResult::Ok);
    click(form<ShowMouth>().Image3);
    EXPECT_TRUE(messages.takeOne().text.contains(setFrame(QStringLiteral("Walk"), 1)));
    EXPECT_EQ(shownWindows(), QStringList{QStringLiteral("ShowMouth")});
}

TEST_F(DesignerRoadTest, ExtraDesignerToCanvasHidesTheFittedExtraPage)
{
    SceneState &s = scene();
    s.SceneHasExtraAnim = FlagOn;
    makeFrameSet(s.ExtraFrameSet, QStringLiteral("Walk"), 1, 3);
    click(openMouthDesigner().Image2);
    click(form<ShowMouth>().Image3);
    frmFormDesignE &extra = form<frmFormDesignE>();
    // Dragged beyond the top-left: the extra cut starts at 0.
    placeTwips(extra.Shape1, -150, -300, 1035, 705);
    messages.expect(MsgResult::Ok);
    click(extra.Image2);
    EXPECT_EQ(messages.takeTexts(), QStringList{QString::fromUtf8(MouthPlacementMessage)});
    EXPECT_TRUE(isCutOf(extra.Xpress1.Picture(), 0, 0, 68, 47, 1));
    EXPECT_EQ(shownWindows(), QStringList{QStringLiteral("Form2")});
    ASSERT_TRUE(formExists<ShowExtraAnim>());
    EXPECT_TRUE(isCutOf(form<ShowExtraAnim>().Picture1->Picture(), 0, 0, 68, 47, 1));
}

TEST_F(DesignerRoadTest, ExtraAndTriggerSteppers)
{
    SceneState &s = scene();
    makeFrameSet(s.ExtraFrameSet, QStringLiteral("Walk"), 5, 16);
    frmFormDesignE &e = form<frmFormDesignE>();
    EXPECT_EQ(e.TextB1->text(), QStringLiteral("5"));
    e.SetPicture(taggedFrame(5));
    showAt(e);
    for (int n = 6; n <= 16; ++n) {
        click(e.Command2);
        EXPECT_EQ(e.TextB1->text(), QString::number(n));
        EXPECT_TRUE(showsFrame(e.Picture(), n)) << "frame " << n;
    }
    click(e.Command2); // at the last frame
    EXPECT_EQ(s.ExtraFrameSet.CurrentFrame.toDouble(), 16);
    for (int n = 15; n >= 5; --n)
        click(e.Command1);
    click(e.Command1); // at the first frame
    EXPECT_EQ(s.ExtraFrameSet.CurrentFrame.toDouble(), 5);
    EXPECT_TRUE(showsFrame(e.Picture(), 5));

    // The Frames box lowered to 7 without picking again: frames past 5 + 7
    // are not shown, and the counter does not run ahead of the picture.
    s.ExtraFrameSet.FrameCount = Value::integer(7);
    s.ExtraFrameSet.CurrentFrame = Value::integer(12);
    click(e.Command2);
    EXPECT_EQ(s.ExtraFrameSet.CurrentFrame.toDouble(), 12);
    click(e.Command1);
    EXPECT_EQ(e.TextB1->text(), QStringLiteral("11"));
    EXPECT_TRUE(showsFrame(e.Picture(), 11));

    // A missing frame is named and nothing moves.
    ASSERT_TRUE(QFile::remove(setFrame(QStringLiteral("Walk"), 10)));
    messages.expect(MsgResult::Ok);
    click(e.Command1);
    EXPECT_TRUE(messages.takeOne().text.contains(setFrame(QStringLiteral("Walk"), 10)));
    EXPECT_EQ(s.ExtraFrameSet.CurrentFrame.toDouble(), 11);
    EXPECT_EQ(e.TextB1->text(), QStringLiteral("11"));

    // The trigger designer has no such bound; a set from 00 shows its frame "00".
    makeFrameSet(s.TriggerFrameSet, QStringLiteral("Jump"), 0, 12);
    s.TriggerFrameSet.FrameCount = Value::integer(2);
    s.TriggerFrameSet.CurrentFrame = Value::integer(1);
    frmFormDesignF &f = form<frmFormDesignF>();
    EXPECT_EQ(f.TextB1->text(), QStringLiteral("1"));
    showAt(f);
    click(f.Command1);
    EXPECT_EQ(f.TextB1->text(), QStringLiteral("0"));
    EXPECT_TRUE(showsFrame(f.Picture(), 0));
    click(f.Command1);
    EXPECT_EQ(s.TriggerFrameSet.CurrentFrame.toDouble(), 0);
    s.TriggerFrameSet.CurrentFrame = Value::integer(10);
    click(f.Command2);
    EXPECT_TRUE(showsFrame(f.Picture(), 11));

    // NEXT cuts the first frame whichever is on display.
    scene().PrimaryFramePrefix = QString(); // the canvas is not reached: no mouth was cut
    messages.expect(MsgResult::Ok);
    click(f.Image2);
    EXPECT_EQ(messages.takeTexts(), QStringList{QStringLiteral("The Main Character Mouth frames have not been cropped yet.")});
    EXPECT_TRUE(isCutOf(f.Xpress1.Picture(), 260, 217, 56, 41, 0));
}

// A step of the frame buttons reaches the document, which says `changed` with
// the new frame; a step that cannot be made says nothing.
TEST_F(DesignerRoadTest, FrameSteppersSayChangedWithTheNewFrame)
{
    SceneState &s = scene();
    makeFrameSet(s.ExtraFrameSet, QStringLiteral("Walk"), 5, 7);
    makeFrameSet(s.TriggerFrameSet, QStringLiteral("Jump"), 0, 3);
    s.TriggerFrameSet.CurrentFrame = Value::integer(1);
    frmFormDesignE &e = form<frmFormDesignE>();
    frmFormDesignF &f = form<frmFormDesignF>();
    showAt(e);
    showAt(f, QPoint(60, 50));
    QObject listener;
    QStringList heard; // both sets' frames on display at each `changed`
    QObject::connect(&sceneDocument(), &SceneDocument::changed, &listener, [&heard, &s] {
        heard << QStringLiteral("%1/%2").arg(s.ExtraFrameSet.CurrentFrame.toText(),
                                             s.TriggerFrameSet.CurrentFrame.toText());
    });
    click(e.Command2);
    click(e.Command2);
    click(e.Command2); // at the last frame
    click(e.Command1);
    click(f.Command2);
    click(f.Command1);
    click(f.Command1);
    click(f.Command1); // at the first frame
    EXPECT_EQ(heard.join(u' '), QStringLiteral("6/1 7/1 6/1 6/2 6/1 6/0"));

    // A frame that cannot be read is named and nothing moves.
    heard.clear();
    ASSERT_TRUE(QFile::remove(setFrame(QStringLiteral("Walk"), 5)));
    messages.expect(MsgResult::Ok);
    click(e.Command1);
    EXPECT_TRUE(messages.takeOne().text.contains(setFrame(QStringLiteral("Walk"), 5)));
    EXPECT_EQ(heard.join(u' '), QString());
}

TEST_F(DesignerRoadTest, BrowDesignerStepsThroughSixFramesAndCutsFrameOne)
{
    frmFormDesignG &g = form<frmFormDesignG>();
    EXPECT_EQ(g.TextB1->text(), QStringLiteral("1"));
    showAt(g);
    click(g.Command1);
    EXPECT_TRUE(g.Picture().isNull());
    for (int n = 2; n <= 6; ++n)
        click(g.Command2);
    click(g.Command2);
    EXPECT_EQ(g.TextB1->text(), QStringLiteral("6"));
    EXPECT_TRUE(showsFrame(g.Picture(), 6));

    g.TextB1->setText(QStringLiteral("x"));
    messages.expect(MsgResult::Ok);
    click(g.Command1);
    EXPECT_EQ(messages.takeTexts(), QStringList{QStringLiteral("The frame number must be a whole number from 1 to 6.")});

    // The brow cut keeps a negative place; it goes to the canvas's brow store.
    click(openMouthDesigner().Image2);
    showAt(g);
    placeTwips(g.Shape1, -150, 3135, 855, 615);
    messages.expect(MsgResult::Ok);
    click(g.Image2);
    EXPECT_EQ(messages.takeTexts(), QStringList{QString::fromUtf8(MouthPlacementMessage)});
    EXPECT_TRUE(isCutOf(g.Xpress1.Picture(), 0, 209, 56 - 10, 41, 1));
    EXPECT_TRUE(isCutOf(form<Form2>().picImage7->Picture(), 0, 209, 56 - 10, 41, 1));
    EXPECT_TRUE(form<Form2>().Visible());
}

TEST_F(DesignerRoadTest, EveryWindowShowsItsWholeTextsAndNamesItsControls)
{
    const std::vector<Form *> windows = {
        &form<frmFormDesign>(), &form<frmFormDesignB>(), &form<frmFormDesignC>(), &form<frmFormDesignD>(),
        &form<frmFormDesignE>(), &form<frmFormDesignF>(), &form<frmFormDesignG>(), &form<ShowMouth>(),
        &form<ShowBlink>(), &form<ShowUserMouth>(), &form<ShowUserBlink>(), &form<ShowExtraAnim>()};
    for (Form *w : windows) {
        SCOPED_TRACE(w->Caption().toStdString());
        for (QLabel *label : w->findChildren<QLabel *>()) {
            const QRect box = label->contentsRect();
            const QRect needed = label->fontMetrics().boundingRect(box, Qt::TextWordWrap, label->text());
            EXPECT_LE(needed.width(), box.width()) << label->objectName().toStdString();
            EXPECT_LE(needed.height(), box.height()) << label->objectName().toStdString();
        }
        for (QWidget *control : w->findChildren<QWidget *>()) {
            if (!qobject_cast<QAbstractButton *>(control) && !qobject_cast<QLineEdit *>(control))
                continue;
            EXPECT_FALSE(control->objectName().isEmpty());
            EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
        }
        // No button lies over another one beside it.
        const QList<QAbstractButton *> buttons = w->findChildren<QAbstractButton *>();
        for (QAbstractButton *a : buttons) {
            for (QAbstractButton *b : buttons) {
                if (a != b && a->parentWidget() == b->parentWidget() && a->isVisibleTo(w) && b->isVisibleTo(w)) {
                    EXPECT_FALSE(a->geometry().intersects(b->geometry()))
                        << a->objectName().toStdString() << " and " << b->objectName().toStdString();
                }
            }
        }
    }
    // The painted texts name the buttons.
    EXPECT_EQ(form<frmFormDesign>().Image2->accessibleName(), QStringLiteral("NEXT"));
    EXPECT_EQ(form<ShowMouth>().Image2->accessibleName(), QStringLiteral("BACK"));
    EXPECT_EQ(form<frmFormDesignE>().Command2->text(), QStringLiteral(">"));
}

TEST_F(DesignerRoadTest, ClosingADesignerFromItsWindowBoxResetsTheSetUp)
{
    struct Case {
        Form &(*open)();
        bool (*exists)();
    } cases[] = {
        {[]() -> Form & { return form<frmFormDesign>(); }, [] { return formExists<frmFormDesign>(); }},
        {[]() -> Form & { return form<frmFormDesignB>(); }, [] { return formExists<frmFormDesignB>(); }},
        {[]() -> Form & { return form<frmFormDesignC>(); }, [] { return formExists<frmFormDesignC>(); }},
        {[]() -> Form & { return form<frmFormDesignD>(); }, [] { return formExists<frmFormDesignD>(); }},
        {[]() -> Form & { return form<frmFormDesignE>(); }, [] { return formExists<frmFormDesignE>(); }},
        {[]() -> Form & { return form<frmFormDesignF>(); }, [] { return formExists<frmFormDesignF>(); }},
    };
    for (const Case &c : cases) {
        Form &d = c.open();
        SCOPED_TRACE(d.Caption().toStdString());
        setCheckValue(form<Wizard1>().Check1, 1);
        scene().SceneHasMainBlink = FlagOn;
        showAt(d);
        closeFromWindowBox(d);
        EXPECT_FALSE(c.exists());
        EXPECT_EQ(checkValue(form<Wizard1>().Check1), 0);
        EXPECT_EQ(scene().SceneHasMainBlink, FlagOff);
    }
    // A fresh designer has its rectangle as laid out.
    EXPECT_EQ(controlTwips(form<frmFormDesign>().Shape1), QRectF(5130, 6690, 855, 615));

    // Closing the brow designer only unloads it.
    setCheckValue(form<Wizard1>().Check1, 1);
    showAt(form<frmFormDesignG>());
    closeFromWindowBox(form<frmFormDesignG>());
    EXPECT_FALSE(formExists<frmFormDesignG>());
    EXPECT_EQ(checkValue(form<Wizard1>().Check1), 1);
}

} // namespace
