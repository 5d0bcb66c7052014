// The older editor's editing commands on the never-shown layer controller:
// the layer boxes, the alternate background, the dialog and help buttons, the
// move steps, the pickers and the drag.

#include "core/legacy/LegacyEditRules.h"
#include "scene/AltImageLoad.h"
#include "scene/ChildAnimProps.h"
#include "scene/ExtraAnimProps.h"
#include "scene/FullAnimProps.h"
#include "scene/Sound.h"
#include "scene/TrigAnimProps.h"
#include "tests/legacy/LegacyFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QRgb kSky = qRgb(10, 20, 200);
const QRgb kMarked = qRgb(255, 0, 255);

class LegacyEditorTest : public LegacyTest {
protected:
    void SetUp() override
    {
        LegacyTest::SetUp();
        QImage sky(60, 40, QImage::Format_RGB32);
        sky.fill(kSky);
        canvas().picBackground->SetPicture(sky);
        editor(); // loaded: the layer options and Check7 disabled, Check1 ticked
    }

    void place(CanvasLayer layer, double x, double y, double width = 4, double height = 3)
    {
        scene().LayerPlacements[layer] = {Value::real(x), Value::real(y), Value::real(width), Value::real(height)};
    }
    double x(CanvasLayer layer) { return scene().LayerPlacements[layer].LayerX.toDouble(); }
    double y(CanvasLayer layer) { return scene().LayerPlacements[layer].LayerY.toDouble(); }

    // Marks the canvas, so that a redraw shows by the background coming back.
    void markCanvas()
    {
        QImage marked(60, 40, QImage::Format_RGB32);
        marked.fill(kMarked);
        canvas().PicBox->SetPicture(marked);
    }
    bool redrawn() { return pixel(0, 0) == kSky; }

    bool noOptionSelected()
    {
        for (int i = 0; i < CanvasLayerCount; ++i)
            if (editor().LayerSelected(CanvasLayer(i)))
                return false;
        return true;
    }
};

TEST_F(LegacyEditorTest, MoveTable)
{
    struct Case {
        const char *name;
        std::function<void(Form1 &)> step;
        CanvasLayer current;
        double fromX, fromY, toX, toY;
    } cases[] = {
        {"pad right", [](Form1 &f) { f.Image2->click(); }, LayerMainMouth, 5, 5, 6, 5},
        {"pad left", [](Form1 &f) { f.Image3->click(); }, LayerMainBlink, 5, 5, 4, 5},
        {"pad left at 0", [](Form1 &f) { f.Image3->click(); }, LayerUserMouth, 0, 5, 0, 5},
        {"pad left at a half", [](Form1 &f) { f.Image3->click(); }, LayerUserMouth, 0.5, 5, 0, 5},
        {"pad up", [](Form1 &f) { f.Image4->click(); }, LayerUserBlink, 5, 5, 5, 4},
        {"pad up at 0", [](Form1 &f) { f.Image4->click(); }, LayerUserBlink, 5, 0, 5, 0},
        {"pad down without bound", [](Form1 &f) { f.Image5->click(); }, LayerExtraAnim, 5, 99999, 5, 100000},
        {"pad moves the trigger layer", [](Form1 &f) { f.Image2->click(); }, LayerTriggerAnim, 5, 5, 6, 5},
        {"pad leaves the brow layer", [](Form1 &f) { f.Image2->click(); }, LayerBrowAnim, 5, 5, 5, 5},
        {"coarse up", [](Form1 &f) { f.Command6_Click(); }, LayerMainMouth, 5, 5, 5, 4},
        {"coarse up at 0", [](Form1 &f) { f.Command6_Click(); }, LayerMainMouth, 5, 0, 5, 0},
        {"coarse down", [](Form1 &f) { f.Command7_Click(); }, LayerExtraAnim, 5, 5, 5, 6},
        {"coarse left by 20", [](Form1 &f) { f.Command8_Click(); }, LayerMainBlink, 25, 5, 5, 5},
        {"coarse left stops at 0", [](Form1 &f) { f.Command8_Click(); }, LayerMainBlink, 15, 5, 0, 5},
        {"coarse right by 10", [](Form1 &f) { f.Command9_Click(); }, LayerUserBlink, 5, 5, 15, 5},
        {"coarse steps leave the trigger layer", [](Form1 &f) { f.Command9_Click(); }, LayerTriggerAnim, 5, 5, 5, 5},
        {"coarse steps leave the brow layer", [](Form1 &f) { f.Command7_Click(); }, LayerBrowAnim, 5, 5, 5, 5},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (int i = 0; i < CanvasLayerCount; ++i)
            place(CanvasLayer(i), 30, 30);
        place(c.current, c.fromX, c.fromY);
        editor().LayerOption(c.current)->setChecked(true);
        markCanvas();
        c.step(editor());
        EXPECT_EQ(x(c.current), c.toX);
        EXPECT_EQ(y(c.current), c.toY);
        for (int i = 0; i < CanvasLayerCount; ++i) {
            if (i != c.current) {
                EXPECT_EQ(x(CanvasLayer(i)), 30) << "layer " << i;
            }
        }
        EXPECT_TRUE(redrawn()) << "the canvas is redrawn after every step";
    }
}

