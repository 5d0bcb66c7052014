// The library window: its controls, its two scene lists, the small commands,
// and what a close and a reopen keep.

#include "core/scene/SceneListFile.h"
#include "tests/library/LibraryFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

using LibraryWindowTest = LibraryTest;

TEST_F(LibraryWindowTest, ControlsAtTheirPlacesWithTheirCaptions)
{
    VelmNShare &w = openLibrary();
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(w.Caption(), QString());
    EXPECT_EQ(w.size(), QSize(1193, 1002));

    const struct {
        const char *name;
        QRect place;
        bool visible;
        const char *text;
    } rows[] = {
        {"MainPic", {0, 0, 1200, 857}, true, nullptr},
        {"Picture1", {1, 859, 1195, 149}, true, nullptr},
        {"Label1", {40, 16, 87, 16}, true, "Your Scenes"},
        {"List1", {16, 40, 129, 95}, true, nullptr},
        {"Label2", {394, 20, 87, 16}, true, "VELM Scenes"},
        {"List2", {365, 40, 129, 95}, true, nullptr},
        {"Command3", {855, 108, 81, 28}, true, "Open in Notepad"},
        {"Label4", {519, 44, 111, 32}, true, "Speak this:"},
        {"Combo1", {504, 80, 233, 21}, true, nullptr},
        {"Combo2", {504, 112, 233, 21}, true, nullptr},
        {"Label5", {158, 11, 110, 16}, true, "VelmNShare Handle"},
        {"Text2", {151, 28, 122, 27}, true, "Anonymous"},
        {"Text1", {632, 896, 441, 33}, true, "We are good friends."},
        {"Command4", {752, 936, 81, 25}, true, "VELM SPEAK"},
        {"Command5", {752, 968, 81, 25}, true, " USER SPEAK"},
        {"Check1", {847, 932, 81, 25}, true, "Trigger Anim"},
        {"Text3", {151, 918, 124, 43}, true, "Optional Comment"},
        {"Command7", {153, 965, 81, 33}, true, "Upload to VelmNShare"},
        {"Command8", {239, 965, 81, 33}, true, "Go to VelmNShare"},
        {"Command6", {304, 917, 59, 40}, false, "<< Move to My Scenes"},
        {"Check2", {278, 858, 81, 33}, false, "Approved"},
        {"Label3", {539, 4, 87, 16}, false, "Display Frame:"},
        {"Command1", {636, 1, 16, 19}, false, "<"},
        {"TextB1", {651, 0, 24, 21}, false, "1"},
        {"Command2", {674, 1, 16, 19}, false, ">"},
    };
    for (const auto &row : rows) {
        const QWidget *c = w.findChild<QWidget *>(QString::fromUtf8(row.name));
        ASSERT_NE(c, nullptr) << row.name;
        EXPECT_EQ(c->geometry(), row.place) << row.name;
        EXPECT_EQ(c->isVisible(), row.visible) << row.name;
        if (!row.text)
            continue;
        QString text;
        if (auto *label = qobject_cast<const QLabel *>(c))
            text = label->text();
        else if (auto *button = qobject_cast<const QAbstractButton *>(c))
            text = button->text();
        else if (auto *box = qobject_cast<const QLineEdit *>(c))
            text = box->text();
        // A long caption may be broken over two lines of its button.
        EXPECT_EQ(text.replace(u'\n', u' '), QString::fromUtf8(row.text)) << row.name;
    }
    EXPECT_EQ(w.Combo1->placeholderText(), QStringLiteral("Velm's Voice"));
    EXPECT_EQ(w.Combo2->placeholderText(), QStringLiteral("User's Voice"));
    EXPECT_EQ(w.Text1->font().pointSizeF(), 13.5);
    EXPECT_TRUE(w.Text1->font().bold());
    for (QWidget *hidden : {static_cast<QWidget *>(w.VelmMouth), static_cast<QWidget *>(w.VelmBlink),
                            static_cast<QWidget *>(w.UserMouth), static_cast<QWidget *>(w.UserBlink),
                            static_cast<QWidget *>(w.MiscPic), static_cast<QWidget *>(w.TriggerPic),
                            static_cast<QWidget *>(w.Command1), static_cast<QWidget *>(w.Command2),
                            static_cast<QWidget *>(w.TextB1), static_cast<QWidget *>(w.Label3)})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();

    // Everything a user acts on says what it is for.
    const QStringList accessible = {"Your Scenes",       "VELM Scenes",         "Open in Notepad", "Velm's Voice",
                                    "User's Voice",      "VelmNShare Handle",   "Speak this:",     "VELM SPEAK",
                                    "USER SPEAK",        "Trigger Anim",        "Optional Comment",
                                    "Upload to VelmNShare", "Go to VelmNShare", "Move to My Scenes", "Approved",
                                    "<",                 ">",                   "Display Frame:"};
    QStringList found;
    for (const QWidget *c : w.findChildren<QWidget *>())
        if (!c->accessibleName().isEmpty())
            found << c->accessibleName();
    for (const QString &name : accessible)
        EXPECT_TRUE(found.contains(name)) << name.toStdString();

    // The timers at their start states.
    const struct {
        const Timer *timer;
        int interval;
        bool enabled;
    } timers[] = {{w.Player->Timer1, 100, true},       {w.Player->Timer2, 80, false},       {w.Player->Timer4, 80, false},
                  {w.Player->Timer5, 1000, false},     {w.Player->Timer6, 1000, false},     {w.Player->Timer7, 0, false},
                  {w.Player->Timer10, 1000, false},    {w.Player->Timer13, 0, false},       {w.Player->Timer14, 100, true},
                  {w.Player->Timer15, 1000, false},    {w.Player->SmileTimer1, 50, true},   {w.Player->SmileTimer2, 250, true},
                  {w.Player->BrowTimer1, 80, false},   {w.Player->BrowTimer2, 1000, false}};
    for (const auto &t : timers) {
        EXPECT_EQ(t.timer->Interval(), t.interval) << t.timer->objectName().toStdString();
        EXPECT_EQ(t.timer->Enabled(), t.enabled) << t.timer->objectName().toStdString();
    }
    EXPECT_EQ(scene().WorkFolder.toText(), baseFolder());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(LibraryWindowTest, YourScenesFromTheListFile)
{
    const struct {
        const char *label;
        QByteArray bytes;
        QStringList names;
    } rows[] = {
        {"written by the program", "Ab\n\r\r\nC\n\r\r\nDune\n\r\r\n", {"Ab", "C", "Dune"}},
        {"an empty entry between", "Garden\n\r\r\n\r\n\n\r\r\nSea\n\r\r\n", {"Garden", "Sea"}},
        {"plain CR LF", "Garden\r\nSea\r\n", {"Garden", "Sea"}},
        {"LF only, no end", "Garden\nSea", {"Garden", "Sea"}},
        {"Windows-1252", "Caf\xe9\n\r\r\n", {QStringLiteral("Caf\u00e9")}},
        {"names that leave the folder are skipped", "../Evil\n\r\r\nOk\n\r\r\n/etc/x\n\r\r\n", {"Ok"}},
        {"empty file", "", {}},
    };
    for (const auto &row : rows) {
        writeList(row.bytes);
        EXPECT_EQ(entries(openLibrary().List1), row.names) << row.label;
        closeLibrary();
    }
    ASSERT_TRUE(QFile::remove(base(QStringLiteral("Data/myscenes.dat"))));
    EXPECT_TRUE(entries(openLibrary().List1).isEmpty());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(LibraryWindowTest, VelmScenesFromTheScenesFolder)
{
    for (const char *file : {"sea.scn", "Sea.SCN", "Beach.scn", "x.scn.bak", "notes.txt", ".scn", "Dune.Scn"})
        writeFile(base(QStringLiteral("Scenes/") + QString::fromUtf8(file)), "BG=a.jpg;\r\n");
    QDir().mkpath(base(QStringLiteral("Scenes/Folder.scn")));
    VelmNShare &w = openLibrary();
    EXPECT_EQ(entries(w.List2), (QStringList{"Beach", "Dune", "Sea", "sea"}));
    EXPECT_TRUE(entries(w.List1).isEmpty());
    // Tabbing into a list marks its first entry but loads nothing.
    w.activateWindow();
    w.List2->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.List2->currentRow(), 0);
    EXPECT_EQ(w.SelectScene, QString());
    closeLibrary();

    // No Scenes folder: an empty list.
    ASSERT_TRUE(QDir(base(QStringLiteral("Scenes"))).removeRecursively());
    EXPECT_TRUE(entries(openLibrary().List2).isEmpty());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(LibraryWindowTest, OpenInNotepadOnlyAfterALoad)
{
    writeBeach();
    VelmNShare &w = openLibrary();
    QTest::mouseClick(w.Command3, Qt::LeftButton);
    EXPECT_TRUE(urls.opened.isEmpty());

    click(w.List2, QStringLiteral("Beach"));
    QTest::mouseClick(w.Command3, Qt::LeftButton);
    ASSERT_EQ(urls.opened.size(), 1);
    EXPECT_EQ(urls.opened.first(), QUrl::fromLocalFile(base(QStringLiteral("Scenes/Beach.scn"))));

    urls.succeed = false;
    messages.answers.enqueue(MsgResult::Ok);
    QTest::mouseClick(w.Command3, Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Could not open %1.").arg(base(QStringLiteral("Scenes/Beach.scn"))));
}

TEST_F(LibraryWindowTest, GoToVelmNShareOpensTheHostOfTheSettingsFile)
{
    VelmNShare &w = openLibrary();
    const QString ini = env.config + QStringLiteral("/sharing.ini");

    // Not set: the message says where to set it, and nothing opens.
    messages.answers.enqueue(MsgResult::Ok);
    QTest::mouseClick(w.Command8, Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].text.contains(ini)) << messages.shown[0].text.toStdString();
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("Host="))) << messages.shown[0].text.toStdString();
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("[Service]")));
    EXPECT_TRUE(urls.opened.isEmpty());

    const struct {
        const char *label;
        QByteArray bytes;
        const char *url; // nullptr: refused with a message that names the host
    } rows[] = {
        {"CR LF", "; where shares go\r\n[Service]\r\nHost=share.example.org\r\n", "http://share.example.org/VELMnShare.aspx"},
        {"LF and a port", "[Other]\nHost=wrong\n[Service]\nHost=localhost:8080\n", "http://localhost:8080/VELMnShare.aspx"},
        {"a path slipped in", "[Service]\r\nHost=evil.example/x?y\r\n", nullptr},
        {"blanks inside", "[Service]\r\nHost=a b\r\n", nullptr},
        {"a bracketed address, which the upload cannot split", "[Service]\r\nHost=[::1]:8080\r\n", nullptr},
        {"in another section only", "[Upload]\r\nHost=share.example.org\r\n", nullptr},
    };
    for (const auto &row : rows) {
        messages.shown.clear();
        urls.opened.clear();
        writeFile(ini, row.bytes);
        if (!row.url)
            messages.answers.enqueue(MsgResult::Ok);
        QTest::mouseClick(w.Command8, Qt::LeftButton);
        if (row.url) {
            EXPECT_TRUE(messages.shown.isEmpty()) << row.label;
            EXPECT_EQ(urls.opened, QList<QUrl>{QUrl(QString::fromUtf8(row.url))}) << row.label;
        } else {
            EXPECT_TRUE(urls.opened.isEmpty()) << row.label;
            ASSERT_EQ(messages.shown.size(), 1) << row.label;
            EXPECT_TRUE(messages.shown[0].text.contains(ini)) << row.label;
        }
    }

    // A settings "file" that cannot be read gives its reason.
    ASSERT_TRUE(QFile::remove(ini));
    QDir().mkpath(ini);
    messages.shown.clear();
    urls.opened.clear();
    messages.answers.enqueue(MsgResult::Ok);
    QTest::mouseClick(w.Command8, Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].text.contains(ini)) << messages.shown[0].text.toStdString();
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("not a regular file")))
        << messages.shown[0].text.toStdString();
    EXPECT_TRUE(urls.opened.isEmpty());
    ASSERT_TRUE(QDir(ini).removeRecursively());

    // The browser fails to start: the address is named.
    writeFile(ini, "[Service]\r\nHost=share.example.org\r\n");
    messages.shown.clear();
    urls.succeed = false;
    messages.answers.enqueue(MsgResult::Ok);
    QTest::mouseClick(w.Command8, Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("http://share.example.org/VELMnShare.aspx")));
}

