#include "core/preview/TriggerAnimation.h"

#include "core/system/Timer.h"

#include <algorithm>

void TriggerAnimation::trigger(int boxValue)
{
    if (boxValue == 0)
        TrigState = QStringLiteral("Closed");
    else if (boxValue == 1)
        TrigState = QStringLiteral("Open");
    if (stepTimer)
        stepTimer->SetEnabled(true);
}

void TriggerAnimation::step()
{
    const int last = TrigFrames + 1;
    // Without a trigger list there is nothing to show.
    if (last < 1)
        return;
    auto stop = [this](const QString &next) {
        TrigState = next;
        if (stepTimer)
            stepTimer->SetEnabled(false);
    };
    if (TrigState == QLatin1String("Open")) {
        // Never beyond the loaded list's last entry.
        if (TrigFrame >= last)
            return;
        ++TrigFrame;
        if (show)
            show(TrigFrame);
        if (TrigFrame == last)
            stop(QStringLiteral("Closed"));
    } else if (TrigState == QLatin1String("Closed")) {
        if (TrigFrame <= 1)
            return;
        // Never beyond the loaded list's last entry.
        TrigFrame = std::min(TrigFrame, last + 1) - 1;
        if (show)
            show(TrigFrame);
        if (TrigFrame == 1)
            stop(QStringLiteral("Open"));
    }
}
