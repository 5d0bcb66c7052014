#include "scene/TrigAnimProps.h"

#include "core/scene/FrameSetFiles.h"
#include "core/scene/SceneDocument.h"
#include "core/scene/SceneState.h"
#include "app/Help.h"
#include "scene/CountValidator.h"
#include "scene/DialogControls.h"
#include "scene/FramePicks.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

TrigAnimProps::TrigAnimProps()
{
    SetCaption(QStringLiteral("Trigger Anim Properties"));
    SetClientTwips(6000, 3780);

    makeText(this, QStringLiteral("Please Set Trigger Animation Options"), 120, 150, 5200, 420, true);

    SceneSettings::Trigger &values = sceneDocument().dialogs().trigger;
    Text2 = makeTextBox(this, "Text2", QStringLiteral("Frames"), QString(), 1110, 720, 255, 285, 900);
    bindText(Text2, values.frames);
    acceptCountsOnly(Text2);
    Text5 = makeTextBox(this, "Text5", QStringLiteral("Speed"), QString(), 1050, 1125, 375, 285, 850);
    bindText(Text5, values.speed);

    Option1 = makeOption(this, "Option1", QString(), QStringLiteral("Love"), 150, 1620, 195, 195, 900);
    Option2 = makeOption(this, "Option2", QString(), QStringLiteral("Ego"), 150, 2010, 195, 195, 900);
    Option3 = makeOption(this, "Option3", QString(), QStringLiteral("Libido"), 165, 2340, 195, 195, 900);
    Option4 = makeOption(this, "Option4", QString(), QStringLiteral("User"), 165, 2730, 195, 195, 900);

    makeText(this,
             QStringLiteral("Please load the first frome of your Trigger Animation. Use #### convention. "
                            "ie: TrigAnim-0001.bmp"),
             2175, 720, 3600, 1000);
    Image2 = makeButton(this, "Image2", QStringLiteral("LOAD..."), 3045, 1875, 1320, 570);
    Text6 = makeNameBox(this, "Text6", QStringLiteral("First frame"), 2175, 2565, 3135, 300);

    makeText(this, QStringLiteral("First Frame:"), 240, 3300, 1290, 270)->setAlignment(Qt::AlignRight);
    Label8 = makeNumberLabel(this, "Label8", QStringLiteral("1"), QStringLiteral("First Frame:"),
                             1590, 3300, 495, 270);
    makeText(this, QStringLiteral("Last Frame:"), 2150, 3300, 1135, 270)->setAlignment(Qt::AlignRight);
    // Wide enough for any last frame; nothing lies to its right.
    Label12 = makeNumberLabel(this, "Label12", QStringLiteral("0"), QStringLiteral("Last Frame:"),
                              3345, 3300, 1200, 270);

    Image1 = makeButton(this, "Image1", QStringLiteral("OK"), 4740, 3015, 1035, 600);
    Image3 = makeButton(this, "Image3", QStringLiteral("?"), 5475, 135, 300, 345);

    connect(Text2, &QLineEdit::textChanged, this, &TrigAnimProps::Text2_Change);
    connect(Image2, &QPushButton::clicked, this, &TrigAnimProps::Image2_Click);
    connect(Image1, &QPushButton::clicked, this, &TrigAnimProps::Image1_Click);
    connect(Image3, &QPushButton::clicked, this, &TrigAnimProps::Image3_Click);
}

TrigAnimProps::~TrigAnimProps()
{
    sceneDocument().restartTriggerValues();
}

bool TrigAnimProps::FileExists(const QString &path) const
{
    return frameFileExists(path);
}

void TrigAnimProps::Text2_Change()
{
    // The document keeps the count (SceneDocument); the label follows the box
    // while the window is shown.
    if (!Visible())
        return;
    if (const auto last = lastFrameLabel(Text2->text(), Label8->text()))
        Label12->setText(*last);
}

void TrigAnimProps::Image2_Click()
{
    const auto pick = pickFrameSet(cdl, Text2->text(), 2);
    if (!pick)
        return;
    sceneDocument().editState([&](SceneState &s) { recordFrameSet(s.TriggerFrameSet, *pick); });
    showFrameSetPick(*pick, Text6, Label8, pick->series.digits, Label12, Text6);
}

void TrigAnimProps::Image1_Click()
{
    Hide();
}

void TrigAnimProps::Image3_Click()
{
    OpenHelpPage(QStringLiteral("Docs\\TriggerAnim.html"));
}
