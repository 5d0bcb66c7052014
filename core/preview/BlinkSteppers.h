#pragma once
// The two characters' blinks, each played by a timer of 80 ms that the master
// tick starts and the blink's last step stops. Each counts up to its turn and
// back down to 1, showing entries of its display list (entry 1 being frame 01
// under the list's key): the main character's in VelmBlink from ImageList10
// ("KBL"), the user character's in UserBlink from ImageList11 ("UBL"). A step
// shows nothing while its box is hidden, yet counts on.
//
// The two differ on purpose: the main blink turns at 6 and shows before it
// counts on the way up (10 steps: 1 2 3 4 5 5 4 3 2 1, or 11..15 and back to
// 11 while the brows are raised); the user blink turns at 5 and counts before
// it shows (8 steps: 2 3 4 5 4 3 2 1).

#include "core/preview/LayerStep.h"

#include <QString>

#include <cstdint>

// Timer2's blink of the main character.
class MainBlinkStepper {
public:
    int16_t Blink = 1;                           // 1..6; 1 when idle
    QString BlinkState = QStringLiteral("Open"); // "Open" counting up, "Close" counting down

    // One step. `boxVisible`: VelmBlink shows; `browsRaised`: the brows are
    // up (VelmBrowOn), so the step shows the raised-brow entry Blink + 10.
    LayerStep tick(bool boxVisible, bool browsRaised);
};

// Timer4's blink of the user character.
class UserBlinkStepper {
public:
    int16_t BlinkB = 1;                           // 1..5; 1 when idle
    QString BlinkStateB = QStringLiteral("Open"); // "Open" counting up, "Close" counting down

    // One step; `boxVisible`: UserBlink shows.
    LayerStep tick(bool boxVisible);
};
