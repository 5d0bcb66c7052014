#include "scene/SaveScene.h"

#include "app/Wizard1.h"
#include "core/base/Files.h"
#include "core/base/FileTransaction.h"
#include "core/base/Numbers.h"
#include "core/scene/SaveTargets.h"
#include "core/scene/SceneChecks.h"
#include "core/scene/SceneFileText.h"
#include "core/scene/SceneFrameFiles.h"
#include "core/scene/SceneListFile.h"
#include "core/scene/SceneState.h"
#include "platform/WindowServices.h"
#include "designers/frmFormDesign.h"
#include "designers/frmFormDesignB.h"
#include "designers/frmFormDesignC.h"
#include "designers/frmFormDesignD.h"
#include "designers/frmFormDesignE.h"
#include "designers/frmFormDesignF.h"
#include "platform/Controls.h"
#include "scene/ChildAnimProps.h"
#include "scene/ExtraAnimProps.h"
#include "scene/FrameExport.h"
#include "scene/FullAnimProps.h"
#include "scene/Sound.h"
#include "scene/TrigAnimProps.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QRadioButton>

namespace {

bool ticked(const QCheckBox *box) { return checkValue(box) == 1; }

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

// Saves the pictures a designer holds after its NEXT, workspaces 1 to k, as word 01 .. k.
Result<> saveDesignerFrames(CharacterDesigner &designer, const QString &root, const QString &scene,
                        const QString &word, int k, FileTransaction *unit)
{
    QList<ImageWorkspace *> held;
    for (int n = 1; n <= k; ++n)
        held << &designer.Xpress(n);
    return saveHeldFrames(held, heldFrameTargets(root, scene, word, k), unit);
}

// The designer's rectangle as the pixel area the export cuts with.
PixelCrop cropBox(const CropDesigner &designer, NegativeOrigin origin)
{
    return designer.CropBox(origin);
}

} // namespace

SceneSettings sceneSettingsFromWindows(const QString &name)
{
    const SceneState &s = scene();
    SceneSettings out;
    out.name = name;
    out.isDesktop = isFlagOn(s.SceneIsDesktop);
    out.hasSmile = isFlagOn(s.SceneHasSmile);
    out.hasMainBlink = isFlagOn(s.SceneHasMainBlink);
    out.hasBrow = isFlagOn(s.SceneHasBrow);
    out.hasUser = isFlagOn(s.SceneHasUser);
    out.hasUserBlink = s.userBlinkOn();
    out.hasTrigger = isFlagOn(s.SceneHasTrigger);
    out.hasExtraAnim = isFlagOn(s.SceneHasExtraAnim);
    out.extraHasAlpha = isFlagOn(s.ExtraHasAlpha);
    out.hasChildAnim = isFlagOn(s.SceneHasChildAnim);
    out.childAutoCrop = isFlagOn(s.ChildAutoCropOn);
    out.hasFullAnim = isFlagOn(s.SceneHasFullAnim);
    out.hasAltImage = isFlagOn(s.SceneHasAltImage);
    out.extraDelayAt = isFlagOn(s.ExtraDelayAtOn);

    const auto &p = s.LayerPlacements;
    out.mainMouth = p[LayerMainMouth];
    out.mainBlink = p[LayerMainBlink];
    out.brow = p[LayerBrowAnim];
    out.userMouth = p[LayerUserMouth];
    out.userBlink = p[LayerUserBlink];
    out.trigger = p[LayerTriggerAnim];
    out.extra = p[LayerExtraAnim];

    // A dialog is read only when its group is written: reading one creates it.
    if (out.hasTrigger) {
        const TrigAnimProps &t = form<TrigAnimProps>();
        out.triggerAnim = {t.Text2->text(), t.Text5->text()};
    }
    if (out.hasExtraAnim) {
        const ExtraAnimProps &x = form<ExtraAnimProps>();
        auto &e = out.extraAnim;
        e.random = x.Text1->text();
        e.frames = x.Text2->text();
        e.delayFrame = x.Text3->text();
        e.delay = x.Text4->text();
        e.speed = x.Text5->text();
        e.loop = x.Option1->isChecked();
        e.pong = x.Option2->isChecked();
        e.delayAtStart = x.Option3->isChecked();
        e.delayAtEnd = x.Option4->isChecked();
    }
    if (out.hasChildAnim) {
        const ChildAnimProps &c = form<ChildAnimProps>();
        out.childAnim = {s.ChildPreloadName.toText(), c.Text2->text(), c.Text1->text(), c.Option1->isChecked(),
                         c.Option2->isChecked()};
    }
    if (out.hasFullAnim) {
        const FullAnimProps &f = form<FullAnimProps>();
        auto &a = out.fullAnim;
        a.frames = f.Text2->text();
        a.speed = f.Text5->text();
        a.delay = f.Text4->text();
        a.random = f.Text1->text();
        a.delayAtStart = f.Option3->isChecked();
        a.delayAtEnd = f.Option4->isChecked();
        a.loop = f.Option1->isChecked();
        a.pong = f.Option2->isChecked();
        a.talkAtStart = f.Option5->isChecked();
        a.talkAtEnd = f.Option6->isChecked();
        a.pauseForTalk = ticked(f.Check1);
        a.randomSpeed = ticked(f.Check2);
        a.speedChance = f.Text6->text();
        a.minSpeed = f.Text7->text();
        a.maxSpeed = f.Text8->text();
    }
    const Sound &snd = form<Sound>();
    auto &o = out.sounds;
    o.sound1 = snd.Text4->text();
    o.sound1Chance = snd.Text5->text();
    o.sound1LoopDelay = snd.Text1->text();
    o.sound1Loop = ticked(snd.Check1);
    o.sound1PauseForTalk = ticked(snd.Check2);
    o.sound2 = snd.Text6->text();
    o.sound2Chance = snd.Text2->text();
    o.sound3 = snd.Text7->text();
    o.sound3Chance = snd.Text3->text();
    return out;
}

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

