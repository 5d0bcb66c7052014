#include "core/preview/SmileStepper.h"

#include "core/system/Services.h"

#include <cmath>

void SmileStepper::rest()
{
    VelmSmileOpen = false;
    VelmSmileVar1 = RestEntry;
    VelmSmileOn = false;
}

bool SmileStepper::starts(RandomService &random)
{
    const int n = int(std::floor(40.0f * random.next())) + 1;
    return n == 1;
}

LayerStep SmileStepper::tick(RandomService &random)
{
    if (!VelmHasSmile)
        return {};
    if (VelmSmileVar1 == FirstEntry && !VelmSmileOpen)
        VelmSmileOn = true;
    VelmSmileVar1 += VelmSmileOpen ? -1 : 1;
    LayerStep step{VelmSmileVar1, false};
    // Whether a full smile is held: drawn on every step.
    const int c = int(std::floor(2.0f * random.next() + 1.0f));
    if (VelmSmileVar1 == FullEntry && !VelmSmileOpen) {
        VelmSmileOpen = VelmSmileOn = true;
        step.stop = c == 1;
    }
    if (VelmSmileVar1 == FirstEntry && VelmSmileOpen) {
        VelmSmileOpen = VelmSmileOn = false;
        step.stop = true;
    }
    return step;
}
