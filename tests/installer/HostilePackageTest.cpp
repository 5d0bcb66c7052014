// Packages made to write elsewhere: names that Linux allows but that would
// climb out of a folder, links in the package or at the targets, and package
// folders that lead outside it. Each entry is refused and named, nothing
// outside the target folders changes, and the rest of the package installs.

#include "tests/installer/InstallerFixture.h"

#include <fcntl.h>
#include <unistd.h>

#include <functional>

namespace {

class HostilePackageTest : public InstallerTest {};

void makeLink(const QString &target, const QString &link)
{
    QDir().mkpath(QFileInfo(link).absolutePath());
    ASSERT_TRUE(QFile::link(target, link)) << link.toStdString();
}

} // namespace

TEST_F(HostilePackageTest, EntriesThatLeadOutsideAreRefusedAndNamed)
{
    // In each row, root holds Program (with the package), Velm5Pro (the install
    // folder) and outside (what a hostile package aims at).
    const struct {
        const char *name;
        std::function<void(const QString &root)> make;
        const char *refused; // the message's line, with <root> for the row's folder
    } cases[] = {
        {"a name that climbs through backslashes",
         [](const QString &root) { writeFile(root + QStringLiteral("/Program/Files/Images/a\\..\\..\\x"), "climb"); },
         "<root>/Program/Files/Images/a\\..\\..\\x: its name could lead outside its folder"},
        {"a name with a drive",
         [](const QString &root) { writeFile(root + QStringLiteral("/Program/Files/Images/C:x"), "drive"); },
         "<root>/Program/Files/Images/C:x: its name could lead outside its folder"},
        {"a link to a file outside",
         [](const QString &root) {
             writeFile(root + QStringLiteral("/outside/secret.txt"), "secret");
             makeLink(root + QStringLiteral("/outside/secret.txt"), root + QStringLiteral("/Program/Files/Images/Secret.jpg"));
         },
         "<root>/Program/Files/Images/Secret.jpg: it is a link"},
        {"a package folder linked to a folder outside",
         [](const QString &root) {
             writeFile(root + QStringLiteral("/outside/Images/Stolen.jpg"), "stolen");
             makeLink(root + QStringLiteral("/outside/Images"), root + QStringLiteral("/Program/Files/Images"));
         },
         "<root>/Program/Files/Images: the folder leads outside the package"},
        {"a sibling folder whose name begins like Files",
         [](const QString &root) {
             writeFile(root + QStringLiteral("/Program/FilesX/Images/Stolen.jpg"), "stolen");
             makeLink(QStringLiteral("../FilesX/Images"), root + QStringLiteral("/Program/Files/Images"));
         },
         "<root>/Program/Files/Images: the folder leads outside the package"},
        {"a target that is a link to a file outside",
         [](const QString &root) {
             writeFile(root + QStringLiteral("/outside/victim.jpg"), "victim");
             makeLink(root + QStringLiteral("/outside/victim.jpg"), root + QStringLiteral("/Velm5Pro/Images/BeachBG.jpg"));
             writeFile(root + QStringLiteral("/Program/Files/Images/BeachBG.jpg"), "background");
         },
         "<root>/Program/Files/Images/BeachBG.jpg: the target <root>/Velm5Pro/Images/BeachBG.jpg is a link"},
        {"a target that is a folder",
         [](const QString &root) {
             QDir().mkpath(root + QStringLiteral("/Velm5Pro/Images/Deep.jpg"));
             writeFile(root + QStringLiteral("/Program/Files/Images/Deep.jpg"), "deep");
         },
         "<root>/Program/Files/Images/Deep.jpg: the target <root>/Velm5Pro/Images/Deep.jpg is a folder or no regular "
         "file"},
    };
    int row = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString root = tempPath(QStringLiteral("row%1").arg(++row));
        env.program = root + QStringLiteral("/Program");
        installFolder = root + QStringLiteral("/Velm5Pro");
        makeInstallFolder();
        packageFile(QStringLiteral("Scenes"), QStringLiteral("Good.scn"), "good scene");
        c.make(root);
        destroyAllForms();
        const QMap<QString, QByteArray> before = snapshot(root);
        messages.shown.clear();

        installer::Form1 &window = openWindow();
        messages.answers.enqueue(MsgResult::Ok);
        clickInstall(window);

        ASSERT_EQ(messages.shown.size(), 1) << messages.texts().join(u'|').toStdString();
        EXPECT_EQ(messages.shown[0].text, QStringLiteral("These files of the package were not installed:\n\n")
                                              + QString::fromUtf8(c.refused).replace(QStringLiteral("<root>"), root));
        EXPECT_EQ(messages.shown[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(messages.shown[0].title, QStringLiteral("mediadrop"));
        // Only the good scene changed anything; no "DONE!" after a refusal.
        QMap<QString, QByteArray> expected = before;
        expected.insert(QStringLiteral("Velm5Pro/Scenes/Good.scn"), "good scene");
        EXPECT_EQ(snapshot(root), expected);
        EXPECT_EQ(window.Text1->toPlainText(), logLine(QStringLiteral("Scenes"), QStringLiteral("Good.scn")));
    }
    // Nothing reached the folders above the rows either.
    EXPECT_FALSE(QFileInfo::exists(tempPath(QStringLiteral("x"))));
}

// However many files are refused, their message fits on a screen: ten are
// named and the rest counted. The log, which scrolls, still has every line.
TEST_F(HostilePackageTest, ManyRefusedFilesAreCountedPastTen)
{
    makeInstallFolder();
    const int refusedCount = 25;
    for (int i = 1; i <= refusedCount; ++i) {
        const QString name = QStringLiteral("Deep%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
        QDir().mkpath(installFolder + QStringLiteral("/Images/") + name);
        packageFile(QStringLiteral("Images"), name, "deep");
    }
    installer::Form1 &window = openWindow();
    messages.answers.enqueue(MsgResult::Ok);
    clickInstall(window);

    ASSERT_EQ(messages.shown.size(), 1) << messages.texts().join(u'|').toStdString();
    const QStringList lines = messages.shown[0].text.split(u'\n');
    // The heading, a blank line, ten files and the count.
    ASSERT_EQ(lines.size(), 13) << messages.shown[0].text.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("These files of the package were not installed:"));
    EXPECT_TRUE(lines[2].contains(QStringLiteral("Deep01.jpg"))) << lines[2].toStdString();
    EXPECT_TRUE(lines[11].contains(QStringLiteral("Deep10.jpg"))) << lines[11].toStdString();
    EXPECT_EQ(lines[12], QStringLiteral("and 15 more"));
}

// A name in bytes that are no UTF-8 text cannot be named to the user or found
// again by its text: such a file is passed over like a hidden one.
TEST_F(HostilePackageTest, ANameThatIsNoTextIsPassedOver)
{
    makeInstallFolder();
    packageFile(QStringLiteral("Images"), QStringLiteral("Good.jpg"), "good");
    const QByteArray bad = QFile::encodeName(env.program + QStringLiteral("/Files/Images/")) + "Bad\xFF.jpg";
    const int fd = ::open(bad.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "bad", 3), 3);
    ::close(fd);
    const QMap<QString, QByteArray> before = snapshot(installFolder);

    installer::Form1 &window = openWindow();
    clickInstall(window);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(logBeforeDone(), logLine(QStringLiteral("Images"), QStringLiteral("Good.jpg")));
    QMap<QString, QByteArray> expected = before;
    expected.insert(QStringLiteral("Images/Good.jpg"), "good");
    EXPECT_EQ(snapshot(installFolder), expected);
    // The temporary folder cannot remove what it cannot name.
    EXPECT_EQ(::unlink(bad.constData()), 0);
}