QString SaveScene::sceneName() const { return Text1->text(); }

bool SaveScene::fail(const QString &error)
{
    m_error = error;
    return false;
}

bool SaveScene::took(const Result<> &step)
{
    return step.ok() || fail(step.error);
}

void SaveScene::Image1_Click()
{
    m_saving = true;
    const auto endOfSave = qScopeGuard([this] {
        m_saving = false;
        m_plans.clear();
    });
    const QString name = sceneName();
    if (name.isEmpty()) {
        MsgBox(QStringLiteral("Plese give your Scene a name."));
        return;
    }
    // Everything that can be known to fail is refused before anything is written.
    if (const Result<> checked = checkSceneName(name); !checked) {
        MsgBox(checked.error);
        return;
    }
    SceneState &s = scene();
    const QList<SceneEntry> entries = sceneEntries(sceneSettingsFromWindows(name));
    if (const Result<> checked = checkSceneFields(entries); !checked) {
        MsgBox(checked.error);
        return;
    }
    if (const Result<> checked = checkSourcesChosen(s); !checked) {
        MsgBox(checked.error);
        return;
    }

    MyPath = saveRootFolder(s.BaseFolder);
    // What is on disk: a link in place of a file, another scene's pictures.
    const QString scenePath = sceneFilePath(MyPath, name);
    const QStringList pictures = picturePaths();
    if (const Result<> checked = checkNoLinkedFiles(QStringList{scenePath, sceneListPath(MyPath)} + pictures);
        !checked) {
        MsgBox(checked.error);
        return;
    }
    QStringList pictureNames;
    for (const QString &path : pictures)
        pictureNames << path.mid(path.lastIndexOf(u'/') + 1);
    if (const Result<> checked = checkPictureCollisions(MyPath + QStringLiteral("Scenes"), name, pictureNames);
        !checked) {
        MsgBox(checked.error);
        return;
    }

    for (const char *folder : {"Scenes", "Images", "Data"}) {
        const QString path = MyPath + QLatin1String(folder);
        if (!QDir().mkpath(path)) {
            MsgBox(QStringLiteral("The scene was not saved: the folder %1 could not be created.")
                       .arg(QDir::toNativeSeparators(path)));
            return;
        }
    }

    s.SceneText = sceneText(entries);

    // Every file of the save is one unit: written beside its target, then put
    // in place together. A step that fails ends the save, and what was written
    // before it is still put in place.
    FileTransaction unit;
    m_unit = &unit;
    bool complete = true;
    const bool written = writeSceneFiles(name, &complete);
    m_unit = nullptr;
    const FileResult committed = unit.commit();
    if (!written) {
        reportFailedStep(m_error);
        return;
    }
    if (!committed) {
        reportFailedStep(committed.error);
        return;
    }

    if (const FileResult listed = addSceneToList(sceneListPath(MyPath), name); !listed) {
        reportFailedStep(listed.error);
        return;
    }

    if (!complete)
        return;
    MsgBox(QStringLiteral("Your Scene has been saved."));
    Hide();
}

