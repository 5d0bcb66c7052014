#pragma once
// The blink and brow section of the preview loader (the fourth), and the
// blink load both characters share.
//
// A blink layer ("KB=" for the main character, "UB=" for the user's) has four
// frames in its source list (entry 1 under the list's key) and five entries
// in its display list, composed over frame 01 as frames 1, 1, 2, 3, 4, so
// that a blink step s shows entry s. Its box is placed from frame 01 and its
// x and y keys, and shown.
//
// The brows ("KBr=") are cut from the blink's eye region: their nine frames
// take the blink's frame 01 size, go into the scratch list ImageList2 ("KBL")
// and appear in the blink's display list ImageList10 as entries 6..15 (brow
// frames 1..9, and 9 again), shown in the blink box. So the brows load only
// behind this scene's blink: without "KB=", or when the blink's frame 01 or
// the brow's own frame 01 cannot be loaded, the brows are left out (their
// starter stays off), though VelmHasBrow and the brow frame names follow the
// scene.

#include "core/preview/BoxLayer.h"

#include <array>

// A blink: its four frames, and the five blink entries in its display list.
using BlinkLayer = BoxLayer;

inline constexpr int BlinkFrameCount = 4;
inline constexpr int BrowFrameCount = 9;
// The frame of each display entry of a blink, entry 1 first.
inline constexpr std::array<int, 5> BlinkEntryFrames = {1, 1, 2, 3, 4};
// The brow frame of each entry 6..15 of ImageList10.
inline constexpr std::array<int, 10> BrowEntryFrames = {1, 2, 3, 4, 5, 6, 7, 8, 9, 9};

// The main character's blink: "KB", VelmBlink, ImageList3, ImageList10, "KBL",
// MainBlinkFrameFiles.
BlinkLayer mainBlinkLayer(PreviewPlayer &player);

// Loads a blink layer as loadBoxLayer does, with its five blink entries.
LayerFrames loadBlinkLayer(PreviewLoad &load, const BlinkLayer &layer);

// The main blink, then the brows.
void LoadBlinkAndBrowLayers(PreviewLoad &load);

class BlinkBrowSection : public PreviewSection {
public:
    int order() const override { return 4; }
    // The brows stop and come down. A running blink goes on.
    void reset(PreviewPlayer &player) override;
    void load(PreviewLoad &load) override { LoadBlinkAndBrowLayers(load); }
};
