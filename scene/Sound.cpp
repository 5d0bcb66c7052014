#include "scene/Sound.h"

#include "app/Help.h"
#include "core/scene/SceneDocument.h"
#include "core/base/Files.h"
#include "platform/WindowServices.h"
#include "scene/DialogControls.h"
#include "core/scene/PickedFile.h"
#include "scene/FramePicks.h"
#include "scene/SaveScene.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

Sound::Sound()
{
    SetCaption(QStringLiteral("Sound FX"));
    SetClientTwips(6630, 6675);

    makeText(this, QStringLiteral("Please Set Sound Options"), 120, 150, 4800, 420, true);
    makeText(this, QStringLiteral("(Just hit OK if no Sound FX.)"), 120, 600, 4800, 285);
    makeText(this, QStringLiteral("All sounds must be in Sounds folder. Hit OK when you're done."), 120, 1500, 6300,
             285);
    Image4 = makeButton(this, "Image4", QStringLiteral("OK"), 5340, 1020, 960, 495);

    makeText(this, QStringLiteral("SOUND ONE"), 120, 1935, 1650, 495);
    Image1 = makeButton(this, "Image1", QStringLiteral("LOAD..."), 1830, 1935, 1275, 495);
    Image1->setAccessibleDescription(QStringLiteral("Sound one"));
    SceneSettings::Sounds &values = sceneDocument().dialogs().sounds;
    Text4 = makeNameBox(this, "Text4", QStringLiteral("Sound one file"), 3345, 2010, 3120, 270);
    bindText(Text4, values.sound1);
    Text5 = makeTextBox(this, "Text5", QStringLiteral("Random Probability"), QString(), 2385, 2775, 375, 285, 2200);
    bindText(Text5, values.sound1Chance);
    Check1 = makeCheckBox(this, "Check1", QString(), QStringLiteral("Loop?"), 3405, 2835, 195, 195, 800);
    bindTicked(Check1, values.sound1Loop);
    Image5 = makeButton(this, "Image5", QStringLiteral("?"), 5835, 2685, 330, 360);
    Check2 = makeCheckBox(this, "Check2", QString(), QStringLiteral("Stop Sound when Main Character Talks?"), 135,
                          3375, 195, 195, 3700);
    bindTicked(Check2, values.sound1PauseForTalk);
    // Too long for one line beside the pause box's label: two lines.
    Text1 = makeNameBox(this, "Text1", QStringLiteral("Loop Delay in Seconds"), 5985, 3315, 375, 285);
    bindText(Text1, values.sound1LoopDelay);
    makeText(this, QStringLiteral("Loop Delay in Seconds"), 4500, 3195, 1425, 525)->setBuddy(Text1);

    makeText(this, QStringLiteral("SOUND TWO"), 120, 4200, 1700, 495);
    Image2 = makeButton(this, "Image2", QStringLiteral("LOAD..."), 1890, 4200, 1215, 495);
    Image2->setAccessibleDescription(QStringLiteral("Sound two"));
    Text6 = makeNameBox(this, "Text6", QStringLiteral("Sound two file"), 3330, 4290, 3120, 270);
    bindText(Text6, values.sound2);
    Text2 = makeTextBox(this, "Text2", QStringLiteral("Random Probability"), QString(), 2460, 4965, 375, 285, 2200);
    bindText(Text2, values.sound2Chance);

    makeText(this, QStringLiteral("SOUND THREE"), 120, 5550, 1815, 495);
    Image3 = makeButton(this, "Image3", QStringLiteral("LOAD..."), 1995, 5550, 1215, 495);
    Image3->setAccessibleDescription(QStringLiteral("Sound three"));
    Text7 = makeNameBox(this, "Text7", QStringLiteral("Sound three file"), 3345, 5640, 3120, 270);
    bindText(Text7, values.sound3);
    Text3 = makeTextBox(this, "Text3", QStringLiteral("Random Probability"), QString(), 2430, 6240, 375, 285, 2200);
    bindText(Text3, values.sound3Chance);

    connect(Image1, &QPushButton::clicked, this, &Sound::Image1_Click);
    connect(Image2, &QPushButton::clicked, this, &Sound::Image2_Click);
    connect(Image3, &QPushButton::clicked, this, &Sound::Image3_Click);
    connect(Image4, &QPushButton::clicked, this, &Sound::Image4_Click);
    connect(Image5, &QPushButton::clicked, this, &Sound::Image5_Click);
}

Sound::~Sound()
{
    sceneDocument().restartSoundValues();
}

void Sound::pickSound(QLineEdit *box)
{
    const auto picked = choosePickedFile(cdl, QStringLiteral("Sound Files (*.wav)|*.wav"), QStringLiteral("Sounds/"));
    if (!picked)
        return;
    // The scene names its sounds by file name alone, in the Sounds folder itself.
    const QString sounds = scene().WorkFolder.toText() + QStringLiteral("Sounds/");
    if (!liesDirectlyIn(picked->path, sounds)) {
        MsgBox(QStringLiteral("Sound must be in the Sounds folder: ") + QDir::toNativeSeparators(sounds));
        return;
    }
    notePickedFile(*picked);
    box->setText(picked->name);
}

void Sound::Image1_Click() { pickSound(Text4); }
void Sound::Image2_Click() { pickSound(Text6); }
void Sound::Image3_Click() { pickSound(Text7); }

void Sound::Image4_Click()
{
    Hide();
    form<SaveScene>().Show();
}

void Sound::Image5_Click()
{
    OpenHelpPage(QStringLiteral("Docs\\Sound.html"));
}
