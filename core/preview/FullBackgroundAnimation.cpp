#include "core/preview/FullBackgroundAnimation.h"

#include "core/system/Timer.h"

void FullBackgroundAnimation::setStepping(bool on)
{
    if (stepTimer)
        stepTimer->SetEnabled(on);
}

void FullBackgroundAnimation::setPausing(bool on)
{
    if (pauseTimer)
        pauseTimer->SetEnabled(on);
}

void FullBackgroundAnimation::showEntry(int k)
{
    if (show)
        show(k);
}

void FullBackgroundAnimation::pause()
{
    MainAnimTimer = 0;
    setPausing(true);
    setStepping(false);
}

void FullBackgroundAnimation::step()
{
    if (MainAnimLoop == QLatin1String("Loop"))
        stepLoop();
    else if (MainAnimLoop == QLatin1String("Pong"))
        stepPong();
}

// MainAnimTrack is the entry shown last: each cycle shows 1, 2, ..., T + 1.
void FullBackgroundAnimation::stepLoop()
{
    const int top = MainAnimFramesTotal + 1;
    if (MainAnimTrack == top)
        MainAnimTrack = 0;
    ++MainAnimTrack;
    showEntry(MainAnimTrack);
    if (MainAnimTrack == 1 && MainAnimD != 0 && MainAnimDS == QLatin1String("Start"))
        pause();
    else if (MainAnimTrack == top && MainAnimD != 0 && MainAnimDS == QLatin1String("End"))
        pause();
}

// MainAnimTrack is the next entry while rising and the entry shown last while
// falling; each end without a pause shows its outermost entry twice.
void FullBackgroundAnimation::stepPong()
{
    const int top = MainAnimFramesTotal + 1;
    const QString open = QStringLiteral("Open"), close = QStringLiteral("Close");
    if (MainAnimTrack == top + 1 && MainAnimD == 0) {
        MainAnimState = close;
    } else {
        if (MainAnimD != 0 && MainAnimTrack == top + 1) {
            MainAnimState = close;
            MainAnimTimer = 0;
        }
        if (MainAnimTrack == top + 1 && MainAnimDS == QLatin1String("End")) {
            // The fall goes on with entry T.
            --MainAnimTrack;
            pause();
            return;
        }
        if (MainAnimTrack == 1 && MainAnimDS == QLatin1String("Start")) {
            // The rise goes on with entry 2.
            MainAnimState = open;
            MainAnimTrack = 2;
            pause();
            return;
        }
    }
    if (MainAnimTrack == 1)
        MainAnimState = open;
    if (MainAnimState == open) {
        if (MainAnimTrack == 0)
            MainAnimTrack = 1;
        showEntry(MainAnimTrack);
        ++MainAnimTrack;
    }
    if (MainAnimState == close) {
        --MainAnimTrack;
        showEntry(MainAnimTrack);
    }
    // Stopped on frame 01 for good, before any "Start" pause.
    if (MainAnimTrack == 1 && MainAnimR != 0)
        setStepping(false);
}

void FullBackgroundAnimation::countPause()
{
    if (stepTimer && stepTimer->Enabled())
        return;
    if (MainAnimD != 0) {
        ++MainAnimTimer;
        if (MainAnimD == MainAnimTimer) {
            setStepping(true);
            setPausing(false);
        }
        return;
    }
    setStepping(true);
    setPausing(false);
}
