#pragma once
// The extra animation and its child: the stepper that plays the extra's
// frames in MiscPic as a loop ("Loop") or back and forth ("Pong", also for an
// empty mode), pausing where the scene asks, and plays the child once at the
// extra's start or end when the master tick has armed it; and the pause
// counter that ends a pause after MiscDelay seconds.
//
// No widget here: the stepper switches its two timers and shows entries
// through the functions the player gives it.

#include <QPointer>
#include <QString>

#include <functional>

class Timer;

class ExtraAnimation {
public:
    // The two timers: the stepper (one step a tick) and the pause counter (one
    // tick a second).
    QPointer<Timer> stepTimer, pauseTimer;
    // Show entry k of the extra's list, or of the child's list, in the box.
    std::function<void(int)> showExtra, showChild;

    // What the scene sets, each number read once at load.
    int MiscFrames = 0;        // N: the extra's frame count
    QString MiscSpeed;         // the stepper's interval as the scene gave it
    QString MiscLoop;          // "Loop", "Pong", or "" (plays as "Pong")
    QString MiscLoopEndorStart; // the extra's pause point: "Start", "End", "" or "Null"
    double MiscDelay = 0;      // pause length in seconds as the scene gives it: whether
                               // the extra pauses and rests goes by this, even under a second
    int MiscDelayAt = -1;      // pause after showing this frame; -1: none
    double MiscRandom = 0;     // the extra rests after each cycle unless 0
    int ExtraMiscATotalFrames = 0; // C: the child's frame count
    double ExtraMiscARandom = 0;   // the child's random factor, for the master tick
    QString ExtaMiscAEndOrStart;   // where the child plays: "Start", "End" or "Null"
    bool childLoaded = false;      // the child's frame 01 loaded; without it no child plays

    // The animation's state.
    int Misc1 = 1;                          // the extra's entry, 1..N + 1
    QString Misc1State = QStringLiteral("Open"); // "Pong" direction: "Open" or "Close"
    int MiscTimer = 0;                      // seconds counted in the current pause
    bool PlayExtraMiscA = false;            // the child is armed (kept across loads)
    int ExtraMiscAFrameNumber = 0;          // the child's entry last shown; 0 while none plays

    // The loader's reset at every scene load.
    void reset();
    // One tick of the stepper (Timer5).
    void step();
    // One tick of the pause counter (Timer6).
    void countPause();

private:
    void stepLoop();
    void stepPong();
    // Shows the child's next entry; true when the child has ended with it.
    bool childStep();
    void childAtStart();
    void pause();
    // How many ticks of the pause counter a pause lasts: MiscDelay as a whole
    // number, halves to even.
    int pauseSeconds() const;
    void setStepping(bool on);
    void setPausing(bool on);
    bool stepping() const;
};
