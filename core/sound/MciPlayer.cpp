#include "core/sound/MciPlayer.h"

#include "core/sound/WavHeader.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

bool is(const QString &word, const char *keyword)
{
    return word.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

MciPlayer *thePlayer = nullptr;

void closePlayer()
{
    delete thePlayer;
    thePlayer = nullptr;
}

} // namespace

MciPlayer::MciPlayer(std::unique_ptr<SoundBackend> backend) : m_backend(std::move(backend)) {}

MciPlayer::~MciPlayer()
{
    for (Device &d : m_devices)
        halt(d);
    stopLooping();
}

int MciPlayer::send(const QString &command, QString *reply)
{
    const int result = run(command, reply);
    if (m_recorder)
        m_recorder(command, result);
    return result;
}

int MciPlayer::run(const QString &command, QString *reply)
{
    const QStringList words = command.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return MciUnknownCommand;
    const QString &verb = words.first();
    if (is(verb, "open"))
        return open(command);

    if (is(verb, "close") && words.size() == 2 && is(words[1], "all")) {
        for (Device &d : m_devices)
            halt(d);
        m_devices.clear();
        return MciOk;
    }
    const bool known = is(verb, "close") || is(verb, "seek") || is(verb, "play") || is(verb, "stop")
                       || is(verb, "status");
    if (!known)
        return MciUnknownCommand;
    if (words.size() < 2)
        return MciUnknownAlias;
    Device *d = device(words[1]);
    if (!d)
        return MciUnknownAlias;

    if (is(verb, "close") && words.size() == 2) {
        halt(*d);
        m_devices.remove(words[1].toLower());
        return MciOk;
    }
    if (is(verb, "seek") && (words.size() == 4 || (words.size() == 5 && is(words[4], "wait"))) && is(words[2], "to")
        && is(words[3], "start")) {
        halt(*d);
        return MciOk;
    }
    if (is(verb, "play") && words.size() == 2) {
        if (d->voice < 0 || !m_backend->playing(d->voice))
            d->voice = m_backend->play(d->sound, false);
        return MciOk;
    }
    if (is(verb, "stop") && words.size() == 2) {
        halt(*d);
        return MciOk;
    }
    if (is(verb, "status") && words.size() == 3 && is(words[2], "mode")) {
        const bool playing = d->voice >= 0 && m_backend->playing(d->voice);
        if (reply)
            *reply = playing ? QStringLiteral("playing") : QStringLiteral("stopped");
        return MciOk;
    }
    return MciUnknownCommand;
}

int MciPlayer::open(const QString &command)
{
    const qsizetype first = command.indexOf(QLatin1Char('"'));
    const qsizetype last = command.lastIndexOf(QLatin1Char('"'));
    if (first < 0 || last <= first || !is(command.left(first).trimmed(), "open"))
        return MciUnknownCommand;
    const QString path = command.mid(first + 1, last - first - 1);
    const QStringList rest = command.mid(last + 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (rest.isEmpty() || !is(rest.first(), "alias"))
        return MciUnknownCommand;
    if (rest.size() != 2 || is(rest[1], "all"))
        return MciUnknownAlias;
    const QString alias = rest[1].toLower();
    if (m_devices.contains(alias))
        return MciAliasInUse;
    const auto sound = m_sounds.constFind(path);
    if (sound == m_sounds.constEnd())
        return MciSoundNotLoaded;
    m_devices.insert(alias, Device{*sound, -1});
    return MciOk;
}

MciPlayer::Device *MciPlayer::device(const QString &alias)
{
    const auto it = m_devices.find(alias.toLower());
    return it == m_devices.end() ? nullptr : &*it;
}

void MciPlayer::halt(Device &d)
{
    if (d.voice >= 0)
        m_backend->halt(d.voice);
    d.voice = -1;
}

Result<> MciPlayer::addSound(const QString &path, const QByteArray &bytes)
{
    // A sound whose header claims more than its file holds is never decoded.
    const Result<> check = checkSoundBytes(bytes);
    std::shared_ptr<const DecodedSound> sound = check ? m_backend->decode(bytes, path) : nullptr;
    if (!sound) {
        m_sounds.remove(path);
        return Result<>::failure(check ? QStringLiteral("%1 is no sound that can be played").arg(path)
                                       : QStringLiteral("%1 is refused: %2").arg(path, check.error));
    }
    m_sounds.insert(path, std::move(sound));
    return Result<>::success();
}

void MciPlayer::clearSounds()
{
    m_sounds.clear();
}

void MciPlayer::playLooping(const QString &path)
{
    stopLooping();
    const auto sound = m_sounds.constFind(path);
    if (sound != m_sounds.constEnd())
        m_loopVoice = m_backend->play(*sound, true);
}

void MciPlayer::stopLooping()
{
    if (m_loopVoice >= 0)
        m_backend->halt(m_loopVoice);
    m_loopVoice = -1;
}

void MciPlayer::setRecorder(std::function<void(const QString &, int)> recorder)
{
    m_recorder = std::move(recorder);
}

MciPlayer &mciPlayer()
{
    if (!thePlayer)
        setSoundBackend(nullptr);
    return *thePlayer;
}

namespace {

// The player's backend where there is no audio library: as one without a
// device, nothing decodes, so every open fails and every sound counts as done.
class NoDeviceBackend : public SoundBackend {
public:
    std::shared_ptr<const DecodedSound> decode(const QByteArray &, const QString &) override { return nullptr; }
    int play(const std::shared_ptr<const DecodedSound> &, bool) override { return -1; }
    void halt(int) override {}
    bool playing(int) override { return false; }
};

std::function<std::unique_ptr<SoundBackend>()> &programBackend()
{
    static std::function<std::unique_ptr<SoundBackend>()> make;
    return make;
}

} // namespace

void setProgramSoundBackend(std::function<std::unique_ptr<SoundBackend>()> make)
{
    programBackend() = std::move(make);
}

void setSoundBackend(std::unique_ptr<SoundBackend> backend)
{
    closePlayer();
    if (!backend && programBackend())
        backend = programBackend()();
    if (!backend)
        backend = std::make_unique<NoDeviceBackend>();
    thePlayer = new MciPlayer(std::move(backend));
    // Routines run last added first: the player goes before the audio output
    // that its backend may just have opened.
    qRemovePostRoutine(closePlayer);
    qAddPostRoutine(closePlayer);
}
