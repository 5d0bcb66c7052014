#include "core/scene/DesignerFrames.h"

#include "core/base/Files.h"
#include "core/pictures/ImageWorkspace.h"
#include "core/scene/CropRectToPixels.h"
#include "core/scene/FrameSetFiles.h"
#include "core/scene/SceneState.h"
#include "core/system/Services.h"

QString SetFramePath(const AnimFrameSet &set, int n)
{
    const QString name = frameFileName(set.FrameBaseName.toText(), n, set.FrameExt.toText());
    return resolvePathIgnoringCase(joinPath(set.FrameFolder.toText(), name));
}

QImage LoadPictureOrSay(const QString &path)
{
    QString error;
    QImage picture = LoadPicture(path, &error);
    if (picture.isNull())
        MsgBox(error);
    return picture;
}

bool LoadFrameOrSay(ImageWorkspace &workspace, const QString &path)
{
    if (!workspace.LoadImageFile(path)) {
        MsgBox(workspace.LastError());
        return false;
    }
    return true;
}

bool CropFrameOrSay(ImageWorkspace &workspace, const PixelCrop &crop)
{
    if (!workspace.CropImage(crop.x, crop.y, crop.width, crop.height)) {
        // A rectangle sized down to nothing is told apart from one beside the picture.
        MsgBox(crop.width <= 0 || crop.height <= 0
                   ? QStringLiteral("The green rectangle has no area. Please make it larger with its handles and "
                                    "click NEXT again.")
                   : QStringLiteral("The green rectangle does not lie over the picture. Please move it over the "
                                    "picture and click NEXT again."));
        return false;
    }
    return true;
}

std::optional<int> StepBackFrame(int current, int first)
{
    if (current <= first || current - 1 < 0)
        return std::nullopt;
    return current - 1;
}

std::optional<int> StepForwardFrame(int current, int last, std::optional<int> bound)
{
    if (current >= last)
        return std::nullopt;
    const int next = current + 1;
    if (next >= 10 && bound && next > *bound)
        return std::nullopt;
    return next;
}
