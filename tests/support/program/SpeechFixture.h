#pragma once
// A null sink with a virtual clock for speech: it keeps no sound, counts the
// samples written for each utterance, and plays exactly as far as the test
// sets its clock. Install it on the program's engine with SpeechOutputScope.

#include "adapters/sound/AudioOutput.h"
#include "adapters/speech/SpeechEngine.h"
#include "core/preview/TalkTable.h"
#include "core/sound/SpeechEngineSet.h"

#include <QHash>
#include <QStringList>

#include <atomic>
#include <mutex>

class VirtualSpeechOutput : public SpeechOutput {
public:
    std::atomic<qint64> clock{0}; // samples the virtual device has taken
    std::atomic<int> stops{0};

    void start(quint64 utterance) override
    {
        std::lock_guard lock(m_mutex);
        m_current = utterance;
        clock = 0;
    }
    void write(quint64 utterance, const qint16 *, int count) override
    {
        std::lock_guard lock(m_mutex);
        m_written[utterance] += count;
    }
    void finish(quint64 utterance) override
    {
        std::lock_guard lock(m_mutex);
        m_finished[utterance] = true;
    }
    void stop() override { ++stops; }
    qint64 played() const override { return clock; }

    // Samples the speech thread produced for the utterance, purged or not.
    qint64 written(quint64 utterance) const
    {
        std::lock_guard lock(m_mutex);
        return m_written.value(utterance);
    }
    bool finished(quint64 utterance) const
    {
        std::lock_guard lock(m_mutex);
        return m_finished.value(utterance);
    }

private:
    mutable std::mutex m_mutex;
    quint64 m_current = 0;
    QHash<quint64, qint64> m_written;
    QHash<quint64, bool> m_finished;
};

// Sends the program's speech to `output` for the scope's lifetime.
class SpeechOutputScope {
public:
    explicit SpeechOutputScope(SpeechOutput *output) : m_previous(speechEngine().output())
    {
        speechEngine().setOutput(output);
    }
    ~SpeechOutputScope() { speechEngine().setOutput(m_previous); }
    SpeechOutputScope(const SpeechOutputScope &) = delete;
    SpeechOutputScope &operator=(const SpeechOutputScope &) = delete;

private:
    SpeechOutput *m_previous;
};

// Two engines of the engine-set kind over the real speech engine, "Talker
// One" (espeak-ng's gmw/en-US) and "Talker Two" (gmw/en). Each viseme becomes
// the mouth shape that shows the same mouth frame as the viseme's talk mouth:
// frame 1 jaw 0, 2 jaw 88, 3 jaw 146, 4 jaw 202, 5 jaw 242, 6 lip tension 128,
// 7 jaw 146 and lip tension 128 (which the shape rules show as frame 6).
class TalkFrameEngines : public SpeechEngineSet {
public:
    using SpeechEngineSet::SpeechEngineSet;
    ~TalkFrameEngines() override { TalkFrameEngines::Purge(); }

    int EngineCount() override { return 2; }
    std::optional<QString> EngineName(int engine) override
    {
        if (engine < 1 || engine > 2)
            return std::nullopt;
        return engine == 1 ? QStringLiteral("Talker One") : QStringLiteral("Talker Two");
    }
    bool SelectEngine(int engine) override
    {
        if (engine < 1 || engine > 2)
            return false;
        m_engine = engine;
        return true;
    }
    bool SpeakText(const QString &text, const QString &speaker) override
    {
        if (m_engine == 0)
            return false;
        SpeechEngine &engine = speechEngine();
        const quint64 utterance = engine.speak(m_engine == 1 ? "gmw/en-US" : "gmw/en", text, speaker);
        if (utterance == 0)
            return false;
        if (m_utterance == 0)
            connect(&engine, &SpeechEngine::viseme, this, [this](quint64 u, const QString &who, int id) {
                if (u == m_utterance)
                    emitShape(who, id);
            });
        m_utterance = utterance;
        return true;
    }
    void Purge() override
    {
        if (SpeechEngine *engine = runningSpeechEngine())
            engine->purge(m_utterance);
    }

    // The mouth frame of the viseme's talk mouth (viseme 0..21).
    static int talkFrame(int viseme)
    {
        return viseme >= 0 && viseme < TalkMouthCount ? TalkMouthFrames[viseme] : 1;
    }

private:
    void emitShape(const QString &speaker, int viseme)
    {
        struct Shape {
            qint16 jaw, lip;
        };
        static const Shape shapes[8] = {{0, 0}, {0, 0}, {88, 0}, {146, 0}, {202, 0}, {242, 0}, {0, 128}, {146, 128}};
        const Shape shape = shapes[talkFrame(viseme)];
        emit mouth(speaker, shape.jaw, shape.lip);
    }

    int m_engine = 0;
    quint64 m_utterance = 0;
};