TEST_F(LibraryWindowTest, MoveToMyScenes)
{
    writeBeach();
    writeBeach(QStringLiteral("BeachNight"));
    VelmNShare &w = openLibrary();
    const QString list = base(QStringLiteral("Data/myscenes.dat"));

    // Nothing selected: nothing happens.
    w.Command6_Click();
    EXPECT_FALSE(QFile::exists(list));

    click(w.List2, QStringLiteral("BeachNight"));
    w.Command6_Click();
    w.Command6_Click(); // twice: in the file once, in the list box twice
    click(w.List2, QStringLiteral("Beach"));
    w.Command6_Click();
    QFile f(list);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("BeachNight\n\r\r\nBeach\n\r\r\n"));
    EXPECT_EQ(entries(w.List1), (QStringList{"BeachNight", "BeachNight", "Beach"}));
    EXPECT_TRUE(messages.shown.isEmpty());

    // A list that cannot be written is reported; the list box is unchanged.
    ASSERT_TRUE(QDir(base(QStringLiteral("Data"))).removeRecursively());
    writeFile(base(QStringLiteral("Data")), "a file where the folder goes");
    messages.answers.enqueue(MsgResult::Ok);
    w.Command6_Click();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("myscenes.dat"))) << messages.shown[0].text.toStdString();
    EXPECT_EQ(messages.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(entries(w.List1), (QStringList{"BeachNight", "BeachNight", "Beach"}));
}

TEST_F(LibraryWindowTest, CloseAndReopenReadsTheListsAgainAndKeepsTheFileLists)
{
    writeBeach();
    VelmNShare &w = openLibrary();
    click(w.List2, QStringLiteral("Beach"));
    EXPECT_TRUE(w.VelmMouth->isVisibleTo(&w));

    // A scene saved while the window is open shows after a reopen.
    writeBeach(QStringLiteral("Sea"));
    writeList("Sea\n\r\r\n");
    EXPECT_EQ(entries(w.List2), QStringList{"Beach"});
    closeLibrary();
    EXPECT_FALSE(formExists<VelmNShare>());

    VelmNShare &again = openLibrary();
    EXPECT_EQ(entries(again.List1), QStringList{"Sea"});
    EXPECT_EQ(entries(again.List2), (QStringList{"Beach", "Sea"}));
    EXPECT_EQ(again.Player->ImageList2.Count(), 0);
    EXPECT_EQ(again.SelectScene, QString());
    EXPECT_EQ(again.selectSceneList(), 0);
    // The file lists are the program's, not the window's.
    EXPECT_EQ(scene().Files.MainMouthFrameFiles[7], QStringLiteral("BeachMouth07.jpg"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

} // namespace