TEST_F(LegacyEditorTest, LayerBoxEnablesSelectsAndShowsItsLayer)
{
    struct Case {
        const char *name;
        QCheckBox *Form1::*box;
        CanvasLayer layer;
        bool showsLayer; // ticks Check1 and redraws
    } cases[] = {
        {"Check2 user mouth", &Form1::Check2, LayerUserMouth, true},
        {"Check3 extra", &Form1::Check3, LayerExtraAnim, true},
        {"Check4 user blink", &Form1::Check4, LayerUserBlink, true},
        {"Check5 main blink", &Form1::Check5, LayerMainBlink, true},
        {"Check11 trigger", &Form1::Check11, LayerTriggerAnim, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Form1 &f = editor();
        QCheckBox *box = f.*c.box;
        QRadioButton *option = f.LayerOption(c.layer);
        f.Option7->setChecked(true);

        auto act = [&](int value) {
            setCheckValue(f.Check1, 0);
            markCanvas();
            setCheckValue(box, value);
            EXPECT_EQ(checkValue(f.Check1), c.showsLayer ? 1 : 0) << "value " << value;
            EXPECT_EQ(redrawn(), c.showsLayer) << "value " << value;
        };
        act(1);
        EXPECT_TRUE(option->isEnabled());
        EXPECT_TRUE(option->isChecked());
        act(2); // greyed: the option stays as it was
        EXPECT_TRUE(option->isEnabled());
        EXPECT_TRUE(option->isChecked());
        act(0);
        EXPECT_FALSE(option->isEnabled());
        // The trigger box clears its option, so that no layer is current.
        EXPECT_EQ(option->isChecked(), c.showsLayer);
        EXPECT_EQ(noOptionSelected(), !c.showsLayer);
        act(2);
        EXPECT_FALSE(option->isEnabled());
    }
}

TEST_F(LegacyEditorTest, UntickingTheTriggerBoxLeavesOtherLayersSelected)
{
    Form1 &f = editor();
    setCheckValue(f.Check11, 1);
    f.Option2->setChecked(true);
    setCheckValue(f.Check11, 0);
    EXPECT_TRUE(f.Option2->isChecked());
    // The group is exclusive again afterwards.
    f.Option3->setChecked(true);
    EXPECT_FALSE(f.Option2->isChecked());
}

TEST_F(LegacyEditorTest, AlternateBackgroundSwitch)
{
    Form1 &f = editor();
    SceneState &s = scene();
    drawPicture(imagesFolder() + QStringLiteral("Night.jpg"), QSize(20, 10), qRgb(0, 0, 0));
    drawPicture(imagesFolder() + QStringLiteral("day.bmp"), QSize(20, 10), qRgb(255, 255, 255));
    s.AltImageName = QStringLiteral("Night.jpg");
    s.BackgroundFileName = QStringLiteral("DAY.BMP"); // found in another letter case

    setCheckValue(f.Check6, 1);
    EXPECT_TRUE(f.Check7->isEnabled());
    setCheckValue(f.Check6, 0);
    EXPECT_FALSE(f.Check7->isEnabled());

    // Without a chosen alternate picture the box changes nothing, even with a name.
    markCanvas();
    setCheckValue(f.Check7, 1);
    EXPECT_EQ(pixel(0, 0), kMarked);
    EXPECT_EQ(canvas().picBackground->Picture().pixel(0, 0), kSky);

    setCheckValue(f.Check7, 0);
    s.AltImagePath = s.BaseFolder + QStringLiteral("Night.jpg");
    setCheckValue(f.Check7, 1);
    EXPECT_LT(qGray(pixel(0, 0)), 20) << "the alternate picture is shown";
    setCheckValue(f.Check7, 0);
    EXPECT_GT(qGray(pixel(0, 0)), 235) << "the background is shown again";

    // The folder is whatever the last command left in WorkFolder.
    s.WorkFolder = env.program + u'/';
    messages.answers.enqueue(MsgResult::Ok);
    setCheckValue(f.Check7, 1);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("Program/Images/Night.jpg")))
        << messages.shown[0].text.toStdString();
    EXPECT_GT(qGray(canvas().picBackground->Picture().pixel(0, 0)), 235) << "a failed load keeps the picture";
}

