// Install through the window, as a user clicks it: every file of the package
// lands at its target with its exact bytes and one log line, and the log ends
// in "DONE!" only when the whole package went in; a run that found no file to
// install says so in its place.

#include "tests/installer/InstallerFixture.h"

#include "tests/support/FileSizeLimit.h"

#include <sys/stat.h>

namespace {

// A package as the main program makes it: only Files/Scenes and Files/Images.
const struct {
    const char *media;
    QString name;
    QByteArray bytes;
} ScenePackage[] = {
    {"Scenes", QStringLiteral("Beach.scn"), "MainPicFileName=BeachBG.jpg;\r\n\r\n"},
    {"Scenes", QStringLiteral("Alpine Caf\u00e9.scn"), "MainPicFileName=AlpBG.jpg;\r\n"},
    {"Images", QStringLiteral("BeachBG.jpg"), QByteArray("\xFF\xD8 beach \x00\xFF\xD9", 12)},
    {"Images", QStringLiteral("BeachMouth01.jpg"), "mouth"},
    {"Images", QStringLiteral("AlpBG.jpg"), "alp"},
};

class InstallTest : public InstallerTest {
protected:
    void makeScenePackage()
    {
        for (const auto &file : ScenePackage)
            packageFile(QString::fromLatin1(file.media), file.name, file.bytes);
    }
    QString scenePackageLog() const
    {
        return logLine(QStringLiteral("Scenes"), QStringLiteral("Alpine Caf\u00e9.scn"))
               + logLine(QStringLiteral("Scenes"), QStringLiteral("Beach.scn"))
               + logLine(QStringLiteral("Images"), QStringLiteral("AlpBG.jpg"))
               + logLine(QStringLiteral("Images"), QStringLiteral("BeachBG.jpg"))
               + logLine(QStringLiteral("Images"), QStringLiteral("BeachMouth01.jpg"));
    }
    // Every file of the package, still in the package and installed with its bytes.
    void expectScenePackageInstalled()
    {
        for (const auto &file : ScenePackage) {
            SCOPED_TRACE(file.name.toStdString());
            const QString media = QString::fromLatin1(file.media);
            ASSERT_EQ(bytesOf(env.program + QStringLiteral("/Files/") + media + u'/' + file.name), file.bytes);
            EXPECT_EQ(bytesOf(installed(media, file.name)), file.bytes);
        }
    }
};

} // namespace

TEST_F(InstallTest, CopiesThePackageLogsEachFileThenSaysDone)
{
    makeInstallFolder();
    makeScenePackage();
    // Not copied and not logged: a hidden file, a subfolder and a pipe.
    packageFile(QStringLiteral("Images"), QStringLiteral(".BeachBG.jpg"), "hidden");
    packageFile(QStringLiteral("Images/Deeper"), QStringLiteral("Inner.jpg"), "inner");
    ASSERT_EQ(mkfifo(QFile::encodeName(env.program + QStringLiteral("/Files/Images/Pipe.jpg")).constData(), 0600), 0);
    // A re-install overwrites.
    writeFile(installed(QStringLiteral("Images"), QStringLiteral("BeachBG.jpg")), "an older background, longer than the new");

    installer::Form1 &window = openWindow();
    EXPECT_EQ(window.Label3->text(), installFolder);
    clickInstall(window);

    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(logBeforeDone(), scenePackageLog());
    EXPECT_EQ(window.Text1->toPlainText(), QStringLiteral("DONE!"));
    EXPECT_EQ(window.Text1->textCursor().position(), 5);
    expectScenePackageInstalled();
    EXPECT_EQ(QDir(installFolder + QStringLiteral("/Images"))
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name),
              (QStringList{QStringLiteral("AlpBG.jpg"), QStringLiteral("BeachBG.jpg"), QStringLiteral("BeachMouth01.jpg")}));
    for (const char *media : {"Sounds", "Skins", "Personalities"})
        EXPECT_TRUE(QDir(installFolder + u'/' + QString::fromLatin1(media)).isEmpty()) << media;

    // Another click copies everything again; its log begins right after "DONE!".
    writeFile(installed(QStringLiteral("Scenes"), QStringLiteral("Beach.scn")), "changed since");
    clickInstall(window);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(logBeforeDone(), QStringLiteral("DONE!") + scenePackageLog());
    EXPECT_EQ(window.Text1->toPlainText(), QStringLiteral("DONE!"));
    expectScenePackageInstalled();
}

