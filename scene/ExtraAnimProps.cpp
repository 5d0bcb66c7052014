#include "scene/ExtraAnimProps.h"

#include "core/scene/FrameSetFiles.h"
#include "core/scene/SceneDocument.h"
#include "core/scene/SceneState.h"
#include "app/Help.h"
#include "platform/Controls.h"
#include "scene/CountValidator.h"
#include "scene/DialogControls.h"
#include "scene/FramePicks.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

ExtraAnimProps::ExtraAnimProps()
{
    SetCaption(QStringLiteral("Extra Anim Properties"));
    SetClientTwips(6750, 5460);

    makeText(this, QStringLiteral("Please Set Extra Animation Options"), 120, 150, 6000, 420, true);

    SceneSettings::Extra &values = sceneDocument().dialogs().extra;
    Text2 = makeTextBox(this, "Text2", QStringLiteral("Frames"), QString(), 1095, 825, 255, 285, 900);
    bindText(Text2, values.frames);
    acceptCountsOnly(Text2);
    Text5 = makeTextBox(this, "Text5", QStringLiteral("Speed"), QString(), 960, 1215, 375, 285, 780);
    bindText(Text5, values.speed);
    Text1 = makeTextBox(this, "Text1", QStringLiteral("Random"), QString(), 1215, 1650, 375, 285, 1000);
    bindText(Text1, values.random);
    Text4 = makeTextBox(this, "Text4", QStringLiteral("Delay"), QString(), 900, 2075, 255, 285, 720);
    bindText(Text4, values.delay);

    Check1 = makeCheckBox(this, "Check1", QString(), QStringLiteral("Delay At Frame:"), 3705, 900, 210, 225, 1785);
    Text3 = makeNameBox(this, "Text3", QStringLiteral("Delay at frame number"), 5820, 885, 330, 270);
    bindText(Text3, values.delayFrame);
    Text3->setEnabled(false);
    acceptCountsOnly(Text3);

    Frame2 = makeOptionFrame(this, "Frame2", 2745, 915, 210, 585);
    Option1 = makeOption(Frame2, "Option1", QStringLiteral("Loop"), QStringLiteral("Loop"), 0, 0, 210, 225, 0);
    Option2 = makeOption(Frame2, "Option2", QStringLiteral("Ping Pong"), QStringLiteral("Ping-Pong"), 0, 360, 210,
                         225, 0);
    bindOption(Option1, values.loop);
    bindOption(Option2, values.pong);
    makeText(this, QStringLiteral("Loop"), 1500, 915, 1185, 225)->setAlignment(Qt::AlignRight);
    makeText(this, QStringLiteral("Ping-Pong"), 1500, 1275, 1185, 225)->setAlignment(Qt::AlignRight);

    makeText(this, QStringLiteral("Delay at Start or End of Animation?"), 1800, 2280, 4500, 300);
    Frame1 = makeOptionFrame(this, "Frame1", 3390, 2625, 210, 615);
    Option3 = makeOption(Frame1, "Option3", QStringLiteral("Start"), QStringLiteral("Start"), 0, 0, 210, 225, 0);
    Option4 = makeOption(Frame1, "Option4", QStringLiteral("End"), QStringLiteral("End"), 0, 390, 210, 225, 0);
    bindOption(Option3, values.delayAtStart);
    bindOption(Option4, values.delayAtEnd);
    makeText(this, QStringLiteral("Start"), 3660, 2625, 900, 225);
    makeText(this, QStringLiteral("End"), 3660, 3015, 900, 225);

    makeText(this,
             QStringLiteral("Load the first frame of your Extra Animation.\n"
                            "Use #### convention, ie: Picture-0001.bmp"),
             120, 3255, 5150, 540);
    Image1 = makeButton(this, "Image1", QStringLiteral("LOAD..."), 5370, 3600, 1320, 615);
    Command1 = makeButton(this, "Command1", QStringLiteral("Load Alphas"), 3465, 3660, 1215, 495);
    Command1->setVisible(false); // the alpha frames are not offered
    Text7 = makeNameBox(this, "Text7", QStringLiteral("First alpha frame"), 120, 3810, 3135, 300);
    Text6 = makeNameBox(this, "Text6", QStringLiteral("First frame"), 1485, 4500, 3135, 300);

    makeText(this, QStringLiteral("First Frame:"), 120, 5025, 1350, 270)->setAlignment(Qt::AlignRight);
    Label8 = makeNumberLabel(this, "Label8", QStringLiteral("1"), QStringLiteral("First Frame:"),
                             1530, 5025, 495, 270);
    makeText(this, QStringLiteral("Last Frame:"), 2100, 5025, 1275, 270)->setAlignment(Qt::AlignRight);
    // Wide enough for any last frame; nothing lies to its right.
    Label12 = makeNumberLabel(this, "Label12", QStringLiteral("0"), QStringLiteral("Last Frame:"),
                              3435, 5025, 1200, 270);

    Image2 = makeButton(this, "Image2", QStringLiteral("OK"), 5595, 4560, 990, 615);
    Image10 = makeButton(this, "Image10", QStringLiteral("?"), 6360, 120, 330, 300);

    onCheckClick(Check1, this, &ExtraAnimProps::Check1_Click);
    // The delay-at-frame choice outlives the window; the box shows it from the start.
    bindFlag(Check1, &SceneState::ExtraDelayAtOn);
    connect(Text2, &QLineEdit::textChanged, this, &ExtraAnimProps::Text2_Change);
    connect(Image1, &QPushButton::clicked, this, &ExtraAnimProps::Image1_Click);
    connect(Command1, &QPushButton::clicked, this, &ExtraAnimProps::Command1_Click);
    connect(Image2, &QPushButton::clicked, this, &ExtraAnimProps::Image2_Click);
    connect(Image10, &QPushButton::clicked, this, &ExtraAnimProps::Image10_Click);
}

