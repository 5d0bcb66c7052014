#pragma once
// The seventh section of the preview loader: the full-background animation
// (keys "MainAnimName", "MainAnimF", "MainAnimD", "MainAnimDS", "MainAnimR",
// "MainAnimS", "MainAnimRS", "MainAnimRSSMin", "MainAnimRSSMax",
// "MainAnimTalk", "MainAnimLoop", "MainAnimMPause") in ImageList14. The
// player's FullAnim plays it in MainPic.

#include "core/preview/PreviewSection.h"

class FullBackgroundSection : public PreviewSection {
public:
    int order() const override { return 7; }
    void reset(PreviewPlayer &player) override;
    void load(PreviewLoad &load) override;
};

void LoadFullBackgroundAnimation(PreviewLoad &load);
