#include "core/scene/SceneSave.h"

#include "core/base/FileTransaction.h"
#include "core/base/Numbers.h"
#include "core/pictures/ImageWorkspace.h"
#include "core/scene/FrameExport.h"
#include "core/scene/SaveTargets.h"
#include "core/scene/SceneChecks.h"
#include "core/scene/SceneDocument.h"
#include "core/scene/SceneFileText.h"
#include "core/scene/SceneFrameFiles.h"
#include "core/scene/SceneListFile.h"

#include <QDir>

#include <optional>

namespace {

using Outcome = Result<SceneSaved, SceneSaveFailure>;

Outcome refused(const QString &reason)
{
    return Outcome::failure({SceneSaveFailure::Refused, reason, false});
}

// The pictures of one save: each numbered export's plan, made once for the
// checks and then the export.
struct SavePlans {
    bool alphaBackground = false;
    std::optional<FramePlan> fullAnim, extra, extraAlpha, child, trigger, smile, brow;
    bool mainBlink = false, userMouth = false, userBlink = false;
};

SavePlans planSave(const SceneDocument &document, const QString &root, const QString &name)
{
    const SceneState &s = document.state();
    SavePlans p;
    p.alphaBackground = isFlagOn(s.SceneHasExtraAnim) && isFlagOn(s.ExtraHasAlpha) && isFlagOn(s.SceneIsDesktop);
    if (isFlagOn(s.SceneHasFullAnim))
        p.fullAnim = fullAnimFramePlan(s, document.dialogs().fullAnim.frames, root, name);
    p.mainBlink = isFlagOn(s.MainBlinkPlaced);
    p.userMouth = isFlagOn(s.UserMouthPlaced);
    p.userBlink = isFlagOn(s.UserBlinkPlaced);
    if (isFlagOn(s.ExtraPlaced)) {
        p.extra = extraFramePlan(s, root, name);
        if (isFlagOn(s.ExtraHasAlpha) && isFlagOn(s.SceneIsDesktop))
            p.extraAlpha = alphaFramePlan(s, root, name);
    }
    if (isFlagOn(s.SceneHasChildAnim) && isFlagOn(s.ChildAutoCropOn))
        p.child = childFramePlan(s, root, name);
    if (isFlagOn(s.TriggerPlaced))
        p.trigger = triggerFramePlan(s, root, name);
    if (isFlagOn(s.SceneHasSmile))
        p.smile = smileFramePlan(s, root, name);
    if (isFlagOn(s.SceneHasBrow))
        p.brow = browFramePlan(s, root, name);
    return p;
}

// Every picture the save writes, in the order it writes them.
QStringList picturePaths(const SceneState &s, const SavePlans &p, const QString &root, const QString &name)
{
    QStringList paths;
    auto plan = [&](const std::optional<FramePlan> &plan) {
        if (plan)
            for (const FrameCopy &copy : plan->frames)
                paths << copy.target;
    };
    if (p.alphaBackground)
        paths << scenePicturePath(root, name, QStringLiteral("AlphaBG.jpg"));
    plan(p.fullAnim);
    paths << heldFrameTargets(root, name, QStringLiteral("Mouth"), 7);
    if (p.mainBlink)
        paths << heldFrameTargets(root, name, QStringLiteral("Blink"), 4);
    if (p.userMouth)
        paths << heldFrameTargets(root, name, QStringLiteral("UserMouth"), 7);
    if (p.userBlink)
        paths << heldFrameTargets(root, name, QStringLiteral("UserBlink"), 4);
    plan(p.extra);
    plan(p.extraAlpha);
    plan(p.child);
    plan(p.trigger);
    plan(p.smile);
    plan(p.brow);
    paths << scenePicturePath(root, name, QStringLiteral("BG.jpg"));
    if (isFlagOn(s.SceneHasAltImage))
        paths << scenePicturePath(root, name, QStringLiteral("Alternate.jpg"));
    return paths;
}

// Writes the scene file and every picture into the unit, stopping at the
// first failure.
class SceneWriter {
public:
    SceneWriter(SceneDocument &document, const SavePlans &plans, const QString &root, const QString &name,
                FileTransaction &unit)
        : m_document(document), m_s(document.state()), m_plans(plans), m_root(root), m_name(name), m_unit(unit)
    {
    }

