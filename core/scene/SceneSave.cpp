#include "core/scene/SceneSave.h"

#include "core/base/Files.h"
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
#include <QFileInfo>

#include <optional>

namespace {

// The folders of the base folder that a save writes in.
const char *const kSaveFolders[] = {"Scenes", "Images", "Data"};

using Outcome = Result<SceneSaved, SceneSaveFailure>;

Outcome failed(SceneSaveFailure::Stage stage, const QString &reason, bool fullAnimFailed = false)
{
    return Outcome::failure({stage, reason, fullAnimFailed});
}

// One export that loads its source files: which file becomes which picture,
// and the area cut from each (whole without one).
struct PlannedExport {
    FramePlan plan;
    std::optional<PixelCrop> crop;
};

// The pictures of one save, planned once for the checks of the disk and then the export.
struct SavePlans {
    std::optional<PlannedExport> alphaBackground, fullAnim, extra, extraAlpha, child, trigger, smile, brow;
    PlannedExport background;
    std::optional<PlannedExport> alternate;
    bool mainBlink = false, userMouth = false, userBlink = false;
};

// A single picture: the source, cut when a crop is given, as scene & suffix in Images.
PlannedExport singlePicture(const QString &source, const QString &root, const QString &name, const QString &suffix,
                            const std::optional<PixelCrop> &crop = {})
{
    return {FramePlan{{{source, scenePicturePath(root, name, suffix)}}, QString()}, crop};
}

SavePlans planSave(const SceneDocument &document, const QString &root, const QString &name)
{
    const SceneState &s = document.state();
    auto crop = [&](CanvasLayer designer, NegativeOrigin origin) {
        return std::optional<PixelCrop>(CropRectToPixels(document.cropTwips(designer), origin));
    };
    SavePlans p;
    if (isFlagOn(s.SceneHasExtraAnim) && isFlagOn(s.ExtraHasAlpha) && isFlagOn(s.SceneIsDesktop)) {
        // The chosen picture cut to the extra animation's box as placed on the canvas.
        const LayerPlacement &box = s.LayerPlacements[LayerExtraAnim];
        const double x = box.LayerX.toDouble(), y = box.LayerY.toDouble();
        const int left = int(roundHalfEven(x)), top = int(roundHalfEven(y));
        const int right = int(roundHalfEven(x + box.LayerWidth.toDouble()));
        const int bottom = int(roundHalfEven(y + box.LayerHeight.toDouble()));
        p.alphaBackground = singlePicture(s.AlphaBackgroundPath, root, name, QStringLiteral("AlphaBG.jpg"),
                                          PixelCrop{left, top, right - left, bottom - top});
    }
    if (isFlagOn(s.SceneHasFullAnim))
        p.fullAnim = PlannedExport{fullAnimFramePlan(s, document.dialogs().fullAnim.frames, root, name), {}};
    p.mainBlink = isFlagOn(s.MainBlinkPlaced);
    p.userMouth = isFlagOn(s.UserMouthPlaced);
    p.userBlink = isFlagOn(s.UserBlinkPlaced);
    const auto extraBox = crop(LayerExtraAnim, NegativeOrigin::RaiseToZero);
    if (isFlagOn(s.ExtraPlaced)) {
        p.extra = PlannedExport{extraFramePlan(s, root, name), extraBox};
        if (isFlagOn(s.ExtraHasAlpha) && isFlagOn(s.SceneIsDesktop))
            p.extraAlpha = PlannedExport{alphaFramePlan(s, root, name), extraBox};
    }
    if (isFlagOn(s.SceneHasChildAnim) && isFlagOn(s.ChildAutoCropOn))
        p.child = PlannedExport{childFramePlan(s, root, name), extraBox};
    if (isFlagOn(s.TriggerPlaced))
        p.trigger = PlannedExport{triggerFramePlan(s, root, name), crop(LayerTriggerAnim, NegativeOrigin::RaiseToZero)};
    // The smile is cut with the mouth designer's rectangle, the brow with the blink designer's.
    if (isFlagOn(s.SceneHasSmile))
        p.smile = PlannedExport{smileFramePlan(s, root, name), crop(LayerMainMouth, NegativeOrigin::RaiseToZero)};
    if (isFlagOn(s.SceneHasBrow))
        p.brow = PlannedExport{browFramePlan(s, root, name), crop(LayerMainBlink, NegativeOrigin::Keep)};
    p.background = singlePicture(s.PrimaryFirstFramePath.toText(), root, name, QStringLiteral("BG.jpg"));
    if (isFlagOn(s.SceneHasAltImage))
        p.alternate = singlePicture(s.AltImagePath.toText(), root, name, QStringLiteral("Alternate.jpg"));
    return p;
}

// Every picture the save writes, in the order it writes them.
QStringList picturePaths(const SavePlans &p, const QString &root, const QString &name)
{
    QStringList paths;
    auto add = [&](const std::optional<PlannedExport> &planned) {
        if (planned)
            for (const FrameCopy &copy : planned->plan.frames)
                paths << copy.target;
    };
    add(p.alphaBackground);
    add(p.fullAnim);
    paths << heldFrameTargets(root, name, QStringLiteral("Mouth"), 7);
    if (p.mainBlink)
        paths << heldFrameTargets(root, name, QStringLiteral("Blink"), 4);
    if (p.userMouth)
        paths << heldFrameTargets(root, name, QStringLiteral("UserMouth"), 7);
    if (p.userBlink)
        paths << heldFrameTargets(root, name, QStringLiteral("UserBlink"), 4);
    for (const std::optional<PlannedExport> *planned : {&p.extra, &p.extraAlpha, &p.child, &p.trigger, &p.smile,
                                                        &p.brow})
        add(*planned);
    add(p.background);
    add(p.alternate);
    return paths;
}

// Writes every picture and then the scene file into the unit, stopping at the
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
            if (Result<> saved = exportPlan(*m_plans.alphaBackground); !saved)
                return saved;
        if (m_plans.fullAnim && !exportPlan(*m_plans.fullAnim))
            *fullAnimFailed = true;

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

