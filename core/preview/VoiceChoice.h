#pragma once
// Which voice each character speaks with. Both voice boxes list the engine
// set's engines first, then the voices; a pick stores the interface and the
// number of that pick for its character and leaves the other interface's
// number as it was. A speak button asks speechRequest what to do.
//
// The library window's Combo1_Click / Combo2_Click call pickVoice with the
// box's position and DirectSS1->EngineCount(), then saveVoiceSettings.
// Command4_Click / Command5_Click act on speechRequest: Voice selects
// request.number with SelectVoice and speaks; Engine selects it with
// SelectEngine and speaks with SpeakText; either failing shows "Please
// choose a voice."; Nothing speaks and says nothing.

#include "core/preview/VoiceSettingsFile.h"

enum class VoiceCharacter { Velm, User };

// Stores the pick of 0-based list position `position`: below `engineCount`
// engine number position + 1 (version 4), else voice index position -
// engineCount (version 5).
void pickVoice(VoiceSettings &settings, VoiceCharacter who, int position, int engineCount);

struct SpeechRequest {
    enum Kind { Nothing, Voice, Engine };
    Kind kind = Nothing;
    int32_t number = 0; // voice index or engine number; an empty setting counts as 0
    bool operator==(const SpeechRequest &) const = default;
};

// Version 5 speaks with the stored voice index, version 4 with the stored
// engine number; an empty version or any other speaks nothing.
SpeechRequest speechRequest(const VoiceSettings &settings, VoiceCharacter who);
