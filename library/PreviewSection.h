#pragma once
// How a layer plugs into the preview loader. LoadScenePreview reads the scene
// file, shows the background and notes the alternate image, then runs every
// section's load step in table order:
//   2 main mouth, 3 smile, 4 brow and main blink, 5 user mouth and blink,
//   6 extra and child animations, 7 full-background animation,
//   8 trigger animation, 9 sounds,
// and at last sets the "Trigger Anim" box. Every section's reset step runs
// at the start of each load (before the file is read) and when the window
// closes: a section clears there what the previous scene left running (its
// timers' states, its sounds).
//
// A new layer: derive from PreviewSection, read its keys with the rules of
// core/preview/PreviewScene.h into a record, load its frames with
// PreviewLoad::LoadListFrames (or loadFrames and placeLayer), and add it in
// makePreviewSections (library/PreviewSections.cpp).

#include "core/base/Files.h"
#include "core/preview/PreviewBudget.h"
#include "core/preview/PreviewFrames.h"
#include "core/preview/PreviewScene.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

class ImageList;
class PictureBox;
class VelmNShare;

// One load's context, handed to each section's load step.
class PreviewLoad {
public:
    PreviewLoad(VelmNShare &window, const QString &sceneText, const QString &imagesFolder);

    VelmNShare &window;
    const QString text;          // the whole scene text
    const QString imagesFolder;  // <BaseFolder>Images/
    FolderNames images;          // its names, listed at most once a load
    PreviewBudget budget;        // what the load's pictures may take
    PreviewLocals locals;

    KeyValue key(const QString &key) const { return SceneKeyValue(text, key); }
    // PreviewRatio, afresh: MainPic's width over the background's own width.
    std::optional<double> ratio() const;
    // A layer's frames through the window's work image (core/preview/PreviewFrames.h);
    // a layer with a box of its own measures W1 and H1 into the locals.
    // `composed`: the pictures made of them the layer keeps besides them.
    LayerFrames loadFrames(const QStringList &names, std::optional<QSize> sizeFrom = std::nullopt,
                           int composed = 0);
    // The same with the frames after 01 kept as their files' bytes (loadHeldFrames).
    LayerFrames loadHeldFrames(const QStringList &names, std::optional<QSize> sizeFrom = std::nullopt);
    // PlacePreviewLayer: places and sizes the box from frame 01 and the x and y
    // texts, and shows frame 01 resized in it. The box is not made visible.
    void placeLayer(PictureBox *box, const LayerFrames &frames) const;
    // LoadListFrame for every frame of a layer: loads them, places `box` (when
    // given) from frame 01, and adds frame n as entry firstEntry - 1 + n of
    // `list`, the first under `key`. When frame 01 is missing nothing is added
    // or placed, and the frames come back not loaded. `composed` as for loadFrames.
    LayerFrames LoadListFrames(const QStringList &names, ImageList &list, const QString &key, PictureBox *box,
                               int firstEntry = 1, std::optional<QSize> sizeFrom = std::nullopt,
                               int composed = 0);
};

class PreviewSection {
public:
    virtual ~PreviewSection() = default;
    // The section's place in the loader's table (2..9).
    virtual int order() const = 0;
    // At the start of every load and at the window's close.
    virtual void reset(VelmNShare &) {}
    virtual void load(PreviewLoad &load) = 0;
};

using PreviewSections = std::vector<std::unique_ptr<PreviewSection>>;

// Every layer section of the preview, in table order.
PreviewSections makePreviewSections();
// Adds a section after those of the same or a lower order.
void addPreviewSection(PreviewSections &sections, std::unique_ptr<PreviewSection> section);
