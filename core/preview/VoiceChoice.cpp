#include "core/preview/VoiceChoice.h"

namespace {

struct CharacterSettings {
    std::optional<int32_t> &version;
    std::optional<int32_t> &engine;
    std::optional<int32_t> &voice;
};

CharacterSettings settingsOf(VoiceSettings &s, VoiceCharacter who)
{
    if (who == VoiceCharacter::Velm)
        return {s.KSapiVers, s.KSapi4Voice, s.KSapi5Voice};
    return {s.USapiVers, s.USapi4Voice, s.USapi5Voice};
}

} // namespace

void pickVoice(VoiceSettings &settings, VoiceCharacter who, int position, int engineCount)
{
    const CharacterSettings s = settingsOf(settings, who);
    if (position >= engineCount) {
        s.voice = position - engineCount;
        s.version = 5;
    } else {
        s.engine = position + 1;
        s.version = 4;
    }
}

SpeechRequest speechRequest(const VoiceSettings &settings, VoiceCharacter who)
{
    VoiceSettings copy = settings;
    const CharacterSettings s = settingsOf(copy, who);
    if (s.version == 5)
        return {SpeechRequest::Voice, s.voice.value_or(0)};
    if (s.version == 4)
        return {SpeechRequest::Engine, s.engine.value_or(0)};
    return {};
}
