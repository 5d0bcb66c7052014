#include "core/preview/PreviewFrames.h"

#include "core/base/Files.h"
#include "core/preview/PreviewScene.h"

bool loadPreviewPicture(ImageWorkspace &work, const QString &imagesFolder, const QString &name)
{
    if (!isBareName(name)) {
        work.Clear();
        return false;
    }
    return work.LoadImageFile(findFileIgnoringCase(imagesFolder, name));
}

LayerFrames loadLayerFrames(ImageWorkspace &work, const QString &imagesFolder, const QStringList &names,
                            std::optional<double> ratio, std::optional<QSize> sizeFrom)
{
    LayerFrames layer;
    std::optional<QSize> target;
    for (qsizetype i = 0; i < names.size(); ++i) {
        bool ok = loadPreviewPicture(work, imagesFolder, names[i]);
        if (ok && i == 0) {
            layer.firstSize = sizeFrom ? *sizeFrom : work.Picture().size();
            layer.firstHimetric = HimetricSize(work.Picture());
            target = previewFrameSize(layer.firstSize, ratio);
        }
        if (ok && target)
            ok = work.ResizeImage(target->width(), target->height());
        if (!ok && i == 0)
            return LayerFrames();
        layer.frames.append(ok ? work.Picture() : layer.frames.last());
    }
    layer.loaded = !layer.frames.isEmpty();
    return layer;
}

LayerFrames loadHeldFrames(ImageWorkspace &work, const QString &imagesFolder, const QStringList &names,
                           std::optional<double> ratio, std::optional<QSize> sizeFrom)
{
    LayerFrames layer = loadLayerFrames(work, imagesFolder, names.mid(0, 1), ratio, sizeFrom);
    if (!layer.loaded)
        return layer;
    const std::optional<QSize> target = previewFrameSize(layer.firstSize, ratio);
    layer.held.append(nullptr);
    for (qsizetype i = 1; i < names.size(); ++i) {
        std::shared_ptr<const DeferredPicture> frame = layer.held.last();
        if (isBareName(names[i])) {
            PictureBytes read = ReadPictureFile(findFileIgnoringCase(imagesFolder, names[i]));
            const QSize shown = target ? *target : read.size;
            if (read && !shown.isEmpty() && pictureFitsInMemory(shown.width(), shown.height()))
                frame = std::make_shared<HeldPicture>(std::move(read.bytes), shown);
        }
        layer.held.append(frame);
    }
    return layer;
}
