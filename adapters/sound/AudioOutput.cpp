#include "adapters/sound/AudioOutput.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <SDL.h>
#include <SDL_mixer.h>


namespace {

// No device: the clock runs on the wall clock from the first samples on.
class WallClockSpeech : public SpeechOutput {
public:
    void start(quint64 utterance) override
    {
        std::lock_guard lock(m_mutex);
        m_utterance = utterance;
        m_written = 0;
        m_clock.invalidate();
    }
    void write(quint64 utterance, const qint16 *, int count) override
    {
        std::lock_guard lock(m_mutex);
        if (utterance != m_utterance || count <= 0)
            return;
        if (!m_clock.isValid())
            m_clock.start();
        m_written += count;
    }
    void finish(quint64) override {}
    void stop() override
    {
        std::lock_guard lock(m_mutex);
        m_utterance = 0;
    }
    qint64 played() const override
    {
        std::lock_guard lock(m_mutex);
        if (!m_clock.isValid())
            return 0;
        return qMin(m_written, m_clock.elapsed() * SampleRate / 1000);
    }

private:
    mutable std::mutex m_mutex;
    QElapsedTimer m_clock;
    quint64 m_utterance = 0;
    qint64 m_written = 0;
};

AudioOutput *theOutput = nullptr;

void closeAudioOutput()
{
    delete theOutput;
    theOutput = nullptr;
}

} // namespace

SpeechMixStream::SpeechMixStream(int frequency, unsigned short format, int channels)
    : m_frequency(frequency), m_format(format), m_frameBytes(channels * int(SDL_AUDIO_BITSIZE(format) / 8)),
      m_stream(SDL_NewAudioStream(AUDIO_S16SYS, 1, SampleRate, format, Uint8(channels), frequency))
{
}

SpeechMixStream::~SpeechMixStream()
{
    if (m_stream)
        SDL_FreeAudioStream(m_stream);
}

void SpeechMixStream::start(quint64 utterance)
{
    std::lock_guard lock(m_mutex);
    SDL_AudioStreamClear(m_stream);
    m_queue.clear();
    m_queueStart = 0;
    m_utterance = utterance;
    m_written = 0;
    m_frames = 0;
    m_finished = false;
    m_flushed = false;
    m_drained = false;
}

void SpeechMixStream::write(quint64 utterance, const qint16 *samples, int count)
{
    std::lock_guard lock(m_mutex);
    if (utterance != m_utterance || utterance == 0 || count <= 0)
        return;
    m_queue.insert(m_queue.end(), samples, samples + count);
    m_written += count;
}

void SpeechMixStream::finish(quint64 utterance)
{
    std::lock_guard lock(m_mutex);
    if (utterance == m_utterance && utterance != 0)
        m_finished = true;
}

void SpeechMixStream::stop()
{
    std::lock_guard lock(m_mutex);
    SDL_AudioStreamClear(m_stream);
    m_queue.clear();
    m_queueStart = 0;
    m_utterance = 0;
}

qint64 SpeechMixStream::played() const
{
    std::lock_guard lock(m_mutex);
    if (m_drained)
        return m_written;
    return qMin(m_written, m_frames * SampleRate / m_frequency);
}

void SpeechMixStream::mix(unsigned char *buffer, int length)
{
    std::lock_guard lock(m_mutex);
    if (m_utterance == 0)
        return;
    const int wanted = length - length % m_frameBytes;
    // Speech waits in its own format, a quarter of the device's or less; only
    // what this buffer needs is converted.
    while (SDL_AudioStreamAvailable(m_stream) < wanted && m_queueStart < m_queue.size()) {
        const size_t count = qMin<size_t>(m_queue.size() - m_queueStart, 1024);
        if (SDL_AudioStreamPut(m_stream, m_queue.data() + m_queueStart, int(count * sizeof(qint16))) != 0)
            break;
        m_queueStart += count;
    }
    if (m_queueStart == m_queue.size()) {
        m_queue.clear();
        m_queueStart = 0;
        if (m_finished && !m_flushed) {
            SDL_AudioStreamFlush(m_stream);
            m_flushed = true;
        }
    }
    if (int(m_scratch.size()) < wanted)
        m_scratch.resize(size_t(wanted));
    const int got = SDL_AudioStreamGet(m_stream, m_scratch.data(), wanted);
    if (got > 0) {
        SDL_MixAudioFormat(buffer, m_scratch.data(), m_format, Uint32(got), SDL_MIX_MAXVOLUME);
        m_frames += got / m_frameBytes;
    }
    if (m_flushed && SDL_AudioStreamAvailable(m_stream) == 0)
        m_drained = true;
}

void SpeechMixStream::postMix(void *self, unsigned char *buffer, int length)
{
    static_cast<SpeechMixStream *>(self)->mix(buffer, length);
}

AudioOutput::AudioOutput()
{
    // SDL would catch SIGINT and SIGTERM for an event loop the program does
    // not run: the program would no longer end on them.
    SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_OVERRIDE);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 1024) == 0) {
            int frequency = 0, channels = 0;
            Uint16 format = 0;
            if (Mix_QuerySpec(&frequency, &format, &channels) != 0 && frequency > 0) {
                auto device = std::make_unique<SpeechMixStream>(frequency, format, channels);
                if (device->isValid()) {
                    Mix_SetPostMix(&SpeechMixStream::postMix, device.get());
                    m_speech = std::move(device);
                    m_open = true;
                }
            }
            if (!m_open)
                Mix_CloseAudio();
        }
        if (!m_open)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    if (!m_speech)
        m_speech = std::make_unique<WallClockSpeech>();
}

AudioOutput::~AudioOutput()
{
    if (m_open) {
        Mix_SetPostMix(nullptr, nullptr);
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

AudioOutput &audioOutput()
{
    if (!theOutput) {
        theOutput = new AudioOutput;
        qAddPostRoutine(closeAudioOutput);
    }
    return *theOutput;
}
