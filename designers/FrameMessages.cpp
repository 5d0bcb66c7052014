#include "designers/FrameMessages.h"

#include "core/pictures/ImageWorkspace.h"
#include "core/scene/CropRectToPixels.h"
#include "platform/WindowServices.h"

QImage LoadPictureOrSay(const QString &path)
{
    Result<QImage> picture = LoadPicture(path);
    if (!picture)
        MsgBox(picture.error);
    return std::move(picture.value);
}

bool LoadFrameOrSay(ImageWorkspace &workspace, const QString &path)
{
    if (const Result<> loaded = workspace.LoadImageFile(path); !loaded) {
        MsgBox(loaded.error);
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
