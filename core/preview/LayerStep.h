#pragma once
// What one step of a preview layer's animation does: the entry of the layer's
// display list it shows, and whether its timer stops after it. The steppers
// decide; the player shows the entry with ShowListEntry (core/preview/PreviewShow.h)
// and switches the timer.

struct LayerStep {
    int entry = 0;     // the display list's entry to show; 0 shows nothing
    bool stop = false; // the step's timer is disabled after it
    bool operator==(const LayerStep &) const = default;
};
