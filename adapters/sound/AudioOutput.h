#pragma once
// The program's sound device: SDL2_mixer, opened once on first use and closed
// when the application ends. Scene sounds play on the mixer's channels;
// speech is a stream of its own, converted from the synthesizer's 22050 Hz
// mono to the device's format and mixed after the channels, so that stopping
// every channel never cuts speech. Without a device speech runs silent on the
// wall clock, so lip sync keeps the same pace.

#include "core/sound/SpeechScheduler.h"

#include <memory>
#include <mutex>
#include <vector>

struct _SDL_AudioStream;

// Speech on its way to the device: converted from 22050 Hz mono 16-bit to
// the device's rate, sample format (an SDL_AudioFormat) and channels, and
// added to each buffer the device asks for after the mixer's channels. The
// clock counts the device frames taken, in speech samples; once the
// utterance has finished and its last sample was taken, all of them.
class SpeechMixStream : public SpeechOutput {
public:
    SpeechMixStream(int frequency, unsigned short format, int channels);
    ~SpeechMixStream() override;
    SpeechMixStream(const SpeechMixStream &) = delete;
    SpeechMixStream &operator=(const SpeechMixStream &) = delete;
    bool isValid() const { return m_stream != nullptr; }

    void start(quint64 utterance) override;
    void write(quint64 utterance, const qint16 *samples, int count) override;
    void finish(quint64 utterance) override;
    void stop() override;
    qint64 played() const override;

    // The device's callback: adds the next `length` bytes of speech, as far
    // as there are any, to the mixed buffer.
    void mix(unsigned char *buffer, int length);
    static void postMix(void *self, unsigned char *buffer, int length);

private:
    const int m_frequency;
    const unsigned short m_format;
    const int m_frameBytes;
    mutable std::mutex m_mutex;
    _SDL_AudioStream *m_stream;
    std::vector<qint16> m_queue; // written, not yet converted; from m_queueStart on
    size_t m_queueStart = 0;
    std::vector<unsigned char> m_scratch;
    quint64 m_utterance = 0;
    qint64 m_written = 0;
    qint64 m_frames = 0;
    bool m_finished = false;
    bool m_flushed = false;
    bool m_drained = false;
};

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
