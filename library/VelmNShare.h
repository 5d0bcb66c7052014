#pragma once
// The scene library window: lists the user's scenes ("Your Scenes", from the
// scene list file) and every scene file ("VELM Scenes"), previews the scene
// clicked as a live animation over its background, and shares it.
//
// The window measures in pixels. Its layout is in VelmNShareLayout.cpp, the
// list clicks, commands and the painting of the preview in VelmNShare.cpp.
// The preview itself is the player below it (core/preview/PreviewPlayer.h):
// a click on a scene loads it there, and each of the window's preview boxes
// shows what the player's box of the same name reports.

#include "core/pictures/ImageWorkspace.h"
#include "core/preview/PreviewPlayer.h"
#include "core/preview/VoiceSettingsFile.h"
#include "platform/Form.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <memory>

class PictureBox;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class SpeechEngineSet;
class SpeechVoice;
class Timer;
enum class VoiceCharacter;
class TickSource;
class UploadSequence;
class cZip;
struct SharePlan;

class VelmNShare : public Form {
    Q_OBJECT
public:
    VelmNShare();
    ~VelmNShare() override;

    // The scene being previewed, as it plays.
    PreviewPlayer *const Player = new PreviewPlayer(this);

    // The preview: the background and the layer boxes over it, each painted
    // as the player's box of its name reports.
    PictureBox *MainPic;
    PictureBox *VelmMouth, *VelmBlink, *UserMouth, *UserBlink, *MiscPic, *TriggerPic;

    // The panel under the preview and what it holds.
    PictureBox *Picture1;
    QLabel *Label1;       // "Your Scenes"
    QListWidget *List1;   // the user's scenes
    QLabel *Label2;       // "VELM Scenes"
    QListWidget *List2;   // every scene file
    QPushButton *Command3; // "Open in Notepad"
    QLabel *Label4;       // "Speak this:"
    QComboBox *Combo1;    // the main character's voice
    QComboBox *Combo2;    // the user character's voice
    QLabel *Label5;       // "VelmNShare Handle"
    QLineEdit *Text2;     // the user's handle for sharing
    QPushButton *Command1, *Command2; // frame stepper "<" and ">"
    QLineEdit *TextB1;    // frame stepper's frame number
    QLabel *Label3;       // "Display Frame:"

    QLineEdit *Text1;      // the text to speak
    QPushButton *Command4; // "VELM SPEAK"
    QPushButton *Command5; // " USER SPEAK"
    QCheckBox *Check1;     // "Trigger Anim"
    QLineEdit *Text3;      // comment sent with a share
    QPushButton *Command7; // "Upload to VelmNShare"
    QPushButton *Command8; // "Go to VelmNShare"
    QPushButton *Command6; // "<< Move to My Scenes"; hidden, nothing shows it
    QCheckBox *Check2;     // "Approved"; hidden, never ticked

    // The work image of the share's thumbnail.
    ImageWorkspace Xpress1;

    // The scene last clicked and loaded.
    QString SelectScene;     // its name
    QString SelectSceneFull; // the path of its scene file
    // The names of the loaded scene's background and alternate image in
    // Images, as the player has them.
    const QString &MainPicFileName = Player->MainPicFileName;
    const QString &NudyFilename = Player->NudyFilename;
    // The background's file name as the scene gives it, shown or not.
    const QString &SceneBackgroundFile = Player->SceneBackgroundFile;

    // 1 after a "Your Scenes" click, 2 after a "VELM Scenes" click, 0 before any.
    int16_t selectSceneList() const { return SelectSceneList; }

    void List1_Click();
    void List2_Click();
    void Command6_Click();
    void Command3_Click();
    void Command8_Click();

    // Every decoded picture the preview holds, each once however often it is
    // shared: the player's (core/preview/PreviewPlayer.h), the preview boxes'
    // pictures and the window's work image.
    QList<QImage> HeldPictures() const;
    // "Trigger Anim": the player plays the trigger and swaps the background.
    void Check1_Click();
    // The frame stepper's "<" and ">": the player steps, TextB1 shows the number.
    void Command1_Click();
    void Command2_Click();

protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void makeLayout();
    // A list's click: the selected entry becomes the scene, and it loads.
    void loadFromList(const QListWidget *list, int16_t which);
    void LoadScenePreview();
    // Each preview box paints what the player's box of its name holds.
    void connectPlayer();

    int16_t SelectSceneList = 0;
    // A press on an entry that was already selected: its click loads it again.
    bool m_pressOnSelected = false;

    // --- Voices, speech and lip sync (VelmNShareSpeech.cpp) ---
public:
    SpeechEngineSet *DirectSS1;   // the engine-set voices and their mouth shapes
    SpeechVoice *Voice = nullptr; // the voices and their visemes; made by the load
    // Which voice each character speaks with (KSapiVers, KSapi4Voice,
    // KSapi5Voice, USapiVers, USapi4Voice, USapi5Voice): read from "Setts.dat"
    // by the load, written back whole at every pick in a voice box.
    VoiceSettings Setts;
    QString FinalOutMessage;  // the text spoken last
    QString WhoVoice;         // "Velm" or "User": who was asked to speak last; empty before

    void Combo1_Click();
    void Combo2_Click();
    void Command4_Click();
    void Command5_Click();
    // Lip sync: a viseme of the voices, a mouth shape of the engine set. Each
    // moves the mouth of the character its speech was spoken for.
    void Voice_Viseme(const QString &speaker, int CurrentVisemeId);
    void DirectSS1_Mouth(const QString &speaker, qint16 jaw, qint16 lipTension);

private:
    void makeSpeech();
    void loadVoices();
    void voicePicked(const QComboBox *box, VoiceCharacter who);
    void speak(VoiceCharacter who);
    void stopSpeech();

    // --- Sharing (VelmNShareShare.cpp): the upload button stages the scene last
    // loaded, zips it and uploads it with its side files.
public:
    Timer *UploadTimeOut = nullptr; // the upload's watchdog, 1000 ms, off at start
    QString DestinationUrl;         // the upload script's address, set by each upload
    QString UploadName;             // base name of the upload's archive and side files
    void Command7_Click();
    // The sequence of the five uploads and the notice mail.
    UploadSequence &Upload() const { return *m_upload; }

private:
    void makeSharing();
    // Stages the package's files and writes its side files; false after a
    // message naming what failed.
    bool buildSharePackage(const SharePlan &plan);
    void ZipSharePackage(const QString &name);

    cZip *m_cZ = nullptr; // the zip wrapper, made by the load
    UploadSequence *m_upload = nullptr;
    std::shared_ptr<TickSource> m_uploadTicks;
    QString m_serviceHost; // the host the upload goes to, read at each click
};
