#include "core/preview/BrowStepper.h"

#include "core/system/Services.h"

#include <cmath>

void BrowStepper::lower()
{
    VelmBrowVar1 = LoweredAfterLoad;
    VelmBrowOpen = VelmBrowOn = false;
}

bool BrowStepper::starts(RandomService &random, bool blinkRunning)
{
    const int r = int(std::floor(random.next() * 10.0f)) + 1;
    return !blinkRunning && r == 1;
}

LayerStep BrowStepper::tick()
{
    if (!VelmHasBrow)
        return {};
    VelmBrowVar1 += VelmBrowOpen ? -1 : 1;
    LayerStep step{VelmBrowVar1, false};
    if (VelmBrowVar1 == Raised && !VelmBrowOpen) {
        VelmBrowOpen = VelmBrowOn = true;
        step.stop = true;
    } else if (VelmBrowVar1 == Lowered && VelmBrowOpen) {
        VelmBrowOpen = VelmBrowOn = false;
        step.stop = true;
    }
    return step;
}
