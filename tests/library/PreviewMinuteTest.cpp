// A minute of the whole preview: a scene with every layer, animation and
// sound, clicked in "VELM Scenes" and played on the virtual clock with a
// seeded generator and the fake sound device, "Trigger Anim" clicked twice.
// Every box shows whole runs of its animation, each sound starts whole and
// never over itself, the same seed plays the same minute without the disk,
// and closing the window stops it all.

#include "tests/library/LayerWindowFixture.h"
#include "tests/library/PreviewMinute.h"
#include "tests/support/FakeSoundBackend.h"
#include "tests/support/WavFile.h"

#include <QCheckBox>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QRgb ExtraColors[3] = {qRgb(210, 30, 30), qRgb(30, 210, 30), qRgb(30, 30, 210)};
const QRgb ChildColors[2] = {qRgb(250, 140, 20), qRgb(140, 20, 250)};
const QRgb FullColors[3] = {qRgb(90, 10, 10), qRgb(10, 90, 10), qRgb(10, 10, 90)};
const QRgb TriggerColors[3] = {qRgb(220, 220, 30), qRgb(30, 220, 220), qRgb(220, 30, 220)};
const QRgb Background = qRgb(20, 60, 120), Alternate = qRgb(230, 120, 160);

// Entries `from` to `to`, one step at a time, each followed by a blank.
QString entryRun(int from, int to)
{
    QString out;
    for (int e = from;; e += from < to ? 1 : -1) {
        out += QString::number(e) + QLatin1Char(' ');
        if (e == to)
            return out;
    }
}

// True when `shown` is made of whole runs as `runs` describes them, the last
// perhaps cut short by the end of the minute.
::testing::AssertionResult wholeRuns(const QString &shown, const QString &runs)
{
    const QRegularExpression pattern(QStringLiteral("^(?:%1)$").arg(runs));
    const QRegularExpressionMatch match = pattern.match(shown, 0, QRegularExpression::PartialPreferCompleteMatch);
    if (match.hasMatch() || match.hasPartialMatch())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "not whole runs: " << shown.toStdString();
}

// One played minute.
struct Minute {
    QStringList all;                // every show, command and click, with its time, then the device's log
    QHash<QString, QString> boxes;  // by box: the entries shown, "c" before a child's, each followed by a blank
    QStringList sent;               // the command strings, "<ms> <command> <result>"
    QStringList blinkDuringBrow;    // the times both Timer2 and BrowTimer1 were on
    QStringList notShown;           // shows that found no entry
    QStringList clicks;             // "Trigger Anim" clicked: the box's state and MainPic's colour
    QStringList closing;            // what closing the window sent and halted
    QStringList timersLeftOn;       // the window's timers that outlived it still on
    QStringList afterClose;         // anything that happened in the ten seconds after the close
    int draws = 0;
};

