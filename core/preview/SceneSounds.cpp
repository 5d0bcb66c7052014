#include "core/preview/SceneSounds.h"

#include "core/base/Files.h"
#include "core/base/Numbers.h"
#include "core/sound/MciPlayer.h"
#include "core/system/Services.h"

#include <cmath>

namespace {

// A scene's sound is a short effect or a loop; a larger file is not one.
constexpr qint64 MaxSoundFileSize = 64 * 1024 * 1024;
// The reply of a status query holds 39 characters.
constexpr int ReplyLength = 39;
constexpr int16_t MaxDelayCount = 32767;

bool validSlot(int slot)
{
    return slot >= 0 && slot < SoundSlotCount;
}

void send(const QString &command)
{
    // As the slots always did, a failing command is passed over: a slot that
    // did not open stays closed and counts as done.
    static_cast<void>(mciPlayer().send(command));
}

QString soundPath(const QString &baseFolder, const Value &file)
{
    return soundsFolder(baseFolder) + file.toText();
}

bool hasFile(const Value &file)
{
    return !file.toText().isEmpty();
}

// floor(u * R * 3), in double, so no factor overflows it.
double soundDraw(RandomService &random, const Value &factor)
{
    return std::floor(double(random.next()) * factor.toDouble() * 3);
}

// LoadSoundA and PlaySound(0).
void startSound1(SceneSoundSettings &sounds, SoundSlots &table, const QString &baseFolder)
{
    setSceneSoundSlot(table, 0, baseFolder, sounds.Sound1File);
    loadSoundSlot(table, 0);
    playSoundSlot(table, 0);
}

} // namespace

SoundSlots &soundSlots()
{
    static SoundSlots table;
    return table;
}

QString soundsFolder(const QString &baseFolder)
{
    return joinPath(baseFolder, QStringLiteral("/Sounds/"));
}

void setSceneSoundSlot(SoundSlots &table, int slot, const QString &baseFolder, const Value &file)
{
    if (slot < 0 || slot > 2)
        return;
    table.SoundSlotAliases[size_t(slot)] = QStringLiteral("Sound%1b").arg(slot + 1);
    table.SoundSlotFiles[size_t(slot)] = soundPath(baseFolder, file);
}

void loadSoundSlot(SoundSlots &table, int slot)
{
    if (!validSlot(slot))
        return;
    stopSoundSlot(table, slot);
    const QString &alias = table.SoundSlotAliases[size_t(slot)];
    send(QStringLiteral("Close ") + alias);
    send(QStringLiteral("Open \"") + table.SoundSlotFiles[size_t(slot)] + QStringLiteral("\" Alias ") + alias);
}

void playSoundSlot(SoundSlots &table, int slot)
{
    if (!validSlot(slot))
        return;
    const QString &alias = table.SoundSlotAliases[size_t(slot)];
    send(QStringLiteral("Seek ") + alias + QStringLiteral(" to start wait"));
    send(QStringLiteral("Play ") + alias);
    table.SoundSlotPlaying[size_t(slot)] = true;
}

void stopSoundSlot(SoundSlots &table, int slot)
{
    if (slot < 0) {
        send(QStringLiteral("Close all"));
        table.SoundSlotPlaying.fill(false);
        return;
    }
    if (!validSlot(slot))
        return;
    send(QStringLiteral("Stop ") + table.SoundSlotAliases[size_t(slot)]);
    table.SoundSlotPlaying[size_t(slot)] = false;
}

bool soundSlotDone(const SoundSlots &table, int slot)
{
    if (!validSlot(slot))
        return true;
    QString reply;
    static_cast<void>(mciPlayer().send(
        QStringLiteral("status ") + table.SoundSlotAliases[size_t(slot)] + QStringLiteral(" mode"), &reply));
    return soundModeIsDone(reply.left(ReplyLength));
}

bool soundModeIsDone(const QString &reply)
{
    return reply.isEmpty() || reply == QStringLiteral("stopped");
}

SceneSoundKeys readSceneSoundKeys(const QString &sceneText)
{
    auto number = [&sceneText](const char *key) -> std::optional<int16_t> {
        const KeyValue v = SceneKeyValue(sceneText, QString::fromLatin1(key));
        return v.present ? toInt16(v.value) : std::nullopt;
    };
    SceneSoundKeys keys;
    keys.sound1 = SceneNameValue(sceneText, QStringLiteral("Sound1="));
    keys.loop = sceneText.contains(QStringLiteral("Sound1Loop=True"), Qt::CaseInsensitive);
    keys.loopDelay = number("Sound1LoopDelay=");
    keys.random1 = number("Sound1R=");
    keys.sound2 = SceneNameValue(sceneText, QStringLiteral("Sound2="));
    keys.random2 = number("Sound2R=");
    keys.sound3 = SceneNameValue(sceneText, QStringLiteral("Sound3="));
    keys.random3 = number("Sound3R=");
    return keys;
}

