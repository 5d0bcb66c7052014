#include "adapters/speech/SpeechVoice.h"

namespace {
std::optional<QList<SpeechVoiceInfo>> voiceListOverride;
} // namespace

QList<SpeechVoiceInfo> speechVoiceList()
{
    if (voiceListOverride)
        return *voiceListOverride;
    return speechEngine().voices();
}

void setSpeechVoiceList(std::optional<QList<SpeechVoiceInfo>> voices)
{
    voiceListOverride = std::move(voices);
}

SpeechVoice::SpeechVoice(QObject *parent) : QObject(parent), m_voices(speechVoiceList())
{
}

SpeechVoice::~SpeechVoice()
{
    Purge();
}

QStringList SpeechVoice::GetVoices() const
{
    QStringList names;
    for (const SpeechVoiceInfo &voice : m_voices)
        names << voice.name;
    return names;
}

bool SpeechVoice::SelectVoice(int index)
{
    if (index < 0 || index >= m_voices.size())
        return false;
    m_selected = index;
    return true;
}

bool SpeechVoice::Speak(const QString &text, const QString &speaker)
{
    if (m_voices.isEmpty())
        return false;
    SpeechEngine &engine = speechEngine();
    const QByteArray &voice = m_voices[m_selected].identifier;
    // Known set before anything is spoken, so that a voice the synthesizer
    // rejects fails the speak instead of staying silent.
    if (!engine.selectVoice(voice))
        return false;
    const quint64 utterance = engine.speak(voice, text, speaker);
    if (utterance == 0)
        return false;
    if (m_utterance == 0)
        connect(&engine, &SpeechEngine::viseme, this, [this](quint64 u, const QString &who, int id, qint64) {
            if (u == m_utterance)
                emit Viseme(who, id);
        });
    m_utterance = utterance;
    return true;
}

void SpeechVoice::Purge()
{
    if (SpeechEngine *engine = runningSpeechEngine())
        engine->purge(m_utterance);
}
