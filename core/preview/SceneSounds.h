#pragma once
// The previewed scene's sounds: up to three files in the base folder's
// "Sounds", played in the background while the library window previews it.
// Sound 1 loops without a pause, repeats after a pause of some seconds, or
// plays at random; sounds 2 and 3 play at random.
//
// Eight program-wide sound slots drive the sound player (core/sound/MciPlayer.h)
// with its command strings: slot 0 plays sound 1 as "Sound1b", slot 1 sound 2
// as "Sound2b", slot 2 sound 3 as "Sound3b"; slots 3 to 7 stay empty. A
// continuous loop of sound 1 plays beside the slots. Every start closes,
// opens, rewinds and plays its slot afresh, and only when the slot is done,
// so no sound overlaps itself.
//
// The scene's sound files are read and decoded when the scene loads; no step
// that a timer runs touches the disk, and a sound missing then stays silent
// until the next load. No widget here: the window (VelmNShareSounds.cpp) runs
// these steps and switches its timers as they say.

#include "core/scene/SceneState.h"
#include "core/preview/PreviewScene.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

class RandomService;

inline constexpr int SoundSlotCount = 8;

struct SoundSlots {
    std::array<QString, SoundSlotCount> SoundSlotAliases; // the alias the slot's file is open under
    std::array<QString, SoundSlotCount> SoundSlotFiles;   // the full path the slot opens
    std::array<bool, SoundSlotCount> SoundSlotPlaying{};  // the slot was last told to play
};

// The program's slots; they outlive the library window.
SoundSlots &soundSlots();

// "<BaseFolder>Sounds/".
QString soundsFolder(const QString &baseFolder);

// Slot steps, each a few command strings. A slot outside 0..7 does nothing,
// except for stopSoundSlot, where a negative slot closes every device.
// Fills slot 0, 1 or 2 with its alias and the sounds folder + `file`.
void setSceneSoundSlot(SoundSlots &table, int slot, const QString &baseFolder, const Value &file);
// "Stop A", "Close A", then Open "F" Alias A; the slot is not playing.
void loadSoundSlot(SoundSlots &table, int slot);
// "Seek A to start wait", "Play A"; the slot is marked playing.
void playSoundSlot(SoundSlots &table, int slot);
// Negative: "Close all" and every mark cleared; else "Stop A" and its mark cleared.
void stopSoundSlot(SoundSlots &table, int slot);
// "status A mode": true when the reply is "stopped" or empty (the slot is not
// open, or the query failed).
bool soundSlotDone(const SoundSlots &table, int slot);
// The rule on the reply alone.
bool soundModeIsDone(const QString &reply);

// The sound keys of one scene text.
struct SceneSoundKeys {
    KeyValue sound1, sound2, sound3;              // bare names; another name counts as absent
    bool loop = false;                            // "Sound1Loop=True" anywhere, in any letter case
    std::optional<int16_t> loopDelay, random1, random2, random3; // converted; nothing when not a 16-bit number
};
SceneSoundKeys readSceneSoundKeys(const QString &sceneText);

// The loader's sound step: the keys into the settings and SoundFiles 1..3, as
// far as the scene has them.
void applySceneSoundKeys(const SceneSoundKeys &keys, SceneSoundSettings &sounds, QStringList &soundFiles);
// Reads and decodes the scene's sound files for the player, looked up
// ignoring letter case; a file that is missing, too large or undecodable is
// skipped, as the player skips a sound it does not have. Gives why each named
// file was skipped.
[[nodiscard]] QStringList loadSceneSoundFiles(const SceneSoundSettings &sounds, const QString &baseFolder);

// At each load and at the library window's close: "Close all", the loop
// stopped, the decoded sounds forgotten, the settings of the last scene
// cleared (files, loop, delay and its count, the chance factors).
void resetSceneSounds(SceneSoundSettings &sounds, SoundSlots &table);

// What a sound step asks of the window's timers.
struct SoundTimers {
    bool startPoll = false;    // a slot was told to play: the sound poll runs
    bool startDelay = false;   // the loop-delay count runs
    bool stopDelay = false;    // the loop-delay count ends
};

// The sound step of every master tick: draws from `random` as the scene's
// sounds need, and starts what the draws and the slots' states allow.
SoundTimers updateSceneSounds(SceneSoundSettings &sounds, SoundSlots &table, RandomService &random,
                              const QString &baseFolder);
// A second of the loop delay: restarts sound 1 when the count reaches the
// delay, else counts on (never past 32767).
SoundTimers countSoundDelay(SceneSoundSettings &sounds, SoundSlots &table, const QString &baseFolder);
// The sound poll: clears the marks of the slots whose sounds have ended.
void pollSoundSlots(SoundSlots &table);
