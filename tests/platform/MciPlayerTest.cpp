// The sound player's command strings over a fake backend on the virtual
// clock: what each string does, what fails and leaves the reply alone, and
// the loop beside the devices; then the same on SDL2_mixer's dummy device.

#include "adapters/sound/MixerSoundBackend.h"
#include "core/sound/MciPlayer.h"
#include "core/system/Timer.h"
#include "tests/support/FakeSoundBackend.h"
#include "tests/support/WavFile.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace {

const QString Untouched = QStringLiteral("<untouched>");

// One step of a script: a command string with its result and reply, or a
// move of the clock ("+300").
struct Step {
    const char *command;
    int result = MciOk;
    const char *reply = nullptr; // nullptr: the reply is left alone
};

struct Script {
    const char *name;
    std::vector<Step> steps;
};

class MciPlayerTest : public ::testing::Test {
protected:
    MciPlayerTest() : player(std::make_unique<FakeSoundBackend>(sounds))
    {
        sounds.durations.insert(QStringLiteral("a.wav"), 1000);
        sounds.durations.insert(QStringLiteral("b.wav"), 500);
        EXPECT_TRUE(player.addSound(QStringLiteral("/s/a.wav"), wavBytes(0.01)));
        EXPECT_TRUE(player.addSound(QStringLiteral("/s/b.wav"), wavBytes(0.01)));
        EXPECT_TRUE(player.addSound(QStringLiteral("/s/My \"odd\" name.wav"), wavBytes(0.01)));
    }

    VirtualClock clock;
    FakeSounds sounds;
    MciPlayer player;
};

TEST_F(MciPlayerTest, CommandStrings)
{
    const Script scripts[] = {
        {"play, then playing until the end, then stopped",
         {{"open \"/s/a.wav\" alias s1"}, {"status s1 mode", MciOk, "stopped"}, {"play s1"},
          {"status s1 mode", MciOk, "playing"}, {"+999"}, {"status s1 mode", MciOk, "playing"}, {"+1"},
          {"status s1 mode", MciOk, "stopped"}}},
        {"keywords and aliases in any letter case",
         {{"Open \"/s/a.wav\" Alias Sound1b"}, {"SEEK sound1B TO START WAIT"}, {"pLaY SOUND1b"},
          {"Status sound1b Mode", MciOk, "playing"}, {"Stop Sound1B"}, {"status Sound1b mode", MciOk, "stopped"},
          {"Close SOUND1B"}, {"status Sound1b mode", MciUnknownAlias}}},
        {"the path is everything between the first and the last quote",
         {{"open \"/s/My \"odd\" name.wav\" alias q"}, {"play q"}, {"status q mode", MciOk, "playing"}}},
        {"a sound that was not loaded fails to open and its alias stays unknown",
         {{"open \"/s/none.wav\" alias x", MciSoundNotLoaded}, {"seek x to start wait", MciUnknownAlias},
          {"play x", MciUnknownAlias}, {"status x mode", MciUnknownAlias}, {"close x", MciUnknownAlias}}},
        {"the path must match exactly",
         {{"open \"/s/A.wav\" alias x", MciSoundNotLoaded}, {"open \"/s/a.wav \" alias x", MciSoundNotLoaded}}},
        {"a second open of an open alias fails and the first plays on",
         {{"open \"/s/a.wav\" alias s"}, {"play s"}, {"open \"/s/b.wav\" alias S", MciAliasInUse}, {"+600"},
          {"status s mode", MciOk, "playing"}}},
        {"an empty alias fails",
         {{"Stop ", MciUnknownAlias}, {"close", MciUnknownAlias}, {"status  mode", MciUnknownAlias},
          {"open \"/s/a.wav\" alias", MciUnknownAlias}, {"open \"/s/a.wav\" alias all", MciUnknownAlias}}},
        {"unknown commands and words fail",
         {{"", MciUnknownCommand}, {"pause s", MciUnknownCommand}, {"open /s/a.wav alias s", MciUnknownCommand},
          {"open \"/s/a.wav\" as s", MciUnknownCommand}, {"open \"/s/a.wav\" alias s"},
          {"status s position", MciUnknownCommand}, {"seek s to end", MciUnknownCommand},
          {"play s from 0", MciUnknownCommand}, {"status s mode", MciOk, "stopped"}}},
        {"a seek halts and rewinds: the next play runs whole",
         {{"open \"/s/b.wav\" alias s"}, {"play s"}, {"+300"}, {"seek s to start wait"},
          {"status s mode", MciOk, "stopped"}, {"play s"}, {"+499"}, {"status s mode", MciOk, "playing"}, {"+1"},
          {"status s mode", MciOk, "stopped"}}},
        {"close all closes every device",
         {{"open \"/s/a.wav\" alias s1"}, {"open \"/s/b.wav\" alias s2"}, {"play s1"}, {"play s2"}, {"close all"},
          {"status s1 mode", MciUnknownAlias}, {"status s2 mode", MciUnknownAlias}, {"open \"/s/a.wav\" alias s1"},
          {"status s1 mode", MciOk, "stopped"}}},
    };
    for (const Script &script : scripts) {
        SCOPED_TRACE(script.name);
        static_cast<void>(player.send(QStringLiteral("close all")));
        for (const Step &step : script.steps) {
            const QString command = QString::fromUtf8(step.command);
            if (command.startsWith(QLatin1Char('+'))) {
                clock.Advance(command.mid(1).toLongLong());
                continue;
            }
            QString reply = Untouched;
            EXPECT_EQ(player.send(command, &reply), step.result) << step.command;
            EXPECT_EQ(reply, step.reply ? QString::fromUtf8(step.reply) : Untouched) << step.command;
        }
    }
}