class PreviewMinuteTest : public LayerTest {
protected:
    // "Garden": every layer of the character scene, an extra animation with a
    // child, a full-background animation, a trigger, an alternate picture and
    // all three sounds, written by the scene writer's rules.
    void writeGarden()
    {
        CharacterScene c;
        c.smile = c.blink = c.brow = c.userMouth = c.userBlink = true;
        writeCharacterFrames(c);
        const QString name = c.name;
        for (int n = 1; n <= 3; ++n) {
            writeFrame(name + QStringLiteral("Extra0%1.bmp").arg(n), QSize(20, 16), ExtraColors[n - 1], 3);
            writeFrame(name + QStringLiteral("FullAnim0%1.bmp").arg(n), QSize(60, 40), FullColors[n - 1], 3);
            writeFrame(name + QStringLiteral("Trigger0%1.bmp").arg(n), QSize(20, 16), TriggerColors[n - 1], 3);
        }
        for (int n = 1; n <= 2; ++n)
            writeFrame(name + QStringLiteral("Child0%1.bmp").arg(n), QSize(20, 16), ChildColors[n - 1], 3);
        writePicture(name + QStringLiteral("Alternate.jpg"), QSize(300, 200), Alternate);
        for (const char *sound : {"Loop.wav", "b.wav", "c.wav"})
            writeFile(base(QStringLiteral("Sounds/")) + QLatin1String(sound), wavBytes(0.01));
        device.durations.insert(QStringLiteral("b.wav"), 1300);
        device.durations.insert(QStringLiteral("c.wav"), 700);

        SceneSettings s = settingsOf(c);
        s.hasTrigger = s.hasExtraAnim = s.hasChildAnim = s.childAutoCrop = s.hasFullAnim = s.hasAltImage = true;
        place(s.trigger, 200, 100);
        place(s.extra, 300, 100);
        s.triggerAnim = {QStringLiteral("3"), QStringLiteral("200")};
        // A loop that rests after frame 01 until the master tick starts it
        // again (one chance in 3 a tick); the child plays at its end, armed
        // one tick in 6.
        s.extraAnim.random = QStringLiteral("3");
        s.extraAnim.frames = QStringLiteral("3");
        s.extraAnim.delay = QStringLiteral("2");
        s.extraAnim.speed = QStringLiteral("200");
        s.extraAnim.loop = true;
        s.childAnim.frames = QStringLiteral("2");
        s.childAnim.random = QStringLiteral("2");
        s.childAnim.atEnd = true;
        // Back and forth, two seconds at the top; the mouths stay shown.
        s.fullAnim.frames = QStringLiteral("3");
        s.fullAnim.speed = QStringLiteral("500");
        s.fullAnim.delay = QStringLiteral("2");
        s.fullAnim.random = QStringLiteral("0");
        s.fullAnim.delayAtEnd = true;
        s.fullAnim.pong = true;
        // Sound 1 loops; sounds 2 and 3 play about one tick in 15 and 9.
        s.sounds.sound1 = QStringLiteral("Loop.wav");
        s.sounds.sound1Loop = true;
        s.sounds.sound1LoopDelay = QStringLiteral("0");
        s.sounds.sound2 = QStringLiteral("b.wav");
        s.sounds.sound2Chance = QStringLiteral("5");
        s.sounds.sound3 = QStringLiteral("c.wav");
        s.sounds.sound3Chance = QStringLiteral("3");
        writeScene(name, sceneFileBytes(sceneTextOf(s)));
    }

    // Loads "Garden" in a new library window with the seed 3, plays a
    // minute in steps of 10 ms with "Trigger Anim" clicked at 20 s and 40 s,
    // closes the window and lets ten more seconds pass. With `moveFolders`,
    // Images and Sounds are renamed right after the load.
    Minute play(bool moveFolders)
    {
        Minute m;
        SeededRandom seeded(3);
        services().random = &seeded;
        VelmNShare &w = openLibrary();
        click(w.List2, QStringLiteral("Garden"));
        if (moveFolders) {
            EXPECT_TRUE(QDir().rename(base("Images"), base("Images.away")));
            EXPECT_TRUE(QDir().rename(base("Sounds"), base("Sounds.away")));
        }
        device.log.clear();
        const qint64 start = clock->Now();
        auto at = [&] { return QString::number(clock->Now() - start) + QLatin1Char(' '); };
        const QPointer<VelmNShare> window(&w);
        setShowRecorder([&](const ShownEntry &e) {
            const bool child = e.shown && window && e.box == QLatin1String("MiscPic")
                && std::find(std::begin(ChildColors), std::end(ChildColors), centre(window->MiscPic))
                    != std::end(ChildColors);
            const QString line = at() + QStringLiteral("%1 %2 %3").arg(e.box, e.key).arg(e.entry);
            m.all << line;
            if (!e.shown)
                m.notShown << line;
            m.boxes[e.box] += (child ? QStringLiteral("c") : QString()) + QString::number(e.entry) + QLatin1Char(' ');
        });
        mciPlayer().setRecorder([&](const QString &command, int result) {
            if (command.startsWith(QStringLiteral("status ")))
                return;
            m.sent << at() + command + QLatin1Char(' ') + QString::number(result);
            m.all << m.sent.last();
        });

        for (int step = 1; step <= 6000; ++step) {
            clock->Advance(10);
            if (w.Player->Timer2->Enabled() && w.Player->BrowTimer1->Enabled())
                m.blinkDuringBrow << at();
            if (step == 2000 || step == 4000) {
                QTest::mouseClick(w.Check1, Qt::LeftButton);
                m.clicks << at() + (w.Check1->isChecked() ? QStringLiteral("ticked ") : QStringLiteral("cleared "))
                        + QString::number(centre(w.MainPic), 16);
                m.all << m.clicks.last();
            }
        }

        const QList<std::pair<QString, QPointer<Timer>>> timers{
            {"Timer1", w.Player->Timer1},       {"Timer2", w.Player->Timer2},           {"Timer4", w.Player->Timer4},
            {"Timer5", w.Player->Timer5},       {"Timer6", w.Player->Timer6},           {"Timer7", w.Player->Timer7},
            {"Timer10", w.Player->Timer10},     {"Timer13", w.Player->Timer13},         {"Timer14", w.Player->Timer14},
            {"Timer15", w.Player->Timer15},     {"SmileTimer1", w.Player->SmileTimer1}, {"SmileTimer2", w.Player->SmileTimer2},
            {"BrowTimer1", w.Player->BrowTimer1}, {"BrowTimer2", w.Player->BrowTimer2}};
        m.draws = seeded.taken;
        const qsizetype linesBefore = m.all.size(), loggedBefore = device.log.size();
        closeLibrary();
        for (const auto &[name, timer] : timers)
            if (timer && timer->Enabled())
                m.timersLeftOn << name;
        m.closing = m.all.mid(linesBefore) + device.log.mid(loggedBefore);
        const qsizetype linesAtClose = m.all.size(), loggedAtClose = device.log.size();
        clock->Advance(10000);
        m.afterClose = m.all.mid(linesAtClose) + device.log.mid(loggedAtClose);
        if (seeded.taken != m.draws)
            m.afterClose << QStringLiteral("%1 draws").arg(seeded.taken - m.draws);
        m.all << device.log;

        setShowRecorder({});
        mciPlayer().setRecorder({});
        services().random = &random;
        if (moveFolders) {
            EXPECT_TRUE(QDir().rename(base("Images.away"), base("Images")));
            EXPECT_TRUE(QDir().rename(base("Sounds.away"), base("Sounds")));
        }
        return m;
    }

