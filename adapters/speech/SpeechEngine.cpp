#include "adapters/speech/SpeechEngine.h"

#include "adapters/sound/AudioOutput.h"
#include "core/sound/PhonemeVisemes.h"

#include <QCoreApplication>

#include <espeak-ng/speak_lib.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

struct SpeechEngine::Worker {
    std::thread thread;
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::deque<std::function<void()>> jobs;
    bool busy = false;
    bool quit = false;
    bool started = false; // espeak-ng was initialised (on this thread)
    QByteArray voice;     // the voice selected last

    // On the worker thread: makes `wanted` espeak-ng's voice unless it already is.
    bool setVoice(const QByteArray &wanted)
    {
        if (voice == wanted)
            return true;
        const bool set = espeak_SetVoiceByName(wanted.constData()) == EE_OK;
        voice = set ? wanted : QByteArray();
        return set;
    }

    void run()
    {
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [this] { return quit || !jobs.empty(); });
            if (quit)
                break;
            std::function<void()> job = std::move(jobs.front());
            jobs.pop_front();
            busy = true;
            lock.unlock();
            job();
            lock.lock();
            busy = false;
            if (jobs.empty())
                idle.notify_all();
        }
        if (started)
            espeak_Terminate();
        busy = false;
        jobs.clear();
        idle.notify_all();
    }
};

namespace {

// What the synthesis callback works for. Only the worker thread touches it.
struct Synthesis {
    const std::atomic<quint64> *current = nullptr;
    quint64 utterance = 0;
    SpeechOutput *output = nullptr;
    SpeechScheduler *scheduler = nullptr;
    qint64 samples = 0;
    QVector<ScheduledViseme> visemes;
};

Synthesis *synthesis = nullptr;

// espeak-ng 1.51 hangs in its second espeak_Terminate when it is started
// again after the first: it starts once per process, whatever happens later.
std::atomic<bool> espeakStarted{false};

// espeak-ng's callback, on the worker thread: hands each block of samples to
// the output and its phonemes' visemes to the scheduler. Returning 1 aborts
// the synthesis once another utterance began or the speech was purged.
int synthesisCallback(short *samples, int count, espeak_EVENT *events)
{
    Synthesis &s = *synthesis;
    if (s.current->load() != s.utterance)
        return 1;
    for (const espeak_EVENT *e = events; e && e->type != espeakEVENT_LIST_TERMINATED; ++e)
        if (e->type == espeakEVENT_PHONEME)
            s.visemes.append({qMax<qint64>(e->sample, 0), visemeForPhoneme(phonemeName(e->id.string))});
    if (samples && count > 0) {
        s.output->write(s.utterance, samples, count);
        s.samples += count;
    }
    if (!s.visemes.isEmpty()) {
        QMetaObject::invokeMethod(
            s.scheduler, [scheduler = s.scheduler, u = s.utterance, v = std::move(s.visemes)] { scheduler->add(u, v); },
            Qt::QueuedConnection);
        s.visemes = {};
    }
    return 0;
}

} // namespace

SpeechEngine::SpeechEngine(SpeechOutput *output, QObject *parent)
    : QObject(parent), m_scheduler(output, this), m_worker(std::make_unique<Worker>())
{
    connect(&m_scheduler, &SpeechScheduler::viseme, this, &SpeechEngine::viseme);
    connect(&m_scheduler, &SpeechScheduler::finished, this, &SpeechEngine::finished);
    m_worker->thread = std::thread([w = m_worker.get()] { w->run(); });
    post([this] {
        if (espeakStarted.exchange(true))
            return;
        const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr,
                                           espeakINITIALIZE_PHONEME_EVENTS | espeakINITIALIZE_PHONEME_IPA
                                               | espeakINITIALIZE_DONT_EXIT);
        if (rate != SpeechOutput::SampleRate) {
            if (rate > 0)
                espeak_Terminate();
            return;
        }
        m_worker->started = true;
        espeak_SetSynthCallback(synthesisCallback);
        QList<SpeechVoiceInfo> voices;
        if (const espeak_VOICE **list = espeak_ListVoices(nullptr))
            for (; *list; ++list)
                voices.append({QString::fromUtf8((*list)->name), QByteArray((*list)->identifier)});
        m_voices = voices;
        m_running = true;
    });
    waitIdle();
}

