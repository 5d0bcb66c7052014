#pragma once
// The older editor's reader of a scene file. It reads both layouts, the older
// one its own "Save Scene..." writes and the set-up's, key by key in a fixed
// order with two rules for finding a value:
//
// - semicolon rule, the preview's SceneKeyValue: the first occurrence of the
//   key (letter case counts), the value up to the next ";";
// - line rule: the first occurrence of the key in any letter case, the value
//   up to the line end less its last character (the ";" of a well-formed
//   line).
//
// Values stay text. ParseLegacyScene gives a record of everything the file
// says; the load step applies it to the windows in the same order.

#include <QString>
#include <QStringList>

#include <optional>

// The value of a semicolon-rule key: nothing when the key is absent. A key
// with no ";" after it gives nothing and names itself in `skipped`.
std::optional<QString> semicolonValue(const QString &text, const QString &key, QStringList *skipped = nullptr);

// The value of a line-rule key: nothing when the key is absent. The line ends
// at the first CR LF or LF after the key, or at the end of the text; a line
// with nothing after its key gives the empty value.
std::optional<QString> lineValue(const QString &text, const QString &key);

// True when the literal occurs anywhere in the text.
bool hasLiteral(const QString &text, const QString &literal, Qt::CaseSensitivity cs = Qt::CaseInsensitive);

// "True" or "False" in any letter case, or a number (true when not 0);
// nothing for any other text.
std::optional<bool> legacyTruthValue(const QString &text);

// A layer group: its picture's name and its four numbers (an absent number
// gives the empty text).
struct LegacyLayer {
    QString name;
    QString height, width, x, y;
};

// Everything a scene file says to the older editor, in the order it is applied.
struct LegacySceneRecord {
    bool twips = false;                    // "SV=3"
    std::optional<QString> background;    // "BG="
    std::optional<QString> altImage;      // "NI="
    std::optional<LegacyLayer> mainMouth; // "KM=" group
    std::optional<LegacyLayer> userMouth; // "UM=" group
    std::optional<LegacyLayer> mainBlink; // "KB=" group
    std::optional<LegacyLayer> userBlink; // "UB=" group

    std::optional<LegacyLayer> extra; // "MP=" group
    struct ExtraBoxes {               // read only with "MP="
        std::optional<QString> random, frames, delay, speed; // "MR=", "MF=", "MD=", "MS="
        std::optional<QString> delayAt; // "MDA=": the delay-at frame, and the delay at a frame is on
    } extraBoxes;
    std::optional<bool> extraPingPong;     // "MPL=": true Pong (also when absent), false Loop
    std::optional<bool> extraDelayAtStart; // "MPLT=": true Start, false End

    std::optional<QString> childPreload; // "EMA=" (semicolon rule)
    std::optional<QString> childFrames;  // "EMAF="
    std::optional<QString> childRandom;  // "EMAR="
    std::optional<bool> childAtStart;    // "EMAFl=": true Start, false End
    std::optional<QString> childPreloadLine; // "EMA=" (line rule)
    std::optional<QString> childFramesLine, childRandomLine;
    bool childStartLiteral = false, childEndLiteral = false; // "EMAFl=Start", "EMAFl=End"

    std::optional<QString> fullAnimName; // "MainAnimName="
    std::optional<QString> fullFrames, fullSpeed, fullDelay, fullRandom;
    bool fullDelayStart = false, fullDelayEnd = false;
    bool fullLoop = false, fullPong = false;
    bool fullTalkStart = false, fullTalkEnd = false;
    bool fullPauseNo = false, fullPauseYes = false;
    std::optional<QString> fullSpeedChance, fullMinSpeed, fullMaxSpeed;

    std::optional<QString> trigger; // "TP="
    std::optional<QString> triggerHeight, triggerWidth, triggerX, triggerY;
    std::optional<QString> triggerFrames, triggerSpeed; // "TF=", "TS="

    std::optional<QString> sound1, sound1Random;
    std::optional<bool> sound1Loop;
    std::optional<QString> sound1LoopDelay;
    bool sound1PauseForTalk = false;
    std::optional<QString> sound2, sound2Random, sound3, sound3Random;

    // What the file holds that cannot be used, one line each: a key without
    // its ";", a name with a folder in it, a loop setting that is no truth value.
    QStringList skipped;
};

LegacySceneRecord ParseLegacyScene(const QString &text);
