#pragma once
// The preview's master tick decides, every 100 ms, which of the scene's
// occasional events start: a blink of the main character, a blink of the
// user character, the child animation's request and a run of the extra
// animation. (The scene's sounds have their own step, core/preview/SceneSounds.h,
// which the tick runs first.) It draws nothing and only starts things: each
// layer's draw is taken while its box is shown, also when nothing can start.
//
//   main blink   b = 1000 r, rounded half to even; starts when b > 975 and
//                neither the blink nor a brow movement runs
//   user blink   1000 r in single precision, kept; starts above 965 when no
//                user blink runs
//   child        c = floor(3 r E): c = 1 requests the child
//   extra        when neither the extra animation nor its pause runs: with a
//                pause (MD not 0) m = floor(r M + 1), m = 1 starts it; then
//                M = 0 starts it
// E, M and MD are the scene's texts; one that is no number counts as 0.

#include "core/base/Value.h"

#include <optional>

class RandomService;

// What the tick reads of the player.
struct MasterTickState {
    bool mainBlinkShown = false;   // VelmBlink is visible
    bool userBlinkShown = false;   // UserBlink is visible
    bool extraShown = false;       // MiscPic is visible
    bool mainBlinkRunning = false; // Timer2
    bool browRunning = false;      // BrowTimer1
    bool userBlinkRunning = false; // Timer4
    bool extraRunning = false;     // Timer5
    bool extraPausing = false;     // Timer6
    Value ExtraMiscARandom;        // E, the text of "EMAR"
    Value MiscRandom;              // M, the text of "MR", or 0
    Value MiscDelay;               // the text of "MD", or 0
};

// What the tick starts; nothing here is ever switched off by it.
struct MasterTickStarts {
    bool startMainBlink = false; // enable Timer2
    bool startUserBlink = false; // enable Timer4
    bool startExtra = false;     // enable Timer5
    bool requestChild = false;   // set PlayExtraMiscA
    std::optional<float> blinkrndB; // the user-blink draw, when taken
};

MasterTickStarts masterTickStarts(const MasterTickState &state, RandomService &random);

// A value of the tick as a number: a text that is no number counts as 0.
double tickNumber(const Value &v);
