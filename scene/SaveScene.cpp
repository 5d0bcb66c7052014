#include "scene/SaveScene.h"

#include "app/Wizard1.h"
#include "core/scene/SceneDocument.h"
#include "core/scene/SceneSave.h"
#include "platform/WindowServices.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString fullAnimMessage()
{
    return QStringLiteral("There has been en error saving Full BG Animation. Please check all your settings.");
}

// A failed step after something was written: the message names the file and
// says that the save is not complete.
void reportFailedStep(const QString &error)
{
    MsgBox(error + QStringLiteral("\n\nThe scene has not been saved completely. Please fix this and save again."));
}

} // namespace

SaveScene::SaveScene()
{
    SetCaption(QStringLiteral("Save Scene"));
    SetClientTwips(4770, 2415);

    auto *heading = new QLabel(QStringLiteral("Please Choose a Name for your Scene"), this);
    QFont f = heading->font();
    f.setBold(true);
    heading->setFont(f);
    heading->setAlignment(Qt::AlignCenter);
    placeTwips(heading, 240, 300, 4290, 480);

    Text1 = new QLineEdit(this);
    nameControl(Text1, QStringLiteral("Text1"), QStringLiteral("Please Choose a Name for your Scene"));
    placeTwips(Text1, 795, 930, 3210, 480);

    Image1 = new QPushButton(QStringLiteral("OK"), this);
    nameControl(Image1, QStringLiteral("Image1"), QStringLiteral("OK"));
    placeTwips(Image1, 3540, 1635, 1080, 600);

    connect(Image1, &QPushButton::clicked, this, &SaveScene::Image1_Click);
}

void SaveScene::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    ResetSceneWizard();
}

void SaveScene::Image1_Click()
{
    const QString name = Text1->text();
    if (name.isEmpty()) {
        MsgBox(QStringLiteral("Plese give your Scene a name."));
        return;
    }
    const auto saved = saveScene(sceneDocument(), name, scene().BaseFolder);
    // The full-background group reports its own failure once; the save goes
    // on, but is then not announced as done.
    if (saved ? saved.value.fullAnimFailed : saved.error.fullAnimFailed)
        MsgBox(fullAnimMessage());
    if (!saved) {
        if (saved.error.stage == SceneSaveFailure::Refused)
            MsgBox(saved.error.reason);
        else
            reportFailedStep(saved.error.reason);
        return;
    }
    if (saved.value.fullAnimFailed)
        return;
    MsgBox(QStringLiteral("Your Scene has been saved."));
    Hide();
}
