#include "legacy/LegacySceneCommands.h"

#include "app/Form1.h"
#include "app/Form2.h"
#include "core/legacy/LegacySceneWriter.h"
#include "core/scene/PickedFile.h"
#include "core/scene/SceneChecks.h"
#include "platform/WindowServices.h"
#include "platform/PictureBox.h"
#include "core/scene/SceneDocument.h"

LegacySceneInput legacySceneInputFromWindows()
{
    const SceneState &s = scene();
    LegacySceneInput in;
    in.twips = form<Form2>().picBackground->ScaleMode() == 1;
    in.hasMainBlink = isFlagSet(s.SceneHasMainBlink);
    in.hasUser = isFlagSet(s.SceneHasUser);
    in.hasUserBlink = isFlagSet(s.SceneHasUserBlink); // on its own in this layout
    in.hasExtraAnim = isFlagSet(s.SceneHasExtraAnim);
    in.hasChildAnim = isFlagSet(s.SceneHasChildAnim);
    in.hasFullAnim = isFlagSet(s.SceneHasFullAnim);
    in.hasAltImage = isFlagSet(s.SceneHasAltImage);
    in.extraDelayAt = isFlagSet(s.ExtraDelayAtOn);

    in.backgroundName = s.BackgroundFileName;
    in.mainMouthName = s.MainMouthFileName;
    in.mainBlinkName = s.MainBlinkFileName;
    in.userMouthName = s.UserMouthFileName;
    in.userBlinkName = s.UserBlinkFileName;
    in.extraName = s.ExtraFileName;
    const auto &p = s.LayerPlacements;
    in.mainMouth = p[LayerMainMouth];
    in.mainBlink = p[LayerMainBlink];
    in.userMouth = p[LayerUserMouth];
    in.userBlink = p[LayerUserBlink];
    in.extra = p[LayerExtraAnim];

    // The dialogs' boxes as the set-up's writer reads them; each dialog only
    // when its group is written.
    const SceneSettings boxes = sceneSettings(sceneDocument(), QString());
    in.extraAnim = boxes.extraAnim;
    in.childAnim = boxes.childAnim;
    in.fullAnim = boxes.fullAnim;
    in.fullAnimFirstFrameName = s.FullAnimFirstFrameName;
    in.altImageName = s.AltImageName;
    in.sounds = s.Sounds;
    return in;
}

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
    const QList<SceneEntry> entries = legacySceneEntries(legacySceneInputFromWindows());
    const QString text = sceneText(entries);
    scene().SceneText = text;
    if (cdl.FileName.isEmpty())
        return;
    if (const Result<> checked = checkSceneFields(entries); !checked) {
        MsgBox(checked.error);
        return;
    }
    if (const FileResult written = writeFileAtomically(cdl.FileName, sceneFileBytes(text)); !written)
        MsgBox(QStringLiteral("The scene was not saved. %1").arg(written.error));
}
