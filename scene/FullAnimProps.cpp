#include "scene/FullAnimProps.h"

#include "core/scene/FrameSetFiles.h"
#include "core/scene/PickedFile.h"
#include "core/scene/SceneDocument.h"
#include "app/Help.h"
#include "platform/WindowServices.h"
#include "platform/Controls.h"
#include "scene/CountValidator.h"
#include "scene/DialogControls.h"
#include "scene/FramePicks.h"

#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

FullAnimProps::FullAnimProps()
{
    SetCaption(QStringLiteral("Full BG Anim Properties"));
    SetClientTwips(6750, 6435);

    makeText(this, QStringLiteral("Please Set Full BG Animation Options"), 120, 150, 6000, 420, true);

    SceneSettings::FullAnim &values = sceneDocument().dialogs().fullAnim;
    Text2 = makeTextBox(this, "Text2", QStringLiteral("Frames"), QString(), 1095, 825, 255, 285, 900);
    bindText(Text2, values.frames);
    acceptCountsOnly(Text2);
    Text5 = makeTextBox(this, "Text5", QStringLiteral("Speed"), QString(), 960, 1215, 375, 285, 780);
    bindText(Text5, values.speed);
    Text1 = makeTextBox(this, "Text1", QStringLiteral("Random"), QString(), 1215, 1650, 375, 285, 1000);
    bindText(Text1, values.random);
    Text4 = makeTextBox(this, "Text4", QStringLiteral("Delay"), QString(), 900, 2070, 255, 285, 720);
    bindText(Text4, values.delay);

    Option1 = makeOption(this, "Option1", QStringLiteral("Loop"), QStringLiteral("Loop"), 2820, 915, 195, 315, 1000);
    Option2 = makeOption(this, "Option2", QStringLiteral("Ping Pong"), QStringLiteral("Ping-Pong"), 2820, 1260, 195,
                         270, 1000);
    bindOption(Option1, values.loop);
    bindOption(Option2, values.pong);

    Check1 = makeCheckBox(this, "Check1", QStringLiteral("Pause Animation for Talking"),
                          QStringLiteral("Pause Animation for Talking?"), 2745, 1815, 195, 195, 2700);
    bindTicked(Check1, values.pauseForTalk);

    makeText(this, QStringLiteral("Delay at Start or End of Animation?"), 120, 2505, 3700, 285);
    Frame1 = makeOptionFrame(this, "Frame1", 1050, 2805, 270, 600);
    Option3 = makeOption(Frame1, "Option3", QStringLiteral("Start"), QStringLiteral("Start"), 0, 0, 270, 225, 0);
    Option4 = makeOption(Frame1, "Option4", QStringLiteral("End"), QStringLiteral("End"), 0, 360, 270, 225, 0);
    bindOption(Option3, values.delayAtStart);
    bindOption(Option4, values.delayAtEnd);
    makeText(this, QStringLiteral("Start"), 1380, 2805, 800, 225);
    makeText(this, QStringLiteral("End"), 1380, 3165, 800, 225);

    makeText(this, QStringLiteral("Talk at Start or End of Animation?"), 3100, 2190, 3500, 285);
    Frame2 = makeOptionFrame(this, "Frame2", 4980, 2550, 240, 570);
    Option5 = makeOption(Frame2, "Option5", QStringLiteral("Start"), QStringLiteral("Talk at Start"), 0, 0, 240, 225,
                         0);
    Option6 = makeOption(Frame2, "Option6", QStringLiteral("End"), QStringLiteral("Talk at End"), 0, 345, 240, 225, 0);
    bindOption(Option5, values.talkAtStart);
    bindOption(Option6, values.talkAtEnd);
    makeText(this, QStringLiteral("Start"), 5280, 2550, 800, 225);
    makeText(this, QStringLiteral("End"), 5280, 2895, 800, 225);

    Check2 = makeCheckBox(this, "Check2", QStringLiteral("Pause Animation for Talking"),
                          QStringLiteral("Randomize Speed"), 300, 3600, 195, 195, 1800);
    bindTicked(Check2, values.randomSpeed);
    Text6 = makeTextBox(this, "Text6", QStringLiteral("Probability Change"), QString(), 2460, 4005, 375, 285, 1900);
    bindText(Text6, values.speedChance);
    Text7 = makeTextBox(this, "Text7", QStringLiteral("Minimum Speed"), QString(), 5070, 3600, 375, 285, 1500);
    bindText(Text7, values.minSpeed);
    Text8 = makeTextBox(this, "Text8", QStringLiteral("Maximum Speed"), QString(), 5070, 4020, 375, 285, 1500);
    bindText(Text8, values.maxSpeed);

    makeText(this,
             QStringLiteral("Load the first frame of your Full BG Animation.\n"
                            "Use #### convention, ie: Picture-0001.bmp"),
             120, 4650, 5150, 700);
    Image1 = makeButton(this, "Image1", QStringLiteral("LOAD..."), 5400, 4650, 1215, 555);
    Text3 = makeNameBox(this, "Text3", QStringLiteral("First frame"), 1485, 5580, 3120, 270);
    bindText(Text3, sceneDocument().dialogs().fullAnimNameBox);
    Image2 = makeButton(this, "Image2", QStringLiteral("OK"), 5565, 5700, 1035, 525);
    Image3 = makeButton(this, "Image3", QStringLiteral("?"), 6345, 90, 345, 345);

    onCheckClick(Check1, this, &FullAnimProps::Check1_Click);
    // The talk options appear only while the pause box is ticked, also when
    // the document held a tick before the window came.
    Check1_Click();
    connect(Image1, &QPushButton::clicked, this, &FullAnimProps::Image1_Click);
    connect(Image2, &QPushButton::clicked, this, &FullAnimProps::Image2_Click);
    connect(Image3, &QPushButton::clicked, this, &FullAnimProps::Image3_Click);
}

FullAnimProps::~FullAnimProps()
{
    sceneDocument().restartFullAnimValues();
}

void FullAnimProps::Check1_Click()
{
    const int value = checkValue(Check1);
    if (value == 2)
        return;
    Option5->setVisible(value == 1);
    Option6->setVisible(value == 1);
}

void FullAnimProps::Image1_Click()
{
    const auto picked = choosePickedFile(cdl, imageFilter());
    if (!picked)
        return;
    // The export counts the series from frame 01 of base, with the picked extension.
    const auto series = parseWholeFrameName(picked->name);
    if (!series) {
        MsgBox(numberingMessage());
        return;
    }
    notePickedFile(*picked);
    Text3->setText(picked->name);
    sceneDocument().editState([&](SceneState &s) {
        s.FullAnimFirstFrameName = picked->name;
        s.FullAnimFrameSet.FrameFolder = picked->folder;
        s.FullAnimFrameSet.FrameBaseName = series->base;
        s.FullAnimFrameSet.FrameExt = series->ext;
    });
}

void FullAnimProps::Image2_Click()
{
    Hide();
}

void FullAnimProps::Image3_Click()
{
    OpenHelpPage(QStringLiteral("Docs\\FullAnim.html"));
}
