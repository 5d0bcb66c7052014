#include "scene/FrameExport.h"

#include "adapters/jpeg/PictureCut.h"
#include "core/base/Files.h"
#include "core/base/FileTransaction.h"
#include "core/pictures/ImageWorkspace.h"

#include <QDir>

namespace {

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

bool save(ImageWorkspace &workspace, const QString &target, FileTransaction &unit, QString *error)
{
    workspace.SaveImageFileName(target);
    return workspace.SaveImageFile(unit) || fail(error, workspace.LastError());
}

// The export's own unit when the caller gave none: committed when the export
// ends, whatever its outcome, so the pictures written stay.
class UnitInUse {
public:
    explicit UnitInUse(FileTransaction *given) : m_unit(given ? *given : m_own), m_committed(given != nullptr) {}
    FileTransaction &operator*() { return m_unit; }
    bool finish(bool ok, QString *error)
    {
        if (m_committed)
            return ok;
        m_committed = true;
        const FileResult done = m_unit.commit();
        if (ok && !done)
            return fail(error, done.error);
        return ok;
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

bool exportFrames(ImageWorkspace &workspace, const FramePlan &plan, const std::optional<PixelCrop> &crop,
                  FileTransaction &unit, QString *error)
{
    std::optional<PictureArea> area;
    if (crop)
        area = PictureArea{crop->x, crop->y, qint64(crop->x) + crop->width, qint64(crop->y) + crop->height};
    PictureCutter cutter;
    const KeepLastFrame keep(workspace);
    for (const FrameCopy &frame : plan.frames) {
        // The user named the series; its files may differ in letter case.
        const QString source = resolvePathIgnoringCase(frame.source);
        if (cutter.read(source, area)) {
            workspace.SetPicture(cutter.picture());
        } else {
            // Every file the cutter does not take is loaded whole and cut, with the loader's checks and reasons.
            if (!workspace.LoadImageFile(source))
                return fail(error, workspace.LastError());
            if (crop && !workspace.CropImage(crop->x, crop->y, crop->width, crop->height))
                return fail(error, QStringLiteral("Could not cut %1: %2")
                                       .arg(QDir::toNativeSeparators(source), workspace.LastError()));
        }
        if (!save(workspace, frame.target, unit, error))
            return false;
    }
    return true;
}

} // namespace

bool saveHeldFrames(const QList<ImageWorkspace *> &workspaces, const QStringList &targets, QString *error,
                    FileTransaction *given)
{
    UnitInUse unit(given);
    bool ok = true;
    for (qsizetype n = 0; ok && n < targets.size() && n < workspaces.size(); ++n)
        ok = save(*workspaces[n], targets[n], *unit, error);
    return unit.finish(ok, error);
}

bool exportFramePlan(ImageWorkspace &workspace, const FramePlan &plan, const std::optional<PixelCrop> &crop,
                     QString *error, FileTransaction *given)
{
    if (!plan.error.isEmpty())
        return fail(error, plan.error);
    UnitInUse unit(given);
    const bool ok = exportFrames(workspace, plan, crop, *unit, error);
    return unit.finish(ok, error);
}
