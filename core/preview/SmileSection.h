#pragma once
// The smile section of the preview loader (the third, after the main mouth).
// A scene with "KS=" names 14 smile frames: frames 1..8 are the smile itself,
// frames 8..14 the mouths the character talks with while smiling. They go
// into the scratch list ImageList2 ("KMT"), each at the main mouth's frame 01
// size, and their composites over smile frame 1 into the main mouth's display
// list ImageList8 behind its 22 talk mouths:
//   entries 23..44: the smile-talk mouths, entry 23 + viseme;
//   entries 45..52: smile frames 1..8, played by core/preview/SmileStepper.h.
// The section draws nothing; VelmMouth keeps the main mouth's frame 01.
//
// The smile needs the talk mouths of this load's main mouth: without them (no
// "KM=", or a main mouth frame 01 that cannot be loaded) the scene has no
// smile, so that entries 23..52 never land on another scene's list. Without
// its own frame 01 it has no smile either. The frame names are recorded
// whenever the scene has "KS=".

#include "core/preview/PreviewSection.h"

#include <array>

inline constexpr int SmileFrameCount = 14;
inline constexpr int SmileTalkFirstEntry = 23;

// The smile frame of each entry 23..52 of ImageList8, entry 23 first.
inline constexpr std::array<int, 30> SmileEntryFrames = {
    8,  12, 12, 13, 11, 10, 10, 14, 14, 14, 14, // 23..33: visemes 0..10
    11, 11, 14, 13, 9,  14, 10, 9,  9,  10, 8,  // 34..44: visemes 11..21
    1,  2,  3,  4,  5,  6,  7,  8,              // 45..52: the smile
};

// Loads the smile of the scene, or leaves the player without one.
void LoadSmileLayer(PreviewLoad &load);

class SmileSection : public PreviewSection {
public:
    int order() const override { return 3; }
    // Both smile timers stop and the smile rests; the scene has none until its load.
    void reset(PreviewPlayer &player) override;
    void load(PreviewLoad &load) override { LoadSmileLayer(load); }
};
