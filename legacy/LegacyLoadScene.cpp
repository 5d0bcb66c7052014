#include "legacy/LegacySceneCommands.h"

#include "app/Form1.h"
#include "app/Form2.h"
#include "core/base/Text1252.h"
#include "core/legacy/LegacySceneReader.h"
#include "core/scene/PickedFile.h"
#include "platform/WindowServices.h"
#include "platform/Controls.h"
#include "platform/PictureBox.h"
#include "scene/ChildAnimProps.h"
#include "scene/ExtraAnimProps.h"
#include "scene/FullAnimProps.h"
#include "scene/Sound.h"
#include "scene/TrigAnimProps.h"

#include <QDir>
#include <QLineEdit>
#include <QRadioButton>

namespace {

// Sets a box's text when the file gave one.
void fill(QLineEdit *box, const std::optional<QString> &value)
{
    if (value)
        box->setText(*value);
}

// Selects the first or the second option of a pair by the file's choice.
void choose(const std::optional<bool> &first, QRadioButton *firstOption, QRadioButton *secondOption)
{
    if (!first)
        return;
    QRadioButton *on = *first ? firstOption : secondOption;
    QRadioButton *off = *first ? secondOption : firstOption;
    on->setChecked(true);
    off->setChecked(false);
}

class Loader {
public:
    Loader() : s(scene()), editor(form<Form1>()), canvas(form<Form2>()) {}

    // A layer group: its name, its editor box ticked, its picture, its place.
    void layer(const std::optional<LegacyLayer> &group, CanvasLayer layer, Value SceneState::*fileName,
               QCheckBox *box)
    {
        if (!group)
            return;
        s.*fileName = group->name;
        if (box)
            setCheckValue(box, 1);
        picture(*canvas.LayerStore(layer), group->name);
        LayerPlacement &p = s.LayerPlacements[layer];
        p.LayerHeight = group->height;
        p.LayerWidth = group->width;
        p.LayerX = group->x;
        p.LayerY = group->y;
    }

    void picture(PictureBox &store, const QString &name)
    {
        const QString images = s.WorkFolder.toText() + QStringLiteral("Images/");
        if (const FileResult loaded = LoadLegacyPicture(store, images, name); !loaded)
            failed << loaded.error;
    }

    SceneState &s;
    Form1 &editor;
    Form2 &canvas;
    QStringList failed;
};

} // namespace