    static QRgb centre(const PictureBox *box)
    {
        const QImage &p = box->Picture();
        return p.isNull() ? 0 : p.pixel(p.width() / 2, p.height() / 2) | 0xFF000000u;
    }

    FakeSoundDevice device;
};

TEST_F(PreviewMinuteTest, AMinuteOfEveryLayerIsWholeRunsTheSameForTheSameSeedAndStopsAtTheClose)
{
    writeGarden();
    const Minute first = play(false);

    // The smile: the first rise after the load from 45, later ones from 46,
    // each back down to 45.
    EXPECT_TRUE(wholeRuns(first.boxes.value(QStringLiteral("VelmMouth")),
                          QStringLiteral("(?:45 )?(?:%1%2)*").arg(entryRun(46, 52), entryRun(51, 45))));
    // Blinks with the brows down and raised, and the brow movements between
    // them: the first raise after the load from 6, later ones from 7. A blink
    // inside a movement would break a run.
    const QString down = QStringLiteral("(?:%1%2)*").arg(entryRun(1, 5), entryRun(5, 1));
    const QString up = QStringLiteral("(?:%1%2)*").arg(entryRun(11, 15), entryRun(15, 11));
    const QString raisedFrom6 = entryRun(6, 11) + up + entryRun(10, 6) + down;
    const QString raisedFrom7 = entryRun(7, 11) + up + entryRun(10, 6) + down;
    const QString blinkBox = first.boxes.value(QStringLiteral("VelmBlink"));
    EXPECT_TRUE(wholeRuns(blinkBox, QStringLiteral("%1(?:%2(?:%3)*)?").arg(down, raisedFrom6, raisedFrom7)));
    EXPECT_EQ(first.blinkDuringBrow, QStringList());
    EXPECT_TRUE(wholeRuns(first.boxes.value(QStringLiteral("UserBlink")), QStringLiteral("(?:2 3 4 5 4 3 2 1 )*")));
    // The extra rests after each frame 01; the child plays at the end of the
    // loop, again when the tick arms it again before the extra goes on.
    EXPECT_TRUE(wholeRuns(first.boxes.value(QStringLiteral("MiscPic")),
                          QStringLiteral("(?:2 (?:3 4 (?:c1 c2 c3 )*2 )*)?")));
    // Up, a pause at the top, down and up again.
    EXPECT_TRUE(wholeRuns(first.boxes.value(QStringLiteral("MainPic")),
                          QStringLiteral("(?:1 2 3 4 (?:3 2 1 1 2 3 4 )*)?")));
    // Ticked: forward once; cleared: back.
    EXPECT_EQ(first.boxes.value(QStringLiteral("TriggerPic")), QStringLiteral("1 2 3 4 3 2 1 "));
    EXPECT_EQ(first.boxes.size(), 6) << QStringList(first.boxes.keys()).join(u' ').toStdString();
    EXPECT_EQ(first.notShown, QStringList());

    // The minute has every kind of run in it.
    EXPECT_TRUE(blinkBox.contains(entryRun(1, 5) + entryRun(5, 1)));
    EXPECT_TRUE(blinkBox.contains(entryRun(11, 15) + entryRun(15, 11)));
    EXPECT_TRUE(blinkBox.contains(entryRun(7, 11)));
    EXPECT_TRUE(first.boxes.value(QStringLiteral("MiscPic")).contains(QStringLiteral("4 c1 c2 c3 ")));
    EXPECT_TRUE(first.boxes.value(QStringLiteral("MainPic")).contains(QStringLiteral("4 3 2 1 1 2 3 4 3 ")));
    EXPECT_GT(first.boxes.value(QStringLiteral("VelmMouth")).count(entryRun(51, 45)), 1);

    // The alternate picture while ticked, the background again when cleared.
    ASSERT_EQ(first.clicks.size(), 2);
    EXPECT_TRUE(first.clicks[0].startsWith(QStringLiteral("20000 ticked ")));
    EXPECT_TRUE(colorNear(first.clicks[0].section(u' ', 2).toUInt(nullptr, 16), Alternate));
    EXPECT_TRUE(first.clicks[1].startsWith(QStringLiteral("40000 cleared ")));
    EXPECT_TRUE(colorNear(first.clicks[1].section(u' ', 2).toUInt(nullptr, 16), Background));

    // Sounds: whole starts, never over themselves, and one loop call.
    int plays = 0;
    EXPECT_TRUE(wholeSoundStarts(first.sent, base("Sounds/"), {{"Sound2b", 1300}, {"Sound3b", 700}}, plays));
    EXPECT_GT(plays, 20);
    for (const QString &line : first.sent)
        EXPECT_TRUE(line.section(u' ', 1, 1) != QLatin1String("Open") || line.endsWith(QStringLiteral(" 0")))
            << "every open finds its sound: " << line.toStdString();
    EXPECT_EQ(first.all.count(QStringLiteral("loop Loop.wav")), 1);
    for (const QString &line : first.sent)
        EXPECT_FALSE(line.contains(QStringLiteral("Sound1b"))) << "the loop never uses slot 0: " << line.toStdString();

    // Closing the window stops everything: no timer runs on, every device is
    // closed, the loop and what still sounds halt, and nothing follows.
    EXPECT_EQ(first.timersLeftOn, QStringList());
    ASSERT_FALSE(first.closing.isEmpty());
    EXPECT_EQ(first.closing.first(), QStringLiteral("60000 Close all 0"));
    EXPECT_TRUE(first.closing.contains(QStringLiteral("halt Loop.wav")));
    for (const QString &line : first.closing.mid(1))
        EXPECT_TRUE(line.startsWith(QStringLiteral("halt "))) << line.toStdString();
    for (const char *alias : {"Sound1b", "Sound2b", "Sound3b"}) {
        QString reply;
        EXPECT_EQ(mciPlayer().send(QStringLiteral("status %1 mode").arg(QLatin1String(alias)), &reply), MciUnknownAlias)
            << alias;
    }
    EXPECT_EQ(first.afterClose, QStringList());

    // The same seed plays the same minute, also when no file can be read
    // after the load.
    const Minute again = play(false);
    EXPECT_EQ(again.all, first.all);
    EXPECT_EQ(again.draws, first.draws);
    const Minute moved = play(true);
    EXPECT_EQ(moved.all, first.all);
    EXPECT_EQ(moved.draws, first.draws);
    EXPECT_TRUE(messages.shown.isEmpty());
}

} // namespace
