// Install through the window, as a user clicks it: every file of the package
// lands at its target with its exact bytes and one log line, and the log ends
// in "DONE!" only when the whole package went in.

#include "tests/installer/InstallerFixture.h"

#include "tests/support/FileSizeLimit.h"

#include <sys/stat.h>

namespace {

class InstallTest : public InstallerTest {
protected:
    // A package as the main program makes it: only Files/Scenes and Files/Images.
    void makeScenePackage()
    {
        packageFile(QStringLiteral("Scenes"), QStringLiteral("Beach.scn"), "MainPicFileName=BeachBG.jpg;\r\n\r\n");
        packageFile(QStringLiteral("Scenes"), QStringLiteral("Alpine Caf\u00e9.scn"), "MainPicFileName=AlpBG.jpg;\r\n");
        packageFile(QStringLiteral("Images"), QStringLiteral("BeachBG.jpg"), QByteArray("\xFF\xD8 beach \x00\xFF\xD9", 12));
        packageFile(QStringLiteral("Images"), QStringLiteral("BeachMouth01.jpg"), "mouth");
        packageFile(QStringLiteral("Images"), QStringLiteral("AlpBG.jpg"), "alp");
    }
    QString scenePackageLog() const
    {
        return logLine(QStringLiteral("Scenes"), QStringLiteral("Alpine Caf\u00e9.scn"))
               + logLine(QStringLiteral("Scenes"), QStringLiteral("Beach.scn"))
               + logLine(QStringLiteral("Images"), QStringLiteral("AlpBG.jpg"))
               + logLine(QStringLiteral("Images"), QStringLiteral("BeachBG.jpg"))
               + logLine(QStringLiteral("Images"), QStringLiteral("BeachMouth01.jpg"));
    }
    void expectScenePackageInstalled()
    {
        for (const char *media : {"Scenes", "Images"}) {
            const QString folder = env.program + QStringLiteral("/Files/") + QString::fromLatin1(media);
            for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot)) {
                SCOPED_TRACE(name.toStdString());
                EXPECT_EQ(bytesOf(installed(QString::fromLatin1(media), name)), bytesOf(folder + u'/' + name));
            }
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

TEST_F(InstallTest, AnEmptyPackageIsDoneAtOnce)
{
    makeInstallFolder({QStringLiteral("Scenes")});
    installer::Form1 &window = openWindow();
    clickInstall(window);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(logBeforeDone(), QString());
    EXPECT_EQ(window.Text1->toPlainText(), QStringLiteral("DONE!"));
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
                                           "Please install manually by copying files to Velm 5 default directory.");
    const struct {
        const char *name;
        QByteArray registry; // empty: none, so the label reads "Error"
        QString message;
    } cases[] = {
        {"label reads Error", QByteArray(), unknown},
        {"empty label", "[HKEY_LOCAL_MACHINE\\Software\\Pellwick Studios\\Velm5Pro]\nDirectory=\n", unknown},
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
