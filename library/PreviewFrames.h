#pragma once
// Loading one layer's frames for the preview: each frame file through the work
// image, every frame resized to the size its frame 01 gives, as the preview's
// picture lists hold them. A frame that cannot be loaded or resized is
// missing: a missing frame n > 1 repeats the frame before it (the same shared
// picture), a missing frame 01 leaves the layer out. The work image never
// lends a picture of another layer or scene.

#include "platform/ImageWorkspace.h"

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

struct LayerFrames {
    bool loaded = false;  // frame 01 loaded: the layer shows
    QSize firstSize;      // W1 x H1: frame 01's own pixel size
    QSize firstHimetric;  // frame 01's own size in HIMETRIC units
    QList<QImage> frames; // frame n at index n - 1, resized; empty when not loaded
};

// Loads the frames `names` (bare names in `imagesFolder`, found exactly, else
// ignoring case). Each is resized to W1 x H1 times the ratio, W1 x H1 being
// frame 01's own size or `sizeFrom` for a layer sized by another; without a
// ratio the frames keep their own size.
LayerFrames loadLayerFrames(ImageWorkspace &work, const QString &imagesFolder, const QStringList &names,
                            std::optional<double> ratio, std::optional<QSize> sizeFrom = std::nullopt);

// Loads one picture file of the Images folder by a bare name; false when the
// name is not bare or the picture cannot be loaded (the work image is empty then).
bool loadPreviewPicture(ImageWorkspace &work, const QString &imagesFolder, const QString &name);