TEST_F(MciPlayerTest, UndecodableBytesKeepNoSoundAndARecorderSeesEveryString)
{
    EXPECT_FALSE(player.addSound(QStringLiteral("/s/bad.wav"), "not a sound"));
    // Bytes that no longer decode replace what the path held.
    EXPECT_FALSE(player.addSound(QStringLiteral("/s/b.wav"), QByteArray()));

    QStringList seen;
    player.setRecorder([&](const QString &command, int result) { seen << QStringLiteral("%1 -> %2").arg(command).arg(result); });
    EXPECT_EQ(player.send(QStringLiteral("open \"/s/bad.wav\" alias x")), MciSoundNotLoaded);
    EXPECT_EQ(player.send(QStringLiteral("open \"/s/b.wav\" alias x")), MciSoundNotLoaded);
    EXPECT_EQ(player.send(QStringLiteral("open \"/s/a.wav\" alias x")), MciOk);
    EXPECT_EQ(seen, (QStringList{"open \"/s/bad.wav\" alias x -> 4", "open \"/s/b.wav\" alias x -> 4",
                                 "open \"/s/a.wav\" alias x -> 0"}));

    // Forgotten sounds no longer open; an open device keeps its own.
    player.clearSounds();
    EXPECT_EQ(player.send(QStringLiteral("open \"/s/a.wav\" alias y")), MciSoundNotLoaded);
    EXPECT_EQ(player.send(QStringLiteral("play x")), MciOk);
    EXPECT_EQ(sounds.log, (QStringList{"decode a.wav", "decode b.wav", "decode My \"odd\" name.wav", "play a.wav"}));
}

// A WAV file's header says how many bytes follow, and a decoder reserves
// what it says before it reads them. One that claims more than it holds is
// refused before the decoder sees it; whole files reach the decoder, also
// one whose odd last chunk lacks its pad byte or that has bytes after its end.
TEST_F(MciPlayerTest, AWavClaimingMoreThanItHoldsIsNeverDecoded)
{
    // 44 bytes of header and 64 of sound; the data chunk's length is at 40.
    const QByteArray whole = wavBytes(32.5 / 22050);
    ASSERT_EQ(whole.size(), 108);
    auto with = [](QByteArray bytes, qsizetype at, quint32 value) {
        qToLittleEndian(value, bytes.data() + at);
        return bytes;
    };
    QByteArray odd = with(with(whole, 40, 63), 4, quint32(whole.size() - 9));
    odd.chop(1);
    const struct {
        const char *label;
        QByteArray bytes;
        bool decoded;
    } rows[] = {
        {"2 GB of sound claimed in 108 bytes", with(whole, 40, 0x7FFFFFFF), false},
        {"a RIFF length past the end", with(whole, 4, quint32(whole.size())), false},
        {"a format chunk past the end", with(whole, 16, 1000), false},
        {"every length at its most", with(with(whole, 4, 0xFFFFFFFF), 40, 0xFFFFFFFF), false},
        {"whole", whole, true},
        {"an odd last chunk without its pad byte", odd, true},
        {"bytes after the RIFF data", whole + "tail", true},
    };
    for (const auto &row : rows) {
        sounds.log.clear();
        EXPECT_EQ(player.addSound(QStringLiteral("/s/c.wav"), row.bytes).ok(), row.decoded) << row.label;
        EXPECT_EQ(sounds.log, row.decoded ? QStringList{"decode c.wav"} : QStringList()) << row.label;
        EXPECT_EQ(player.send(QStringLiteral("open \"/s/c.wav\" alias c")), row.decoded ? MciOk : MciSoundNotLoaded)
            << row.label;
        (void)player.send(QStringLiteral("close c"));
    }
}