void applySceneSoundKeys(const SceneSoundKeys &keys, SceneSoundSettings &sounds, QStringList &soundFiles)
{
    auto file = [&soundFiles](const KeyValue &key, Value &target, int entry) {
        if (!key.present)
            return;
        target = key.value;
        if (entry < soundFiles.size())
            soundFiles[entry] = key.value;
    };
    auto factor = [](const std::optional<int16_t> &v, Value &target) {
        if (v)
            target = Value::integer(*v);
    };
    file(keys.sound1, sounds.Sound1File, 1);
    if (keys.sound1.present)
        sounds.Sound1Present = FlagOn;
    sounds.Sound1Loop = toFlag(keys.loop);
    factor(keys.loopDelay, sounds.Sound1LoopDelay);
    factor(keys.random1, sounds.Sound1Random);
    file(keys.sound2, sounds.Sound2File, 2);
    factor(keys.random2, sounds.Sound2Random);
    file(keys.sound3, sounds.Sound3File, 3);
    factor(keys.random3, sounds.Sound3Random);
}

QStringList loadSceneSoundFiles(const SceneSoundSettings &sounds, const QString &baseFolder)
{
    const QString folder = soundsFolder(baseFolder);
    QStringList skipped;
    for (const Value *file : {&sounds.Sound1File, &sounds.Sound2File, &sounds.Sound3File}) {
        const QString name = file->toText();
        if (!isBareName(name))
            continue;
        const FileRead read = readFile(findFileIgnoringCase(folder, name), MaxSoundFileSize);
        if (!read) {
            skipped << read.error;
            continue;
        }
        if (const Result<> added = mciPlayer().addSound(folder + name, read.value); !added)
            skipped << added.error;
    }
    return skipped;
}

void resetSceneSounds(SceneSoundSettings &sounds, SoundSlots &table)
{
    stopSoundSlot(table, -1);
    mciPlayer().stopLooping();
    mciPlayer().clearSounds();
    sounds.Sound1DelayCount = Value::integer(0);
    sounds.Sound1File = sounds.Sound2File = sounds.Sound3File = Value(QString());
    sounds.Sound1LoopDelay = Value::integer(0);
    sounds.Sound1Loop = FlagOff;
    sounds.Sound1LoopStarted = FlagOff;
    // A factor the next scene lacks, or gives as no number, counts as 0.
    sounds.Sound1Random = sounds.Sound2Random = sounds.Sound3Random = Value::integer(0);
}

SoundTimers updateSceneSounds(SceneSoundSettings &sounds, SoundSlots &table, RandomService &random,
                              const QString &baseFolder)
{
    SoundTimers timers;
    if (hasFile(sounds.Sound1File)) {
        if (sounds.Sound1LoopDelay.toDouble() == 0 && sounds.Sound1Loop == FlagOn) {
            if (sounds.Sound1LoopStarted == FlagOff) {
                mciPlayer().playLooping(soundPath(baseFolder, sounds.Sound1File));
                sounds.Sound1LoopStarted = FlagOn;
            }
        } else if (sounds.Sound1LoopDelay.toDouble() != 0) {
            if (soundSlotDone(table, 0))
                timers.startDelay = true;
        } else {
            const double d = soundDraw(random, sounds.Sound1Random);
            if ((d == 0 || d == 1) && soundSlotDone(table, 0)) {
                startSound1(sounds, table, baseFolder);
                timers.startPoll = true;
            }
        }
    }
    // Sounds 2 and 3, in slots 1 and 2, start when their draw is 1.
    const struct {
        const Value &file, &factor;
        int slot;
    } randomSounds[] = {{sounds.Sound2File, sounds.Sound2Random, 1}, {sounds.Sound3File, sounds.Sound3Random, 2}};
    for (const auto &sound : randomSounds) {
        if (!hasFile(sound.file))
            continue;
        if (soundDraw(random, sound.factor) == 1 && soundSlotDone(table, sound.slot)) {
            setSceneSoundSlot(table, sound.slot, baseFolder, sound.file);
            loadSoundSlot(table, sound.slot);
            playSoundSlot(table, sound.slot);
            timers.startPoll = true;
        }
    }
    return timers;
}

SoundTimers countSoundDelay(SceneSoundSettings &sounds, SoundSlots &table, const QString &baseFolder)
{
    SoundTimers timers;
    if (sounds.Sound1DelayCount.toDouble() == sounds.Sound1LoopDelay.toDouble()) {
        sounds.Sound1DelayCount = Value::integer(0);
        startSound1(sounds, table, baseFolder);
        timers.startPoll = true;
        timers.stopDelay = true;
    } else {
        const double count = sounds.Sound1DelayCount.toDouble();
        if (count < MaxDelayCount)
            sounds.Sound1DelayCount = Value::integer(int16_t(count + 1));
    }
    return timers;
}

void pollSoundSlots(SoundSlots &table)
{
    for (int slot = 0; slot < SoundSlotCount; ++slot)
        if (table.SoundSlotPlaying[size_t(slot)] && soundSlotDone(table, slot))
            table.SoundSlotPlaying[size_t(slot)] = false;
}
