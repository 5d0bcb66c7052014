// The lip sync in the library window: which picture each viseme and mouth
// shape shows in which mouth, and real speech moving the mouth of the
// character it was spoken for, from its first sound back to rest.

#include "tests/library/SpeechWindowFixture.h"

#include <QLineEdit>
#include <QSet>

namespace {

using LipSyncWindowTest = SpeechWindowTest;

// A flat colour for each entry of a made-up display list.
QRgb entryColor(int entry)
{
    return qRgb(entry * 4, 250 - entry * 4, (entry * 37) % 256);
}

// A display list of `count` flat 8 x 6 entries, entry 1 under `key`.
void fillList(ImageList &list, const QString &key, int count)
{
    list.Clear();
    for (int e = 1; e <= count; ++e) {
        QImage picture(8, 6, QImage::Format_RGB32);
        picture.fill(entryColor(e));
        ASSERT_TRUE(list.Add(e, e == 1 ? key : QString(), picture));
    }
}

QRgb middle(const PictureBox *box)
{
    const QImage &p = box->Picture();
    return p.pixel(p.width() / 2, p.height() / 2);
}

} // namespace

TEST_F(LipSyncWindowTest, EachVisemeShowsItsTalkMouthOfTheLoadedScene)
{
    writeBeach();
    VelmNShare &w = openLibrary();
    click(w.List2, QStringLiteral("Beach"));
    ASSERT_EQ(w.Player->ImageList8.Count(), TalkMouthCount);
    for (int id = 0; id < TalkMouthCount; ++id) {
        w.Voice_Viseme(QStringLiteral("Velm"), id);
        EXPECT_TRUE(colorNear(middle(w.VelmMouth), talkColor(id + 1))) << "viseme " << id;
    }
    EXPECT_TRUE(colorNear(middle(w.VelmMouth), MouthColors[0])) << "viseme 21: frame 1";
}

TEST_F(LipSyncWindowTest, VisemesAndMouthShapesPickTheirEntries)
{
    VelmNShare &w = openLibrary();
    fillList(w.Player->ImageList8, QStringLiteral("KMT"), 52);
    fillList(w.Player->ImageList9, QStringLiteral("UMT"), 22);
    enum Kind { Viseme, Shape };
    const struct {
        const char *name;
        Kind kind;
        const char *speaker;
        bool smiling;
        int a, b;  // viseme id; or jaw and lip tension
        int entry; // in the speaker's mouth; 0: nothing new
    } rows[] = {
        {"viseme 0", Viseme, "Velm", false, 0, 0, 1},
        {"viseme 14", Viseme, "Velm", false, 14, 0, 15},
        {"viseme 21", Viseme, "Velm", false, 21, 0, 22},
        {"viseme 14 while smiling", Viseme, "Velm", true, 14, 0, 37},
        {"viseme 0 while smiling", Viseme, "Velm", true, 0, 0, 23},
        {"lip tension 101", Shape, "Velm", false, 0, 101, 15},
        {"lip tension 101 while smiling", Shape, "Velm", true, 0, 101, 15},
        {"lip tension 100, jaw 230", Shape, "Velm", false, 230, 100, 10},
        {"jaw 176", Shape, "Velm", false, 176, 0, 12},
        {"jaw 175", Shape, "Velm", false, 175, 0, 6},
        {"jaw 118", Shape, "Velm", false, 118, 0, 6},
        {"jaw 117", Shape, "Velm", false, 117, 0, 20},
        {"jaw 59", Shape, "Velm", false, 59, 0, 20},
        {"jaw 58", Shape, "Velm", false, 58, 0, 22},
        {"jaw 0", Shape, "Velm", false, 0, 0, 22},
        {"a negative jaw", Shape, "Velm", false, -1, 100, 0},
        {"the user's viseme", Viseme, "User", true, 14, 0, 15},
        {"the user's mouth shape", Shape, "User", false, 230, 0, 10},
        {"the user's viseme past the talk mouths", Viseme, "User", false, 22, 0, 0},
        {"nobody speaking", Viseme, "", false, 3, 0, 0},
    };
    // A picture no entry has, so that "nothing new" shows.
    QImage before(8, 6, QImage::Format_RGB32);
    before.fill(qRgb(1, 2, 3));
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QString speaker = QString::fromUtf8(row.speaker);
        w.VelmMouth->SetPicture(before);
        w.UserMouth->SetPicture(before);
        w.Player->Smile.VelmSmileOn = row.smiling;
        if (row.kind == Viseme)
            w.Voice_Viseme(speaker, row.a);
        else
            w.DirectSS1_Mouth(speaker, qint16(row.a), qint16(row.b));
        const bool user = speaker == QLatin1String("User");
        PictureBox *moved = user ? w.UserMouth : w.VelmMouth;
        PictureBox *other = user ? w.VelmMouth : w.UserMouth;
        EXPECT_EQ(middle(moved), row.entry ? entryColor(row.entry) : qRgb(1, 2, 3));
        EXPECT_EQ(middle(other), qRgb(1, 2, 3)) << "the other mouth is left alone";
    }
}

