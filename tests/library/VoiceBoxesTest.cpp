// The library window's voice boxes, the settings file they write, and what
// the speak buttons do with the settings read at the window's load.

#include "core/base/Files.h"
#include "core/preview/VoiceSettingsFile.h"
#include "tests/library/SpeechWindowFixture.h"

#include <QDir>
#include <QLineEdit>

namespace {

using VoiceBoxesTest = SpeechWindowTest;

QByteArray settingsFileBytes()
{
    const FileRead read = readFile(voiceSettingsPath(), 1024);
    return read ? read.value : QByteArray("(no file)");
}

} // namespace

TEST_F(VoiceBoxesTest, BothBoxesListTheEnginesThenTheVoicesAndAPickStoresItsNumber)
{
    VelmNShare &w = openLibrary();
    const QStringList names = {"Talker One", "Talker Two", "Voice A", "Voice B", "Voice C"};
    for (QComboBox *box : {w.Combo1, w.Combo2}) {
        QStringList listed;
        for (int i = 0; i < box->count(); ++i)
            listed << box->itemText(i);
        EXPECT_EQ(listed, names) << box->objectName().toStdString();
        EXPECT_EQ(box->currentIndex(), -1) << "nothing preselected";
    }
    EXPECT_FALSE(QFile::exists(voiceSettingsPath()));

    const std::optional<int32_t> empty;
    const struct {
        const char *name;
        QComboBox *box;
        int row;
        VoiceSettings settings;
        QByteArray bytes;
    } picks[] = {
        {"the first voice for the main character", w.Combo1, 2, {5, empty, 0, empty, empty, empty},
         "KVVer=5;\r\nKV4Num=;\r\nKV5Num=0;\r\nUVVer=;\r\nUV4Num=;\r\nUV5Num=;\r\n\r\n"},
        {"the second engine keeps the voice number", w.Combo1, 1, {4, 2, 0, empty, empty, empty},
         "KVVer=4;\r\nKV4Num=2;\r\nKV5Num=0;\r\nUVVer=;\r\nUV4Num=;\r\nUV5Num=;\r\n\r\n"},
        {"the last voice for the user character", w.Combo2, 4, {4, 2, 0, 5, empty, 2},
         "KVVer=4;\r\nKV4Num=2;\r\nKV5Num=0;\r\nUVVer=5;\r\nUV4Num=;\r\nUV5Num=2;\r\n\r\n"},
        {"the first engine for the user character", w.Combo2, 0, {4, 2, 0, 4, 1, 2},
         "KVVer=4;\r\nKV4Num=2;\r\nKV5Num=0;\r\nUVVer=4;\r\nUV4Num=1;\r\nUV5Num=2;\r\n\r\n"},
    };
    for (const auto &p : picks) {
        SCOPED_TRACE(p.name);
        pick(p.box, p.row);
        EXPECT_EQ(p.box->currentIndex(), p.row);
        EXPECT_EQ(w.Setts, p.settings);
        EXPECT_EQ(settingsFileBytes(), p.bytes);
    }

    // Picking the entry already chosen counts too: the file is written again.
    ASSERT_TRUE(QFile::remove(voiceSettingsPath()));
    pick(w.Combo2, 0);
    EXPECT_EQ(settingsFileBytes(), picks[3].bytes);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(VoiceBoxesTest, APickThatCannotBeStoredIsReportedAndHoldsForTheWindow)
{
    // A file stands where the config folder should be, so nothing can be written inside it, even as root.
    ASSERT_TRUE(writeFileAtomically(env.config + QStringLiteral("/blocked"), "x"));
    env.config += QStringLiteral("/blocked");
    VelmNShare &w = openLibrary();
    messages.answers.enqueue(MsgResult::Ok);
    pick(w.Combo1, 0);
    ASSERT_EQ(messages.shown.size(), 1);
    const ShownMessage &m = messages.shown.front();
    EXPECT_TRUE(m.text.contains(QDir::toNativeSeparators(voiceSettingsPath()))) << m.text.toStdString();
    EXPECT_EQ(m.buttons, MsgButtons::Ok);
    EXPECT_EQ(m.title, programTitle());
    EXPECT_EQ(m.icon, MsgIcon::Exclamation);
    EXPECT_EQ(w.Setts.KSapiVers, 4);

    QTest::mouseClick(w.Command4, Qt::LeftButton);
    EXPECT_EQ(engines(w).selected, QList<int>{1});
    EXPECT_EQ(engines(w).spoken, QStringList{QStringLiteral("We are good friends.")});
    EXPECT_EQ(messages.shown.size(), 1);
}

// Each row: the settings file the window's load finds, a scene with or
// without a user character, a speak button, and what comes of it.
TEST_F(VoiceBoxesTest, TheStoredSettingsDecideWhatTheSpeakButtonsDo)
{
    enum Button { Velm, User };
    enum Outcome { Silent, Engine, VoiceSpeaks, ChooseAVoice, NoUser };
    const std::optional<int32_t> empty;
    const struct {
        const char *name;
        const char *file; // nullptr: no settings file
        Button button;
        bool hasUser;
        VoiceSettings read;
        Outcome outcome;
        int engine; // the engine number asked for
    } rows[] = {
        {"no settings file", nullptr, Velm, false, {}, Silent, 0},
        {"both keys on one line", "KVVer=4;KV4Num=1;", Velm, false, {4, 1, empty, empty, empty, empty}, Engine, 1},
        {"the user stays empty", "KVVer=4;KV4Num=1;", User, true, {4, 1, empty, empty, empty, empty}, Silent, 0},
        {"LF line ends", "KVVer=;\nKV4Num=;\nKV5Num=;\nUVVer=4;\nUV4Num=2;\nUV5Num=;\n\n", User, true,
         {empty, empty, empty, 4, 2, empty}, Engine, 2},
        {"CR LF line ends", "KVVer=4;\r\nKV4Num=2;\r\nKV5Num=;\r\nUVVer=;\r\nUV4Num=;\r\nUV5Num=;\r\n\r\n", Velm,
         false, {4, 2, empty, empty, empty, empty}, Engine, 2},
        {"a half rounds to even", "KVVer=4;KV4Num=2.5;", Velm, false, {4, 2, empty, empty, empty, empty}, Engine, 2},
        {"a version that is not a number", "KVVer=x;KV4Num=1;", Velm, false, {empty, 1, empty, empty, empty, empty},
         Silent, 0},
        {"a version of neither interface", "KVVer=6;KV5Num=0;", Velm, false, {6, empty, 0, empty, empty, empty},
         Silent, 0},
        {"an engine number without its semicolon", "KVVer=4;KV4Num=1", Velm, false,
         {4, empty, empty, empty, empty, empty}, ChooseAVoice, 0},
        {"an engine that is no longer there", "KVVer=4;KV4Num=3;", Velm, false, {4, 3, empty, empty, empty, empty},
         ChooseAVoice, 3},
        {"a voice that is no longer there", "KVVer=5;KV5Num=3;", Velm, false, {5, empty, 3, empty, empty, empty},
         ChooseAVoice, 0},
        {"an empty voice number speaks with the first voice", "KVVer=5;KV5Num=;", Velm, false,
         {5, empty, empty, empty, empty, empty}, VoiceSpeaks, 0},
        {"the user's voice", "UVVer=5;UV5Num=1;", User, true, {empty, empty, empty, 5, empty, 1}, VoiceSpeaks, 0},
        {"the user's voice that is no longer there", "UVVer=5;UV5Num=9;", User, true,
         {empty, empty, empty, 5, empty, 9}, ChooseAVoice, 0},
        {"a scene without a user character", "UVVer=5;UV5Num=1;", User, false, {empty, empty, empty, 5, empty, 1},
         NoUser, 0},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = voiceSettingsPath();
        QFile::remove(path);
        if (row.file) {
            ASSERT_TRUE(writeFileAtomically(path, row.file));
        }
        VelmNShare &w = openLibrary();
        EXPECT_EQ(w.Setts, row.read);
        w.Player->HasUser = row.hasUser;
        w.Text1->setText(QStringLiteral("Hello there."));
        messages.shown.clear();
        if (row.outcome == ChooseAVoice || row.outcome == NoUser)
            messages.answers.enqueue(MsgResult::Ok);

        QTest::mouseClick(row.button == Velm ? w.Command4 : w.Command5, Qt::LeftButton);

        const bool spoke = speechEngine().scheduler().isActive();
        switch (row.outcome) {
        case Silent:
            EXPECT_TRUE(messages.shown.isEmpty());
            EXPECT_TRUE(engines(w).spoken.isEmpty());
            EXPECT_FALSE(spoke);
            break;
        case Engine:
            EXPECT_TRUE(messages.shown.isEmpty());
            EXPECT_EQ(engines(w).selected, QList<int>{row.engine});
            EXPECT_EQ(engines(w).spoken, QStringList{QStringLiteral("Hello there.")});
            EXPECT_TRUE(spoke);
            break;
        case VoiceSpeaks:
            EXPECT_TRUE(messages.shown.isEmpty());
            EXPECT_TRUE(engines(w).selected.isEmpty());
            EXPECT_TRUE(spoke);
            break;
        case ChooseAVoice:
        case NoUser:
            ASSERT_EQ(messages.shown.size(), 1);
            EXPECT_EQ(messages.shown.front().text, row.outcome == NoUser
                                                       ? QStringLiteral("Scene does not have a User character.")
                                                       : QStringLiteral("Please choose a voice."));
            EXPECT_EQ(messages.shown.front().buttons, MsgButtons::Ok);
            EXPECT_EQ(messages.shown.front().title, programTitle());
            EXPECT_TRUE(engines(w).spoken.isEmpty());
            EXPECT_FALSE(spoke);
            if (row.engine) {
                EXPECT_EQ(engines(w).selected, QList<int>{row.engine});
            }
            break;
        }
        if (row.outcome == NoUser) {
            EXPECT_EQ(w.WhoVoice, QString()) << "nothing was asked of a voice";
        } else {
            EXPECT_EQ(w.WhoVoice, row.button == Velm ? QStringLiteral("Velm") : QStringLiteral("User"));
            EXPECT_EQ(w.FinalOutMessage, QStringLiteral("Hello there."));
        }
        closeLibrary();
        EXPECT_FALSE(speechEngine().scheduler().isActive()) << "closing the window ended the speech";
    }
}

// A voice listed by name whose identifier the synthesizer does not know (a
// voice file removed after the list was read): the speak fails before
// anything is spoken and says so; the voice beside it still speaks.
TEST_F(VoiceBoxesTest, AVoiceTheSynthesizerRejectsAsksForAnother)
{
    setSpeechVoiceList(QList<SpeechVoiceInfo>{{QStringLiteral("Voice A"), "gmw/en-US"},
                                              {QStringLiteral("Voice Gone"), "no/such-voice"}});
    VelmNShare &w = openLibrary();
    w.Text1->setText(QStringLiteral("Hello there."));
    const struct {
        const char *name;
        int row; // after the two engines
        bool speaks;
    } rows[] = {
        {"the rejected voice", 3, false},
        {"the voice beside it", 2, true},
        {"the rejected voice after one that spoke", 3, false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        pick(w.Combo1, row.row);
        messages.shown.clear();
        if (!row.speaks)
            messages.answers.enqueue(MsgResult::Ok);
        QTest::mouseClick(w.Command4, Qt::LeftButton);
        EXPECT_EQ(speechEngine().scheduler().isActive(), row.speaks);
        if (row.speaks) {
            EXPECT_TRUE(messages.shown.isEmpty());
            continue;
        }
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.shown.front().text, QStringLiteral("Please choose a voice."));
        EXPECT_EQ(messages.shown.front().buttons, MsgButtons::Ok);
    }
}
