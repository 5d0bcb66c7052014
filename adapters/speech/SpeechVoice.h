#pragma once
// The voice object of the library window (its `Voice`): a list of voices
// shown by name and chosen by position, and asynchronous speech whose
// visemes arrive as the sound plays. Speaking purges any speech in progress,
// of this face or the engine set's.
//
// The window lists GetVoices() in both voice boxes after the engine set's
// names; the speak buttons call SelectVoice(index) and then Speak(text,
// WhoVoice), and show "Please choose a voice." when either fails; Viseme goes
// to the window's Voice_Viseme. Destroying the face (the window closing)
// purges its speech, and no viseme of it arrives afterwards.

#include "adapters/speech/SpeechEngine.h"

#include <QObject>
#include <QStringList>

#include <optional>

class SpeechVoice : public QObject {
    Q_OBJECT
public:
    // The voices of speechVoiceList().
    explicit SpeechVoice(QObject *parent = nullptr);
    ~SpeechVoice() override;

    // The names of the voices, in list order.
    QStringList GetVoices() const;
    // Makes the voice at that 0-based position current; false when there is none.
    [[nodiscard]] bool SelectVoice(int index);
    // Purges any speech in progress and speaks the text (plain text, "<"
    // included) with the current voice, the first one when none was selected.
    // The utterance's visemes carry `speaker`. False when there is no voice,
    // the engine does not run, or the synthesizer rejects the voice; the
    // speech in progress is purged all the same.
    [[nodiscard]] bool Speak(const QString &text, const QString &speaker);
    // Ends this face's speech in progress.
    void Purge();

signals:
    // A viseme (0..21) of this face's speech, at playback time; 0 at its end.
    void Viseme(const QString &speaker, int CurrentVisemeId);

private:
    QList<SpeechVoiceInfo> m_voices;
    int m_selected = 0;
    quint64 m_utterance = 0;
};

// The voices SpeechVoice offers: the program engine's voices, unless a test
// set others (names over real espeak-ng identifiers).
QList<SpeechVoiceInfo> speechVoiceList();
void setSpeechVoiceList(std::optional<QList<SpeechVoiceInfo>> voices);