// A run from a folder without a package, or with one that holds no file to
// install, says so where "DONE!" would stand, naming the folder it looked in,
// and writes nothing.
TEST_F(InstallTest, APackageWithoutFilesSaysWhereItLookedInsteadOfDone)
{
    makeInstallFolder();
    const QString files = env.program + QStringLiteral("/Files");
    const struct {
        const char *name;
        QStringList folders; // made under Files/; none: no Files/ at all
        QStringList skipped; // files under Files/ that are never installed
    } cases[] = {
        {"no Files folder", {}, {}},
        {"an empty Files folder", {QString()}, {}},
        {"empty media folders",
         {QStringLiteral("Scenes"), QStringLiteral("Images"), QStringLiteral("Sounds"), QStringLiteral("Skins"),
          QStringLiteral("Personalities"), QStringLiteral("Images/Deeper")},
         {}},
        {"only what is never installed",
         {QStringLiteral("Scenes")},
         {QStringLiteral("Scenes/.Hidden.scn"), QStringLiteral("Beach.scn"), QStringLiteral("Other/Beach.scn")}},
    };
    const QString nothing = QStringLiteral("Nothing was installed: there are no files to install in %1 "
                                           "(its Scenes, Images, Sounds, Skins and Personalities folders).\n")
                                .arg(files);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(QDir(files).removeRecursively());
        for (const QString &folder : c.folders)
            ASSERT_TRUE(QDir().mkpath(files + u'/' + folder));
        for (const QString &file : c.skipped) {
            ASSERT_TRUE(QDir().mkpath(QFileInfo(files + u'/' + file).absolutePath()));
            ASSERT_TRUE(writeFile(files + u'/' + file, "never installed"));
        }
        const QMap<QString, QByteArray> before = snapshot(installFolder);
        destroyAllForms();
        installer::Form1 &window = openWindow();
        clickInstall(window);
        EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'|').toStdString();
        EXPECT_EQ(window.Text1->toPlainText(), nothing);
        EXPECT_EQ(snapshot(installFolder), before);
    }

    // Files put in afterwards install at the next click, and it is done.
    makeScenePackage();
    installer::Form1 &window = form<installer::Form1>();
    clickInstall(window);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(logBeforeDone(), nothing + scenePackageLog());
    EXPECT_EQ(window.Text1->toPlainText(), QStringLiteral("DONE!"));
    expectScenePackageInstalled();
}

TEST_F(InstallTest, AMissingTargetFolderStopsTheRunUntilItIsMade)
{
    makeInstallFolder({QStringLiteral("Scenes"), QStringLiteral("Sounds")});
    makeScenePackage();
    installer::Form1 &window = openWindow();

    messages.answers.enqueue(MsgResult::Ok);
    clickInstall(window);
    ASSERT_EQ(messages.shown.size(), 1);
    const ShownMessage &shown = messages.shown[0];
    EXPECT_EQ(shown.text, QStringLiteral("Could not copy %1 to %2: the folder %3 does not exist\n\n"
                                         "The installation stopped at this file.")
                              .arg(env.program + QStringLiteral("/Files/Images/AlpBG.jpg"),
                                   installed(QStringLiteral("Images"), QStringLiteral("AlpBG.jpg")),
                                   installFolder + QStringLiteral("/Images")));
    EXPECT_EQ(shown.icon, MsgIcon::Critical);
    EXPECT_EQ(shown.title, QStringLiteral("mediadrop"));
    // The scene files went in and their lines stay; no "DONE!".
    const QString scenesLog = logLine(QStringLiteral("Scenes"), QStringLiteral("Alpine Caf\u00e9.scn"))
                              + logLine(QStringLiteral("Scenes"), QStringLiteral("Beach.scn"));
    EXPECT_EQ(window.Text1->toPlainText(), scenesLog);
    EXPECT_EQ(bytesOf(installed(QStringLiteral("Scenes"), QStringLiteral("Beach.scn"))),
              QByteArray("MainPicFileName=BeachBG.jpg;\r\n\r\n"));
    EXPECT_FALSE(QFileInfo::exists(installFolder + QStringLiteral("/Images")));

    // Once the user makes the folder, another click finishes.
    ASSERT_TRUE(QDir().mkpath(installFolder + QStringLiteral("/Images")));
    messages.shown.clear();
    clickInstall(window);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(logBeforeDone(), scenesLog + scenePackageLog());
    EXPECT_EQ(window.Text1->toPlainText(), QStringLiteral("DONE!"));
    expectScenePackageInstalled();
}

