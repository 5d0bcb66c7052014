#pragma once
// The smile of the main character: now and then the mouth runs from its rest
// through eight smile pictures to a full smile, holds it a while or not, and
// runs back. It shows entries 45..52 of the main mouth's display list
// (ImageList8, "KMT") in VelmMouth. While a smile shows, the lip sync takes
// the smile-talk mouths (entries 23..44).
//
// The starter (SmileTimer2, 250 ms) draws once a tick and starts the stepper
// one tick in 40; the stepper (SmileTimer1, 50 ms) draws once a tick while
// the scene has a smile and decides at the full smile whether to hold it:
//
//   state    VelmSmileVar1  VelmSmileOpen  VelmSmileOn  SmileTimer1
//   rest     44 or 45       false          false        off
//   rising   44..51         false          true (*)     on
//   held     52             true           true         off
//   falling  46..52         true           true         on
//   (*) false during the first rise after a load until its second tick.

#include <cstdint>

#include "core/preview/LayerStep.h"

class RandomService;

class SmileStepper {
public:
    // The entry shown before the first smile of a scene; the smile starts
    // after it.
    static constexpr int16_t RestEntry = 44;
    static constexpr int16_t FirstEntry = 45; // smile frame 1
    static constexpr int16_t FullEntry = 52;  // smile frame 8

    bool VelmHasSmile = false;  // the loaded scene has a smile
    bool VelmSmileOn = false;   // a smile shows: the lip sync uses the smile-talk mouths
    int16_t VelmSmileVar1 = RestEntry; // the entry last shown
    bool VelmSmileOpen = false; // the full smile was reached: the smile runs back

    // Rest before a scene's first smile.
    void rest();

    // SmileTimer2: one draw; true when it starts the stepper (r < 1/40). A hit
    // while a smile is held starts its way back; during a rise or fall it
    // changes nothing.
    static bool starts(RandomService &random);

    // SmileTimer1: one step of the smile. Nothing at all, not even a draw,
    // while the scene has no smile.
    LayerStep tick(RandomService &random);
};
