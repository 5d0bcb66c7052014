// The extra and trigger dialogs: the Frames box's count as the document keeps
// it and the last frame label beside it, the delay-at-frame pair, OK, and a
// close from the window box.

#include "core/scene/SceneState.h"
#include "platform/Controls.h"
#include "scene/ExtraAnimProps.h"
#include "scene/TrigAnimProps.h"
#include "tests/scene/DialogFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {
using ExtraTrigTest = DialogTest;
}

TEST_F(ExtraTrigTest, ExtraFramesBoxKeepsTheCountAndTheLastFrameLabel)
{
    ExtraAnimProps &extra = form<ExtraAnimProps>();
    extra.Show();
    // Before any load the first frame is 1, so the label shows the count.
    type(extra.Text2, QStringLiteral("12"));
    EXPECT_EQ(scene().ExtraFrameSet.FrameCount.kind(), Value::Kind::Integer);
    EXPECT_EQ(scene().ExtraFrameSet.FrameCount.toText(), QStringLiteral("12"));
    EXPECT_EQ(extra.Label12->text(), QStringLiteral("12"));

    // After a load the label counts from the first frame; the set's last frame waits for the next load.
    const QString art = tempPath(QStringLiteral("Art"));
    drawSeries(art, QStringLiteral("Walk-00"), 16, 20, QStringLiteral(".bmp"));
    type(extra.Text2, QStringLiteral("5"));
    pickNext(art + QStringLiteral("/Walk-0016.bmp"));
    click(extra.Image1);
    ASSERT_EQ(extra.Label8->text(), QStringLiteral("16"));
    type(extra.Text2, QStringLiteral("8"));
    EXPECT_EQ(scene().ExtraFrameSet.FrameCount.toText(), QStringLiteral("8"));
    EXPECT_EQ(extra.Label12->text(), QStringLiteral("23"));
    EXPECT_EQ(scene().ExtraFrameSet.LastFrame.toText(), QStringLiteral("20"));

    // An empty box, or a text that is no count, changes nothing; nor does a sum beyond 16 bits.
    for (const char *text : {"", "-", "abc", "32767"}) {
        extra.Text2->setText(QString::fromUtf8(text));
        const bool count = QByteArray(text) == "32767";
        EXPECT_EQ(scene().ExtraFrameSet.FrameCount.toText(), count ? QStringLiteral("32767") : QStringLiteral("8"))
            << text;
        EXPECT_EQ(extra.Label12->text(), QStringLiteral("23")) << text;
    }
}

TEST_F(ExtraTrigTest, TriggerFramesBoxKeepsTheTextAndTheLabelFollowsWhileShown)
{
    TrigAnimProps &trigger = form<TrigAnimProps>();
    trigger.Text2->setText(QStringLiteral("5")); // hidden: the count follows, the label waits
    EXPECT_EQ(scene().TriggerFrameSet.FrameCount.toText(), QStringLiteral("5"));
    EXPECT_EQ(trigger.Label12->text(), QStringLiteral("0"));

    trigger.Show();
    type(trigger.Text2, QStringLiteral("07"));
    EXPECT_EQ(scene().TriggerFrameSet.FrameCount.kind(), Value::Kind::Text);
    EXPECT_EQ(scene().TriggerFrameSet.FrameCount.toText(), QStringLiteral("07"));
    EXPECT_EQ(trigger.Label12->text(), QStringLiteral("7"));
    type(trigger.Text2, QString());
    EXPECT_EQ(scene().TriggerFrameSet.FrameCount.toText(), QStringLiteral("07"));
    trigger.Text2->setText(QStringLiteral("many"));
    EXPECT_EQ(scene().TriggerFrameSet.FrameCount.toText(), QStringLiteral("07"));
    EXPECT_EQ(trigger.Label12->text(), QStringLiteral("7"));
}

TEST_F(ExtraTrigTest, DelayAtFramePairFollowsTheBoxAndOutlivesTheWindow)
{
    ExtraAnimProps *extra = &form<ExtraAnimProps>();
    extra->Show();
    EXPECT_FALSE(extra->Text3->isEnabled());
    click(extra->Check1);
    EXPECT_EQ(scene().ExtraDelayAtOn, FlagOn);
    EXPECT_TRUE(extra->Text3->isEnabled());
    setCheckValue(extra->Check1, 2); // greyed: nothing changes
    EXPECT_EQ(scene().ExtraDelayAtOn, FlagOn);
    EXPECT_TRUE(extra->Text3->isEnabled());
    setCheckValue(extra->Check1, 1);

    // Closed from the window box with the box ticked: the other boxes start
    // over, the pair comes back ticked.
    type(extra->Text5, QStringLiteral("250"));
    type(extra->Text3, QStringLiteral("4"));
    click(extra->Option2);
    closeFromWindowBox(*extra);
    EXPECT_FALSE(formExists<ExtraAnimProps>());
    extra = &form<ExtraAnimProps>();
    EXPECT_EQ(checkValue(extra->Check1), 1);
    EXPECT_TRUE(extra->Text3->isEnabled());
    EXPECT_EQ(extra->Text3->text(), QStringLiteral("1"));
    EXPECT_EQ(extra->Text5->text(), QStringLiteral("100"));
    EXPECT_TRUE(extra->Option1->isChecked());

    extra->Show();
    click(extra->Check1);
    EXPECT_EQ(scene().ExtraDelayAtOn, FlagOff);
    EXPECT_FALSE(extra->Text3->isEnabled());
}

