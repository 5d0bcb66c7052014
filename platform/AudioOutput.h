#pragma once
// The program's sound device: SDL2_mixer, opened once on first use and closed
// when the application ends. Scene sounds play on the mixer's channels;
// speech is a stream of its own, converted from the synthesizer's 22050 Hz
// mono to the device's format and mixed after the channels, so that stopping
// every channel never cuts speech. Without a device speech runs silent on the
// wall clock, so lip sync keeps the same pace.

#include "platform/SpeechScheduler.h"

#include <memory>

class AudioOutput {
public:
    AudioOutput();
    ~AudioOutput();
    AudioOutput(const AudioOutput &) = delete;
    AudioOutput &operator=(const AudioOutput &) = delete;

    // True when the mixer opened a device.
    bool isOpen() const { return m_open; }
    // Where speech goes: the device's speech stream, or the silent wall clock.
    SpeechOutput *speech() const { return m_speech.get(); }

private:
    bool m_open = false;
    std::unique_ptr<SpeechOutput> m_speech;
};

// The program's one audio output, opened on first use.
AudioOutput &audioOutput();
