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

// A failure that the save undid: the message names the file, and the base
// folder is as it was.
void reportNotSaved(const QString &error)
{
    MsgBox(error + QStringLiteral("\n\nThe scene has not been saved. Please fix this and save again."));
}

// A failure that could not all be undone: the message names the files left.
void reportFailedStep(const QString &error)
{
    MsgBox(error + QStringLiteral("\n\nThe scene has not been saved completely. Please fix this and save again."));
}

QString replaceQuestion(const QString &existing)
{
    return QStringLiteral("A scene named \"%1\" already exists. Do you want to replace it with this scene?")
        .arg(existing);
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
    // A scene of that name is replaced only when the user says so; it keeps
    // the name as its file spells it.
    const QString existing = existingSceneName(scene().BaseFolder, name);
    if (!existing.isEmpty() &&
        MsgBox(replaceQuestion(existing), MsgButtons::YesNo, programTitle(), MsgIcon::Exclamation) != MsgResult::Yes)
        return;
    const auto saved = saveScene(sceneDocument(), existing.isEmpty() ? name : existing, scene().BaseFolder);
    // The full-background group reports its own failure once; the save goes
    // on, but is then not announced as done.
    if (saved ? saved.value.fullAnimFailed : saved.error.fullAnimFailed)
        MsgBox(fullAnimMessage());
    if (!saved) {
        switch (saved.error.stage) {
        case SceneSaveFailure::Refused: MsgBox(saved.error.reason); break;
        case SceneSaveFailure::NotSaved: reportNotSaved(saved.error.reason); break;
        case SceneSaveFailure::Stopped: reportFailedStep(saved.error.reason); break;
        }
        return;
    }
    if (saved.value.fullAnimFailed)
        return;
    MsgBox(QStringLiteral("Your Scene has been saved."));
    Hide();
}

void ClearSceneName()
{
    if (formExists<SaveScene>())
        form<SaveScene>().Text1->clear();
}
