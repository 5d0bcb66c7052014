#include "legacy/LegacySceneCommands.h"

#include "app/Form1.h"
#include "core/legacy/LegacySceneDocument.h"
#include "core/scene/PickedFile.h"
#include "core/scene/SceneChecks.h"
#include "core/scene/SceneDocument.h"
#include "platform/WindowServices.h"

void SaveLegacyScene(Form1 &editor)
{
    CommonDialog &cdl = editor.cdl;
    const QString work = setWorkFolderFromBase();
    cdl.InitDir = work + QStringLiteral("Scenes");
    cdl.FileName.clear();
    cdl.Filter = QStringLiteral("Scn Files (*.scn)|*.scn");
    cdl.CancelError = false;
    cdl.ShowSave();

    // The text is built afresh also when nothing is written.
    SceneDocument &document = sceneDocument();
    const QList<SceneEntry> entries = legacySceneEntries(legacySceneInput(document));
    const QString text = sceneText(entries);
    document.editState([&text](SceneState &s) { s.SceneText = text; });
    if (cdl.FileName.isEmpty())
        return;
    if (const Result<> checked = checkSceneFields(entries); !checked) {
        MsgBox(checked.error);
        return;
    }
    if (const FileResult written = writeFileAtomically(cdl.FileName, sceneFileBytes(text)); !written)
        MsgBox(QStringLiteral("The scene was not saved. %1").arg(written.error));
}
