// The registry reader: the exact results of every kind of key path, value and
// file, and the window's look-up of the install folder when it loads.

#include "tests/installer/InstallerFixture.h"
#include "tests/support/program/Rendering.h"

#include <QAccessible>

namespace {

const QString ProPath = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Pellwick Studios\\Velm5Pro");
const QByteArray ProSection = "[HKEY_LOCAL_MACHINE\\Software\\Pellwick Studios\\Velm5Pro]";
const QByteArray StdSection = "[HKEY_LOCAL_MACHINE\\Software\\Pellwick Studios\\Velm5Std]";
const QString NotFoundText = QStringLiteral(
    "Have you installed Velm 5? Unable to determine Velm5 installation directory. Please install manually by "
    "copying files to Velm 5 default directory.");

class RegReadTest : public InstallerTest {};

} // namespace

TEST_F(RegReadTest, GivesTheValueErrorOrNothing)
{
    const QByteArray e127 = QByteArray("\xC3\xA9").repeated(127); // 254 bytes in 127 characters
    const struct {
        const char *name;
        std::optional<QByteArray> file; // none: no registry file at all
        QString keyPath;
        const char *valueName;
        QString expected;
        bool formatMessage; // "Incorrect Format:" shown
    } cases[] = {
        {"value read", ProSection + "\nDirectory=/home/ann/Velm5Pro\n", ProPath, "Directory",
         QStringLiteral("/home/ann/Velm5Pro"), false},
        {"CR LF file", ProSection + "\r\nDirectory=/home/ann/Velm5Pro\r\n", ProPath, "Directory",
         QStringLiteral("/home/ann/Velm5Pro"), false},
        {"names in another case", "[hkey_local_machine\\SOFTWARE\\pellwick studios\\VELM5PRO]\ndirectory=/v\n",
         QStringLiteral("HKEY_LOCAL_MACHINE\\software\\Pellwick Studios\\velm5pro"), "DIRECTORY", QStringLiteral("/v"),
         false},
        {"first of two equal sections", ProSection + "\nDirectory=/first\n" + ProSection + "\nDirectory=/second\n",
         ProPath, "Directory", QStringLiteral("/first"), false},
        {"first of two equal names", ProSection + "\nDirectory=/first\ndirectory=/second\n", ProPath, "Directory",
         QStringLiteral("/first"), false},
        {"the bare root", "[HKEY_LOCAL_MACHINE]\nDirectory=/root/value\n", QStringLiteral("HKEY_LOCAL_MACHINE"),
         "Directory", QStringLiteral("/root/value"), false},
        {"another root", "[HKEY_CURRENT_USER\\Software\\X]\nDirectory=/user\n",
         QStringLiteral("HKEY_CURRENT_USER\\Software\\X"), "Directory", QStringLiteral("/user"), false},
        {"leading spaces dropped, trailing kept", ProSection + "\nDirectory=  a b  \n", ProPath, "Directory",
         QStringLiteral("a b  "), false},
        {"tabs are no spaces", ProSection + "\nDirectory=\t a\t\n", ProPath, "Directory", QStringLiteral("\t a\t"),
         false},
        {"only spaces", ProSection + "\nDirectory=   \n", ProPath, "Directory", QString(), false},
        {"empty value", ProSection + "\nDirectory=\n", ProPath, "Directory", QString(), false},
        {"254 bytes whole", ProSection + "\nDirectory=" + QByteArray(254, 'x') + "\n", ProPath, "Directory",
         QString(254, u'x'), false},
        {"255 bytes", ProSection + "\nDirectory=" + QByteArray(255, 'x') + "\n", ProPath, "Directory",
         QStringLiteral("Error"), false},
        {"254 bytes of two-byte letters", ProSection + "\nDirectory=" + e127 + "\n", ProPath, "Directory",
         QString(127, QChar(0xE9)), false},
        {"255 bytes with two-byte letters", ProSection + "\nDirectory=" + e127 + "x\n", ProPath, "Directory",
         QStringLiteral("Error"), false},
        {"missing value", ProSection + "\nFolder=/v\n", ProPath, "Directory", QStringLiteral("Error"), false},
        {"missing key", StdSection + "\nDirectory=/v\n", ProPath, "Directory", QStringLiteral("Error"), false},
        {"a longer key is another key", ProSection + "\nDirectory=/v\n", ProPath + QStringLiteral("\\Sub"), "Directory",
         QStringLiteral("Error"), false},
        {"no file", std::nullopt, ProPath, "Directory", QStringLiteral("Error"), false},
        {"trailing backslash", ProSection + "\nDirectory=/v\n", ProPath + u'\\', "Directory", QString(), true},
        {"lower-case root", "[hkey_local_machine\\Software\\Pellwick Studios\\Velm5Pro]\nDirectory=/v\n",
         QStringLiteral("hkey_local_machine\\Software\\Pellwick Studios\\Velm5Pro"), "Directory", QString(), true},
        {"empty path", ProSection + "\nDirectory=/v\n", QString(), "Directory", QString(), true},
        {"unknown root", "[HKEY_LOCAL_MACHINEX\\Software\\Pellwick Studios\\Velm5Pro]\nDirectory=/v\n",
         QStringLiteral("HKEY_LOCAL_MACHINEX\\Software\\Pellwick Studios\\Velm5Pro"), "Directory", QString(), false},
    };
    const QString file = tempPath(QStringLiteral("velm-registry.ini"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(file);
        if (c.file)
            writeFile(file, *c.file);
        messages.shown.clear();
        if (c.formatMessage)
            messages.answers.enqueue(MsgResult::Ok);

        const QString value = installer::registryText(c.keyPath, QString::fromLatin1(c.valueName), file);
        EXPECT_EQ(value, c.expected);
        if (c.formatMessage) {
            ASSERT_EQ(messages.shown.size(), 1);
            EXPECT_EQ(messages.shown[0].text, QStringLiteral("Incorrect Format:\n\n") + c.keyPath);
            EXPECT_EQ(messages.shown[0].buttons, MsgButtons::Ok);
            EXPECT_EQ(messages.shown[0].title, QStringLiteral("mediadrop"));
            EXPECT_EQ(messages.shown[0].icon, MsgIcon::None);
        } else {
            EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'|').toStdString();
        }
    }
}

