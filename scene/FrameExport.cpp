#include "scene/FrameExport.h"

#include "base/Files.h"
#include "platform/ImageWorkspace.h"

#include <QDir>

namespace {

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

bool save(ImageWorkspace &workspace, const QString &target, QString *error)
{
    workspace.SaveImageFileName(target);
    return workspace.SaveImageFile() || fail(error, workspace.LastError());
}

} // namespace

bool saveHeldFrames(const QList<ImageWorkspace *> &workspaces, const QStringList &targets, QString *error)
{
    for (qsizetype n = 0; n < targets.size() && n < workspaces.size(); ++n)
        if (!save(*workspaces[n], targets[n], error))
            return false;
    return true;
}

bool exportFramePlan(ImageWorkspace &workspace, const FramePlan &plan, const std::optional<PixelCrop> &crop,
                     QString *error)
{
    if (!plan.error.isEmpty())
        return fail(error, plan.error);
    for (const FrameCopy &frame : plan.frames) {
        // The user named the series; its files may differ in letter case.
        const QString source = resolvePathIgnoringCase(frame.source);
        if (!workspace.LoadImageFile(source))
            return fail(error, workspace.LastError());
        if (crop && !workspace.CropImage(crop->x, crop->y, crop->width, crop->height))
            return fail(error, QStringLiteral("Could not cut %1: %2")
                                   .arg(QDir::toNativeSeparators(source), workspace.LastError()));
        if (!save(workspace, frame.target, error))
            return false;
    }
    return true;
}
