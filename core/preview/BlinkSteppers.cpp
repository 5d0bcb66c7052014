#include "core/preview/BlinkSteppers.h"

namespace {
const QString Open = QStringLiteral("Open");
const QString Close = QStringLiteral("Close");
constexpr int RaisedBrowOffset = 10;
}

LayerStep MainBlinkStepper::tick(bool boxVisible, bool browsRaised)
{
    if (Blink == 6)
        BlinkState = Close;
    if (Blink == 1)
        BlinkState = Open;
    const int offset = browsRaised ? RaisedBrowOffset : 0;
    LayerStep step;
    if (BlinkState == Open) {
        if (boxVisible)
            step.entry = Blink + offset;
        ++Blink;
    } else if (BlinkState == Close) {
        --Blink;
        if (boxVisible)
            step.entry = Blink + offset;
    }
    step.stop = Blink == 1;
    return step;
}

LayerStep UserBlinkStepper::tick(bool boxVisible)
{
    if (BlinkB == 5)
        BlinkStateB = Close;
    if (BlinkB == 1)
        BlinkStateB = Open;
    if (BlinkStateB == Open)
        ++BlinkB;
    else if (BlinkStateB == Close)
        --BlinkB;
    LayerStep step;
    if (boxVisible)
        step.entry = BlinkB;
    step.stop = BlinkB == 1;
    return step;
}
