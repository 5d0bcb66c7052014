#include "core/preview/MasterTick.h"

#include "core/base/Numbers.h"
#include "core/system/Services.h"

#include <cmath>

double tickNumber(const Value &v)
{
    if (v.isText())
        return toReal(v.toText()).value_or(0);
    return v.toDouble();
}

MasterTickStarts masterTickStarts(const MasterTickState &state, RandomService &random)
{
    MasterTickStarts starts;
    if (state.mainBlinkShown) {
        const float r = random.next();
        const long long b = roundHalfEven(double(1000 * r));
        if (!state.browRunning && !state.mainBlinkRunning && b > 975)
            starts.startMainBlink = true;
    }
    if (state.userBlinkShown) {
        const float r = random.next();
        starts.blinkrndB = 1000 * r;
        if (!state.userBlinkRunning && *starts.blinkrndB > 965)
            starts.startUserBlink = true;
    }
    if (state.extraShown) {
        const double c = std::floor(double(random.next()) * tickNumber(state.ExtraMiscARandom) * 3);
        if (c == 1)
            starts.requestChild = true;
        if (!state.extraRunning && !state.extraPausing) {
            if (tickNumber(state.MiscDelay) != 0) {
                const double m = std::floor(double(random.next()) * tickNumber(state.MiscRandom) + 1);
                if (m == 1)
                    starts.startExtra = true;
            }
            if (tickNumber(state.MiscRandom) == 0)
                starts.startExtra = true;
        }
    }
    return starts;
}