TEST_F(LipSyncWindowTest, BeforeAnySceneTheMouthIsLeftAlone)
{
    writeBeach();
    VelmNShare &w = openLibrary();
    recordMouths(w);
    w.Voice_Viseme(QStringLiteral("Velm"), 5);
    w.DirectSS1_Mouth(QStringLiteral("User"), 200, 0);
    EXPECT_TRUE(w.VelmMouth->Picture().isNull());
    EXPECT_TRUE(w.UserMouth->Picture().isNull());
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(calls, 2);

    // The main mouth's list holds the talk mouths only: while smiling there is no smile talk mouth.
    click(w.List2, QStringLiteral("Beach"));
    w.Voice_Viseme(QStringLiteral("Velm"), 7);
    const QImage talking = w.VelmMouth->Picture();
    w.Player->Smile.VelmSmileOn = true;
    w.Voice_Viseme(QStringLiteral("Velm"), 14);
    EXPECT_EQ(w.VelmMouth->Picture(), talking);
}

// "VELM SPEAK" with a voice and with an engine: the mouth moves through talk
// mouths of the loaded scene while the speech plays, and ends at rest.
TEST_F(LipSyncWindowTest, VelmSpeakMovesTheMouthWhileItPlaysAndEndsAtRest)
{
    writeBeach();
    VelmNShare &w = openLibrary();
    click(w.List2, QStringLiteral("Beach"));
    const struct {
        const char *name;
        int row; // in the voice box
        QSet<int> entries;
        int first, last;
    } rows[] = {
        {"a voice", 2, {}, 8, 1},
        {"an engine", 1, {15, 10, 12, 6, 20, 22}, 0, 22},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        pick(w.Combo1, row.row);
        recordMouths(w);
        QTest::mouseClick(w.Command4, Qt::LeftButton);
        const qint64 samples = synthesize();
        ASSERT_GT(samples, 0);
        QSet<QRgb> colors;
        for (int step = 1; step <= 20; ++step) {
            playTo(samples * step / 20);
            if (step < 20 && !shown.empty())
                colors.insert(shown.back().color);
        }
        EXPECT_FALSE(speechEngine().scheduler().isActive()) << "played to its end";
        ASSERT_GE(shown.size(), 5u);
        QSet<int> entries;
        for (const ShownMouth &m : shown) {
            EXPECT_EQ(m.box, QStringLiteral("VelmMouth"));
            EXPECT_TRUE(colorNear(m.color, talkColor(m.entry))) << "entry " << m.entry;
            entries.insert(m.entry);
        }
        EXPECT_GE(colors.size(), 3) << "the picture changed during speech";
        if (!row.entries.isEmpty()) {
            EXPECT_TRUE(row.entries.contains(entries)) << "only the entries of the shape rules";
        }
        if (row.first) {
            EXPECT_EQ(shown.front().entry, row.first) << "\"w\"";
        }
        EXPECT_EQ(shown.back().entry, row.last);
        EXPECT_TRUE(colorNear(middle(w.VelmMouth), MouthColors[0])) << "at rest: frame 1";
    }
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(LipSyncWindowTest, EmptyTextIsSpokenAndTheMouthEndsAtRest)
{
    writeBeach();
    VelmNShare &w = openLibrary();
    click(w.List2, QStringLiteral("Beach"));
    w.Text1->clear();
    for (int row : {2, 0}) {
        SCOPED_TRACE(row == 2 ? "a voice" : "an engine");
        pick(w.Combo1, row);
        recordMouths(w);
        QTest::mouseClick(w.Command4, Qt::LeftButton);
        const qint64 samples = synthesize();
        ASSERT_GE(samples, 0);
        playTo(samples);
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.back().entry, row == 2 ? 1 : 22);
    }
    EXPECT_EQ(engines(w).spoken, QStringList{QString()});
    EXPECT_EQ(w.FinalOutMessage, QString());
    EXPECT_TRUE(messages.shown.isEmpty());
}