// A disk that fills up midway through a re-install.
TEST_F(InstallTest, ACopyThatFailsMidwayLeavesTheOldFileWhole)
{
    makeInstallFolder();
    QByteArray large(256 * 1024, Qt::Uninitialized);
    for (int i = 0; i < large.size(); ++i)
        large[i] = char(i * 31 / 7);
    packageFile(QStringLiteral("Images"), QStringLiteral("Large.jpg"), large);
    packageFile(QStringLiteral("Images"), QStringLiteral("Small.jpg"), "small");
    writeFile(installed(QStringLiteral("Images"), QStringLiteral("Large.jpg")), "the old picture");
    installer::Form1 &window = openWindow();

    messages.answers.enqueue(MsgResult::Ok);
    {
        const FileSizeLimit diskFull(100 * 1024);
        clickInstall(window);
    }

    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Could not copy %1 to %2: File too large\n\n"
                                                     "The installation stopped at this file.")
                                          .arg(env.program + QStringLiteral("/Files/Images/Large.jpg"),
                                               installed(QStringLiteral("Images"), QStringLiteral("Large.jpg"))));
    EXPECT_EQ(messages.shown[0].icon, MsgIcon::Critical);
    EXPECT_EQ(bytesOf(installed(QStringLiteral("Images"), QStringLiteral("Large.jpg"))), QByteArray("the old picture"));
    EXPECT_EQ(QDir(installFolder + QStringLiteral("/Images")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("Large.jpg")});
    EXPECT_TRUE(window.Text1->toPlainText().isEmpty());
}

TEST_F(InstallTest, NoInstallFolderWritesNothing)
{
    makeScenePackage();
    // Folders that a path relative to the working folder would reach.
    const QString work = tempPath(QStringLiteral("Work"));
    for (const char *media : {"Error/Scenes", "Error/Images", "Velm5Pro/Scenes", "Velm5Pro/Images"})
        ASSERT_TRUE(QDir().mkpath(work + u'/' + QString::fromLatin1(media)));
    const QString savedWork = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work));

    const QString unknown = QStringLiteral("The Velm 5 installation directory is not known, so nothing was installed. "
                                           "Please install manually by copying files to Velm 5 default directory.\n\n"
                                           "The installation directory is read from the file ");
    const QString userFile = QDir(userConfig).filePath(QStringLiteral("velm-registry.ini"));
    const struct {
        const char *name;
        QByteArray registry; // empty: none, so the label reads "Error"
        QString message;
    } cases[] = {
        {"label reads Error", QByteArray(),
         unknown + QStringLiteral("velm-registry.ini, which is in none of the places it is looked for:\n") + userFile
             + u'\n' + QDir(systemConfig).filePath(QStringLiteral("velm-registry.ini"))},
        {"empty label", "[HKEY_LOCAL_MACHINE\\Software\\Pellwick Studios\\Velm5Pro]\nDirectory=\n",
         unknown + userFile
             + QStringLiteral(", in which the Directory value of the section [HKEY_LOCAL_MACHINE\\Software\\Pellwick "
                              "Studios\\Velm5Pro] is empty.")},
        {"relative folder", "[HKEY_LOCAL_MACHINE\\Software\\Pellwick Studios\\Velm5Pro]\nDirectory=Velm5Pro\n",
         QStringLiteral("The Velm 5 installation directory \"Velm5Pro\" is not a full path, so nothing was installed.")},
        {"missing folder",
         "[HKEY_LOCAL_MACHINE\\Software\\Pellwick Studios\\Velm5Pro]\nDirectory=" + QFile::encodeName(installFolder) + "\n",
         QStringLiteral("The Velm 5 installation directory %1 does not exist, so nothing was installed.").arg(installFolder)},
        {"a file, no folder",
         "[HKEY_LOCAL_MACHINE\\Software\\Pellwick Studios\\Velm5Pro]\nDirectory=" + QFile::encodeName(tempPath(QStringLiteral("UserConfig/velm-registry.ini"))) + "\n",
         QStringLiteral("The Velm 5 installation directory %1 does not exist, so nothing was installed.")
             .arg(tempPath(QStringLiteral("UserConfig/velm-registry.ini")))},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        destroyAllForms();
        QFile::remove(QDir(userConfig).filePath(QStringLiteral("velm-registry.ini")));
        if (!c.registry.isEmpty())
            writeRegistry(c.registry);
        messages.shown.clear();
        if (c.registry.isEmpty())
            messages.answers.enqueue(MsgResult::Ok); // the load's "Error!!"
        const QMap<QString, QByteArray> before = snapshot(temp.path());
        installer::Form1 &window = openWindow();

        messages.answers.enqueue(MsgResult::Ok);
        clickInstall(window);
        ASSERT_FALSE(messages.shown.isEmpty());
        EXPECT_EQ(messages.shown.last().text, c.message);
        EXPECT_EQ(messages.shown.last().icon, MsgIcon::Exclamation);
        EXPECT_EQ(messages.shown.size(), c.registry.isEmpty() ? 2 : 1);
        EXPECT_EQ(snapshot(temp.path()), before);
        EXPECT_TRUE(window.Text1->toPlainText().isEmpty());
    }
    QDir::setCurrent(savedWork);
}
