#pragma once
// The scene file, <name>.scn in Scenes: one "KEY=value;" entry per line, each
// ended by CR LF, in a fixed key order with absent entries left out, one more
// CR LF at the end, Windows-1252 text. Readers take the first occurrence of a
// key's text followed by "=" and the value up to the next ";".
//
// The text is built from a plain record of everything the writer reads (from
// the scene document: the shared scene state and the property dialogs'
// values), so that it can be checked byte for byte without any window.

#include "core/scene/SceneState.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Scene files are a few hundred short lines; no reader takes a file larger
// than this as a scene.
inline constexpr qint64 SceneFileMaxSize = 1024 * 1024;

struct SceneSettings {
    QString name; // the scene name as typed

    // Layer flags (true when the flag is on).
    bool isDesktop = false;
    bool hasSmile = false;
    bool hasMainBlink = false;
    bool hasBrow = false;
    bool hasUser = false;
    bool hasUserBlink = false; // the user character's blink, which counts only with the user character
    bool hasTrigger = false;
    bool hasExtraAnim = false;
    bool extraHasAlpha = false;
    bool hasChildAnim = false;
    bool childAutoCrop = false;
    bool hasFullAnim = false;
    bool hasAltImage = false;
    bool extraDelayAt = false;

    // Boxes on the background, in canvas pixels.
    LayerPlacement mainMouth, mainBlink, brow, userMouth, userBlink, trigger, extra;

    struct Trigger { // TrigAnimProps
        QString frames; // Text2
        QString speed;  // Text5
    } triggerAnim;

    struct Extra { // ExtraAnimProps
        QString random;     // Text1
        QString frames;     // Text2
        QString delayFrame; // Text3
        QString delay;      // Text4
        QString speed;      // Text5
        bool loop = false, pong = false;             // Option1, Option2
        bool delayAtStart = false, delayAtEnd = false; // Option3, Option4
    } extraAnim;

    struct Child { // ChildAnimProps and the preloaded first frame
        QString preloadName;
        QString frames; // Text2
        QString random; // Text1
        bool atStart = false, atEnd = false; // Option1, Option2
    } childAnim;

    struct FullAnim { // FullAnimProps
        QString frames; // Text2
        QString speed;  // Text5
        QString delay;  // Text4
        QString random; // Text1
        bool delayAtStart = false, delayAtEnd = false; // Option3, Option4
        bool loop = false, pong = false;               // Option1, Option2
        bool talkAtStart = false, talkAtEnd = false;   // Option5, Option6
        bool pauseForTalk = false; // Check1 ticked
        bool randomSpeed = false;  // Check2 ticked
        QString speedChance; // Text6
        QString minSpeed;    // Text7
        QString maxSpeed;    // Text8
    } fullAnim;

    struct Sounds { // Sound
        QString sound1;          // Text4
        QString sound1Chance;    // Text5
        QString sound1LoopDelay; // Text1
        bool sound1Loop = false;         // Check1 ticked
        bool sound1PauseForTalk = false; // Check2 ticked
        QString sound2;       // Text6
        QString sound2Chance; // Text2
        QString sound3;       // Text7
        QString sound3Chance; // Text3
    } sounds;
};

// One line of the scene file: key (ending in "="), value, and, for a value the
// user typed or picked, the field it came from, named for a message.
struct SceneEntry {
    QString key;
    QString value;
    QString field;
};

// Every entry of the scene, in the file's order, each under its condition.
QList<SceneEntry> sceneEntries(const SceneSettings &settings);

// The extra animation's timing entries from its dialog, in the file's order:
// "MR=" (990 for an empty box), "MF=", "MD=" (5 for an empty box), "MDA=" when
// the delay falls at a frame, "MS=", then the loop and delay option pairs.
QList<SceneEntry> extraTimingEntries(const SceneSettings::Extra &extra, bool delayAt);

// The scene text: each entry as key, value, ";" and CR LF.
QString sceneText(const QList<SceneEntry> &entries);

// The bytes of the file: the scene text, one more CR LF, in Windows-1252.
QByteArray sceneFileBytes(const QString &sceneText);