// The reader itself shows nothing; it says why there is no value.
TEST_F(RegReadTest, TheReaderGivesWhyAndShowsNothing)
{
    const QString file = tempPath(QStringLiteral("velm-registry.ini"));
    writeFile(file, ProSection + "\nDirectory=  /v\n");
    using installer::RegReadFailure;
    const struct {
        QString keyPath;
        std::optional<RegReadFailure> failure; // none: read
    } cases[] = {
        {ProPath, std::nullopt},
        {ProPath + u'\\', RegReadFailure::IncorrectFormat},
        {QStringLiteral("HKEY_LOCAL_MACHINEX\\Software"), RegReadFailure::UnknownRoot},
        {ProPath + QStringLiteral("\\Sub"), RegReadFailure::NotFound},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.keyPath.toStdString());
        const auto read = installer::RegRead(c.keyPath, QStringLiteral("Directory"), file);
        EXPECT_EQ(read.ok(), !c.failure);
        if (c.failure)
            EXPECT_EQ(read.error, *c.failure);
        else
            EXPECT_EQ(read.value, QStringLiteral("/v"));
    }
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(RegReadTest, ProfessionalKeyWinsOverStandard)
{
    writeRegistry(StdSection + "\r\nDirectory=/opt/std\r\n" + ProSection + "\r\nDirectory=/opt/pro\r\n");
    installer::Form1 &window = form<installer::Form1>();
    EXPECT_EQ(window.Label3->text(), QStringLiteral("/opt/pro"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(RegReadTest, StandardKeyWhenProfessionalHasNone)
{
    writeRegistry(ProSection + "\nPath=/opt/pro\n" + StdSection + "\nDirectory=/opt/std\n");
    EXPECT_EQ(form<installer::Form1>().Label3->text(), QStringLiteral("/opt/std"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(RegReadTest, UserRegistryBeforeTheSystemOne)
{
    writeRegistry(ProSection + "\nDirectory=/opt/system\n", true);
    EXPECT_EQ(form<installer::Form1>().Label3->text(), QStringLiteral("/opt/system"));
    destroyAllForms();

    writeRegistry(ProSection + "\nDirectory=/opt/user\n");
    EXPECT_EQ(form<installer::Form1>().Label3->text(), QStringLiteral("/opt/user"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

// The box says which file the folder is read from and where it was looked
// for, or what the file lacks.
TEST_F(RegReadTest, NoInstallFolderIsToldBeforeTheWindowShows)
{
    const QString userFile = QDir(userConfig).filePath(QStringLiteral("velm-registry.ini"));
    const QString systemFile = QDir(systemConfig).filePath(QStringLiteral("velm-registry.ini"));
    const QString inUserFile = QStringLiteral("The installation directory is read from the file ") + userFile;
    const QString noValues = inUserFile
                             + QStringLiteral(", in which the section [HKEY_LOCAL_MACHINE\\Software\\Pellwick Studios\\Velm5Pro] "
                                              "has no Directory value, and the section [HKEY_LOCAL_MACHINE\\Software\\"
                                              "Pellwick Studios\\Velm5Std] has no Directory value.");
    const struct {
        const char *name;
        QByteArray file; // empty: no registry file
        QString why;
    } cases[] = {
        {"no registry file", QByteArray(),
         QStringLiteral("The installation directory is read from the file velm-registry.ini, which is in none of the "
                        "places it is looked for:\n")
             + userFile + u'\n' + systemFile},
        {"neither key", "[HKEY_LOCAL_MACHINE\\Software\\Other]\nDirectory=/opt/other\n", noValues},
        {"keys without the value", ProSection + "\nPath=/a\n" + StdSection + "\nPath=/b\n", noValues},
        {"a value too long", ProSection + "\nDirectory=" + QByteArray(255, 'x') + "\n",
         inUserFile
             + QStringLiteral(", in which the Directory value of the section [HKEY_LOCAL_MACHINE\\Software\\Pellwick "
                              "Studios\\Velm5Pro] is longer than the 254 bytes that can be read, and the section "
                              "[HKEY_LOCAL_MACHINE\\Software\\Pellwick Studios\\Velm5Std] has no Directory value.")},
        {"a file too large to read", ProSection + "\nDirectory=/v\n" + QByteArray(1024 * 1024, ';'),
         QStringLiteral("The installation directory is read from the file velm-registry.ini. Could not read ")
             + userFile + QStringLiteral(": it is larger than 1048576 bytes.")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        destroyAllForms();
        QFile::remove(userFile);
        if (!c.file.isEmpty())
            writeRegistry(c.file);
        messages.shown.clear();
        messages.answers.enqueue(MsgResult::Ok);

        installer::Form1 &window = form<installer::Form1>();
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.shown[0].text, NotFoundText + QStringLiteral("\n\n") + c.why);
        EXPECT_EQ(messages.shown[0].title, QStringLiteral("Error!!"));
        EXPECT_EQ(messages.shown[0].icon, MsgIcon::Critical);
        EXPECT_EQ(messages.shown[0].buttons, MsgButtons::Ok);
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(window.Label3->text(), QStringLiteral("Error"));
        EXPECT_TRUE(window.Command1->isEnabled());
    }
}

TEST_F(RegReadTest, WindowAsDesigned)
{
    writeRegistry(ProSection + "\nDirectory=/opt/pro\n");
    installer::Form1 &window = openWindow();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Media Installer"));
    EXPECT_EQ(window.size(), QSize(372, 215));
    EXPECT_EQ(window.Label3->geometry(), QRect(15, 41, 330, 16));
    EXPECT_EQ(window.Command1->geometry(), QRect(145, 63, 74, 25));
    EXPECT_EQ(window.Text1->geometry(), QRect(55, 96, 264, 112));
    EXPECT_EQ(window.Command1->text(), QStringLiteral("Install"));
    EXPECT_TRUE(window.Command1->font().bold());
    EXPECT_DOUBLE_EQ(window.Command1->font().pointSizeF(), 9.75);
    EXPECT_EQ(window.Label3->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(window.Label3->autoFillBackground());
    // A screen reader reads the folder, and the words as what it is.
    QAccessibleInterface *folder = QAccessible::queryAccessibleInterface(window.Label3);
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->text(QAccessible::Name), QStringLiteral("/opt/pro"));
    EXPECT_EQ(folder->text(QAccessible::Description), QStringLiteral("Velm 5 installation directory"));
    EXPECT_EQ(window.Text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(window.Text1->toPlainText().isEmpty());
    EXPECT_EQ(installer::installerArtwork().size(), QSize(375, 212));
    EXPECT_EQ(shownPixel(window, QPoint(2, 2)), installer::installerArtwork().pixel(2, 2));
}
