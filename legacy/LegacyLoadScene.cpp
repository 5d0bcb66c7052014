#include "legacy/LegacySceneCommands.h"

#include "app/Form1.h"
#include "app/Form2.h"
#include "core/base/NameList.h"
#include "core/base/Text1252.h"
#include "core/legacy/LegacySceneDocument.h"
#include "core/scene/PickedFile.h"
#include "core/scene/SceneDocument.h"
#include "platform/Controls.h"
#include "platform/PictureBox.h"
#include "platform/WindowServices.h"

#include <QCheckBox>
#include <QDir>
#include <QRadioButton>

namespace {

class Loader {
public:
    Loader() : s(sceneDocument().state()), editor(form<Form1>()), canvas(form<Form2>()) {}

    // A layer group: its editor box ticked and its picture.
    void layer(const std::optional<LegacyLayer> &group, CanvasLayer layer, QCheckBox *box)
    {
        if (!group)
            return;
        if (box)
            setCheckValue(box, 1);
        picture(*canvas.LayerStore(layer), group->name);
    }

    void picture(PictureBox &store, const QString &name)
    {
        const QString images = s.WorkFolder.toText() + QStringLiteral("Images/");
        if (const FileResult loaded = LoadLegacyPicture(store, images, name); !loaded)
            failed << loaded.error;
    }

    const SceneState &s;
    Form1 &editor;
    Form2 &canvas;
    QStringList failed;
};

} // namespace

QStringList ApplyLegacyScene(const LegacySceneRecord &r)
{
    // The dialogs that exist show what the load gives the document; the others
    // show it when they come.
    applyLegacyScene(sceneDocument(), r);

    Loader load;
    Form1 &editor = load.editor;
    Form2 &canvas = load.canvas;
    ShowCanvasUnit(canvas);

    if (r.background)
        load.picture(*canvas.picBackground, *r.background);
    if (r.altImage) {
        setCheckValue(editor.Check6, 1);
        editor.Check7->setEnabled(true);
    }

    load.layer(r.mainMouth, LayerMainMouth, nullptr);
    load.layer(r.userMouth, LayerUserMouth, editor.Check2);
    load.layer(r.mainBlink, LayerMainBlink, editor.Check5);
    load.layer(r.userBlink, LayerUserBlink, editor.Check4);
    load.layer(r.extra, LayerExtraAnim, editor.Check3);

    if (r.childPreload || r.childPreloadLine)
        setCheckValue(editor.Check8, 1);
    if (r.fullAnimName)
        setCheckValue(editor.Check9, 1);

    if (r.trigger) {
        setCheckValue(editor.Check11, 1);
        load.picture(*canvas.picImage6, *r.trigger);
    }

    editor.DrawPic();
    return load.failed;
}

void LoadLegacyScene(Form1 &editor)
{
    SceneDocument &document = sceneDocument();
    const QString work = setWorkFolderFromBase();
    for (QCheckBox *box : {editor.Check2, editor.Check3, editor.Check4, editor.Check5, editor.Check8, editor.Check9})
        setCheckValue(box, 0);
    editor.Option1->setChecked(true);

    document.editState([](SceneState &s) {
        SceneSoundSettings &snd = s.Sounds;
        snd.Sound1File = QString();
        snd.Sound1Loop = FlagOff;
        snd.Sound1Random = QString();
        snd.Sound1LoopDelay = QString();
        snd.Sound2File = QString();
        snd.Sound2Random = QString();
        snd.Sound3File = QString();
        snd.Sound3Random = QString();
    });

    // The name chosen last with this dialog is offered again.
    CommonDialog &cdl = editor.cdl;
    cdl.InitDir = work + QStringLiteral("Scenes");
    cdl.Filter = QStringLiteral("Scene Files (*.scn)|*.scn");
    cdl.CancelError = false;
    cdl.ShowOpen();
    if (cdl.FileName.isEmpty())
        return;
    const FileRead file = readFile(cdl.FileName, LegacySceneFileMaxSize);
    if (!file) {
        MsgBox(QStringLiteral("The scene was not loaded. %1").arg(file.error));
        return;
    }
    const QString text = fromWindows1252(file.value);
    document.editState([&text](SceneState &s) { s.SceneText = text; });

    const LegacySceneRecord record = ParseLegacyScene(text);
    const QStringList left = record.skipped + ApplyLegacyScene(record);
    if (!left.isEmpty())
        MsgBox(QStringLiteral("The scene %1 was loaded without these parts:\n\n%2")
                   .arg(QDir::toNativeSeparators(cdl.FileName), nameListText(left)));
}
