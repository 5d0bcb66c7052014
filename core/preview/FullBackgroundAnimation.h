#pragma once
// The full-background animation: the stepper that plays whole background
// pictures in MainPic as a loop ("Loop") or back and forth ("Pong"), with a
// pause at the start or end of each cycle, and the pause counter that ends a
// pause after MainAnimD seconds.
//
// No widget here: the stepper switches its two timers and shows entries
// through the function the player gives it.

#include <QPointer>
#include <QString>

#include <functional>

class Timer;

class FullBackgroundAnimation {
public:
    // The stepper (one step a tick) and the pause counter (one tick a second).
    QPointer<Timer> stepTimer, pauseTimer;
    // Show entry k of the animation's list in MainPic.
    std::function<void(int)> show;

    // What the scene sets, each number read once at load.
    int MainAnimFramesTotal = 0; // T: the frame count
    QString MainAnimS;           // the stepper's interval as the scene gave it
    int MainAnimD = 0;           // pause length in seconds
    QString MainAnimDS;          // pause point: "Start" or "End"
    double MainAnimR = 0;        // any value but 0 stops "Pong" at its first return to the bottom
    QString MainAnimLoop;        // "Loop", "Pong"; any other value never steps
    QString MainAnimMP;          // pause for talking: the mouths stay only with "No"
    // Read and kept; the preview does no talk timing and no speed change.
    QString MainAnimTalk, MainAnimRS, MainAnimRSSMin, MainAnimRSSMax;

    // The animation's state.
    int MainAnimTrack = 0;                          // the entry (see step)
    QString MainAnimState = QStringLiteral("Open"); // "Pong" direction: "Open" or "Close"
    int MainAnimTimer = 0;                          // seconds counted in the current pause

    // The loader's reset at every scene load.
    void reset() { MainAnimState = QStringLiteral("Open"); }
    // One tick of the stepper (Timer7).
    void step();
    // One tick of the pause counter (Timer10).
    void countPause();

private:
    void stepLoop();
    void stepPong();
    void pause();
    void showEntry(int k);
    void setStepping(bool on);
    void setPausing(bool on);
};