TEST_F(ExtraTrigTest, OkHidesAndKeepsEverySetting)
{
    ExtraAnimProps &extra = form<ExtraAnimProps>();
    extra.Show();
    type(extra.Text1, QStringLiteral("40"));
    type(extra.Text4, QStringLiteral("9"));
    click(extra.Option2);
    click(extra.Option3);
    click(extra.Image2);
    EXPECT_FALSE(extra.Visible());
    EXPECT_TRUE(formExists<ExtraAnimProps>());
    EXPECT_EQ(form<ExtraAnimProps>().Text1->text(), QStringLiteral("40"));
    EXPECT_EQ(extra.Text4->text(), QStringLiteral("9"));
    // The two option groups are independent.
    EXPECT_TRUE(extra.Option2->isChecked());
    EXPECT_TRUE(extra.Option3->isChecked());
    EXPECT_FALSE(extra.Option1->isChecked());
    EXPECT_FALSE(extra.Option4->isChecked());

    TrigAnimProps &trigger = form<TrigAnimProps>();
    trigger.Show();
    type(trigger.Text5, QStringLiteral("60"));
    click(trigger.Option3);
    const SceneState before = scene();
    click(trigger.Image1);
    EXPECT_FALSE(trigger.Visible());
    EXPECT_EQ(trigger.Text5->text(), QStringLiteral("60"));
    // The trigger type is kept by its button and nowhere else.
    EXPECT_TRUE(trigger.Option3->isChecked());
    EXPECT_TRUE(scene().TriggerFrameSet.FrameCount.isUnset());
    EXPECT_EQ(scene().SceneHasTrigger, before.SceneHasTrigger);
}

TEST_F(ExtraTrigTest, TriggerDialogClosedFromItsWindowBoxStartsOver)
{
    TrigAnimProps *trigger = &form<TrigAnimProps>();
    trigger->Show();
    type(trigger->Text2, QStringLiteral("6"));
    type(trigger->Text5, QStringLiteral("60"));
    click(trigger->Option1);
    closeFromWindowBox(*trigger);
    trigger = &form<TrigAnimProps>();
    EXPECT_EQ(trigger->Text2->text(), QStringLiteral("1"));
    EXPECT_EQ(trigger->Text5->text(), QStringLiteral("100"));
    EXPECT_EQ(trigger->Label8->text(), QStringLiteral("1"));
    EXPECT_EQ(trigger->Label12->text(), QStringLiteral("0"));
    EXPECT_TRUE(trigger->Text6->text().isEmpty());
    for (QRadioButton *option : {trigger->Option1, trigger->Option2, trigger->Option3, trigger->Option4})
        EXPECT_FALSE(option->isChecked());
    // The set lives on in the shared state.
    EXPECT_EQ(scene().TriggerFrameSet.FrameCount.toText(), QStringLiteral("6"));
}

TEST_F(ExtraTrigTest, ExtraStartValuesPlacesAndNames)
{
    ExtraAnimProps &extra = form<ExtraAnimProps>();
    EXPECT_EQ(extra.Caption(), QStringLiteral("Extra Anim Properties"));
    EXPECT_EQ(extra.size(), QSize(450, 364));
    struct Box {
        QLineEdit *box;
        const char *name, *text, *label;
        QRect pixels;
    };
    const Box boxes[] = {
        {extra.Text2, "Text2", "1", "Frames", QRect(73, 55, 17, 19)},
        {extra.Text5, "Text5", "100", "Speed", QRect(64, 81, 25, 19)},
        {extra.Text1, "Text1", "100", "Random", QRect(81, 110, 25, 19)},
        {extra.Text4, "Text4", "3", "Delay", QRect(60, 138, 17, 19)},
        {extra.Text6, "Text6", "", "First frame", QRect(99, 300, 209, 20)},
    };
    for (const Box &b : boxes) {
        EXPECT_EQ(b.box->objectName(), QString::fromUtf8(b.name));
        EXPECT_EQ(b.box->text(), QString::fromUtf8(b.text)) << b.name;
        EXPECT_EQ(b.box->accessibleName(), QString::fromUtf8(b.label)) << b.name;
        EXPECT_EQ(b.box->geometry(), b.pixels) << b.name;
    }
    EXPECT_EQ(extra.Check1->accessibleName(), QStringLiteral("Delay At Frame:"));
    EXPECT_EQ(extra.Image1->accessibleName(), QStringLiteral("LOAD..."));
    EXPECT_EQ(extra.Image2->accessibleName(), QStringLiteral("OK"));
    EXPECT_EQ(extra.Image10->accessibleName(), QStringLiteral("?"));
    EXPECT_EQ(extra.Label8->text(), QStringLiteral("1"));
    EXPECT_EQ(extra.Label12->text(), QStringLiteral("0"));
    EXPECT_TRUE(extra.Label8->font().bold());
    EXPECT_EQ(extra.Label8->palette().color(QPalette::WindowText), QColor(64, 0, 64));
    EXPECT_TRUE(extra.Option1->isChecked());
    EXPECT_TRUE(extra.Option4->isChecked());
    EXPECT_EQ(extra.Option1->parentWidget(), extra.Frame2);
    EXPECT_EQ(extra.Option3->parentWidget(), extra.Frame1);
}
