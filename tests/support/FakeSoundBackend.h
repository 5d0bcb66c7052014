#pragma once
// A sound backend for tests: it logs what it is asked and "plays" each sound
// for a duration the test sets, on the virtual clock (core/system/Timer.h). Only
// bytes that begin with "RIFF" decode. FakeSoundDevice installs it as the
// program's player for its lifetime.

#include "core/sound/MciPlayer.h"
#include "core/system/Timer.h"

#include <QFileInfo>
#include <QHash>
#include <QStringList>

struct FakeSounds {
    QStringList log;                  // "decode a.wav", "play a.wav", "loop a.wav", "halt a.wav"
    QHash<QString, qint64> durations; // by file name; milliseconds
    qint64 duration = 1000;           // for the others
};

class FakeSoundBackend : public SoundBackend {
public:
    explicit FakeSoundBackend(FakeSounds &sounds) : m_sounds(sounds) {}

    std::shared_ptr<const DecodedSound> decode(const QByteArray &bytes, const QString &name) override
    {
        if (!bytes.startsWith("RIFF"))
            return nullptr;
        auto sound = std::make_shared<Sound>();
        sound->name = QFileInfo(name).fileName();
        m_sounds.log << QStringLiteral("decode ") + sound->name;
        return sound;
    }
    int play(const std::shared_ptr<const DecodedSound> &sound, bool loop) override
    {
        const auto *s = dynamic_cast<const Sound *>(sound.get());
        if (!s)
            return -1;
        m_sounds.log << (loop ? QStringLiteral("loop ") : QStringLiteral("play ")) + s->name;
        m_voices.append(Voice{s->name, now(), loop ? -1 : m_sounds.durations.value(s->name, m_sounds.duration)});
        return int(m_voices.size() - 1);
    }
    void halt(int voice) override
    {
        if (voice < 0 || voice >= m_voices.size() || m_voices[voice].halted)
            return;
        if (playing(voice))
            m_sounds.log << QStringLiteral("halt ") + m_voices[voice].name;
        m_voices[voice].halted = true;
    }
    bool playing(int voice) override
    {
        if (voice < 0 || voice >= m_voices.size())
            return false;
        const Voice &v = m_voices[voice];
        return !v.halted && (v.length < 0 || now() < v.start + v.length);
    }

private:
    struct Sound : DecodedSound {
        QString name;
    };
    struct Voice {
        QString name;
        qint64 start = 0;
        qint64 length = 0; // -1: loops
        bool halted = false;
    };
    static qint64 now() { return VirtualClock::current() ? VirtualClock::current()->Now() : 0; }

    FakeSounds &m_sounds;
    QList<Voice> m_voices;
};

class FakeSoundDevice : public FakeSounds {
public:
    FakeSoundDevice() { setSoundBackend(std::make_unique<FakeSoundBackend>(*this)); }
    ~FakeSoundDevice() { setSoundBackend(std::make_unique<FakeSoundBackend>(m_after)); }
    FakeSoundDevice(const FakeSoundDevice &) = delete;
    FakeSoundDevice &operator=(const FakeSoundDevice &) = delete;

private:
    static inline FakeSounds m_after; // what sounds after the test, unheard
};