TEST_F(LegacyEditorTest, DialogButtonsShowTheirDialogs)
{
    struct Case {
        QPushButton *Form1::*button;
        const char *caption;
        std::function<Form &()> dialog;
    } cases[] = {
        {&Form1::Command1, "ALTERNATE IMAGE", [] () -> Form & { return form<AltImageLoad>(); }},
        {&Form1::Command2, "SOUNDS", [] () -> Form & { return form<Sound>(); }},
        {&Form1::Command16, "EXTRA ANIMATION PROPERTIES", [] () -> Form & { return form<ExtraAnimProps>(); }},
        {&Form1::Command17, "CHILD ANIMATION PROPERTIES", [] () -> Form & { return form<ChildAnimProps>(); }},
        {&Form1::Command19, "FULL BG ANIMATION PROPERTIES", [] () -> Form & { return form<FullAnimProps>(); }},
        {&Form1::Command20, "TRIGGER ANIMATION PROPERTIES", [] () -> Form & { return form<TrigAnimProps>(); }},
    };
    for (const Case &c : cases) {
        QPushButton *button = editor().*c.button;
        EXPECT_EQ(button->text(), QString::fromUtf8(c.caption));
        EXPECT_FALSE(c.dialog().Visible()) << c.caption;
        button->click();
        EXPECT_TRUE(c.dialog().Visible()) << c.caption;
    }
    EXPECT_FALSE(editor().Visible());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(LegacyEditorTest, HelpOpensThePageUnderTheBaseFolder)
{
    scene().WorkFolder = env.program + u'/';
    const QString page = baseFolder() + QStringLiteral("Docs/Scenara.htm");
    messages.answers.enqueue(MsgResult::Ok);
    editor().Command12->click();
    EXPECT_EQ(scene().WorkFolder.toText(), baseFolder());
    ASSERT_EQ(messages.shown.size(), 1) << "no page there yet";
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("The help page %1 could not be opened.").arg(QDir::toNativeSeparators(page)));
    EXPECT_EQ(messages.shown[0].title, programTitle());
    EXPECT_EQ(messages.shown[0].buttons, MsgButtons::Ok);
    EXPECT_TRUE(urls.opened.isEmpty());

    ASSERT_TRUE(writeFile(page, QByteArray()));
    editor().Command12->click();
    ASSERT_EQ(urls.opened.size(), 1);
    EXPECT_EQ(urls.opened[0], QUrl::fromLocalFile(page));
    EXPECT_EQ(messages.shown.size(), 1);
}

