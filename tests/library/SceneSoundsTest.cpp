// The preview's scene sounds: the command strings each slot step sends, the
// sound keys of a scene, and the schedule of the master tick and the loop
// delay on the virtual clock, over a fake sound backend.

#include "core/preview/SceneSounds.h"
#include "tests/library/LibraryFixture.h"
#include "tests/library/PreviewMinute.h"
#include "tests/support/FakeSoundBackend.h"
#include "tests/support/WavFile.h"

namespace {

class SceneSoundsTest : public LibraryTest {
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        soundSlots() = SoundSlots{};
        mciPlayer().setRecorder([this](const QString &command, int result) {
            sent << command;
            results << result;
            if (command.startsWith(QStringLiteral("Play ")))
                plays << QStringLiteral("%1 %2").arg(command.mid(5)).arg(clock->Now());
        });
    }
    void TearDown() override
    {
        LibraryTest::TearDown();
        mciPlayer().setRecorder({});
    }
    void writeSound(const QString &name) { writeFile(base(QStringLiteral("Sounds/") + name), wavBytes(0.01)); }
    // The strings sent, without the status queries.
    QStringList commands() const
    {
        QStringList out;
        for (const QString &c : sent)
            if (!c.startsWith(QStringLiteral("status ")))
                out << c;
        return out;
    }
    void clearLogs()
    {
        sent.clear();
        results.clear();
        plays.clear();
        device.log.clear();
    }

    FakeSoundDevice device;
    QStringList sent;
    QList<int> results;
    QStringList plays; // "Sound1b 2100": alias and virtual time of each play
};

