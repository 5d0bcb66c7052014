#pragma once
// The shared scene state: one record that every window of the set-up reads by
// name, held by the scene document. The layer dialogs and the older editor's
// commands write it through the document (SceneDocument::editState), which
// says `changed`, and so do the canvas, the designers and the start window;
// the preview player's load fills the file lists and sounds of the document's
// record, which no window shows. It lives from program start to program end;
// only the wizard reset clears a group of its members.

#include "core/base/Value.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

// -1 for true, 0 for false.
using Flag = int16_t;
constexpr Flag FlagOn = -1;
constexpr Flag FlagOff = 0;
inline Flag toFlag(bool on) { return on ? FlagOn : FlagOff; }
// The flag holds True (-1), as a comparison with True tests it.
inline bool isFlagOn(Flag f) { return f == FlagOn; }
// The flag holds anything but False (0), as a plain "If flag Then" tests it.
inline bool isFlagSet(Flag f) { return f != FlagOff; }

enum CanvasLayer {
    LayerMainMouth = 0,
    LayerMainBlink = 1,
    LayerUserMouth = 2,
    LayerUserBlink = 3,
    LayerExtraAnim = 4,
    LayerTriggerAnim = 5,
    LayerBrowAnim = 6,
};
constexpr int CanvasLayerCount = 7;

// The unit the older editor's canvas measures its layers in: pixels, or twips
// for a scene whose file says so ("SV=3").
enum class CanvasUnit { Pixels, Twips };

// One layer's box on the canvas, in canvas pixels.
struct LayerPlacement {
    Value LayerX, LayerY, LayerWidth, LayerHeight;
};

struct LayerGrabOffset {
    Value LayerGrabX, LayerGrabY;
};

// A numbered frame series chosen in a layer dialog.
struct AnimFrameSet {
    Value FirstFramePath; // full path of the picked first frame
    Value FrameFolder;    // folder of that file, ending in a separator
    Value FrameBaseName;  // file name without its last 6 characters
    Value FrameExt;       // last 4 characters of the file name
    Value FirstFrame;     // number of the first frame
    Value LastFrame;      // number of the last frame
    Value CurrentFrame;   // frame shown in the crop designer
    Value FrameCount;     // the dialog's Frames box
};

struct SceneSoundSettings {
    Value Sound1File, Sound1Random, Sound1LoopDelay, Sound2File, Sound2Random;
    Flag Sound1Loop = FlagOff;
    Value Sound3File, Sound3Random;
    // The preview's own: a scene with sound 1 was loaded since the start, the
    // continuous loop of sound 1 runs for this load, seconds counted towards
    // the loop delay.
    Flag Sound1Present = FlagOff;
    Flag Sound1LoopStarted = FlagOff;
    Value Sound1DelayCount;
};

// Bare file names of every frame and sound of the previewed scene; entry 0 of
// each list is not used.
struct SceneFileLists {
    QStringList MainMouthFrameFiles = QStringList(101);
    QStringList MainBlinkFrameFiles = QStringList(101);
    QStringList UserMouthFrameFiles = QStringList(101);
    QStringList UserBlinkFrameFiles = QStringList(101);
    QStringList ExtraFrameFiles = QStringList(1001);
    QStringList SmileFrameFiles = QStringList(101);
    QStringList BrowFrameFiles = QStringList(101);
    QStringList ChildFrameFiles = QStringList(1001);
    QStringList FullAnimFrameFiles = QStringList(1001);
    QStringList TriggerFrameFiles = QStringList(1001);
    QStringList SoundFiles = QStringList(11);
};

struct SceneState {
    // Folders
    QString BaseFolder; // <Documents>/Velm5Pro/, ending in "/"
    Value WorkFolder;   // the folder a handler set just before building paths on it

    // Layer flags
    Flag SceneHasMainBlink = FlagOff;
    Flag SceneHasUser = FlagOff;
    Flag SceneHasExtraAnim = FlagOff;
    Flag SceneHasFullAnim = FlagOff;
    Flag SceneHasChildAnim = FlagOff;
    Flag SceneHasUserBlink = FlagOff;
    Flag SceneHasAltImage = FlagOff;
    Flag SceneHasTrigger = FlagOff;
    Flag SceneHasSmile = FlagOff;
    Flag SceneHasBrow = FlagOff;
    Flag SceneIsDesktop = FlagOff;
    Flag ExtraHasAlpha = FlagOff;

    // The user character's blink counts only when the user character is on.
    bool userBlinkOn() const { return SceneHasUser == FlagOn && SceneHasUserBlink == FlagOn; }

    // Placed flags
    Flag MainBlinkPlaced = FlagOff;
    Flag UserMouthPlaced = FlagOff;
    Flag UserBlinkPlaced = FlagOff;
    Flag ExtraPlaced = FlagOff;
    Flag TriggerPlaced = FlagOff;
    void clearPlacedFlags()
    {
        MainBlinkPlaced = UserMouthPlaced = UserBlinkPlaced = ExtraPlaced = TriggerPlaced = FlagOff;
    }

    // Canvas
    std::array<LayerPlacement, CanvasLayerCount> LayerPlacements;
    std::array<LayerGrabOffset, CanvasLayerCount> LayerGrabOffsets;
    Value CanvasWidth, CanvasHeight;
    Flag IsDragging = FlagOff;
    Flag DragShowsOutline = FlagOff;
    CanvasUnit LegacyCanvasUnit = CanvasUnit::Pixels;

    // Primary frame series
    Value PrimaryFirstFramePath;
    Value PrimaryFramePrefix;
    Value PrimaryFrameExt;

    // Frame sets
    AnimFrameSet ExtraFrameSet;
    AnimFrameSet TriggerFrameSet;
    AnimFrameSet AlphaFrameSet;
    AnimFrameSet ChildFrameSet;
    AnimFrameSet FullAnimFrameSet;

    // Values of the layer dialogs
    Flag ExtraDelayAtOn = FlagOff;
    Flag ChildAutoCropOn = FlagOff;
    Value ChildPreloadName;
    Value FullAnimFirstFrameName;
    Value AltImagePath;
    Value AltImageName;
    QString AlphaBackgroundPath;

    // Scene text and scratch values
    Value SceneText;
    Value PickedPath, PickedNameStart, PickedName;
    Value BackgroundFileName, MainMouthFileName, MainBlinkFileName, UserMouthFileName, UserBlinkFileName,
        ExtraFileName;

    // The scene last previewed
    SceneSoundSettings Sounds;
    SceneFileLists Files;
};

// Points WorkFolder at BaseFolder, ending in "/", as a handler does before it
// builds paths on it.
void setWorkFolderToBase(SceneState &s);

// The one record of the program: the state of the scene document
// (core/scene/SceneDocument.h). Windows read it here and write it through
// the document (editState), so that every edit says `changed`; the tests
// set up their fixtures here.
SceneState &scene();
// The whole document back to its start values (a test's fresh start).
void resetSceneState();