bool SaveScene::writeSceneFiles(const QString &name, bool *complete)
{
    SceneState &s = scene();
    if (isFlagOn(s.SceneHasExtraAnim) && isFlagOn(s.ExtraHasAlpha) && isFlagOn(s.SceneIsDesktop) && !saveAlphaBackground())
        return false;

    // The full-background group reports its own failure once and the save
    // goes on, but the save is then not announced as done.
    if (isFlagOn(s.SceneHasFullAnim) && !ExportFullAnimFrames()) {
        MsgBox(fullAnimMessage());
        *complete = false;
    }

    const FileResult sceneFile = m_unit->stage(sceneFilePath(MyPath, name), sceneFileBytes(s.SceneText.toText()));
    if (!sceneFile)
        return fail(sceneFile.error);

    struct Step {
        bool due;
        bool (SaveScene::*run)();
    };
    const Step exports[] = {
        {true, &SaveScene::ExportMouthFrames},
        {isFlagOn(s.MainBlinkPlaced), &SaveScene::ExportBlinkFrames},
        {isFlagOn(s.UserMouthPlaced), &SaveScene::ExportUserMouthFrames},
        {isFlagOn(s.UserBlinkPlaced), &SaveScene::ExportUserBlinkFrames},
        {isFlagOn(s.ExtraPlaced), &SaveScene::ExportExtraFrames},
        {isFlagOn(s.SceneHasChildAnim) && isFlagOn(s.ChildAutoCropOn), &SaveScene::ExportChildFrames},
        {isFlagOn(s.TriggerPlaced), &SaveScene::ExportTriggerFrames},
        {isFlagOn(s.SceneHasSmile), &SaveScene::ExportSmileFrames},
        {isFlagOn(s.SceneHasBrow), &SaveScene::ExportBrowFrames},
    };
    for (const Step &step : exports)
        if (step.due && !(this->*step.run)())
            return false;

    return savePicture(s.PrimaryFirstFramePath.toText(), QStringLiteral("BG.jpg")) &&
           (!isFlagOn(s.SceneHasAltImage) || savePicture(s.AltImagePath.toText(), QStringLiteral("Alternate.jpg")));
}

const FramePlan &SaveScene::planned(const char *word, const std::function<FramePlan()> &make)
{
    if (!m_saving) {
        m_lastPlan = make();
        return m_lastPlan;
    }
    auto it = m_plans.find(QLatin1String(word));
    if (it == m_plans.end())
        it = m_plans.insert(QLatin1String(word), make());
    return *it;
}

QStringList SaveScene::picturePaths()
{
    const SceneState &s = scene();
    const QString name = sceneName();
    QStringList paths;
    auto plan = [&](const FramePlan &p) {
        for (const FrameCopy &copy : p.frames)
            paths << copy.target;
    };
    if (isFlagOn(s.SceneHasExtraAnim) && isFlagOn(s.ExtraHasAlpha) && isFlagOn(s.SceneIsDesktop))
        paths << scenePicturePath(MyPath, name, QStringLiteral("AlphaBG.jpg"));
    if (isFlagOn(s.SceneHasFullAnim))
        plan(planned("FullAnim",
                     [&] { return fullAnimFramePlan(s, form<FullAnimProps>().Text2->text(), MyPath, name); }));
    paths << heldFrameTargets(MyPath, name, QStringLiteral("Mouth"), 7);
    if (isFlagOn(s.MainBlinkPlaced))
        paths << heldFrameTargets(MyPath, name, QStringLiteral("Blink"), 4);
    if (isFlagOn(s.UserMouthPlaced))
        paths << heldFrameTargets(MyPath, name, QStringLiteral("UserMouth"), 7);
    if (isFlagOn(s.UserBlinkPlaced))
        paths << heldFrameTargets(MyPath, name, QStringLiteral("UserBlink"), 4);
    if (isFlagOn(s.ExtraPlaced)) {
        plan(planned("Extra", [&] { return extraFramePlan(s, MyPath, name); }));
        if (isFlagOn(s.ExtraHasAlpha) && isFlagOn(s.SceneIsDesktop))
            plan(planned("ExtraAlpha", [&] { return alphaFramePlan(s, MyPath, name); }));
    }
    if (isFlagOn(s.SceneHasChildAnim) && isFlagOn(s.ChildAutoCropOn))
        plan(planned("Child", [&] { return childFramePlan(s, MyPath, name); }));
    if (isFlagOn(s.TriggerPlaced))
        plan(planned("Trigger", [&] { return triggerFramePlan(s, MyPath, name); }));
    if (isFlagOn(s.SceneHasSmile))
        plan(planned("Smile", [&] { return smileFramePlan(s, MyPath, name); }));
    if (isFlagOn(s.SceneHasBrow))
        plan(planned("Brow", [&] { return browFramePlan(s, MyPath, name); }));
    paths << scenePicturePath(MyPath, name, QStringLiteral("BG.jpg"));
    if (isFlagOn(s.SceneHasAltImage))
        paths << scenePicturePath(MyPath, name, QStringLiteral("Alternate.jpg"));
    return paths;
}