TEST_F(SceneSoundsTest, ExactStringsOfTheSlotSteps)
{
    writeSound(QStringLiteral("a.wav"));
    writeBeach(QStringLiteral("Beach"), "Sound1=a.wav;\r\n");
    VelmNShare &w = openLibrary();
    click(w.List2, QStringLiteral("Beach"));
    EXPECT_EQ(sent, (QStringList{"Close all"})) << "the load's reset";

    clearLogs();
    w.Player->LoadSoundA();
    w.Player->PlaySound(0);
    EXPECT_EQ(sent, (QStringList{"Stop Sound1b", "Close Sound1b",
                                 "Open \"" + base("Sounds/a.wav") + "\" Alias Sound1b",
                                 "Seek Sound1b to start wait", "Play Sound1b"}));
    EXPECT_EQ(results, (QList<int>{MciUnknownAlias, MciUnknownAlias, MciOk, MciOk, MciOk}))
        << "stop and close of a slot that was not open fail, and are passed over";
    EXPECT_TRUE(soundSlots().SoundSlotPlaying[0]);
    EXPECT_TRUE(w.Player->Timer14->Enabled());

    clearLogs();
    w.Player->StopSound(3);
    w.Player->StopSound(-1);
    EXPECT_EQ(sent, (QStringList{"Stop ", "Close all"}));
    EXPECT_FALSE(soundSlots().SoundSlotPlaying[0]);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(SceneSoundsTest, IsSoundDoneOverEachReply)
{
    const struct {
        const char *reply;
        bool done;
    } replies[] = {{"stopped", true}, {"", true}, {"playing", false}, {"paused", false}, {"Stopped", false},
                   {"stopped ", false}};
    for (const auto &r : replies)
        EXPECT_EQ(soundModeIsDone(QString::fromUtf8(r.reply)), r.done) << "reply \"" << r.reply << '"';

    // Through the player: a slot never opened fails its query and counts as
    // done; a playing one is not done until its end.
    writeSound(QStringLiteral("a.wav"));
    writeBeach(QStringLiteral("Beach"), "Sound1=a.wav;Sound1LoopDelay=5;\r\n");
    device.durations.insert(QStringLiteral("a.wav"), 700);
    VelmNShare &w = openLibrary();
    click(w.List2, QStringLiteral("Beach"));
    clearLogs();
    EXPECT_TRUE(w.Player->IsSoundDone(4));
    EXPECT_EQ(results, (QList<int>{MciUnknownAlias})) << "status  mode";
    w.Player->LoadSoundA();
    w.Player->PlaySound(0);
    EXPECT_FALSE(w.Player->IsSoundDone(0));
    clock->Advance(700);
    EXPECT_TRUE(w.Player->IsSoundDone(0));
}

TEST_F(SceneSoundsTest, SoundKeys)
{
    const struct {
        const char *name;
        const char *scene;
        const char *file1;
        bool loop;
        std::optional<int16_t> delay, random1;
    } rows[] = {
        {"a delay of 2.5 gives 2", "Sound1=a.wav;Sound1LoopDelay=2.5;", "a.wav", false, 2, {}},
        {"a delay of 3.5 gives 4", "Sound1LoopDelay=3.5;", "", false, 4, {}},
        {"a delay that is no number gives nothing", "Sound1LoopDelay=abc;Sound1R=;", "", false, {}, {}},
        {"a factor beyond 16 bits gives nothing", "Sound1R=40000;", "", false, {}, {}},
        {"the loop entry in any letter case", "Sound1=a.wav;sound1loop=true;", "a.wav", true, {}, {}},
        {"a loop entry of False", "Sound1=a.wav;Sound1Loop=False;Sound1R=30;", "a.wav", false, {}, 30},
        {"the file key only in exactly this case", "sound1=a.wav;SOUND1=b.wav;", "", false, {}, {}},
        {"a name that leaves the folder", "Sound1=../a.wav;", "", false, {}, {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const SceneSoundKeys keys = readSceneSoundKeys(QString::fromUtf8(row.scene));
        EXPECT_EQ(keys.sound1.present ? keys.sound1.value : QString(), QString::fromUtf8(row.file1));
        EXPECT_EQ(keys.loop, row.loop);
        EXPECT_EQ(keys.loopDelay, row.delay);
        EXPECT_EQ(keys.random1, row.random1);
    }

    // Into the settings: what the scene lacks keeps its reset value, and the
    // file names go to SoundFiles 1..3.
    SceneSoundSettings s;
    SoundSlots table;
    resetSceneSounds(s, table);
    QStringList files(11, QStringLiteral("old"));
    applySceneSoundKeys(readSceneSoundKeys(QStringLiteral("Sound2=b.wav;Sound2R=7;Sound3R=x;Sound1LoopDelay=abc;")),
                        s, files);
    EXPECT_EQ(s.Sound1File.toText(), QString());
    EXPECT_EQ(s.Sound2File.toText(), QStringLiteral("b.wav"));
    EXPECT_EQ(s.Sound2Random.toDouble(), 7);
    EXPECT_EQ(s.Sound3Random.toDouble(), 0);
    EXPECT_EQ(s.Sound1LoopDelay.toDouble(), 0);
    EXPECT_EQ(s.Sound1Present, FlagOff);
    EXPECT_EQ(files.mid(1, 3), (QStringList{"old", "b.wav", "old"}));
}

TEST_F(SceneSoundsTest, AContinuousLoopPlaysOncePerLoadAndNeverUsesSlot0)
{
    writeSound(QStringLiteral("Loop.WAV"));
    writeBeach(QStringLiteral("Beach"), "Sound1=loop.wav;Sound1Loop=True;Sound1LoopDelay=0;\r\n");
    VelmNShare &w = openLibrary();
    click(w.List2, QStringLiteral("Beach"));
    clock->Advance(10000);
    EXPECT_EQ(device.log, (QStringList{"decode loop.wav", "loop loop.wav"})) << "found ignoring letter case";
    EXPECT_EQ(sent, (QStringList{"Close all"}));
    EXPECT_FALSE(w.Player->Timer15->Enabled());

    // A reload stops every sound and the loop before anything new.
    clearLogs();
    click(w.List2, QStringLiteral("Beach"));
    clock->Advance(10000);
    EXPECT_EQ(device.log, (QStringList{"halt loop.wav", "decode loop.wav", "loop loop.wav"}));
    EXPECT_EQ(sent, (QStringList{"Close all"}));
    EXPECT_TRUE(messages.shown.isEmpty());
}

// A loop delay other than 0 decides also over "Sound1Loop=True": sound 1
// repeats through slot 0 after each pause, and no continuous loop plays.
TEST_F(SceneSoundsTest, ADelayOfOneRepeatsSound1TwoSecondsAfterEachEnd)
{
    writeSound(QStringLiteral("a.wav"));
    device.durations.insert(QStringLiteral("a.wav"), 500);
    for (const char *loop : {"False", "True"}) {
        SCOPED_TRACE(loop);
        writeBeach(QStringLiteral("Beach"),
                   "Sound1=a.wav;Sound1Loop=" + QByteArray(loop) + ";Sound1LoopDelay=1;Sound1R=30;\r\n");
        VelmNShare &w = openLibrary(); // its timers count from here
        const qint64 start = clock->Now();
        clearLogs();
        click(w.List2, QStringLiteral("Beach"));
        clock->Advance(8000);
        // The tick enables Timer15 on every tick while sound 1 is done; that does
        // not restart its count. It plays at the second tick of Timer15.
        QStringList times;
        for (const QString &p : plays)
            times << QString::number(p.section(u' ', 1).toLongLong() - start);
        EXPECT_EQ(times, (QStringList{"2100", "4600", "7100"}));
        EXPECT_EQ(commands().count(QStringLiteral("Close Sound1b")), 3);
        EXPECT_EQ(device.log, (QStringList{"decode a.wav", "play a.wav", "play a.wav", "play a.wav"}));
        closeLibrary();
    }
}

TEST_F(SceneSoundsTest, AReloadEndsTheDelayCountAndTheLoopIsAlwaysTheBaseFolders)
{
    writeSound(QStringLiteral("a.wav"));
    writeBeach(QStringLiteral("Counting"), "Sound1=a.wav;Sound1LoopDelay=3;\r\n");
    writeBeach(QStringLiteral("Looped"), "Sound1=a.wav;Sound1Loop=True;\r\n");
    writeBeach(QStringLiteral("Gone"), "Sound1=gone.wav;Sound1Loop=True;\r\n");
    VelmNShare &w = openLibrary();
    click(w.List2, QStringLiteral("Counting"));
    clock->Advance(1500);
    ASSERT_TRUE(w.Player->Timer15->Enabled()) << "counting towards the first play";

    // Another window's handler has pointed WorkFolder elsewhere: the loop
    // still plays from the base folder, and the count left over never plays
    // sound 1 over it.
    scene().WorkFolder = Value(QStringLiteral("/elsewhere/"));
    clearLogs();
    click(w.List2, QStringLiteral("Looped"));
    EXPECT_FALSE(w.Player->Timer15->Enabled());
    clock->Advance(10000);
    EXPECT_EQ(device.log, (QStringList{"decode a.wav", "loop a.wav"}));
    EXPECT_EQ(commands(), QStringList{"Close all"});

    // A loop whose file is missing plays nothing at all.
    clearLogs();
    click(w.List2, QStringLiteral("Gone"));
    clock->Advance(10000);
    EXPECT_EQ(device.log, QStringList{"halt a.wav"});
    EXPECT_EQ(commands(), QStringList{"Close all"});
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(SceneSoundsTest, WithoutAFactorSound1PlaysBackToBack)
{
    writeSound(QStringLiteral("a.wav"));
    // The first scene's factor must not carry over: "abc" counts as 0.
    writeBeach(QStringLiteral("First"), "Sound1=a.wav;Sound1R=30000;\r\n");
    writeBeach(QStringLiteral("Beach"), "Sound1=a.wav;Sound1R=abc;\r\n");
    device.durations.insert(QStringLiteral("a.wav"), 450);
    VelmNShare &w = openLibrary();
    click(w.List2, QStringLiteral("First"));
    click(w.List2, QStringLiteral("Beach"));
    clearLogs();
    clock->Advance(2000);
    EXPECT_EQ(plays, (QStringList{"Sound1b 100", "Sound1b 600", "Sound1b 1100", "Sound1b 1600"}))
        << "each restart within a tick of the end";
}

// d = floor(u x R x 3): sound 2 starts for d = 1 only, sound 1 for d = 0 or 1.
TEST_F(SceneSoundsTest, EachSoundStartsOnlyForItsDraws)
{
    writeSound(QStringLiteral("a.wav"));
    writeSound(QStringLiteral("b.wav"));
    // No sound 1 in this scene nor before it: sound 2 plays all the same.
    writeBeach(QStringLiteral("Beach"), "Sound2=b.wav;Sound2R=30;\r\n");
    writeBeach(QStringLiteral("Big"), "Sound2=b.wav;Sound2R=20000;\r\n");
    writeBeach(QStringLiteral("One"), "Sound1=a.wav;Sound1R=1;\r\n");
    writeBeach(QStringLiteral("Thirty"), "Sound1=a.wav;Sound1R=30;\r\n");
    device.durations.insert(QStringLiteral("a.wav"), 50);
    device.durations.insert(QStringLiteral("b.wav"), 50);
    VelmNShare &w = openLibrary();
    const struct {
        const char *scene;
        float u;
        const char *starts; // the alias that plays, or nullptr
    } rows[] = {
        {"Beach", 0.0110f, nullptr},   {"Beach", 0.0112f, "Sound2b"},  {"Beach", 0.0222f, "Sound2b"},
        {"Beach", 0.0223f, nullptr},   {"Beach", 0.0f, nullptr},       {"Beach", 0.9999f, nullptr},
        {"Big", 0.9999f, nullptr},     {"Big", 0.000016f, nullptr},    {"Big", 0.000017f, "Sound2b"},
        {"Big", 0.000033f, "Sound2b"}, {"Big", 0.000034f, nullptr},
        // Sound 1 with R1 = 1: d 0, 0, 1, 1, 2, 2; with R1 = 30: d 1, 2, 45.
        {"One", 0.0f, "Sound1b"},      {"One", 0.3333f, "Sound1b"},    {"One", 0.3334f, "Sound1b"},
        {"One", 0.6666f, "Sound1b"},   {"One", 0.6667f, nullptr},      {"One", 0.9999f, nullptr},
        {"Thirty", 0.0222f, "Sound1b"}, {"Thirty", 0.0223f, nullptr},  {"Thirty", 0.5f, nullptr},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.scene << " u " << row.u);
        click(w.List2, QString::fromUtf8(row.scene)); // a fresh load: every slot is done
        clearLogs();
        random.values.enqueue(row.u);
        clock->Advance(100);
        EXPECT_TRUE(random.values.isEmpty()) << "one draw a tick";
        const QString play = QStringLiteral("%1 %2").arg(QLatin1String(row.starts)).arg(clock->Now());
        EXPECT_EQ(plays, row.starts ? QStringList{play} : QStringList());
        EXPECT_FALSE(w.Player->Timer15->Enabled());
        clock->Advance(100); // the sound ends
    }
}

TEST_F(SceneSoundsTest, AMissingSoundStaysSilentUntilTheNextLoad)
{
    writeBeach(QStringLiteral("Beach"), "Sound1=late.wav;\r\n");
    VelmNShare &w = openLibrary();
    click(w.List2, QStringLiteral("Beach"));
    writeSound(QStringLiteral("late.wav")); // too late for this load
    clearLogs();
    clock->Advance(300);
    EXPECT_EQ(results.count(MciSoundNotLoaded), 3) << "an open at every tick, each failing";
    EXPECT_EQ(device.log, QStringList());
    EXPECT_TRUE(messages.shown.isEmpty());

    click(w.List2, QStringLiteral("Beach"));
    clearLogs();
    clock->Advance(100);
    EXPECT_EQ(device.log, (QStringList{"play late.wav"}));
}

// A sound whose header claims more than its file holds is a missing sound:
// never decoded, no sound and no message.
TEST_F(SceneSoundsTest, ASoundClaimingMoreThanItsFileHoldsIsMissing)
{
    QByteArray claims = wavBytes(0.01);
    qToLittleEndian(quint32(0x7FFFFFFF), claims.data() + 40); // the data chunk's length
    writeFile(base(QStringLiteral("Sounds/claims.wav")), claims);
    writeBeach(QStringLiteral("Beach"), "Sound1=claims.wav;\r\n");
    VelmNShare &w = openLibrary();
    device.log.clear();
    click(w.List2, QStringLiteral("Beach"));
    EXPECT_EQ(device.log, QStringList());
    clearLogs();
    clock->Advance(300);
    EXPECT_EQ(results.count(MciSoundNotLoaded), 3) << "an open at every tick, each failing";
    EXPECT_EQ(device.log, QStringList());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(SceneSoundsTest, ThePollClearsTheMarksOfEndedSoundsAndStops)
{
    writeSound(QStringLiteral("a.wav"));
    writeBeach(QStringLiteral("Beach"), "Sound1=a.wav;Sound1LoopDelay=30;\r\n");
    device.durations.insert(QStringLiteral("a.wav"), 150);
    VelmNShare &w = openLibrary();
    click(w.List2, QStringLiteral("Beach"));
    w.Player->LoadSoundA();
    w.Player->PlaySound(0);
    ASSERT_TRUE(w.Player->Timer14->Enabled());
    w.Player->Timer14_Timer(); // still playing: the mark stays
    EXPECT_TRUE(soundSlots().SoundSlotPlaying[0]);
    EXPECT_FALSE(w.Player->Timer14->Enabled());
    clock->Advance(150);
    w.Player->Timer14->SetEnabled(true);
    w.Player->Timer14_Timer();
    EXPECT_FALSE(soundSlots().SoundSlotPlaying[0]);
}

TEST(SoundDelayCount, ANegativeDelayNeverPlaysAndTheCountStaysIn16Bits)
{
    SceneSoundSettings s;
    SoundSlots table;
    s.Sound1File = QStringLiteral("a.wav");
    s.Sound1LoopDelay = Value::integer(-1);
    for (int i = 0; i < 40000; ++i) {
        const SoundTimers t = countSoundDelay(s, table, QStringLiteral("/base/"));
        ASSERT_FALSE(t.startPoll || t.stopDelay) << "second " << i;
    }
    EXPECT_EQ(s.Sound1DelayCount.toDouble(), 32767);
}

TEST_F(SceneSoundsTest, ClosingTheWindowStopsEverythingAndANewWindowPlaysNothing)
{
    writeSound(QStringLiteral("a.wav"));
    writeSound(QStringLiteral("b.wav"));
    writeBeach(QStringLiteral("Beach"), "Sound1=a.wav;Sound1Loop=True;Sound2=b.wav;Sound2R=0;Sound3=b.wav;"
                                        "Sound3R=1;Sound1LoopDelay=0;\r\n");
    device.durations.insert(QStringLiteral("b.wav"), 100000);
    VelmNShare &w = openLibrary();
    click(w.List2, QStringLiteral("Beach"));
    random.values.enqueue(0.5f); // d = 1 for sound 3
    clock->Advance(100);
    ASSERT_EQ(device.log, (QStringList{"decode a.wav", "decode b.wav", "decode b.wav", "loop a.wav", "play b.wav"}));

    clearLogs();
    closeLibrary();
    EXPECT_EQ(sent, (QStringList{"Close all"}));
    EXPECT_EQ(device.log, (QStringList{"halt b.wav", "halt a.wav"}));
    EXPECT_EQ(scene().Sounds.Sound1File.toText(), QString());

    clearLogs();
    VelmNShare &again = openLibrary();
    clock->Advance(10000);
    EXPECT_EQ(sent, QStringList());
    EXPECT_EQ(device.log, QStringList());
    EXPECT_FALSE(again.Player->Timer15->Enabled());
}

} // namespace

namespace {

using ScenePreviewSoundsTest = SceneSoundsTest;

// One virtual minute of a scene with every kind of sound: the strings sent
// and what the device played, with times.
TEST_F(ScenePreviewSoundsTest, AMinuteOfSoundsIsWholeStartsWithoutOverlapAndTheSameForTheSameSeed)
{
    for (const char *name : {"loop.wav", "b.wav", "c.wav"})
        writeSound(QString::fromLatin1(name));
    writeBeach(QStringLiteral("Beach"), "Sound1=loop.wav;Sound1Loop=True;Sound2=b.wav;Sound2R=5;Sound3=c.wav;"
                                        "Sound3R=3;\r\n");
    device.durations.insert(QStringLiteral("b.wav"), 1300);
    device.durations.insert(QStringLiteral("c.wav"), 700);
    const QHash<QString, qint64> lengths{{"Sound2b", 1300}, {"Sound3b", 700}};

    auto minute = [&](bool renameFolders) {
        SeededRandom seeded(20240611);
        services().random = &seeded;
        VelmNShare &w = openLibrary();
        click(w.List2, QStringLiteral("Beach"));
        if (renameFolders) {
            EXPECT_TRUE(QDir().rename(base("Sounds"), base("Sounds.away")));
            EXPECT_TRUE(QDir().rename(base("Images"), base("Images.away")));
        }
        clearLogs();
        const qint64 start = clock->Now();
        QStringList trace;
        mciPlayer().setRecorder([&](const QString &command, int result) {
            if (!command.startsWith(QStringLiteral("status ")))
                trace << QStringLiteral("%1 %2 %3").arg(clock->Now() - start).arg(command).arg(result);
        });
        clock->Advance(60000);
        closeLibrary();
        mciPlayer().setRecorder({});
        trace << device.log;
        if (renameFolders) {
            EXPECT_TRUE(QDir().rename(base("Sounds.away"), base("Sounds")));
            EXPECT_TRUE(QDir().rename(base("Images.away"), base("Images")));
        }
        services().random = &random;
        return trace;
    };
    const QStringList first = minute(false);

    // Every start is Stop, Close, Open, Seek, Play, and starts only after the
    // slot's last play has ended.
    int plays = 0;
    EXPECT_TRUE(wholeSoundStarts(first, base("Sounds/"), lengths, plays));
    EXPECT_GT(plays, 20) << "sounds 2 and 3 about one tick in 15 and 9 while done";
    EXPECT_EQ(first.count(QStringLiteral("loop loop.wav")), 1);
    // Closing the window stops everything: every device and the loop.
    EXPECT_TRUE(first.contains(QStringLiteral("60000 Close all 0")));
    EXPECT_EQ(first.last(), QStringLiteral("halt loop.wav"));

    EXPECT_EQ(minute(false), first) << "the same seed gives the same minute";
    EXPECT_EQ(minute(true), first) << "no timer reads the disk";
    EXPECT_TRUE(messages.shown.isEmpty());
}

} // namespace
