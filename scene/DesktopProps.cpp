#include "scene/DesktopProps.h"

#include "core/base/Files.h"
#include "core/scene/FrameSetFiles.h"
#include "core/scene/PickedFile.h"
#include "core/scene/SceneDocument.h"
#include "core/scene/SceneState.h"
#include "platform/WindowServices.h"
#include "designers/frmFormDesignE.h"
#include "scene/DialogControls.h"
#include "scene/FramePicks.h"

#include <QLineEdit>
#include <QPushButton>

DesktopProps::DesktopProps()
{
    SetCaption(QStringLiteral("Form3"));
    SetClientTwips(5925, 4770);

    Text1 = makeNameBox(this, "Text1", QStringLiteral("Alpha background picture"), 225, 255, 3675, 495);
    Text1->setText(QStringLiteral("Text1"));
    Command1 = makeButton(this, "Command1", QStringLiteral("Load Alpha Background"), 4140, 270, 1215, 495);
    Command2 = makeButton(this, "Command2", QStringLiteral("Command2"), 2355, 2145, 1215, 495);
    Command2->setAccessibleDescription(QStringLiteral("Cuts the alpha background"));

    connect(Command1, &QPushButton::clicked, this, &DesktopProps::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &DesktopProps::Command2_Click);
}

void DesktopProps::Command1_Click()
{
    // A cancel keeps the picture chosen before.
    const auto picked = choosePickedFile(cdl, imageFilter());
    if (!picked)
        return;
    sceneDocument().editState([&picked](SceneState &s) {
        s.AlphaBackgroundPath = picked->path;
        notePickedFile(s, *picked);
    });
    Text1->setText(picked->name);
}

void DesktopProps::Command2_Click()
{
    const SceneState &s = scene();
    if (s.ExtraHasAlpha != FlagOn || s.SceneIsDesktop != FlagOn)
        return;
    // The box names the output file: a name that reaches into another folder is refused.
    const QString name = Text1->text();
    if (name.contains(u'/') || name.contains(u'\\')) {
        MsgBox(QStringLiteral("The alpha background name %1 must be a plain file name.").arg(name));
        return;
    }
    // A fixed area of the picture's own pixels, cut in the extra designer's workspace.
    ImageWorkspace &work = form<frmFormDesignE>().Xpress1;
    Result<> done = work.LoadImageFile(s.AlphaBackgroundPath);
    if (done)
        done = work.CropImageArea(242, 284, 380, 617);
    work.SaveImageFileName(
        joinPath(s.WorkFolder.toText(), QStringLiteral("Images/") + name + QStringLiteral("AlphaBG.jpg")));
    if (done)
        done = work.SaveImageFile();
    if (!done)
        MsgBox(done.error);
}
