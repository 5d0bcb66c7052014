#pragma once
// The main character's brows, drawn in the blink box VelmBlink from entries
// 6..11 of its display list (ImageList10, "KBL"). The starter (BrowTimer2,
// each second) draws once and, while no blink runs, starts a movement one
// second in ten; the stepper (BrowTimer1, 80 ms) raises the brows to entry 11
// or lowers them to entry 6 and stops:
//
//   movement                  from  entries shown
//   first raise after a load  5     6 7 8 9 10 11
//   every later raise         6     7 8 9 10 11
//   lowering                  11    10 9 8 7 6
//
// While the brows rest raised, blinks show the raised-brow entries 11..15.

#include "core/preview/LayerStep.h"

#include <cstdint>

class RandomService;

class BrowStepper {
public:
    static constexpr int16_t LoweredAfterLoad = 5;
    static constexpr int16_t Lowered = 6;
    static constexpr int16_t Raised = 11;

    bool VelmHasBrow = false;  // the loaded scene has brows ("KBr=")
    bool VelmBrowOn = false;   // the brows are raised: blinks show entries 11..15
    int16_t VelmBrowVar1 = LoweredAfterLoad; // the entry last shown by a movement
    bool VelmBrowOpen = false; // the brows are up: the next movement lowers them

    // Lowered, as after a scene load.
    void lower();

    // BrowTimer2: one draw; true when it starts a movement (r < 1/10 while no
    // blink runs).
    static bool starts(RandomService &random, bool blinkRunning);

    // BrowTimer1: one step of a movement; nothing while the scene has no brows.
    LayerStep tick();
};
