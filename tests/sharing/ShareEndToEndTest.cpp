// A scene from the scene writer travels the whole way: shared through the
// library window, received by the loopback service, unpacked with Python's
// zipfile as a recipient's unzip does (modes kept), installed by the media
// installer's window into a second base folder, and previewed from there with
// the same background and frames as the original.

#include "tests/sharing/ShareWindowFixture.h"

#include "core/install/Module1.h"
#include "installer/Form1.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>

#include <optional>

namespace {

// Unpacks every entry and gives it the Unix mode stored with it.
const char kUnpack[] = R"(import os, sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    for info in z.infolist():
        path = z.extract(info, sys.argv[2])
        mode = (info.external_attr >> 16) & 0o777
        if mode:
            os.chmod(path, mode)
)";

// Points the installer's registry look-up at a folder of the test's, and back.
class RegistryFolder {
public:
    explicit RegistryFolder(const QString &folder) : saved_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")
                                                                ? std::optional(qgetenv("XDG_CONFIG_HOME"))
                                                                : std::nullopt)
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder));
    }
    ~RegistryFolder()
    {
        if (saved_)
            qputenv("XDG_CONFIG_HOME", *saved_);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

private:
    std::optional<QByteArray> saved_;
};

struct PreviewPictures {
    QImage background;
    QList<QImage> entries; // every entry of every layer's display list, in order
    QList<int> counts;     // the entries of each list
};

class ShareEndToEndTest : public ShareWindowTest {
protected:
    // The talk and smile mouths, the blinks and brows, the user's mouths and
    // blinks, the extra and the trigger, as the preview shows them.
    PreviewPictures preview(const VelmNShare &w) const
    {
        PreviewPictures p{w.MainPic->Picture(), {}, {}};
        for (const ImageList *list : {&w.ImageList8, &w.ImageList10, &w.ImageList9, &w.ImageList11, &w.ImageList12,
                                      &w.ImageList1}) {
            p.counts << list->Count();
            for (int n = 1; n <= list->Count(); ++n)
                p.entries << list->Picture(n);
        }
        return p;
    }
};

TEST_F(ShareEndToEndTest, SharedReceivedInstalledAndPreviewedAlike)
{
    // The real installer, built beside this test.
    env.program = QCoreApplication::applicationDirPath();
    const QString built = env.program + QStringLiteral("/mediadrop");
    ASSERT_TRUE(QFile::exists(built));

    // A scene saved by the writer with every layer.
    saveEveryLayer(QStringLiteral("Dune"));

    // Shared through the library window.
    serveLocally();
    VelmNShare &w = openLibrary();
    click(w.List1, QStringLiteral("Dune"));
    const PreviewPictures original = preview(w);
    // 22 talk mouths and 30 smile entries; 15 blink and brow entries; the user's
    // 22 mouths and 5 blinks; extra and trigger frames 01 to 03 with frame 01 first.
    ASSERT_EQ(original.counts, (QList<int>{52, 15, 22, 5, 4, 4}));
    type(w.Text2, QStringLiteral("Sandy"));
    messages.shown.clear();
    messages.answers.append({MsgResult::Yes, MsgResult::Ok, MsgResult::Ok});
    clickUpload(w);
    waitUntilIdle(w);
    ASSERT_EQ(messages.texts(), (QStringList{ShareConfirmText, ShareStartText, kShareCompleted}));

    // Received and unpacked.
    ASSERT_FALSE(waitForRecord(received, QStringLiteral("5.json")).isEmpty());
    const QString package = tempPath(QStringLiteral("Download/"));
    QDir().mkpath(package);
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QString::fromLatin1(kUnpack), QDir(received).filePath(QStringLiteral("1.payload")), package});
    ASSERT_TRUE(python.waitForFinished(60000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    const QString unpackedInstaller = package + QStringLiteral("mediadrop.exe");
    EXPECT_TRUE(bytesOf(unpackedInstaller) == bytesOf(built));
    EXPECT_TRUE(QFileInfo(unpackedInstaller).permissions() & QFileDevice::ExeOwner);

    // Installed by the installer's window into a second base folder.
    closeLibrary();
    const QString secondDocuments = tempPath(QStringLiteral("Recipient"));
    const QString secondBase = secondDocuments + QStringLiteral("/Velm5Pro");
    for (const char *media : {"Scenes", "Images", "Sounds", "Skins", "Personalities"})
        ASSERT_TRUE(QDir().mkpath(secondBase + u'/' + QLatin1String(media)));
    const QString registryConfig = tempPath(QStringLiteral("RecipientConfig"));
    RegistryFolder registry(registryConfig);
    writeFile(registryConfig + u'/' + QLatin1String(installer::RegistryFileName),
              "[HKEY_LOCAL_MACHINE\\Software\\Pellwick Studios\\Velm5Pro]\r\nDirectory=" + secondBase.toUtf8() + "\r\n");
    env.program = package;
    installer::Form1 &installer = form<installer::Form1>();
    installer.Show();
    EXPECT_EQ(installer.Label3->text(), secondBase);
    messages.shown.clear();
    QTest::mouseClick(installer.Command1, Qt::LeftButton);
    EXPECT_EQ(installer.Text1->toPlainText(), QStringLiteral("DONE!"));
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'|').toStdString();

    // Previewed from there.
    destroyAllForms();
    flushDeletes();
    resetSceneState();
    env.documents = secondDocuments;
    startProgram();
    ASSERT_EQ(scene().BaseFolder, secondBase + u'/');
    VelmNShare &again = openLibrary();
    click(again.List2, QStringLiteral("Dune"));
    const PreviewPictures installed = preview(again);
    EXPECT_TRUE(installed.background == original.background);
    ASSERT_EQ(installed.counts, original.counts);
    for (int n = 0; n < original.entries.size(); ++n)
        EXPECT_TRUE(installed.entries[n] == original.entries[n]) << "entry " << n + 1;
}

} // namespace