TEST_F(LegacyEditorTest, DragKeepsTheGrabPointUnderTheMouseBoundedOnlyByZero)
{
    Form1 &f = editor();
    SceneState &s = scene();
    place(LayerMainBlink, 10, 20, 500, 400);
    f.Option2->setChecked(true);

    f.PicBox_MouseDown(Qt::LeftButton, {}, 15, 26);
    EXPECT_EQ(s.LayerGrabOffsets[LayerMainBlink].LayerGrabX.toDouble(), -5);
    EXPECT_EQ(s.LayerGrabOffsets[LayerMainBlink].LayerGrabY.toDouble(), -6);
    EXPECT_EQ(s.IsDragging, FlagOn);
    EXPECT_EQ(s.DragShowsOutline, FlagOff);

    struct Step {
        double mouseX, mouseY, layerX, layerY;
    } steps[] = {{100, 200, 95, 194}, {2, 3, 0, 0}, {5000, 4000, 4995, 3994}};
    for (const Step &st : steps) {
        markCanvas();
        f.PicBox_MouseMove(Qt::LeftButton, {}, st.mouseX, st.mouseY);
        EXPECT_EQ(x(LayerMainBlink), st.layerX) << st.mouseX;
        EXPECT_EQ(y(LayerMainBlink), st.layerY) << st.mouseY;
        EXPECT_TRUE(redrawn());
    }
    f.PicBox_MouseUp(Qt::LeftButton, {}, 0, 0);
    EXPECT_EQ(s.IsDragging, FlagOff);
    f.PicBox_MouseMove(Qt::LeftButton, {}, 50, 50);
    EXPECT_EQ(x(LayerMainBlink), 4995) << "no drag after the mouse is up";

    // Nothing starts with the layer hidden, or with the brow layer current.
    setCheckValue(f.Check1, 0);
    f.PicBox_MouseDown(Qt::LeftButton, {}, 1, 1);
    EXPECT_EQ(s.IsDragging, FlagOff);
    setCheckValue(f.Check1, 1);
    f.Option7->setChecked(true);
    f.PicBox_MouseDown(Qt::RightButton, {}, 1, 1);
    EXPECT_EQ(s.IsDragging, FlagOff);
}