SpeechEngine::~SpeechEngine()
{
    m_current = 0; // a synthesis in progress aborts at its next block
    {
        std::lock_guard lock(m_worker->mutex);
        m_worker->quit = true;
    }
    m_worker->wake.notify_all();
    m_worker->thread.join();
    m_scheduler.purge();
}

void SpeechEngine::post(std::function<void()> job)
{
    {
        std::lock_guard lock(m_worker->mutex);
        m_worker->jobs.push_back(std::move(job));
    }
    m_worker->wake.notify_one();
}

void SpeechEngine::waitIdle()
{
    std::unique_lock lock(m_worker->mutex);
    m_worker->idle.wait(lock, [this] { return m_worker->quit || (m_worker->jobs.empty() && !m_worker->busy); });
}

quint64 SpeechEngine::speak(const QByteArray &voice, const QString &text, const QString &speaker)
{
    if (!m_running)
        return 0;
    const quint64 utterance = ++m_last;
    m_current = utterance;
    m_scheduler.begin(utterance, speaker);
    SpeechOutput *output = m_scheduler.output();
    const QByteArray utf8 = text.toUtf8();
    post([this, utterance, voice, utf8, output] {
        if (m_current.load() != utterance)
            return; // purged before it began
        bool spoken = m_worker->setVoice(voice);
        Synthesis s;
        s.current = &m_current;
        s.utterance = utterance;
        s.output = output;
        s.scheduler = &m_scheduler;
        if (spoken) {
            synthesis = &s;
            spoken = espeak_Synth(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
                                  nullptr, nullptr)
                == EE_OK;
            synthesis = nullptr;
        }
        output->finish(utterance);
        QMetaObject::invokeMethod(
            this,
            [this, utterance, samples = s.samples, spoken] {
                if (m_current.load() != utterance)
                    return;
                m_scheduler.end(utterance, samples);
                emit synthesized(utterance, samples, spoken);
            },
            Qt::QueuedConnection);
    });
    return utterance;
}

bool SpeechEngine::selectVoice(const QByteArray &voice)
{
    if (!m_running)
        return false;
    // A synthesis in progress aborts at its next block, so the worker answers soon.
    purge();
    auto answer = std::make_shared<std::promise<bool>>();
    std::future<bool> selected = answer->get_future();
    post([this, voice, answer] { answer->set_value(m_worker->setVoice(voice)); });
    if (selected.wait_for(std::chrono::milliseconds(VoiceSelectTimeoutMs)) != std::future_status::ready)
        return false;
    try {
        return selected.get();
    } catch (const std::future_error &) {
        return false; // the worker ended without running the job
    }
}

void SpeechEngine::purge()
{
    m_current = 0;
    m_scheduler.purge();
}

void SpeechEngine::purge(quint64 utterance)
{
    if (utterance != 0 && m_current.load() == utterance)
        purge();
}

void SpeechEngine::setOutput(SpeechOutput *output)
{
    purge();
    waitIdle();
    m_scheduler.setOutput(output);
}

namespace {
SpeechEngine *theEngine = nullptr;
} // namespace

void endSpeechEngine()
{
    delete theEngine;
    theEngine = nullptr;
}

SpeechEngine &speechEngine()
{
    if (!theEngine) {
        SpeechOutput *output = audioOutput().speech(); // opened first, so it is closed after the engine ends
        theEngine = new SpeechEngine(output);
        qAddPostRoutine(endSpeechEngine);
    }
    return *theEngine;
}

SpeechEngine *runningSpeechEngine()
{
    return theEngine;
}
