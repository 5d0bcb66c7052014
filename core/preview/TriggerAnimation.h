#pragma once
// The trigger animation: "Trigger Anim" ticked plays the trigger frames
// forward once and holds the last; cleared, it plays them back to frame 01.
// One entry a tick of the animation timer, in the direction TrigState gives.
//
// No widget here: the stepper switches its timer and shows entries through
// the function the player gives it.

#include <QPointer>
#include <QString>

#include <functional>

class Timer;

class TriggerAnimation {
public:
    QPointer<Timer> stepTimer;
    // Show entry k of the trigger list in TriggerPic.
    std::function<void(int)> show;

    int TrigFrames = 0;    // n: the frame count; -1 after a scene without a trigger
    int TrigFrame = 0;     // the entry last shown, 0..n + 1
    QString TrigState;     // "Open" plays forward, "Closed" plays back

    // At every scene load: the animation starts shut.
    void reset()
    {
        TrigFrame = 0;
        TrigState = QStringLiteral("Open");
    }
    // The box's click with its new value: 1 (ticked) plays forward, 0
    // (cleared) plays back, 2 (greyed) goes on in the direction it had.
    void trigger(int boxValue);
    // One tick of the animation timer (Timer13).
    void step();
};