ExtraAnimProps::~ExtraAnimProps()
{
    sceneDocument().restartExtraValues();
}

bool ExtraAnimProps::FileExists(const QString &path) const
{
    return frameFileExists(path);
}

void ExtraAnimProps::Check1_Click()
{
    const int value = checkValue(Check1);
    if (value != 2)
        Text3->setEnabled(value == 1);
}

void ExtraAnimProps::Text2_Change()
{
    // The document keeps the count (SceneDocument); the label follows the box.
    if (const auto last = lastFrameLabel(Text2->text(), Label8->text()))
        Label12->setText(*last);
}

void ExtraAnimProps::Image1_Click()
{
    const auto pick = pickFrameSet(cdl, Text2->text(), 2);
    if (!pick)
        return;
    sceneDocument().editState([&](SceneState &s) { recordFrameSet(s.ExtraFrameSet, *pick); });
    showFrameSetPick(*pick, Text6, Label8, pick->series.digits, Label12, Text6);
}

void ExtraAnimProps::Command1_Click()
{
    // Set first: a load that stops on the way still counts as alpha frames asked for.
    sceneDocument().editState([](SceneState &s) { s.ExtraHasAlpha = FlagOn; });
    const auto pick = pickFrameSet(cdl, Text2->text(), 2);
    if (!pick)
        return;
    // The alpha series has names of its own and the extra series' numbers.
    sceneDocument().editState([&](SceneState &s) {
        recordFrameNames(s.AlphaFrameSet, *pick);
        recordFrameNumbers(s.ExtraFrameSet, *pick, true);
    });
    showFrameSetPick(*pick, Text7, Label8, pick->series.digits, Label12, Text6);
}

void ExtraAnimProps::Image2_Click()
{
    Hide();
}

void ExtraAnimProps::Image10_Click()
{
    OpenHelpPage(QStringLiteral("Docs\\ExtraAnim.html"));
}