    Result<> write(bool *fullAnimFailed)
    {
        if (m_plans.alphaBackground)
            if (Result<> saved = saveAlphaBackground(); !saved)
                return saved;
        if (m_plans.fullAnim && !exportPlan(*m_plans.fullAnim, std::nullopt))
            *fullAnimFailed = true;

        if (const FileResult file =
                m_unit.stage(sceneFilePath(m_root, m_name), sceneFileBytes(m_s.SceneText.toText()));
            !file)
            return Result<>::failure(file.error);

        if (Result<> held = heldFrames(LayerMainMouth, QStringLiteral("Mouth"), 7); !held)
            return held;
        if (m_plans.mainBlink)
            if (Result<> held = heldFrames(LayerMainBlink, QStringLiteral("Blink"), 4); !held)
                return held;
        if (m_plans.userMouth)
            if (Result<> held = heldFrames(LayerUserMouth, QStringLiteral("UserMouth"), 7); !held)
                return held;
        if (m_plans.userBlink)
            if (Result<> held = heldFrames(LayerUserBlink, QStringLiteral("UserBlink"), 4); !held)
                return held;

        const PixelCrop extraBox = crop(LayerExtraAnim, NegativeOrigin::RaiseToZero);
        if (m_plans.extra) {
            m_s.ExtraFrameSet.CurrentFrame = Value::integer(0);
            if (Result<> cut = exportPlan(*m_plans.extra, extraBox); !cut)
                return cut;
            if (m_plans.extraAlpha) {
                m_s.ExtraFrameSet.CurrentFrame = Value::integer(0);
                if (Result<> cut = exportPlan(*m_plans.extraAlpha, extraBox); !cut)
                    return cut;
            }
        }
        if (m_plans.child)
            if (Result<> cut = exportPlan(*m_plans.child, extraBox); !cut)
                return cut;
        if (m_plans.trigger) {
            m_s.TriggerFrameSet.CurrentFrame = Value::integer(0);
            if (Result<> cut = exportPlan(*m_plans.trigger, crop(LayerTriggerAnim, NegativeOrigin::RaiseToZero));
                !cut)
                return cut;
        }
        // The smile is cut with the mouth designer's rectangle, the brow with the blink designer's.
        if (m_plans.smile)
            if (Result<> cut = exportPlan(*m_plans.smile, crop(LayerMainMouth, NegativeOrigin::RaiseToZero)); !cut)
                return cut;
        if (m_plans.brow)
            if (Result<> cut = exportPlan(*m_plans.brow, crop(LayerMainBlink, NegativeOrigin::Keep)); !cut)
                return cut;

        if (Result<> saved = savePicture(m_s.PrimaryFirstFramePath.toText(), QStringLiteral("BG.jpg")); !saved)
            return saved;
        if (isFlagOn(m_s.SceneHasAltImage))
            return savePicture(m_s.AltImagePath.toText(), QStringLiteral("Alternate.jpg"));
        return Result<>::success();
    }

private:
    PixelCrop crop(CanvasLayer designer, NegativeOrigin origin) const
    {
        return CropRectToPixels(m_document.cropTwips(designer), origin);
    }

    // The frames a character designer cut, 1 to k, as word 01 .. k.
    Result<> heldFrames(CanvasLayer designer, const QString &word, int k)
    {
        const QList<QImage> &frames = m_document.cutFrames(designer);
        std::vector<ImageWorkspace> held(k);
        QList<ImageWorkspace *> workspaces;
        for (int n = 0; n < k; ++n) {
            if (n < frames.size())
                held[n].SetPicture(frames[n]);
            workspaces << &held[n];
        }
        return saveHeldFrames(workspaces, heldFrameTargets(m_root, m_name, word, k), &m_unit);
    }