bool SaveScene::savePicture(const QString &source, const QString &suffix, const std::optional<PixelCrop> &crop)
{
    const FramePlan plan{{{source, scenePicturePath(MyPath, sceneName(), suffix)}}, QString()};
    return took(exportFramePlan(Xpress1, plan, crop, m_unit));
}

bool SaveScene::saveAlphaBackground()
{
    // The chosen picture cut to the extra animation's box as placed on the canvas.
    const LayerPlacement &box = scene().LayerPlacements[LayerExtraAnim];
    const double x = box.LayerX.toDouble(), y = box.LayerY.toDouble();
    const int left = int(roundHalfEven(x)), top = int(roundHalfEven(y));
    const int right = int(roundHalfEven(x + box.LayerWidth.toDouble()));
    const int bottom = int(roundHalfEven(y + box.LayerHeight.toDouble()));
    return savePicture(scene().AlphaBackgroundPath, QStringLiteral("AlphaBG.jpg"),
                       PixelCrop{left, top, right - left, bottom - top});
}

bool SaveScene::ExportMouthFrames()
{
    return took(saveDesignerFrames(form<frmFormDesign>(), MyPath, sceneName(), QStringLiteral("Mouth"), 7, m_unit));
}

bool SaveScene::ExportBlinkFrames()
{
    return took(saveDesignerFrames(form<frmFormDesignB>(), MyPath, sceneName(), QStringLiteral("Blink"), 4, m_unit));
}

bool SaveScene::ExportUserMouthFrames()
{
    return took(saveDesignerFrames(form<frmFormDesignC>(), MyPath, sceneName(), QStringLiteral("UserMouth"), 7, m_unit));
}

bool SaveScene::ExportUserBlinkFrames()
{
    return took(saveDesignerFrames(form<frmFormDesignD>(), MyPath, sceneName(), QStringLiteral("UserBlink"), 4, m_unit));
}

bool SaveScene::ExportExtraFrames()
{
    SceneState &s = scene();
    frmFormDesignE &designer = form<frmFormDesignE>();
    s.ExtraFrameSet.CurrentFrame = Value::integer(0);
    if (!took(exportFramePlan(designer.Xpress1, planned("Extra", [&] { return extraFramePlan(s, MyPath, sceneName()); }),
                              cropBox(designer, NegativeOrigin::RaiseToZero), m_unit)))
        return false;
    if (!(isFlagOn(s.ExtraHasAlpha) && isFlagOn(s.SceneIsDesktop)))
        return true;
    s.ExtraFrameSet.CurrentFrame = Value::integer(0);
    return took(exportFramePlan(designer.Xpress1,
                                planned("ExtraAlpha", [&] { return alphaFramePlan(s, MyPath, sceneName()); }),
                                cropBox(designer, NegativeOrigin::RaiseToZero), m_unit));
}

bool SaveScene::ExportSmileFrames()
{
    // The smile and brow frames go through the writer's own picture: the
    // designers' workspaces still hold the mouth and blink crops.
    return took(exportFramePlan(Xpress1, planned("Smile", [&] { return smileFramePlan(scene(), MyPath, sceneName()); }),
                                cropBox(form<frmFormDesign>(), NegativeOrigin::RaiseToZero), m_unit));
}

bool SaveScene::ExportBrowFrames()
{
    return took(exportFramePlan(Xpress1, planned("Brow", [&] { return browFramePlan(scene(), MyPath, sceneName()); }),
                                cropBox(form<frmFormDesignB>(), NegativeOrigin::Keep), m_unit));
}

bool SaveScene::ExportChildFrames()
{
    return took(exportFramePlan(Xpress1, planned("Child", [&] { return childFramePlan(scene(), MyPath, sceneName()); }),
                                cropBox(form<frmFormDesignE>(), NegativeOrigin::RaiseToZero), m_unit));
}

bool SaveScene::ExportFullAnimFrames()
{
    return took(exportFramePlan(Xpress1, planned("FullAnim", [&] {
                                    return fullAnimFramePlan(scene(), form<FullAnimProps>().Text2->text(), MyPath,
                                                             sceneName());
                                }),
                                std::nullopt, m_unit));
}

bool SaveScene::ExportTriggerFrames()
{
    frmFormDesignF &designer = form<frmFormDesignF>();
    scene().TriggerFrameSet.CurrentFrame = Value::integer(0);
    return took(exportFramePlan(designer.Xpress1,
                                planned("Trigger", [&] { return triggerFramePlan(scene(), MyPath, sceneName()); }),
                                cropBox(designer, NegativeOrigin::RaiseToZero), m_unit));
}
