#pragma once
// The scene library window: lists the user's scenes ("Your Scenes", from the
// scene list file) and every scene file ("VELM Scenes"), previews the scene
// clicked as a live animation over its background, and shares it.
//
// The window measures in pixels. Its layout is in VelmNShareLayout.cpp, the
// load step, list clicks and commands in VelmNShare.cpp, the preview loader
// in LoadScenePreview.cpp with its layer sections (library/PreviewSection.h).

#include "core/base/Value.h"
#include "core/pictures/ImageList.h"
#include "core/pictures/ImageWorkspace.h"
#include "core/preview/BlinkSteppers.h"
#include "core/preview/BrowStepper.h"
#include "core/preview/ExtraAnimation.h"
#include "core/preview/FullBackgroundAnimation.h"
#include "core/preview/SmileStepper.h"
#include "core/preview/TriggerAnimation.h"
#include "core/preview/VoiceSettingsFile.h"
#include "library/PreviewSection.h"
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
struct MouthPick;
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

    // The preview: the background and the layer boxes over it.
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

    // The work image every preview picture passes through.
    ImageWorkspace Xpress1;

    // Picture lists of the preview.
    ImageList ImageList1;  // trigger frames, "TRG"
    ImageList ImageList2;  // scratch: the last layer's source frames
    ImageList ImageList3;  // main blink frames, "KBL"
    ImageList ImageList4;  // user blink frames, "UBL"
    ImageList ImageList8;  // VelmMouth's mouths, "KMT": 1..22 talk, 23..44 smile talk, 45..52 smile
    ImageList ImageList9;  // UserMouth's talk mouths, "UMT"
    ImageList ImageList10; // VelmBlink's blink and brow, "KBL"
    ImageList ImageList11; // UserBlink's blinks, "UBL"
    ImageList ImageList12; // extra animation, "MSC"
    ImageList ImageList13; // child animation, "MSC"
    ImageList ImageList14; // full-background animation, "MSC"

    // Timers of the preview, at their start states.
    Timer *Timer1;      // master tick, 100 ms, enabled
    Timer *Timer2;      // main blink, 80 ms
    Timer *Timer4;      // user blink, 80 ms
    Timer *Timer5;      // extra animation, 1000 ms, then the scene's
    Timer *Timer6;      // extra animation's pause, 1000 ms
    Timer *Timer7;      // full-background animation, the scene's
    Timer *Timer10;     // full-background animation's pause, 1000 ms
    Timer *Timer13;     // trigger animation, the scene's
    Timer *Timer14;     // sound poll, 100 ms, enabled
    Timer *Timer15;     // loop delay of sound 1, 1000 ms
    Timer *SmileTimer1; // smile stepper, 50 ms, enabled
    Timer *SmileTimer2; // smile starter, 250 ms, enabled
    Timer *BrowTimer1;  // brow stepper, 80 ms
    Timer *BrowTimer2;  // brow starter, 1000 ms

    // The scene last clicked and loaded.
    QString SelectScene;     // its name
    QString SelectSceneFull; // the path of its scene file
    QString MainPicName;     // the background's name without ".jpg"
    QString MainPicFileName; // the background's file name in Images, when the preview shows it
    QString SceneBackgroundFile; // the background's file name as the scene gives it, shown or not
    QString NudyFilename;    // the alternate image's file name in Images
    bool HasNudy = false;    // the scene has an alternate image
    bool HasTrigger = false; // the scene has a trigger animation

    // Direction states and step counters of the animations.
    QString MainAnimState;

    // The layer sections of the loader, in table order.
    PreviewSections Sections;

    // The smile, the blinks, the brows and the user character. Their loads are
    // sections of the loader (library/SmileSection.h, BlinkBrowSection.h,
    // UserSection.h); their steppers hold the animations' states
    // (Smile.VelmSmileOn, MainBlinks.Blink, UserBlinks.BlinkB, Brow.VelmBrowOn,
    // ...), and the timer steps below, in VelmNShareLayers.cpp, show what the
    // steppers pick.
    SmileStepper Smile;          // SmileTimer1, SmileTimer2
    MainBlinkStepper MainBlinks; // Timer2
    BrowStepper Brow;            // BrowTimer1, BrowTimer2
    UserBlinkStepper UserBlinks; // Timer4
    bool HasUser = false;        // the scene has a user character ("UM=")
    void SmileTimer1_Timer();
    void SmileTimer2_Timer();
    void Timer2_Timer();
    void BrowTimer1_Timer();
    void BrowTimer2_Timer();
    void Timer4_Timer();

    // 1 after a "Your Scenes" click, 2 after a "VELM Scenes" click, 0 before any.
    int16_t selectSceneList() const { return SelectSceneList; }

    void List1_Click();
    void List2_Click();
    // Empties the frame and sound file lists of the loaded scene, the
    // alternate image's name and the background's names.
    void ClearFilenames();
    void Command6_Click();
    void Command3_Click();
    void Command8_Click();

    // The extra, child, full-background and trigger animations, loaded by
    // their sections and driven by their timers and the "Trigger Anim" box
    // (VelmNShareAnimations.cpp). The master tick arms the child and starts
    // the extra through ExtraAnim (PlayExtraMiscA, MiscDelay, MiscRandom,
    // ExtraMiscARandom) and Timer5.
    ExtraAnimation ExtraAnim;        // Timer5, Timer6: MiscPic
    FullBackgroundAnimation FullAnim; // Timer7, Timer10: MainPic
    TriggerAnimation TriggerAnim;    // Timer13: TriggerPic
    QImage BackgroundPicture, AlternatePicture; // what the box swaps into MainPic
    // Every decoded picture the preview holds, each once however often it is
    // shared: the picture lists' entries and made pictures, the preview boxes'
    // pictures, the work image and the swapped backgrounds.
    QList<QImage> HeldPictures() const;
    void Timer5_Timer();
    void Timer6_Timer();
    void Timer7_Timer();
    void Timer10_Timer();
    void Timer13_Timer();
    void Check1_Click();
private:
    void connectAnimations();

public:
    // Scene sounds (VelmNShareSounds.cpp), the master tick and the frame
    // stepper (VelmNShareTick.cpp). A slot is 0..7; StopSound also takes a
    // negative slot, which closes every sound device.
    void LoadSoundA();
    void LoadSoundB();
    void LoadSoundC();
    void LoadSound(int32_t slot);
    void PlaySound(int32_t slot);
    void StopSound(int32_t slot);
    bool IsSoundDone(int32_t slot);
    void UpdateSceneSounds();
    void Timer1_Timer();
    void Timer14_Timer();
    void Timer15_Timer();
    int32_t ImageNum = 0; // the frame stepper's frame number
    void Command1_Click();
    void Command2_Click();

protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void makeLayout();
    void makeTimers();
    void connectLayerTimers();
    // A list's click: the selected entry becomes the scene, and it loads.
    void loadFromList(const QListWidget *list, int16_t which);
    void LoadScenePreview();
    void showBackground(PreviewLoad &load);
    void resetPreview();
    void connectPlayer(); // the sound, tick and stepper handlers

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
    void showMouth(const MouthPick &pick);
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
