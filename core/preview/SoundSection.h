#pragma once
// The preview loader's sound section, the ninth: reads the scene's sound keys
// into the program's sound settings and decodes its sound files. Its reset
// stops every sound, clears the last scene's settings and ends the loop-delay
// count, at each load and when the library window closes.

#include "core/preview/PreviewSection.h"

class SceneSoundSection : public PreviewSection {
public:
    int order() const override { return 9; }
    void reset(PreviewPlayer &player) override;
    void load(PreviewLoad &load) override;
};