QStringList ApplyLegacyScene(const LegacySceneRecord &r)
{
    Loader load;
    SceneState &s = load.s;
    Form1 &editor = load.editor;
    Form2 &canvas = load.canvas;

    const int unit = r.twips ? 1 : 3;
    for (PictureBox *box : {canvas.PicBox, canvas.picBackground, canvas.picImage, canvas.picImage2, canvas.picImage3,
                            canvas.picImage4, canvas.picImage5})
        box->SetScaleMode(unit);

    if (r.background) {
        s.BackgroundFileName = *r.background;
        load.picture(*canvas.picBackground, *r.background);
    }
    s.SceneHasAltImage = toFlag(r.altImage.has_value());
    if (r.altImage) {
        s.AltImageName = *r.altImage;
        s.AltImagePath = s.BaseFolder + *r.altImage;
        setCheckValue(editor.Check6, 1);
        editor.Check7->setEnabled(true);
    }

    load.layer(r.mainMouth, LayerMainMouth, &SceneState::MainMouthFileName, nullptr);
    s.SceneHasUser = toFlag(r.userMouth.has_value());
    load.layer(r.userMouth, LayerUserMouth, &SceneState::UserMouthFileName, editor.Check2);
    s.SceneHasMainBlink = toFlag(r.mainBlink.has_value());
    load.layer(r.mainBlink, LayerMainBlink, &SceneState::MainBlinkFileName, editor.Check5);
    s.SceneHasUserBlink = toFlag(r.userBlink.has_value());
    load.layer(r.userBlink, LayerUserBlink, &SceneState::UserBlinkFileName, editor.Check4);

    ExtraAnimProps &extra = form<ExtraAnimProps>();
    s.SceneHasExtraAnim = toFlag(r.extra.has_value());
    if (r.extra) {
        fill(extra.Text1, r.extraBoxes.random);
        fill(extra.Text2, r.extraBoxes.frames);
        fill(extra.Text4, r.extraBoxes.delay);
        fill(extra.Text5, r.extraBoxes.speed);
        // The writer gives "MDA=" only while the delay at a frame is on.
        fill(extra.Text3, r.extraBoxes.delayAt);
        setCheckValue(extra.Check1, r.extraBoxes.delayAt ? 1 : 0);
        s.ExtraDelayAtOn = toFlag(r.extraBoxes.delayAt.has_value());
    }
    load.layer(r.extra, LayerExtraAnim, &SceneState::ExtraFileName, editor.Check3);
    choose(r.extraPingPong, extra.Option2, extra.Option1);
    choose(r.extraDelayAtStart, extra.Option3, extra.Option4);

    ChildAnimProps &child = form<ChildAnimProps>();
    s.SceneHasChildAnim = toFlag(r.childPreload.has_value());
    if (r.childPreload) {
        s.ChildPreloadName = *r.childPreload;
        child.Text3->setText(*r.childPreload);
        setCheckValue(child.Check1, 1);
        setCheckValue(child.Check2, 0);
        child.Check2->setEnabled(false);
        setCheckValue(editor.Check8, 1);
    }
    fill(child.Text2, r.childFrames);
    fill(child.Text1, r.childRandom);
    choose(r.childAtStart, child.Option1, child.Option2);
    // A second pass over the child's keys by the line rule; its values stay.
    if (r.childPreloadLine) {
        setCheckValue(editor.Check8, 1);
        s.ChildPreloadName = *r.childPreloadLine;
    }
    fill(child.Text2, r.childFramesLine);
    fill(child.Text1, r.childRandomLine);
    if (r.childStartLiteral)
        child.Option1->setChecked(true);
    if (r.childEndLiteral)
        child.Option2->setChecked(true);

    FullAnimProps &full = form<FullAnimProps>();
    // The full-background group is kept for a later save only when the file has it.
    s.SceneHasFullAnim = toFlag(r.fullAnimName.has_value());
    if (r.fullAnimName) {
        setCheckValue(editor.Check9, 1);
        s.FullAnimFirstFrameName = *r.fullAnimName;
        full.Text3->setText(*r.fullAnimName);
    }
    fill(full.Text2, r.fullFrames);
    fill(full.Text5, r.fullSpeed);
    fill(full.Text4, r.fullDelay);
    fill(full.Text1, r.fullRandom);
    const std::pair<bool, QRadioButton *> literals[] = {
        {r.fullDelayStart, full.Option3}, {r.fullDelayEnd, full.Option4}, {r.fullLoop, full.Option1},
        {r.fullPong, full.Option2},       {r.fullTalkStart, full.Option5}, {r.fullTalkEnd, full.Option6},
    };
    for (const auto &[present, option] : literals)
        if (present)
            option->setChecked(true);
    if (r.fullPauseNo)
        setCheckValue(full.Check1, 0);
    if (r.fullPauseYes)
        setCheckValue(full.Check1, 1);
    if (r.fullSpeedChance) {
        full.Text6->setText(*r.fullSpeedChance);
        setCheckValue(full.Check2, 1);
    }
    fill(full.Text7, r.fullMinSpeed);
    fill(full.Text8, r.fullMaxSpeed);

    if (r.trigger) {
        setCheckValue(editor.Check11, 1);
        load.picture(*canvas.picImage6, *r.trigger);
    }
    LayerPlacement &trigger = s.LayerPlacements[LayerTriggerAnim];
    const std::pair<const std::optional<QString> &, Value &> triggerBox[] = {
        {r.triggerHeight, trigger.LayerHeight}, {r.triggerWidth, trigger.LayerWidth},
        {r.triggerX, trigger.LayerX},           {r.triggerY, trigger.LayerY},
    };
    for (const auto &[value, field] : triggerBox)
        if (value)
            field = *value;
    TrigAnimProps &trig = form<TrigAnimProps>();
    fill(trig.Text2, r.triggerFrames);
    fill(trig.Text5, r.triggerSpeed);

    Sound &sound = form<Sound>();
    SceneSoundSettings &snd = s.Sounds;
    // A sound setting goes into the shared state and into its box.
    auto setting = [](const std::optional<QString> &value, Value &state, QLineEdit *box) {
        if (!value)
            return;
        state = *value;
        box->setText(*value);
    };
    setting(r.sound1, snd.Sound1File, sound.Text4);
    setting(r.sound1Random, snd.Sound1Random, sound.Text5);
    if (r.sound1Loop) {
        snd.Sound1Loop = toFlag(*r.sound1Loop);
        if (*r.sound1Loop)
            setCheckValue(sound.Check1, 1);
    }
    setting(r.sound1LoopDelay, snd.Sound1LoopDelay, sound.Text1);
    if (!r.sound1LoopDelay)
        sound.Text1->setText(QStringLiteral("0"));
    setCheckValue(sound.Check2, r.sound1PauseForTalk ? 1 : 0);
    setting(r.sound2, snd.Sound2File, sound.Text6);
    setting(r.sound2Random, snd.Sound2Random, sound.Text2);
    setting(r.sound3, snd.Sound3File, sound.Text7);
    setting(r.sound3Random, snd.Sound3Random, sound.Text3);

    editor.DrawPic();
    return load.failed;
}

void LoadLegacyScene(Form1 &editor)
{
    SceneState &s = scene();
    const QString work = setWorkFolderFromBase();
    for (QCheckBox *box : {editor.Check2, editor.Check3, editor.Check4, editor.Check5, editor.Check8, editor.Check9})
        setCheckValue(box, 0);
    editor.Option1->setChecked(true);

    SceneSoundSettings &snd = s.Sounds;
    snd.Sound1File = QString();
    snd.Sound1Loop = FlagOff;
    snd.Sound1Random = QString();
    snd.Sound1LoopDelay = QString();
    snd.Sound2File = QString();
    snd.Sound2Random = QString();
    snd.Sound3File = QString();
    snd.Sound3Random = QString();

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
    s.SceneText = text;

    const LegacySceneRecord record = ParseLegacyScene(text);
    const QStringList left = record.skipped + ApplyLegacyScene(record);
    if (!left.isEmpty())
        MsgBox(QStringLiteral("The scene %1 was loaded without these parts:\n\n%2")
                   .arg(QDir::toNativeSeparators(cdl.FileName), left.join(u'\n')));
}
