#include "core/preview/PreviewFrames.h"

#include "core/base/Files.h"
#include "core/preview/PreviewScene.h"

#include <QFileInfo>

#include <algorithm>

namespace {

// A frame file read and checked, not yet decoded: refused when its own
// picture passes the frame bound.
PictureBytes readFrame(const QString &path, const PreviewBudget &budget)
{
    PictureBytes read = ReadPictureFile(path);
    if (read && !budget.fitsFrame(read.value.size))
        return PictureBytes::failure(QStringLiteral("larger than a preview frame"));
    return read;
}

// The same for a frame named in a scene: refused when the name is not bare.
PictureBytes readFrame(FolderNames &images, const QString &name, const PreviewBudget &budget)
{
    if (!isBareName(name))
        return PictureBytes::failure(QStringLiteral("not a bare name"));
    return readFrame(images.find(name), budget);
}

// The work image becomes the decoded frame, or empty when it does not decode.
bool decodeFrame(ImageWorkspace &work, const PictureBytes &read, const PreviewBudget &budget)
{
    work.Clear();
    if (!read)
        return false;
    const QImage picture = DecodePictureBytes(read.value.bytes, QString()).value;
    if (picture.isNull() || !budget.fitsFrame(picture.size()))
        return false;
    work.SetPicture(picture);
    return work.HasPicture();
}

} // namespace

bool loadPreviewPicture(ImageWorkspace &work, FolderNames &images, const QString &name)
{
    if (!isBareName(name)) {
        work.Clear();
        return false;
    }
    return work.LoadImageFile(images.find(name)).ok();
}

LayerFrames loadLayerFrames(ImageWorkspace &work, FolderNames &images, const QStringList &names,
                            std::optional<double> ratio, PreviewBudget &budget, std::optional<QSize> sizeFrom,
                            int composed)
{
    LayerFrames layer;
    std::optional<QSize> target;
    qint64 each = 0, taken = 0; // bytes of one picture of frame 01's shown size; bytes taken
    auto leaveOut = [&] {
        budget.give(taken);
        work.Clear();
        return LayerFrames();
    };
    for (qsizetype i = 0; i < names.size(); ++i) {
        const PictureBytes read = readFrame(images, names[i], budget);
        if (i == 0) {
            // Known from the header: the size every frame is shown at, and
            // whether the layer's pictures fit what the load has left.
            if (!read)
                return leaveOut();
            target = previewFrameSize(sizeFrom ? *sizeFrom : read.value.size, ratio);
            const QSize shown = target ? *target : read.value.size;
            each = pictureBytes(shown);
            if (!budget.fitsFrame(shown) || !budget.take(each * (names.size() + std::max(composed, 0))))
                return leaveOut();
            taken = each * (names.size() + std::max(composed, 0));
        }
        bool ok = decodeFrame(work, read, budget);
        if (ok && i == 0) {
            layer.firstSize = sizeFrom ? *sizeFrom : work.Picture().size();
            layer.firstHimetric = HimetricSize(work.Picture());
        }
        if (ok && target) {
            ok = work.ResizeImage(target->width(), target->height()).ok();
        } else if (ok && i > 0) {
            // Kept at its own size: a frame larger than frame 01 takes the difference.
            const qint64 more = pictureBytes(work.Picture().size()) - each;
            if (more > 0 && !budget.take(more))
                ok = false;
            else if (more > 0)
                taken += more;
        }
        if (!ok && i == 0)
            return leaveOut();
        layer.frames.append(ok ? work.Picture() : layer.frames.last());
    }
    layer.loaded = !layer.frames.isEmpty();
    return layer;
}

LayerFrames loadHeldFrames(ImageWorkspace &work, FolderNames &images, const QStringList &names,
                           std::optional<double> ratio, PreviewBudget &budget, std::optional<QSize> sizeFrom)
{
    const qint64 before = budget.used(), filesBefore = budget.fileBytesUsed();
    LayerFrames layer = loadLayerFrames(work, images, names.mid(0, 1), ratio, budget, sizeFrom);
    if (!layer.loaded)
        return layer;
    auto leaveOut = [&] {
        budget.give(budget.used() - before, budget.fileBytesUsed() - filesBefore);
        return LayerFrames();
    };
    // The files' sizes first, so that a set whose files would pass the file
    // budget is left out before any of them is read.
    QStringList paths;
    qint64 fileBytes = 0;
    for (qsizetype i = 1; i < names.size(); ++i) {
        paths << (isBareName(names[i]) ? images.find(names[i]) : QString());
        if (!paths.last().isEmpty())
            fileBytes += QFileInfo(paths.last()).size();
    }
    if (!budget.takeFile(fileBytes))
        return leaveOut();
    budget.give(0, fileBytes);

    const std::optional<QSize> target = previewFrameSize(layer.firstSize, ratio);
    qint64 largestShown = 0;
    int distinct = 0;
    layer.held.append(nullptr);
    for (qsizetype i = 1; i < names.size(); ++i) {
        std::shared_ptr<const DeferredPicture> frame = layer.held.last();
        PictureBytes read = readFrame(paths[i - 1], budget);
        const QSize shown = target ? *target : read.value.size;
        if (read && !shown.isEmpty() && pictureFitsInMemory(shown.width(), shown.height())) {
            if (!budget.takeFile(read.value.bytes.size()))
                return leaveOut();
            largestShown = std::max(largestShown, pictureBytes(shown));
            ++distinct;
            frame = std::make_shared<HeldPicture>(std::move(read.value.bytes), shown);
        }
        layer.held.append(frame);
    }
    // The list makes the held frames as they are shown and keeps a few made.
    if (!budget.take(largestShown * std::min(distinct, ImageList::MostMade)))
        return leaveOut();
    return layer;
}
