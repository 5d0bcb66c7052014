#include "core/preview/ExtraAnimation.h"

#include "core/base/Numbers.h"
#include "core/system/Timer.h"

void ExtraAnimation::reset()
{
    Misc1State = QStringLiteral("Open");
    Misc1 = 1;
    MiscRandom = 0;
    MiscDelay = 0;
    MiscTimer = 0;
}

void ExtraAnimation::setStepping(bool on)
{
    if (stepTimer)
        stepTimer->SetEnabled(on);
}

void ExtraAnimation::setPausing(bool on)
{
    if (pauseTimer)
        pauseTimer->SetEnabled(on);
}

bool ExtraAnimation::stepping() const
{
    return stepTimer && stepTimer->Enabled();
}

int ExtraAnimation::pauseSeconds() const
{
    return int(roundHalfEven(MiscDelay));
}

void ExtraAnimation::pause()
{
    MiscTimer = 0;
    setPausing(true);
    setStepping(false);
}

bool ExtraAnimation::childStep()
{
    ++ExtraMiscAFrameNumber;
    if (showChild)
        showChild(ExtraMiscAFrameNumber);
    return ExtraMiscAFrameNumber == ExtraMiscATotalFrames + 1;
}

void ExtraAnimation::childAtStart()
{
    // At its end the extra shows frame 01 and rests.
    if (childStep()) {
        if (showExtra)
            showExtra(1);
        ExtraMiscAFrameNumber = 0;
        PlayExtraMiscA = false;
        setStepping(false);
    }
}

void ExtraAnimation::step()
{
    // An extra without frames stands on frame 01.
    if (MiscFrames < 1)
        return;
    if (MiscLoop == QLatin1String("Loop"))
        stepLoop();
    else if (MiscLoop == QLatin1String("Pong") || MiscLoop.isEmpty())
        stepPong();
}

void ExtraAnimation::stepLoop()
{
    const int top = MiscFrames + 1;
    const bool armed = PlayExtraMiscA && childLoaded;
    if (Misc1 == 1 && ExtaMiscAEndOrStart == QLatin1String("Start") && armed) {
        childAtStart();
        return;
    }
    if (Misc1 == top && ExtaMiscAEndOrStart == QLatin1String("End") && armed) {
        // The box keeps the child's last frame.
        if (childStep()) {
            ExtraMiscAFrameNumber = 0;
            PlayExtraMiscA = false;
            setStepping(false);
        }
        return;
    }
    if (Misc1 == top)
        Misc1 = 1;
    ++Misc1;
    if (showExtra)
        showExtra(Misc1);

    if (MiscDelayAt != -1 && Misc1 == MiscDelayAt + 1)
        pause();
    else if (MiscLoopEndorStart == QLatin1String("End") && MiscDelay != 0 && Misc1 == top)
        pause();
    else if (MiscRandom != 0 && Misc1 == 2) {
        // A rest on frame 01 until the master tick starts the extra again.
        setStepping(false);
        setPausing(false);
    }
}

void ExtraAnimation::stepPong()
{
    const int top = MiscFrames + 1;
    const bool armed = PlayExtraMiscA && childLoaded;
    const QString open = QStringLiteral("Open"), close = QStringLiteral("Close");
    if (Misc1 == 2 && ExtaMiscAEndOrStart == QLatin1String("Start") && armed) {
        childAtStart();
        return;
    }
    if (ExtaMiscAEndOrStart == QLatin1String("End") && armed && Misc1 == top) {
        // The extra steps on after the child.
        if (childStep()) {
            ExtraMiscAFrameNumber = 0;
            PlayExtraMiscA = false;
        }
        return;
    }
    if (MiscLoopEndorStart == QLatin1String("End") && MiscDelay != 0 && Misc1 == top && ExtraMiscAFrameNumber == 0) {
        pause();
        Misc1 = MiscFrames;
        Misc1State = close;
        return;
    }

    // The bottom pause: this tick still shows entry 2 before the extra stands still.
    if (Misc1 == 1 && MiscLoopEndorStart == QLatin1String("Start"))
        pause();
    if (Misc1 == top && pauseSeconds() == 0) {
        Misc1State = close;
    } else if (pauseSeconds() != 0 && Misc1 == top) {
        // The top pause, whatever the pause point; the fall goes on with entry N - 1.
        Misc1State = close;
        MiscTimer = 0;
        setStepping(false);
        setPausing(true);
        Misc1 = MiscFrames;
        return;
    }
    if (Misc1 == 1 && MiscRandom != 0 && MiscDelay != 0)
        setStepping(false);
    if (Misc1 <= 1)
        Misc1State = open;
    if (Misc1State == open) {
        ++Misc1;
        if (showExtra)
            showExtra(Misc1);
    }
    if (Misc1State == close) {
        --Misc1;
        if (showExtra)
            showExtra(Misc1);
    }
}

void ExtraAnimation::countPause()
{
    if (stepping()) {
        setPausing(false);
        return;
    }
    if (pauseSeconds() == 0) {
        setStepping(true);
        setPausing(false);
        return;
    }
    ++MiscTimer;
    if (pauseSeconds() == MiscTimer) {
        setStepping(true);
        setPausing(false);
    }
}
