#pragma once
// The program's sound devices, driven by command strings as the preview sends
// them, plus one looping background sound. The strings understood, keywords
// and aliases in any letter case:
//   open "<path>" alias <a>   the path is the text between the first and the
//                             last double quote
//   close <a>                 close all
//   seek <a> to start wait    halts and rewinds
//   play <a>                  returns at once; the sound plays on
//   stop <a>
//   status <a> mode           "playing" from play until the sound's end, then
//                             "stopped"
// send() returns 0 on success and a non-zero code otherwise (and then sets no
// reply): an unknown command, an unknown or empty alias, a second open of an
// open alias, a path whose sound is not loaded. It never throws.
//
// Sound files are read and decoded ahead, when a scene loads (addSound); an
// open takes the decoded sound stored under its exact path, so nothing a timer
// runs touches the disk. The loop (playLooping) sounds beside the devices and
// "close all" leaves it playing.

#include "core/base/Result.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <functional>
#include <memory>

// A decoded sound, as the backend keeps it.
class DecodedSound {
public:
    virtual ~DecodedSound() = default;
};

// What the player needs of an audio library. Ends are polled: playing() is
// asked, the backend never calls back.
class SoundBackend {
public:
    virtual ~SoundBackend() = default;
    // The sound in a file's bytes, or null when it cannot be decoded or there
    // is no device to play it on. `name` is for the backend's own use.
    virtual std::shared_ptr<const DecodedSound> decode(const QByteArray &bytes, const QString &name) = 0;
    // Starts a sound from its beginning, once or looping; returns a voice
    // number, or -1 when it cannot play.
    virtual int play(const std::shared_ptr<const DecodedSound> &sound, bool loop) = 0;
    // Stops a voice; an ended or unknown voice is left alone.
    virtual void halt(int voice) = 0;
    // True while the voice sounds.
    virtual bool playing(int voice) = 0;
};

enum MciError {
    MciOk = 0,
    MciUnknownCommand = 1,  // no such command, or its words are not as above
    MciUnknownAlias = 2,    // nothing is open under the alias, or it is empty
    MciAliasInUse = 3,      // open under an alias that is already open
    MciSoundNotLoaded = 4,  // open of a path with no decoded sound
};

class MciPlayer {
public:
    explicit MciPlayer(std::unique_ptr<SoundBackend> backend);
    ~MciPlayer();
    MciPlayer(const MciPlayer &) = delete;
    MciPlayer &operator=(const MciPlayer &) = delete;

    // Runs one command string; `reply`, when given, receives the answer of a
    // status query and is left alone otherwise.
    [[nodiscard]] int send(const QString &command, QString *reply = nullptr);

    // Decodes a sound file's bytes and keeps them for opens of exactly `path`;
    // refused (and nothing kept) when they do not decode, or when their header
    // claims more than they hold (checkSoundBytes, core/sound/WavHeader.h).
    Result<> addSound(const QString &path, const QByteArray &bytes);
    // Forgets every decoded sound; open devices and the loop play on.
    void clearSounds();

    // Starts the sound kept under `path` looping, in place of any loop; with
    // no such sound the loop is only stopped.
    void playLooping(const QString &path);
    void stopLooping();

    // Tests: every command string, as sent, with its result.
    void setRecorder(std::function<void(const QString &command, int result)> recorder);

private:
    struct Device {
        std::shared_ptr<const DecodedSound> sound;
        int voice = -1;
    };
    int run(const QString &command, QString *reply);
    int open(const QString &command);
    Device *device(const QString &alias);
    void halt(Device &d);

    std::unique_ptr<SoundBackend> m_backend;
    QHash<QString, std::shared_ptr<const DecodedSound>> m_sounds; // by exact path
    QHash<QString, Device> m_devices;                              // by alias, lower case
    int m_loopVoice = -1;
    std::function<void(const QString &, int)> m_recorder;
};

// The program's player, on the program's backend unless a test set another.
MciPlayer &mciPlayer();
// Replaces the program's player with one on `backend` (null: the program's
// backend again), closing everything the old one held.
void setSoundBackend(std::unique_ptr<SoundBackend> backend);
// The program's backend, made when the player is first used: SDL2_mixer's
// once the program installed it (adapters/sound/MixerSoundBackend.h), until
// then one without a device.
void setProgramSoundBackend(std::function<std::unique_ptr<SoundBackend>()> make);
