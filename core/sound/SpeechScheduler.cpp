#include "core/sound/SpeechScheduler.h"

namespace {
// A viseme lasts some 50 ms or more; polling the clock at 100 Hz keeps the mouth within a frame of the sound.
constexpr int TickMilliseconds = 10;
} // namespace

SpeechScheduler::SpeechScheduler(SpeechOutput *output, QObject *parent) : QObject(parent), m_output(output)
{
    m_timer.setInterval(TickMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &SpeechScheduler::tick);
}

void SpeechScheduler::setOutput(SpeechOutput *output)
{
    purge();
    m_output = output;
}

void SpeechScheduler::begin(quint64 utterance, const QString &speaker)
{
    purge();
    m_utterance = utterance;
    m_speaker = speaker;
    m_output->start(utterance);
    m_timer.start();
}

void SpeechScheduler::add(quint64 utterance, const QVector<ScheduledViseme> &visemes)
{
    if (utterance == m_utterance && m_utterance != 0)
        m_pending += visemes;
}

void SpeechScheduler::end(quint64 utterance, qint64 samples)
{
    if (utterance == m_utterance && m_utterance != 0)
        m_end = samples;
}

void SpeechScheduler::purge()
{
    if (m_utterance != 0)
        m_output->stop();
    clear();
}

void SpeechScheduler::clear()
{
    m_timer.stop();
    m_utterance = 0;
    m_speaker.clear();
    m_pending.clear();
    m_next = 0;
    m_end = -1;
}

void SpeechScheduler::tick()
{
    const quint64 utterance = m_utterance;
    if (utterance == 0)
        return;
    const qint64 played = m_output->played();
    const QString speaker = m_speaker;
    // A handler of the signal may speak again or purge: stop as soon as this utterance is no longer current.
    while (m_utterance == utterance && m_next < m_pending.size() && m_pending[m_next].position < played) {
        const ScheduledViseme v = m_pending[m_next++];
        emit viseme(utterance, speaker, v.id, v.position);
    }
    if (m_utterance != utterance || m_end < 0 || played < m_end)
        return;
    while (m_utterance == utterance && m_next < m_pending.size()) { // positions past the end: none expected
        const ScheduledViseme v = m_pending[m_next++];
        emit viseme(utterance, speaker, v.id, v.position);
    }
    if (m_utterance != utterance)
        return;
    const qint64 end = m_end;
    clear();
    emit viseme(utterance, speaker, 0, end);
    emit finished(utterance);
}
