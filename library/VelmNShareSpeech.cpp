// The library window's voices and speech: the two voice boxes, the stored
// choice of each character, the two speak buttons, and the lip sync that
// moves the speaking character's mouth.
//
// Both boxes list the engine set's engines first, then the voices; no entry
// is preselected and the stored choice is not shown. Only one speech runs at
// a time: speaking on either face ends the one in progress, and closing the
// window ends it too.

#include "library/VelmNShare.h"

#include "adapters/speech/SpeechVoice.h"
#include "core/preview/LipSyncRouter.h"
#include "core/preview/VoiceChoice.h"
#include "core/sound/SpeechEngineSet.h"
#include "core/system/Services.h"
#include "platform/WindowServices.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

void VelmNShare::makeSpeech()
{
    DirectSS1 = createSpeechEngineSet(this);
    DirectSS1->setObjectName(QStringLiteral("DirectSS1"));
    connect(DirectSS1, &SpeechEngineSet::mouth, this, &VelmNShare::DirectSS1_Mouth);
    // A pick in a voice box counts also when it is the entry already chosen.
    connect(Combo1, &QComboBox::activated, this, &VelmNShare::Combo1_Click);
    connect(Combo2, &QComboBox::activated, this, &VelmNShare::Combo2_Click);
    connect(Command4, &QPushButton::clicked, this, &VelmNShare::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &VelmNShare::Command5_Click);
}

void VelmNShare::loadVoices()
{
    Voice = new SpeechVoice(this);
    connect(Voice, &SpeechVoice::Viseme, this, &VelmNShare::Voice_Viseme);

    const int engines = DirectSS1->EngineCount();
    for (int i = 1; i <= engines; ++i)
        if (const std::optional<QString> name = DirectSS1->EngineName(i)) {
            Combo1->addItem(*name);
            Combo2->addItem(*name);
        }
    const QStringList voices = Voice->GetVoices();
    Combo1->addItems(voices);
    Combo2->addItems(voices);

    Setts = loadVoiceSettings(voiceSettingsPath());
}

void VelmNShare::Combo1_Click()
{
    voicePicked(Combo1, VoiceCharacter::Velm);
}

void VelmNShare::Combo2_Click()
{
    voicePicked(Combo2, VoiceCharacter::User);
}

void VelmNShare::voicePicked(const QComboBox *box, VoiceCharacter who)
{
    const int position = box->currentIndex();
    if (position < 0)
        return;
    pickVoice(Setts, who, position, DirectSS1->EngineCount());
    // The choice holds for this window even when it cannot be stored.
    const FileResult saved = saveVoiceSettings(voiceSettingsPath(), Setts);
    if (!saved)
        MsgBox(saved.error, MsgButtons::Ok, programTitle(), MsgIcon::Exclamation);
}

void VelmNShare::Command4_Click()
{
    speak(VoiceCharacter::Velm);
}

void VelmNShare::Command5_Click()
{
    if (!Player->HasUser) {
        MsgBox(QStringLiteral("Scene does not have a User character."));
        return;
    }
    speak(VoiceCharacter::User);
}

void VelmNShare::speak(VoiceCharacter who)
{
    FinalOutMessage = Text1->text();
    WhoVoice = who == VoiceCharacter::Velm ? QStringLiteral("Velm") : QStringLiteral("User");
    const SpeechRequest request = speechRequest(Setts, who);
    bool spoken = true;
    switch (request.kind) {
    case SpeechRequest::Voice:
        spoken = Voice && Voice->SelectVoice(request.number) && Voice->Speak(FinalOutMessage, WhoVoice);
        break;
    case SpeechRequest::Engine:
        spoken = DirectSS1->SelectEngine(request.number) && DirectSS1->SpeakText(FinalOutMessage, WhoVoice);
        break;
    case SpeechRequest::Nothing:
        break;
    }
    if (!spoken)
        MsgBox(QStringLiteral("Please choose a voice."));
}

void VelmNShare::Voice_Viseme(const QString &speaker, int CurrentVisemeId)
{
    Player->showMouth(visemeMouth(speaker, CurrentVisemeId, Player->Smile.VelmSmileOn));
}

void VelmNShare::DirectSS1_Mouth(const QString &speaker, qint16 jaw, qint16 lipTension)
{
    Player->showMouth(mouthShapeMouth(speaker, jaw, lipTension));
}

void VelmNShare::stopSpeech()
{
    if (Voice)
        Voice->Purge();
    DirectSS1->Purge();
}
