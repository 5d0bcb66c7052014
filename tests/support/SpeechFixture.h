#pragma once
// A null sink with a virtual clock for speech: it keeps no sound, counts the
// samples written for each utterance, and plays exactly as far as the test
// sets its clock. Install it on the program's engine with SpeechOutputScope.

#include "platform/AudioOutput.h"
#include "platform/SpeechEngine.h"

#include <QHash>

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
