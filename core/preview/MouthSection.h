#pragma once
// The mouth layers of the preview: a character's seven mouth frames into the
// loader's scratch list, and its 22 talk mouths (core/preview/TalkTable.h) into the
// display list the lip sync shows. The main character's mouth is the second
// section of the loader; the user character's mouth loads the same way with
// its own keys, box and lists.

#include "core/preview/BoxLayer.h"

// A mouth: its seven frames, and the talk mouths in its display list.
using MouthLayer = BoxLayer;

inline constexpr int MouthFrameCount = 7;

// The main character's mouth: "KM", VelmMouth, ImageList2, ImageList8, "KMT",
// MainMouthFrameFiles.
MouthLayer mainMouthLayer(PreviewPlayer &player);

// Loads a mouth layer as loadBoxLayer does, with its 22 talk mouths.
void loadMouthLayer(PreviewLoad &load, const MouthLayer &layer);

class MainMouthSection : public PreviewSection {
public:
    int order() const override { return 2; }
    void load(PreviewLoad &load) override;
};