TEST_F(LegacyEditorTest, LayerPickersTakeThePictureInWholePixels)
{
    struct Case {
        const char *name;
        void (Form1::*pick)();
        CanvasLayer layer;
        Value SceneState::*fileName;
    } cases[] = {
        {"Command3 main blink", &Form1::Command3_Click, LayerMainBlink, &SceneState::MainBlinkFileName},
        {"Command4 user mouth", &Form1::Command4_Click, LayerUserMouth, &SceneState::UserMouthFileName},
        {"Command5 user blink", &Form1::Command5_Click, LayerUserBlink, &SceneState::UserBlinkFileName},
        {"Command13 extra", &Form1::Command13_Click, LayerExtraAnim, &SceneState::ExtraFileName},
    };
    // A picture outside Images is loaded from its full path; only its name is kept.
    const QString elsewhere = documentsFolder() + QStringLiteral("/Other/Wide Pic.jpg");
    drawPicture(elsewhere, QSize(100, 50), qRgb(250, 250, 0));
    SceneState &s = scene();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Form1 &f = editor();
        f.Option1->setChecked(true);
        files.answers.enqueue(elsewhere);
        (f.*c.pick)();
        const FileChooserRequest &request = files.requests.last();
        // Images until a picture was chosen; then where it was chosen.
        EXPECT_EQ(request.initDir, files.requests.size() == 1 ? baseFolder() + QStringLiteral("Images")
                                                              : documentsFolder() + QStringLiteral("/Other"));
        EXPECT_EQ(request.filter, QStringLiteral("Images Files (*.bmp;*.jpg)|*.bmp;*.jpg"));
        EXPECT_FALSE(request.save);
        EXPECT_EQ(canvas().LayerStore(c.layer)->Picture().size(), QSize(100, 50));
        EXPECT_EQ(s.LayerPlacements[c.layer].LayerWidth.toDouble(), 100);
        EXPECT_EQ(s.LayerPlacements[c.layer].LayerHeight.toDouble(), 50);
        EXPECT_EQ((s.*c.fileName).toText(), QStringLiteral("Wide Pic.jpg"));
        EXPECT_EQ(s.PickedPath.toText(), elsewhere);
        EXPECT_EQ(s.PickedName.toText(), QStringLiteral("Wide Pic.jpg"));
        EXPECT_EQ(s.PickedNameStart.toDouble(), elsewhere.lastIndexOf(u'/') + 2);
        EXPECT_TRUE(f.LayerOption(c.layer)->isChecked());
        EXPECT_EQ(f.Text3->text(), QStringLiteral("Wide Pic.jpg"));
        EXPECT_EQ(s.WorkFolder.toText(), baseFolder());
    }
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(LegacyEditorTest, PickedLayerIsPaintedAtItsPixelSize)
{
    const QString path = imagesFolder() + QStringLiteral("blink.bmp");
    drawPicture(path, QSize(10, 6), qRgb(250, 0, 0));
    place(LayerMainBlink, 20, 10);
    files.answers.enqueue(path);
    editor().Command3_Click();
    EXPECT_EQ(pixel(20, 10), qRgb(250, 0, 0));
    EXPECT_EQ(pixel(29, 15), qRgb(250, 0, 0));
    EXPECT_EQ(pixel(30, 15), kSky);
    EXPECT_EQ(pixel(29, 16), kSky);

    // In a scene that measures in twips the size is taken in twips, and the
    // canvas counts in them, whatever unit its boxes were last set to.
    scene().LegacyCanvasUnit = CanvasUnit::Twips;
    place(LayerMainBlink, 600, 300);
    files.answers.enqueue(path);
    editor().Command3_Click();
    EXPECT_EQ(scene().LayerPlacements[LayerMainBlink].LayerWidth.toDouble(), 150);
    EXPECT_EQ(scene().LayerPlacements[LayerMainBlink].LayerHeight.toDouble(), 90);
    EXPECT_EQ(pixel(40, 20), qRgb(250, 0, 0));
    EXPECT_EQ(pixel(49, 25), qRgb(250, 0, 0));
    EXPECT_EQ(pixel(50, 25), kSky);

    // Back in pixels, a box still set to twips does not make the size twips.
    scene().LegacyCanvasUnit = CanvasUnit::Pixels;
    canvas().PicBox->SetScaleMode(1);
    place(LayerMainBlink, 20, 10);
    files.answers.enqueue(path);
    editor().Command3_Click();
    EXPECT_EQ(scene().LayerPlacements[LayerMainBlink].LayerWidth.toDouble(), 10);
    EXPECT_EQ(scene().LayerPlacements[LayerMainBlink].LayerHeight.toDouble(), 6);
    EXPECT_EQ(pixel(29, 15), qRgb(250, 0, 0));
    EXPECT_EQ(pixel(30, 15), kSky);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(LegacyEditorTest, CancelledOrFailedPicksChangeNothing)
{
    SceneState &s = scene();
    Form1 &f = editor();
    const QString earlier = imagesFolder() + QStringLiteral("earlier.jpg");
    drawPicture(earlier, QSize(8, 8));
    files.answers.enqueue(earlier);
    f.Command14_Click();
    EXPECT_EQ(s.AltImageName.toText(), QStringLiteral("earlier.jpg"));
    EXPECT_EQ(s.PickedName.toText(), QStringLiteral("earlier.jpg"));
    EXPECT_TRUE(s.AltImagePath.toText().isEmpty()) << "the alternate pick loads nothing";
    EXPECT_TRUE(canvas().picBackground->Picture().size() == QSize(60, 40));

    // The dialog still holds the earlier name; a cancel does not take it again.
    place(LayerUserBlink, 1, 2, 3, 4);
    f.Option1->setChecked(true);
    f.Command5_Click();
    EXPECT_EQ(files.requests.last().fileName, earlier) << "offered again";
    EXPECT_TRUE(s.UserBlinkFileName.isUnset());
    EXPECT_EQ(s.LayerPlacements[LayerUserBlink].LayerWidth.toDouble(), 3);
    EXPECT_TRUE(canvas().picImage4->Picture().isNull());
    EXPECT_TRUE(f.Option1->isChecked());

    // A picture that cannot be loaded is named in a message.
    const QString gone = imagesFolder() + QStringLiteral("gone.jpg");
    files.answers.enqueue(gone);
    messages.answers.enqueue(MsgResult::Ok);
    f.Command5_Click();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].text.contains(QDir::toNativeSeparators(gone))) << messages.shown[0].text.toStdString();
    EXPECT_TRUE(s.UserBlinkFileName.isUnset());
    EXPECT_EQ(s.LayerPlacements[LayerUserBlink].LayerWidth.toDouble(), 3);
    EXPECT_TRUE(f.Option1->isChecked());
}

