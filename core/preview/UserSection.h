#pragma once
// The user character section of the preview loader (the fifth): its mouth and
// its blink, each a layer of its own.
//
// The mouth ("UM=") loads as the main mouth does (core/preview/MouthSection.h),
// into UserMouth with the scratch list ImageList2 and the talk list ImageList9
// ("UMT"), which the lip sync shows while the user's voice speaks; no smile.
// HasUser tells whether the scene has "UM=", and the user's speak button
// speaks only then.
//
// The blink ("UB=") loads as the main blink does (core/preview/BlinkBrowSection.h),
// into UserBlink with ImageList4 and ImageList11 ("UBL"), without brows. It
// does not need the mouth.

#include "core/preview/BlinkBrowSection.h"
#include "core/preview/MouthSection.h"

// The user character's mouth: "UM", UserMouth, ImageList2, ImageList9, "UMT",
// UserMouthFrameFiles.
MouthLayer userMouthLayer(PreviewPlayer &player);
// The user character's blink: "UB", UserBlink, ImageList4, ImageList11, "UBL",
// UserBlinkFrameFiles.
BlinkLayer userBlinkLayer(PreviewPlayer &player);

void LoadUserMouthLayer(PreviewLoad &load);
void LoadUserBlinkLayer(PreviewLoad &load);

class UserSection : public PreviewSection {
public:
    int order() const override { return 5; }
    void load(PreviewLoad &load) override
    {
        LoadUserMouthLayer(load);
        LoadUserBlinkLayer(load);
    }
};
