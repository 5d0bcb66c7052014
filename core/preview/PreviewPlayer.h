#pragma once
// The preview's player: a loaded scene as it plays. It owns the picture lists,
// the timers, the steppers and the animations of the scene last loaded, and
// the seven boxes they show pictures in (core/preview/PreviewBox.h): the
// background MainPic and the layer boxes over it. The library window shows it
// (library/VelmNShare.h): it paints each box as the box reports a change,
// hands the player its clicks on "Trigger Anim" and the frame stepper, and
// passes it the speech engines' mouth events as picks of
// core/preview/LipSyncRouter.h. Without a window the player runs the same:
// the fuzz target and the core's tests load scenes into it and read the boxes.
//
// The load (PreviewLoad.cpp) resets what the last scene left running, reads
// the scene file, shows the background and runs the layer sections of
// core/preview/PreviewSection.h in table order. The timers' steps are in
// PreviewPlayerLayers.cpp (smile, blinks, brows), PreviewPlayerAnimations.cpp
// (extra, child, full background, trigger), PreviewPlayerTick.cpp (the master
// tick), PreviewPlayerSounds.cpp and PreviewPlayerStepper.cpp.
//
// The names of the lists, timers and states are the program's own, kept as
// the window had them.

#include "core/pictures/ImageList.h"
#include "core/pictures/ImageWorkspace.h"
#include "core/preview/BlinkSteppers.h"
#include "core/preview/BrowStepper.h"
#include "core/preview/ExtraAnimation.h"
#include "core/preview/FullBackgroundAnimation.h"
#include "core/preview/PreviewBox.h"
#include "core/preview/PreviewSection.h"
#include "core/preview/SmileStepper.h"
#include "core/preview/TriggerAnimation.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QString>

#include <cstdint>

class Timer;
struct MouthPick;

// The preview's background box, in pixels from the window's top-left corner.
inline constexpr QRect PreviewBackgroundPlace(0, 0, 1200, 857);

// A scene file as a load read it: the file it looked for, its text, and the
// message the user is to see when it could not be found or read (empty when
// it was read).
struct PreviewOpened {
    QString sceneFile;
    QString text;
    QString message;
};

class PreviewPlayer : public QObject {
    Q_OBJECT
public:
    explicit PreviewPlayer(QObject *parent = nullptr);
    ~PreviewPlayer() override;

    // The boxes: MainPic at PreviewBackgroundPlace and shown, the layer boxes
    // at 0, 0, 1 x 1 and hidden until a section places and shows them.
    PreviewBox *MainPic;
    PreviewBox *VelmMouth, *VelmBlink, *UserMouth, *UserBlink, *MiscPic, *TriggerPic;
    QList<PreviewBox *> boxes() const;

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

    // The scene last loaded.
    QString MainPicName;     // the background's name without ".jpg"
    QString MainPicFileName; // the background's file name in Images, when the preview shows it
    QString SceneBackgroundFile; // the background's file name as the scene gives it, shown or not
    QString NudyFilename;    // the alternate image's file name in Images
    bool HasNudy = false;    // the scene has an alternate image
    bool HasTrigger = false; // the scene has a trigger animation
    bool HasUser = false;    // the scene has a user character ("UM=")

    // The layer sections of the loader, in table order.
    PreviewSections Sections;

    // The smile, the blinks and the brows. Their loads are sections of the
    // loader; their steppers hold the animations' states (Smile.VelmSmileOn,
    // MainBlinks.Blink, UserBlinks.BlinkB, Brow.VelmBrowOn, ...), and the
    // timer steps below show what the steppers pick.
    SmileStepper Smile;          // SmileTimer1, SmileTimer2
    MainBlinkStepper MainBlinks; // Timer2
    BrowStepper Brow;            // BrowTimer1, BrowTimer2
    UserBlinkStepper UserBlinks; // Timer4
    void SmileTimer1_Timer();
    void SmileTimer2_Timer();
    void Timer2_Timer();
    void BrowTimer1_Timer();
    void BrowTimer2_Timer();
    void Timer4_Timer();

    // The extra, child, full-background and trigger animations, loaded by
    // their sections and driven by their timers and the "Trigger Anim" box.
    // The master tick arms the child and starts the extra through ExtraAnim
    // (PlayExtraMiscA, MiscDelay, MiscRandom, ExtraMiscARandom) and Timer5.
    ExtraAnimation ExtraAnim;         // Timer5, Timer6: MiscPic
    FullBackgroundAnimation FullAnim; // Timer7, Timer10: MainPic
    TriggerAnimation TriggerAnim;     // Timer13: TriggerPic
    QImage BackgroundPicture, AlternatePicture; // what the box swaps into MainPic
    void Timer5_Timer();
    void Timer6_Timer();
    void Timer7_Timer();
    void Timer10_Timer();
    void Timer13_Timer();
    // "Trigger Anim" took `value` (1 ticked, 0 cleared, 2 greyed): the trigger
    // plays forward or back, and MainPic takes the alternate image or the
    // background.
    void Check1_Click(int value);
    // Whether "Trigger Anim" can be clicked: the scene has an alternate image
    // or a trigger.
    bool triggerEnabled() const { return !NudyFilename.isEmpty() || HasTrigger; }

    // Loads the scene `name` of <BaseFolder>Scenes/ (its file found ignoring
    // case). A name that is no bare file name, or a file that cannot be
    // found or read, loads as an empty scene and says why. In two steps for
    // the window, which shows the message between them: readScene stops the
    // last scene and reads the file, showScene loads what was read.
    PreviewOpened load(const QString &name);
    PreviewOpened readScene(const QString &name);
    void showScene(const PreviewOpened &opened);
    // Empties the frame and sound file lists of the loaded scene, the
    // alternate image's name and the background's names.
    void ClearFilenames();
    // Every section's reset step: what the scene left running stops. At each
    // load and when the window closes.
    void stop();

    // Every decoded picture the player holds, each once however often it is
    // shared: the picture lists' entries and made pictures, the boxes'
    // pictures, the work image and the swapped backgrounds.
    QList<QImage> HeldPictures() const;

    // Lip sync: shows the talk mouth a speech event picked.
    void showMouth(const MouthPick &pick);

    // Scene sounds. A slot is 0..7; StopSound also takes a negative slot,
    // which closes every sound device.
    void LoadSoundA();
    void LoadSoundB();
    void LoadSoundC();
    void LoadSound(int32_t slot);
    void PlaySound(int32_t slot);
    void StopSound(int32_t slot);
    bool IsSoundDone(int32_t slot);
    void UpdateSceneSounds();
    // The master tick: the sound step, then the starts of core/preview/MasterTick.h.
    void Timer1_Timer();
    void Timer14_Timer();
    void Timer15_Timer();

    // The frame stepper: "<" and ">" step ImageNum within 1..21 and show the
    // picture-list entries of that number in the layer boxes.
    int32_t ImageNum = 0;
    void Command1_Click();
    void Command2_Click();

private:
    void makeTimers();
    void connectTimers();
    void connectAnimations();
    void reset();
    void showBackground(PreviewLoad &load);
};
