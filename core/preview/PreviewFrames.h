#pragma once
// Loading one layer's frames for the preview: each frame file through the work
// image, every frame resized to the size its frame 01 gives, as the preview's
// picture lists hold them. A frame that cannot be loaded or resized is
// missing: a missing frame n > 1 repeats the frame before it (the same shared
// picture), a missing frame 01 leaves the layer out. The work image never
// lends a picture of another layer or scene.
//
// Every load keeps to its budget (core/preview/PreviewBudget.h): a frame whose own
// picture passes the frame bound is missing, and a layer whose frames would
// be shown larger than the bound, or whose pictures would pass what is left
// of the budget, is left out as a layer without frame 01 is. Both are known
// from frame 01's header, before any frame of the layer is decoded.

#include "core/pictures/ImageWorkspace.h"
#include "core/preview/PreviewBudget.h"

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class FolderNames;

struct LayerFrames {
    bool loaded = false;  // frame 01 loaded: the layer shows
    QSize firstSize;      // W1 x H1: frame 01's own pixel size
    QSize firstHimetric;  // frame 01's own size in HIMETRIC units
    QList<QImage> frames; // frame n at index n - 1, resized; empty when not loaded
    // Frames kept as their files' bytes (loadHeldFrames): frame n at index
    // n - 1, decoded when shown; null for frame 01 and the frames that share
    // its picture, which `frames` holds as its only entry.
    QList<std::shared_ptr<const DeferredPicture>> held;
};

// Loads the frames `names` (bare names in the folder of `images`, found
// exactly, else ignoring case). Each is resized to W1 x H1 times the ratio,
// W1 x H1 being frame 01's own size or `sizeFrom` for a layer sized by
// another; without a ratio the frames keep their own size. The layer takes
// from `budget` its frames and `composed` more pictures of frame 01's shown
// size (the display entries made of them).
LayerFrames loadLayerFrames(ImageWorkspace &work, FolderNames &images, const QStringList &names,
                            std::optional<double> ratio, PreviewBudget &budget,
                            std::optional<QSize> sizeFrom = std::nullopt, int composed = 0);

// The same for a long set of frames: frame 01 is loaded and resized as above,
// the others are read and checked (a BMP or JPEG file, whole, with a size in
// its header) and kept as their bytes, each decoded at frame 01's resized size
// when it is shown. A frame whose file fails the checks is missing. The layer
// takes from `budget` frame 01 and the pictures its list keeps made at once
// (ImageList::MostMade), and from its file budget the files' bytes.
LayerFrames loadHeldFrames(ImageWorkspace &work, FolderNames &images, const QStringList &names,
                           std::optional<double> ratio, PreviewBudget &budget,
                           std::optional<QSize> sizeFrom = std::nullopt);

// Loads one picture file of the Images folder by a bare name; false when the
// name is not bare or the picture cannot be loaded (the work image is empty then).
bool loadPreviewPicture(ImageWorkspace &work, FolderNames &images, const QString &name);
