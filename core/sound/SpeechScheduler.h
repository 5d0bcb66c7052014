#pragma once
// Plays the visemes of the utterance being spoken in time with its sound. The
// speech thread hands over each viseme with its position in the utterance's
// samples; the scheduler fires it on the GUI thread once the playback clock
// (the utterance's samples handed to the audio device) has passed that
// position, in order, and fires viseme 0 when the utterance has played to its
// end. One utterance at a time: beginning another purges the one running, and
// nothing of a purged utterance arrives later.
//
// SpeechEngine owns one and feeds it; tests drive one directly with a
// SpeechOutput of their own as a virtual clock and call tick().

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

// Where synthesized speech goes (22050 Hz, mono, 16-bit) and how far it has played.
class SpeechOutput {
public:
    static constexpr int SampleRate = 22050;
    virtual ~SpeechOutput() = default;
    // A new utterance begins: whatever of earlier ones was not played is dropped. GUI thread.
    virtual void start(quint64 utterance) = 0;
    // The utterance's next samples. Ignored once another utterance began or
    // after stop(). Speech thread.
    virtual void write(quint64 utterance, const qint16 *samples, int count) = 0;
    // The utterance's last samples were written. Speech thread.
    virtual void finish(quint64 utterance) = 0;
    // Silence at once. GUI thread.
    virtual void stop() = 0;
    // Samples of the current utterance handed to the device so far; when it
    // has finished and played out, all of them. Any thread.
    virtual qint64 played() const = 0;
};

struct ScheduledViseme {
    qint64 position = 0; // sample of the utterance where the viseme begins
    int id = 0;          // 0..21
};

class SpeechScheduler : public QObject {
    Q_OBJECT
public:
    explicit SpeechScheduler(SpeechOutput *output, QObject *parent = nullptr);

    void setOutput(SpeechOutput *output);
    SpeechOutput *output() const { return m_output; }

    // Purges the utterance running and starts the clock of `utterance`, which
    // carries `speaker` to each of its visemes.
    void begin(quint64 utterance, const QString &speaker);
    // More visemes of the utterance, in order. Those of any other utterance are dropped.
    void add(quint64 utterance, const QVector<ScheduledViseme> &visemes);
    // The utterance's synthesis ended after `samples` samples.
    void end(quint64 utterance, qint64 samples);
    // Stops the sound and drops the pending visemes; nothing more of the utterance arrives.
    void purge();

    // Fires every viseme the clock has passed, then the final 0 when the
    // utterance has played to its end. Runs every few milliseconds while an
    // utterance is active.
    void tick();

    quint64 current() const { return m_utterance; }
    bool isActive() const { return m_utterance != 0; }

signals:
    // A viseme of the utterance and the sample where it begins; the final 0 is at the end.
    void viseme(quint64 utterance, const QString &speaker, int id, qint64 position);
    // After the final viseme 0.
    void finished(quint64 utterance);

private:
    void clear();

    SpeechOutput *m_output;
    QTimer m_timer;
    quint64 m_utterance = 0;
    QString m_speaker;
    QVector<ScheduledViseme> m_pending;
    qsizetype m_next = 0;
    qint64 m_end = -1; // total samples once synthesis ended
};
