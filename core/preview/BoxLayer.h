#pragma once
// A layer with a box of its own over MainPic and a display list composed at
// load: the mouths and the blinks of both characters. Its name key names
// frame 01 of a fixed set of frames, its x and y keys place the box, and each
// display entry is one source frame drawn over frame 01, so that a lip-sync
// or animation step shows one entry.

#include "core/preview/PreviewSection.h"

#include <QString>
#include <QStringList>

#include <span>

class ImageList;
class PreviewBox;

struct BoxLayer {
    QString keyPrefix;  // "KM": keys "KM=", "KMx=", "KMy="
    PreviewBox *box;    // shows the layer over MainPic
    ImageList *frames;  // the source frames, entry 1 under listKey
    ImageList *display; // the composed entries, entry 1 under listKey
    QString listKey;    // "KMT"
    QStringList *files; // the frame file names, entries 1..frameCount
};

// Loads a layer of `frameCount` frames whose display entries hold the frames
// `displayFrames`, in order. Without its name key nothing changes: the box
// stays hidden and the lists keep what they held. With it, both lists are
// emptied and the frame names recorded; when frame 01 loads the lists are
// filled and the box placed and shown, else the layer stays hidden with empty
// lists. Returns the frames loaded (not loaded in either case).
LayerFrames loadBoxLayer(PreviewLoad &load, const BoxLayer &layer, int frameCount,
                         std::span<const int> displayFrames);