    Result<> exportPlan(const FramePlan &plan, const std::optional<PixelCrop> &crop)
    {
        return exportFramePlan(m_work, plan, crop, &m_unit);
    }

    // The source picture, cut when a crop is given, as scene & suffix in Images.
    Result<> savePicture(const QString &source, const QString &suffix, const std::optional<PixelCrop> &crop = {})
    {
        return exportPlan(FramePlan{{{source, scenePicturePath(m_root, m_name, suffix)}}, QString()}, crop);
    }

    // The chosen picture cut to the extra animation's box as placed on the canvas.
    Result<> saveAlphaBackground()
    {
        const LayerPlacement &box = m_s.LayerPlacements[LayerExtraAnim];
        const double x = box.LayerX.toDouble(), y = box.LayerY.toDouble();
        const int left = int(roundHalfEven(x)), top = int(roundHalfEven(y));
        const int right = int(roundHalfEven(x + box.LayerWidth.toDouble()));
        const int bottom = int(roundHalfEven(y + box.LayerHeight.toDouble()));
        return savePicture(m_s.AlphaBackgroundPath, QStringLiteral("AlphaBG.jpg"),
                           PixelCrop{left, top, right - left, bottom - top});
    }

    SceneDocument &m_document;
    SceneState &m_s;
    const SavePlans &m_plans;
    const QString m_root, m_name;
    FileTransaction &m_unit;
    ImageWorkspace m_work; // the picture of every export that loads its sources
};

} // namespace

Result<SceneSaved, SceneSaveFailure> saveScene(SceneDocument &document, const QString &name,
                                               const QString &baseFolder)
{
    if (name.isEmpty())
        return refused(QString());
    if (const Result<> checked = checkSceneName(name); !checked)
        return refused(checked.error);
    SceneState &s = document.state();
    const QList<SceneEntry> entries = sceneEntries(sceneSettings(document, name));
    if (const Result<> checked = checkSceneFields(entries); !checked)
        return refused(checked.error);
    if (const Result<> checked = checkSourcesChosen(s); !checked)
        return refused(checked.error);

    const QString root = saveRootFolder(baseFolder);
    const SavePlans plans = planSave(document, root, name);
    // What is on disk: a link in place of a file, another scene's pictures.
    const QStringList pictures = picturePaths(s, plans, root, name);
    if (const Result<> checked =
            checkNoLinkedFiles(QStringList{sceneFilePath(root, name), sceneListPath(root)} + pictures);
        !checked)
        return refused(checked.error);
    QStringList pictureNames;
    for (const QString &path : pictures)
        pictureNames << path.mid(path.lastIndexOf(u'/') + 1);
    if (const Result<> checked = checkPictureCollisions(root + QStringLiteral("Scenes"), name, pictureNames);
        !checked)
        return refused(checked.error);

    for (const char *folder : {"Scenes", "Images", "Data"}) {
        const QString path = root + QLatin1String(folder);
        if (!QDir().mkpath(path))
            return refused(QStringLiteral("The scene was not saved: the folder %1 could not be created.")
                               .arg(QDir::toNativeSeparators(path)));
    }

    s.SceneText = sceneText(entries);

    FileTransaction unit;
    bool fullAnimFailed = false;
    const Result<> written = SceneWriter(document, plans, root, name, unit).write(&fullAnimFailed);
    const FileResult committed = unit.commit();
    auto stopped = [&](const QString &reason) {
        return Outcome::failure({SceneSaveFailure::Stopped, reason, fullAnimFailed});
    };
    if (!written)
        return stopped(written.error);
    if (!committed)
        return stopped(committed.error);
    if (const FileResult listed = addSceneToList(sceneListPath(root), name); !listed)
        return stopped(listed.error);
    return Outcome::success({fullAnimFailed});
}