        if (m_plans.extra) {
            m_s.ExtraFrameSet.CurrentFrame = Value::integer(0);
            if (Result<> cut = exportPlan(*m_plans.extra); !cut)
                return cut;
            if (m_plans.extraAlpha) {
                m_s.ExtraFrameSet.CurrentFrame = Value::integer(0);
                if (Result<> cut = exportPlan(*m_plans.extraAlpha); !cut)
                    return cut;
            }
        }
        if (m_plans.child)
            if (Result<> cut = exportPlan(*m_plans.child); !cut)
                return cut;
        if (m_plans.trigger) {
            m_s.TriggerFrameSet.CurrentFrame = Value::integer(0);
            if (Result<> cut = exportPlan(*m_plans.trigger); !cut)
                return cut;
        }
        for (const std::optional<PlannedExport> *planned : {&m_plans.smile, &m_plans.brow})
            if (*planned)
                if (Result<> cut = exportPlan(**planned); !cut)
                    return cut;

        if (Result<> saved = exportPlan(m_plans.background); !saved)
            return saved;
        if (m_plans.alternate)
            if (Result<> saved = exportPlan(*m_plans.alternate); !saved)
                return saved;

        // The scene file goes in place after every picture it names.
        if (const FileResult file =
                m_unit.stage(sceneFilePath(m_root, m_name), sceneFileBytes(m_s.SceneText.toText()));
            !file)
            return Result<>::failure(file.error);
        return Result<>::success();
    }

private:
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

    Result<> exportPlan(const PlannedExport &planned)
    {
        return exportFramePlan(m_work, planned.plan, planned.crop, &m_unit);
    }

    SceneDocument &m_document;
    SceneState &m_s;
    const SavePlans &m_plans;
    const QString m_root, m_name;
    FileTransaction &m_unit;
    ImageWorkspace m_work; // the picture of every export that loads its sources
};

// The folders a save makes, removed again when the save leaves nothing.
class MadeFolders {
public:
    // Makes `folder` and the folders on its way that are missing; false when it cannot.
    bool make(const QString &folder)
    {
        QStringList missing;
        for (QString path = QDir::cleanPath(folder); !path.isEmpty() && !QFileInfo(path).exists();) {
            missing.prepend(path);
            const QString parent = QFileInfo(path).path();
            if (parent == path)
                break;
            path = parent;
        }
        const bool made = QDir().mkpath(folder);
        for (const QString &path : std::as_const(missing))
            if (QFileInfo(path).isDir())
                m_made << path;
        return made;
    }
    // Removes what make() made, last first, as far as it is still empty.
    void remove()
    {
        for (qsizetype i = m_made.size() - 1; i >= 0; --i)
            QDir().rmdir(m_made[i]);
        m_made.clear();
    }

private:
    QStringList m_made;
};

} // namespace

