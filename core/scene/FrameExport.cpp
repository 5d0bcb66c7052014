#include "core/scene/FrameExport.h"

#include "core/base/Files.h"
#include "core/base/FileTransaction.h"
#include "core/pictures/ImageWorkspace.h"

#include <QDir>

namespace {

CutPictureReaderMaker cutReaderMaker = nullptr;

} // namespace

void setCutPictureReaderMaker(CutPictureReaderMaker maker)
{
    cutReaderMaker = maker;
}

namespace {

Result<> fail(const QString &text)
{
    return Result<>::failure(text);
}

Result<> cutRefused(const QString &source, const QString &reason)
{
    return fail(QStringLiteral("Could not cut %1: %2").arg(QDir::toNativeSeparators(source), reason));
}

// The file to read for a source: the user named the series, its files may
// differ in letter case.
QString sourceFile(const FrameCopy &frame)
{
    return resolvePathIgnoringCase(frame.source);
}

Result<> save(ImageWorkspace &workspace, const QString &target, FileTransaction &unit)
{
    workspace.SaveImageFileName(target);
    if (Result<> saved = workspace.SaveImageFile(unit); !saved)
        return fail(saved.error);
    return Result<>::success();
}

// The export's own unit when the caller gave none: committed when the export
// ends, whatever its outcome, so the pictures written stay.
class UnitInUse {
public:
    explicit UnitInUse(FileTransaction *given) : m_unit(given ? *given : m_own), m_committed(given != nullptr) {}
    FileTransaction &operator*() { return m_unit; }
    Result<> finish(Result<> outcome)
    {
        if (m_committed)
            return outcome;
        m_committed = true;
        const FileResult done = m_unit.commit();
        if (outcome && !done)
            return fail(done.error);
        return outcome;
    }

private:
    FileTransaction m_own;
    FileTransaction &m_unit;
    bool m_committed;
};

// Once an export ends, the workspace holds its last frame as a picture of its
// own, not as a view of the cutter's buffer.
class KeepLastFrame {
public:
    explicit KeepLastFrame(ImageWorkspace &workspace) : m_workspace(workspace) {}
    ~KeepLastFrame()
    {
        if (m_workspace.HasPicture())
            m_workspace.SetPicture(m_workspace.Picture().copy());
    }

private:
    ImageWorkspace &m_workspace;
};

Result<> exportFrames(ImageWorkspace &workspace, const FramePlan &plan, const std::optional<PixelCrop> &crop,
                      FileTransaction &unit)
{
    const std::unique_ptr<CutPictureReader> cutter = cutReaderMaker ? cutReaderMaker() : nullptr;
    const KeepLastFrame keep(workspace);
    for (const FrameCopy &frame : plan.frames) {
        const QString source = sourceFile(frame);
        if (const QImage *cut = cutter ? cutter->read(source, crop) : nullptr) {
            workspace.SetPicture(*cut);
        } else {
            // Every file the cutter does not take is loaded whole and cut, with the loader's checks and reasons.
            if (const Result<> loaded = workspace.LoadImageFile(source); !loaded)
                return fail(loaded.error);
            if (crop) {
                if (const Result<> cut = workspace.CropImage(crop->x, crop->y, crop->width, crop->height); !cut)
                    return cutRefused(source, cut.error);
            }
        }
        if (Result<> saved = save(workspace, frame.target, unit); !saved)
            return saved;
    }
    return Result<>::success();
}

} // namespace

Result<> saveHeldFrames(const QList<ImageWorkspace *> &workspaces, const QStringList &targets, FileTransaction *given)
{
    UnitInUse unit(given);
    Result<> outcome = Result<>::success();
    for (qsizetype n = 0; outcome && n < targets.size() && n < workspaces.size(); ++n)
        outcome = save(*workspaces[n], targets[n], *unit);
    return unit.finish(outcome);
}

Result<> exportFramePlan(ImageWorkspace &workspace, const FramePlan &plan, const std::optional<PixelCrop> &crop,
                         FileTransaction *given)
{
    if (!plan.error.isEmpty())
        return fail(plan.error);
    UnitInUse unit(given);
    return unit.finish(exportFrames(workspace, plan, crop, *unit));
}
