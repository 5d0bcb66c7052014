#pragma once
// The eighth section of the preview loader: the trigger animation (keys "TP",
// "TPx", "TPy", "TS", "TF") in TriggerPic and ImageList1, and the pictures
// the "Trigger Anim" box swaps in MainPic: the alternate image ("NI") and the
// background, each decoded here at MainPic's size. The player's TriggerAnim
// plays the trigger.

#include "core/preview/PreviewSection.h"

class TriggerSection : public PreviewSection {
public:
    int order() const override { return 8; }
    void reset(PreviewPlayer &player) override;
    void load(PreviewLoad &load) override;
};

void LoadTriggerLayer(PreviewLoad &load);
