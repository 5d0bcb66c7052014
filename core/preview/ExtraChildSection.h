#pragma once
// The sixth section of the preview loader: the extra animation (keys "MP",
// "MPx", "MPy", "MR", "MD", "MDA", "MPL", "MPLT", "MF", "MS") in MiscPic and
// ImageList12, then the child animation (keys "EMA", "EMAF", "EMAR",
// "EMAFl") in ImageList13. The player's ExtraAnim plays them.

#include "core/preview/PreviewSection.h"

class ExtraChildSection : public PreviewSection {
public:
    int order() const override { return 6; }
    void reset(PreviewPlayer &player) override;
    void load(PreviewLoad &load) override;
};

// The two groups of the section, in this order.
void LoadExtraAnimation(PreviewLoad &load);
void LoadChildAnimation(PreviewLoad &load);