TEST_F(MciPlayerTest, TheLoopPlaysBesideTheDevicesAndOutlivesCloseAll)
{
    sounds.log.clear();
    player.playLooping(QStringLiteral("/s/a.wav"));
    ASSERT_EQ(player.send(QStringLiteral("open \"/s/b.wav\" alias s")), MciOk);
    ASSERT_EQ(player.send(QStringLiteral("play s")), MciOk);
    clock.Advance(5000); // the loop has no end
    ASSERT_EQ(player.send(QStringLiteral("close all")), MciOk);
    player.playLooping(QStringLiteral("/s/b.wav")); // replaces the loop
    player.playLooping(QStringLiteral("/s/none.wav")); // only stops it
    player.playLooping(QStringLiteral("/s/a.wav"));
    player.stopLooping();
    player.stopLooping();
    EXPECT_EQ(sounds.log, (QStringList{"loop a.wav", "play b.wav", "halt a.wav", "loop b.wav", "halt b.wav",
                                       "loop a.wav", "halt a.wav"}));
}

// SDL2_mixer on the dummy driver plays in real time.
TEST(MixerSoundBackend, AWavPlaysThenStopsAndTheLoopStartsAndStops)
{
    MciPlayer player(std::make_unique<MixerSoundBackend>());
    ASSERT_TRUE(player.addSound(QStringLiteral("/s/tone.wav"), wavBytes(0.3)));
    EXPECT_FALSE(player.addSound(QStringLiteral("/s/text.wav"), "RIFF, but not a sound"));
    EXPECT_EQ(player.send(QStringLiteral("open \"/s/missing.wav\" alias m")), MciSoundNotLoaded);

    ASSERT_EQ(player.send(QStringLiteral("open \"/s/tone.wav\" alias t")), MciOk);
    ASSERT_EQ(player.send(QStringLiteral("seek t to start wait")), MciOk);
    ASSERT_EQ(player.send(QStringLiteral("play t")), MciOk);
    auto mode = [&] {
        QString reply;
        return player.send(QStringLiteral("status t mode"), &reply) == MciOk ? reply : QStringLiteral("failed");
    };
    EXPECT_EQ(mode(), QStringLiteral("playing"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return mode() == QStringLiteral("stopped"); }, 3000));

    MixerSoundBackend backend;
    const auto tone = backend.decode(wavBytes(0.3), QStringLiteral("tone.wav"));
    ASSERT_TRUE(tone);
    const int loop = backend.play(tone, true);
    ASSERT_GE(loop, 0);
    const int once = backend.play(tone, false);
    EXPECT_TRUE(backend.playing(loop));
    EXPECT_TRUE(backend.playing(once));
    backend.halt(loop);
    EXPECT_FALSE(backend.playing(loop));
    EXPECT_TRUE(backend.playing(once)) << "the loop has a channel of its own";
    backend.halt(once);
    EXPECT_FALSE(backend.playing(once));
}

TEST(MixerSoundBackendWithoutDevice, EveryOpenFailsAndSoundsCountAsDone)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            qputenv("SDL_AUDIODRIVER", "no-such-driver");
            MciPlayer player(std::make_unique<MixerSoundBackend>());
            const bool decoded = player.addSound(QStringLiteral("/s/tone.wav"), wavBytes(0.3)).ok();
            const bool opened = player.send(QStringLiteral("open \"/s/tone.wav\" alias t")) == MciOk;
            QString reply;
            const bool queried = player.send(QStringLiteral("status t mode"), &reply) == MciOk;
            player.playLooping(QStringLiteral("/s/tone.wav"));
            _exit(!decoded && !opened && !queried && reply.isEmpty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
