#include "scene/ChildAnimProps.h"

#include "core/base/Files.h"
#include "core/scene/FrameSetFiles.h"
#include "core/scene/PickedFile.h"
#include "core/scene/SceneDocument.h"
#include "app/Help.h"
#include "platform/WindowServices.h"
#include "platform/Controls.h"
#include "scene/ChildAnimLoad.h"
#include "scene/CountValidator.h"
#include "scene/DialogControls.h"
#include "scene/FramePicks.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {
QString chooseMessage() { return QStringLiteral("Please select AUTOMATIC CROP or PRELOADFRAMES"); }
}

ChildAnimProps::ChildAnimProps()
{
    SetCaption(QStringLiteral("Child Animation Properties"));
    SetClientTwips(6750, 5460);

    makeText(this, QStringLiteral("Please Set Child Animation Options"), 120, 150, 6000, 420, true);

    SceneSettings::Child &values = sceneDocument().dialogs().child;
    Text2 = makeTextBox(this, "Text2", QStringLiteral("Frames"), QString(), 1080, 810, 255, 285, 900);
    bindText(Text2, values.frames);
    acceptCountsOnly(Text2);
    Text1 = makeTextBox(this, "Text1", QStringLiteral("Random"), QString(), 1215, 1260, 375, 285, 1000);
    bindText(Text1, values.random);

    makeText(this, QStringLiteral("Will fire at Start or End of Extra Animation?"), 2100, 780, 4500, 300);
    Option1 = makeOption(this, "Option1", QStringLiteral("Start"), QStringLiteral("Start"), 3360, 1125, 225, 195, 900);
    Option2 = makeOption(this, "Option2", QStringLiteral("End"), QStringLiteral("End"), 3360, 1440, 240, 225, 900);
    bindOption(Option1, values.atStart);
    bindOption(Option2, values.atEnd);

    Check2 = makeCheckBox(this, "Check2", QStringLiteral("AUTOMATICALLY CROP "),
                          QStringLiteral("Automatically Crop along with Extra Anim?"), 285, 1920, 210, 240, 4400);
    Image1 = makeButton(this, "Image1", QStringLiteral("LOAD..."), 4785, 2250, 1290, 585);
    Image1->setAccessibleDescription(QStringLiteral("Opens the Automatic Cropper Loader"));

    Check1 = makeCheckBox(this, "Check1", QStringLiteral("PRELOAD FRAMES"), QStringLiteral("Use preloaded images."),
                          270, 3075, 225, 240, 4400);
    makeText(this,
             QStringLiteral("Load the first frame of your Extra Animation.\n"
                            "Use #### convention, ie: Picture-0001.bmp"),
             285, 3450, 4900, 650);
    Image2 = makeButton(this, "Image2", QStringLiteral("LOAD..."), 5310, 3615, 1380, 570);
    Image2->setAccessibleDescription(QStringLiteral("Picks the first preloaded frame"));
    Text3 = makeNameBox(this, "Text3", QStringLiteral("Preloaded first frame"), 1365, 4170, 3165, 330);
    bindText(Text3, sceneDocument().dialogs().childBoxes.preloadBox);

    Image3 = makeButton(this, "Image3", QStringLiteral("OK"), 5610, 4695, 1110, 690);
    Image4 = makeButton(this, "Image4", QStringLiteral("?"), 6330, 105, 330, 345);

    showFrameSource();
    connect(&sceneDocument(), &SceneDocument::changed, this, &ChildAnimProps::showFrameSource);
    onCheckClick(Check1, this, &ChildAnimProps::Check1_Click);
    onCheckClick(Check2, this, &ChildAnimProps::Check2_Click);
    connect(Image1, &QPushButton::clicked, this, &ChildAnimProps::Image1_Click);
    connect(Image2, &QPushButton::clicked, this, &ChildAnimProps::Image2_Click);
    connect(Image3, &QPushButton::clicked, this, &ChildAnimProps::Image3_Click);
    connect(Image4, &QPushButton::clicked, this, &ChildAnimProps::Image4_Click);
}

ChildAnimProps::~ChildAnimProps()
{
    // The window that goes shows nothing more.
    disconnect(&sceneDocument(), nullptr, this, nullptr);
    sceneDocument().restartChildValues();
}

void ChildAnimProps::Form_Unload(bool &cancel)
{
    if (sceneDocument().dialogs().childBoxes.source == ChildFrameSource::Unchosen) {
        MsgBox(chooseMessage());
        cancel = true;
    }
}

void ChildAnimProps::showFrameSource()
{
    const ChildDialogBoxes &boxes = sceneDocument().dialogs().childBoxes;
    const bool preloaded = boxes.source == ChildFrameSource::Preloaded;
    const bool autoCrop = boxes.source == ChildFrameSource::AutoCrop;
    // Showing the choice is no click.
    const QSignalBlocker preload(Check1), crop(Check2);
    if ((checkValue(Check1) == 1) != preloaded)
        setCheckValue(Check1, preloaded ? 1 : 0);
    if ((checkValue(Check2) == 1) != autoCrop)
        setCheckValue(Check2, autoCrop ? 1 : 0);
    Text3->setEnabled(preloaded);
    Check2->setEnabled(boxes.autoCropOffered);
}

// The two boxes act as a pair: a click on either chooses one source, which
// the pair then shows, so after any click exactly one is ticked.
void ChildAnimProps::Check1_Click()
{
    switch (checkValue(Check1)) {
    case 1: sceneDocument().chooseChildFrames(ChildFrameSource::Preloaded); break;
    case 0: chooseAutoCrop(); break;
    default: break;
    }
}

void ChildAnimProps::Check2_Click()
{
    switch (checkValue(Check2)) {
    case 1: chooseAutoCrop(); break;
    case 0: sceneDocument().chooseChildFrames(ChildFrameSource::Preloaded); break;
    default: break;
    }
}

void ChildAnimProps::chooseAutoCrop()
{
    sceneDocument().chooseChildFrames(ChildFrameSource::AutoCrop);
    form<ChildAnimLoad>().Show();
}

void ChildAnimProps::Image1_Click()
{
    form<ChildAnimLoad>().Show();
}

void ChildAnimProps::Image2_Click()
{
    const auto picked = choosePickedFile(cdl, imageFilter());
    if (!picked)
        return;
    // The preview finds preloaded frames by name in the Images folder itself.
    if (!liesDirectlyIn(picked->path, sceneDocument().state().WorkFolder.toText() + QStringLiteral("Images"))) {
        MsgBox(QStringLiteral("Child Animation Images must reside in the Images directory of Dollvane. Please fix "
                              "and try again."));
        Text3->setText(QStringLiteral("Please put Child Anim Images in Images directory of Dollvane."));
        return;
    }
    if (!picked->name.contains(QStringLiteral("01"))) {
        MsgBox(QStringLiteral("The name of this image does not fit convention or is not the first frame of the "
                              "animation."));
        Text3->setText(QStringLiteral("Error! Please load 1st frame."));
        return;
    }
    notePickedFile(*picked);
    sceneDocument().editState([&](SceneState &s) { s.ChildPreloadName = picked->name; });
    Text3->setText(picked->name);
}

void ChildAnimProps::Image3_Click()
{
    if (sceneDocument().dialogs().childBoxes.source != ChildFrameSource::Unchosen)
        Hide();
    else
        MsgBox(chooseMessage());
}

void ChildAnimProps::Image4_Click()
{
    OpenHelpPage(QStringLiteral("Docs\\ChildAnim.html"));
}