Result<SceneSaved, SceneSaveFailure> saveScene(SceneDocument &document, const QString &name,
                                               const QString &baseFolder)
{
    using Stage = SceneSaveFailure::Stage;
    if (name.isEmpty())
        return failed(Stage::Refused, QString());
    if (const Result<> checked = checkSceneName(name); !checked)
        return failed(Stage::Refused, checked.error);
    SceneState &s = document.state();
    const QList<SceneEntry> entries = sceneEntries(sceneSettings(document, name));
    if (const Result<> checked = checkSceneFields(entries); !checked)
        return failed(Stage::Refused, checked.error);
    if (const Result<> checked = checkSourcesChosen(s); !checked)
        return failed(Stage::Refused, checked.error);

    // A save cut off earlier is made whole before this one looks at the disk.
    if (const auto recovered = recoverSaves(baseFolder); !recovered)
        return failed(Stage::Refused, QStringLiteral("The scene was not saved: ") + recovered.error);

    const QString root = saveRootFolder(baseFolder);
    const SavePlans plans = planSave(document, root, name);
    // What is on disk: a link in place of a file, another scene's pictures.
    const QStringList pictures = picturePaths(plans, root, name);
    const QString listPath = sceneListPath(root);
    if (const Result<> checked = checkNoLinkedFiles(QStringList{sceneFilePath(root, name), listPath} + pictures);
        !checked)
        return failed(Stage::Refused, checked.error);
    QStringList pictureNames;
    for (const QString &path : pictures)
        pictureNames << path.mid(path.lastIndexOf(u'/') + 1);
    if (const Result<> checked = checkPictureCollisions(root + QStringLiteral("Scenes"), name, pictureNames);
        !checked)
        return failed(Stage::Refused, checked.error);

    const auto list = sceneListWithName(listPath, name);
    if (!list)
        return failed(Stage::NotSaved, list.error);

    MadeFolders made;
    for (const char *folder : kSaveFolders) {
        const QString path = root + QLatin1String(folder);
        if (!made.make(path)) {
            made.remove();
            return failed(Stage::Refused, QStringLiteral("The scene was not saved: the folder %1 could not be created.")
                                              .arg(QDir::toNativeSeparators(path)));
        }
    }

    s.SceneText = sceneText(entries);

    std::optional<FileTransaction> unit(std::in_place);
    bool fullAnimFailed = false;
    Result<> written = SceneWriter(document, plans, root, name, *unit).write(&fullAnimFailed);
    if (written && list.value)
        if (const FileResult staged = unit->stage(listPath, *list.value); !staged)
            written = Result<>::failure(staged.error);
    const FileResult committed = written ? unit->commit() : FileResult::failure(written.error);
    if (committed)
        return Outcome::success({fullAnimFailed});
    if (unit->partlyCommitted())
        return failed(Stage::Stopped, committed.error, fullAnimFailed);
    unit.reset(); // its temporary files go, so that the folders made for it are empty
    made.remove();
    return failed(Stage::NotSaved, committed.error, fullAnimFailed);
}

QString existingSceneName(const QString &baseFolder, const QString &name)
{
    if (name.isEmpty() || !checkSceneName(name))
        return QString();
    const QString file = findFileIgnoringCase(saveRootFolder(baseFolder) + QStringLiteral("Scenes"),
                                              name + QStringLiteral(".scn"));
    // A link is no scene of its own: the save refuses to write through it.
    const QFileInfo info(file);
    if (!info.isFile() || info.isSymLink())
        return QString();
    return info.fileName().chopped(4);
}

Result<FileTransaction::Recovery> recoverSaves(const QString &baseFolder)
{
    QStringList folders;
    for (const char *folder : kSaveFolders)
        folders << saveRootFolder(baseFolder) + QLatin1String(folder);
    return FileTransaction::recover(folders);
}
