#pragma once
// The sound player's backend on SDL2_mixer, over the program's one audio
// output (adapters/sound/AudioOutput.h): sounds decode with Mix_LoadWAV_RW, play on
// the mixer's channels with Mix_PlayChannel, and the loop has a channel of
// its own, reserved. A channel is halted before its sound is let go, and ends
// are polled with Mix_Playing. Without a device nothing decodes, so every
// open fails and every sound counts as done.

#include "core/sound/MciPlayer.h"

#include <vector>

class MixerSoundBackend : public SoundBackend {
public:
    MixerSoundBackend();
    ~MixerSoundBackend() override;

    std::shared_ptr<const DecodedSound> decode(const QByteArray &bytes, const QString &name) override;
    int play(const std::shared_ptr<const DecodedSound> &sound, bool loop) override;
    void halt(int voice) override;
    bool playing(int voice) override;

private:
    struct Channel {
        int voice = -1;
        std::shared_ptr<const DecodedSound> sound; // held while the channel may play it
    };
    int channelOf(int voice) const;

    bool m_open = false;
    int m_nextVoice = 0;
    std::vector<Channel> m_channels;
};

// Makes SDL2_mixer the program's sound backend (setProgramSoundBackend).
void useMixerSound();