// The main character speaks; a click that asks the user character to speak
// but finds no voice changes WhoVoice and nothing else; a user speech that
// begins purges the main character's.
TEST_F(LipSyncWindowTest, SpeechMovesItsSpeakersMouthUntilTheNextSpeechPurgesIt)
{
    writeBeach();
    VelmNShare &w = openLibrary();
    click(w.List2, QStringLiteral("Beach"));
    fillList(w.Player->ImageList9, QStringLiteral("UMT"), 22);
    w.Player->HasUser = true;
    pick(w.Combo1, 2);
    recordMouths(w);

    QTest::mouseClick(w.Command4, Qt::LeftButton);
    const qint64 first = synthesize();
    ASSERT_GT(first, 0);
    playTo(first / 3);
    EXPECT_FALSE(entriesShownIn(QStringLiteral("VelmMouth")).isEmpty());

    QTest::mouseClick(w.Command5, Qt::LeftButton); // the user has no voice yet
    EXPECT_EQ(w.WhoVoice, QStringLiteral("User"));
    EXPECT_TRUE(messages.shown.isEmpty());
    const qsizetype afterWho = qsizetype(shown.size());
    playTo(first * 2 / 3);
    EXPECT_FALSE(entriesShownIn(QStringLiteral("VelmMouth"), afterWho).isEmpty()) << "the speech goes on";
    EXPECT_TRUE(entriesShownIn(QStringLiteral("UserMouth")).isEmpty());

    pick(w.Combo2, 3);
    const int stops = output.stops;
    QTest::mouseClick(w.Command5, Qt::LeftButton);
    EXPECT_GT(output.stops, stops) << "the main character's sound stopped";
    const qsizetype afterPurge = qsizetype(shown.size());
    const qint64 second = synthesize();
    ASSERT_GT(second, 0);
    playTo(second);
    EXPECT_TRUE(entriesShownIn(QStringLiteral("VelmMouth"), afterPurge).isEmpty()) << "nothing of the purged speech";
    const QList<int> user = entriesShownIn(QStringLiteral("UserMouth"), afterPurge);
    ASSERT_FALSE(user.isEmpty());
    EXPECT_EQ(user.front(), 8);
    EXPECT_EQ(user.back(), 1);
    EXPECT_EQ(middle(w.UserMouth), entryColor(1));
}

TEST_F(LipSyncWindowTest, ClosingTheWindowMidSpeechEndsIt)
{
    writeBeach();
    for (int row : {2, 0}) {
        SCOPED_TRACE(row == 2 ? "a voice" : "an engine");
        VelmNShare &w = openLibrary();
        click(w.List2, QStringLiteral("Beach"));
        pick(w.Combo1, row);
        recordMouths(w);
        QTest::mouseClick(w.Command4, Qt::LeftButton);
        const qint64 samples = synthesize();
        ASSERT_GT(samples, 0);
        playTo(samples / 2);
        ASSERT_FALSE(shown.empty());
        const int before = calls;
        const int stops = output.stops;

        closeLibrary();
        EXPECT_FALSE(formExists<VelmNShare>());
        EXPECT_GT(output.stops, stops);
        EXPECT_FALSE(speechEngine().scheduler().isActive());
        playTo(samples);
        EXPECT_EQ(calls, before) << "no event reaches the closed window";
        setShowRecorder(nullptr);
    }
}
