#pragma once
// Speech synthesis with espeak-ng. The library keeps global state, so the
// program starts it once and every call to it runs on one worker thread of
// the engine; the voice list is read there once, at the start. One speech at
// a time: speaking purges the speech in progress (its sound stops, its
// pending visemes go, its synthesis aborts). Text is spoken as plain text,
// never as markup. Sound starts with the first synthesized block.
//
// The speech faces (SpeechVoice, SpeechEngineSet) speak through the
// program's engine, speechEngine(); the engine ends with the application, so
// quitting mid-speech ends at once.

#include "core/sound/SpeechScheduler.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

struct SpeechVoiceInfo {
    QString name;          // shown to the user
    QByteArray identifier; // espeak-ng's identifier, e.g. "gmw/en-US"
};

class SpeechEngine : public QObject {
    Q_OBJECT
public:
    // Starts espeak-ng on the worker thread and reads the voice list; speech
    // goes to `output` (not owned, it must outlive the engine). espeak-ng
    // starts once per process: a later engine does not run.
    explicit SpeechEngine(SpeechOutput *output, QObject *parent = nullptr);
    ~SpeechEngine() override;

    // False when espeak-ng could not start: no voices, nothing is spoken.
    bool isRunning() const { return m_running; }
    // espeak-ng's voices, in its list order.
    const QList<SpeechVoiceInfo> &voices() const { return m_voices; }

    // Purges the speech in progress and speaks `text` with the voice of that
    // identifier. The utterance carries `speaker` to each of its visemes.
    // Returns the utterance's number, or 0 when the engine is not running.
    quint64 speak(const QByteArray &voice, const QString &text, const QString &speaker);
    // Purges the speech in progress and makes the voice of that identifier
    // the synthesizer's, waiting for the worker to have done so: false when
    // espeak-ng rejects the voice, the engine is not running, or the worker
    // does not answer within VoiceSelectTimeoutMs.
    [[nodiscard]] bool selectVoice(const QByteArray &voice);
    static constexpr int VoiceSelectTimeoutMs = 10000;
    // Ends the speech in progress: silence, and no more of its visemes.
    void purge();
    // Purges only when `utterance` is the one in progress.
    void purge(quint64 utterance);

    // Sends speech to another output from the next utterance on. The speech
    // in progress is purged first and the worker finishes with the old one.
    void setOutput(SpeechOutput *output);
    SpeechOutput *output() const { return m_scheduler.output(); }
    SpeechScheduler &scheduler() { return m_scheduler; }

signals:
    // At playback time, on the GUI thread: the viseme (0..21) of an
    // utterance and the sample where it begins; 0 again when it has played to its end.
    void viseme(quint64 utterance, const QString &speaker, int id, qint64 position);
    // The utterance has played to its end (after its final viseme 0).
    void finished(quint64 utterance);
    // Synthesis of the utterance ended: `spoken` false when its voice could
    // not be selected or the text not be synthesized.
    void synthesized(quint64 utterance, qint64 samples, bool spoken);

private:
    struct Worker;
    void post(std::function<void()> job);
    void waitIdle();

    SpeechScheduler m_scheduler;
    std::unique_ptr<Worker> m_worker;
    std::atomic<quint64> m_current{0}; // the utterance the worker may synthesize; others abort
    quint64 m_last = 0;
    bool m_running = false;
    QList<SpeechVoiceInfo> m_voices;
};

// The program's engine, started on first use (with the program's audio
// output) and ended when the application ends.
SpeechEngine &speechEngine();
// The program's engine when it runs, else nullptr; never starts it.
SpeechEngine *runningSpeechEngine();
// Ends the program's engine: the speech in progress stops at once. The
// application's end runs it; an engine started after it does not run.
void endSpeechEngine();