TEST_F(LegacyEditorTest, ShowLayerImageAndTheEmptyOption)
{
    Form1 &f = editor();
    setCheckValue(f.Check1, 0);
    markCanvas();
    f.OptionB1_Click();
    EXPECT_EQ(pixel(0, 0), kMarked);
    f.ShowLayerImage();
    EXPECT_EQ(checkValue(f.Check1), 1);
    EXPECT_TRUE(redrawn());
}

TEST_F(LegacyEditorTest, ControlsCarryTheirCaptionsAndNames)
{
    Form1 &f = editor();
    const std::pair<QWidget *, const char *> named[] = {
        {f.Check2, "User Mouth"},  {f.Check3, "Extra Anim"},     {f.Check4, "User Blink"},
        {f.Check5, "Velm Blink"},  {f.Check6, "Alternate BG"},   {f.Check8, "Child Anim"},
        {f.Check9, "Full BG Anim"}, {f.Check11, "Trigger Anim"}, {f.Command12, "HELP"},
        {f.Command15, "New Scene..."}, {f.Command11, "Load Scene..."}, {f.Command10, "Save Scene..."},
    };
    for (const auto &[control, caption] : named) {
        EXPECT_EQ(control->accessibleName(), QString::fromUtf8(caption)) << control->objectName().toStdString();
        EXPECT_EQ(f.findChild<QWidget *>(control->objectName()), control);
    }
    EXPECT_EQ(f.Option5->text(), QStringLiteral("Exta Animation"));
    EXPECT_EQ(f.Label8->text(), QStringLiteral("Show Alternate Image"));
    EXPECT_EQ(f.Label12->text(), QStringLiteral("Current Image:"));
    EXPECT_EQ(f.Label13->text(), QStringLiteral("Scenara 3.21 Beta"));
    // The arrow pad lies at the top right, each area about 390 twips square.
    for (QPushButton *area : {f.Image2, f.Image3, f.Image4, f.Image5}) {
        const QRectF twips = controlTwips(area);
        EXPECT_NEAR(twips.width(), 390, 15);
        EXPECT_NEAR(twips.height(), 390, 15);
        EXPECT_GT(twips.left(), f.ClientTwips().width() / 2);
        EXPECT_LT(twips.top(), f.ClientTwips().height() / 4);
    }
    EXPECT_LT(controlTwips(f.Image4).top(), controlTwips(f.Image2).top());
    EXPECT_LT(controlTwips(f.Image3).left(), controlTwips(f.Image2).left());
    EXPECT_GT(controlTwips(f.Image5).top(), controlTwips(f.Image3).top());
}

} // namespace
