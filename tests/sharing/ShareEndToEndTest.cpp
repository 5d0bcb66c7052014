// A scene travels the whole way: shared through the library window, received
// by the loopback service, unpacked with Python's zipfile as a recipient's
// unzip does (modes kept), installed by the media installer's window into a
// second base folder, and previewed from there with the same background and
// frames as the original. Once from the scene writer with every layer, once
// with pictures in BMP and named ".JPEG".

#include "tests/sharing/ShareWindowFixture.h"
#include "tests/sharing/ZipReaders.h"

#include "core/install/Module1.h"
#include "installer/Form1.h"

#include <QCheckBox>
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
        for (const ImageList *list : {&w.Player->ImageList8, &w.Player->ImageList10, &w.Player->ImageList9, &w.Player->ImageList11, &w.Player->ImageList12,
                                      &w.Player->ImageList1}) {
            p.counts << list->Count();
            for (int n = 1; n <= list->Count(); ++n)
                p.entries << list->Picture(n);
        }
        return p;
    }

    // The real installer, built beside this test, is the one shared.
    QString useBuiltInstaller()
    {
        env.program = QCoreApplication::applicationDirPath();
        return env.program + QStringLiteral("/mediadrop");
    }

    // The first request's archive unpacked into a fresh folder, as a
    // recipient's unzip does it; the folder, ending in "/".
    QString unpackReceived(const QString &name)
    {
        EXPECT_FALSE(waitForRecord(received, QStringLiteral("5.json")).isEmpty());
        const QString package = tempPath(name + u'/');
        QDir().mkpath(package);
        QProcess python;
        python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromLatin1(kUnpack),
                                                          QDir(received).filePath(QStringLiteral("1.payload")), package});
        EXPECT_TRUE(python.waitForFinished(60000));
        EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
        return package;
    }

    // The unpacked package installed by the installer's window, run from it,
    // into a second base folder; that base's documents folder.
    QString installAsRecipient(const QString &package, const QString &name)
    {
        const QString documents = tempPath(name);
        const QString secondBase = documents + QStringLiteral("/Velm5Pro");
        for (const char *media : {"Scenes", "Images", "Sounds", "Skins", "Personalities"})
            EXPECT_TRUE(QDir().mkpath(secondBase + u'/' + QLatin1String(media)));
        const QString registryConfig = tempPath(name + QStringLiteral("Config"));
        RegistryFolder registry(registryConfig);
        writeFile(registryConfig + u'/' + QLatin1String(installer::RegistryFileName),
                  "[HKEY_LOCAL_MACHINE\\Software\\Pellwick Studios\\Velm5Pro]\r\nDirectory=" + secondBase.toUtf8() +
                      "\r\n");
        env.program = package;
        installer::Form1 &installer = form<installer::Form1>();
        installer.Show();
        EXPECT_EQ(installer.Label3->text(), secondBase);
        messages.shown.clear();
        QTest::mouseClick(installer.Command1, Qt::LeftButton);
        EXPECT_EQ(installer.Text1->toPlainText(), QStringLiteral("DONE!"));
        EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'|').toStdString();
        return documents;
    }

    // A fresh program on a documents folder, its library window open.
    VelmNShare &openLibraryOn(const QString &documents)
    {
        destroyAllForms();
        flushDeletes();
        resetSceneState();
        env.documents = documents;
        startProgram();
        EXPECT_EQ(scene().BaseFolder, documents + QStringLiteral("/Velm5Pro/"));
        return openLibrary();
    }

    // Confirms the upload as the user "Sandy" and waits for the completion box.
    void share(VelmNShare &w)
    {
        type(w.Text2, QStringLiteral("Sandy"));
        messages.shown.clear();
        messages.answers.append({MsgResult::Yes, MsgResult::Ok, MsgResult::Ok});
        clickUpload(w);
        waitUntilIdle(w);
        EXPECT_EQ(messages.texts(), (QStringList{ShareConfirmText, ShareStartText, kShareCompleted}));
    }
};

TEST_F(ShareEndToEndTest, SharedReceivedInstalledAndPreviewedAlike)
{
    const QString built = useBuiltInstaller();
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
    share(w);

    // Received and unpacked.
    const QString package = unpackReceived(QStringLiteral("Download"));
    const QString unpackedInstaller = package + QStringLiteral("mediadrop.exe");
    EXPECT_TRUE(bytesOf(unpackedInstaller) == bytesOf(built));
    EXPECT_TRUE(QFileInfo(unpackedInstaller).permissions() & QFileDevice::ExeOwner);

    // Installed by the installer's window into a second base folder.
    closeLibrary();
    const QString recipient = installAsRecipient(package, QStringLiteral("Recipient"));

    // Previewed from there.
    VelmNShare &again = openLibraryOn(recipient);
    click(again.List2, QStringLiteral("Dune"));
    const PreviewPictures installed = preview(again);
    EXPECT_TRUE(installed.background == original.background);
    ASSERT_EQ(installed.counts, original.counts);
    for (int n = 0; n < original.entries.size(); ++n)
        EXPECT_TRUE(installed.entries[n] == original.entries[n]) << "entry " << n + 1;
}

// Pictures other than ".jpg" travel too: mouth frames saved as BMP, and an
// alternate background in BMP or named ".JPEG". The archive holds them, the
// installer puts them in place, and the recipient's preview shows the same
// background, mouths and alternate background.
TEST_F(ShareEndToEndTest, BmpAndJpegNamedPicturesTravelWithTheScene)
{
    const struct {
        const char *name;
        const char *alternate; // the alternate background's file name
        const char *format;    // what it is written as
    } cases[] = {
        {"a BMP alternate background", "DuneNight.bmp", "BMP"},
        {"an alternate picture named .JPEG", "DuneNight.JPEG", "JPEG"},
    };
    const QString sender = env.documents;
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString alternate = QString::fromLatin1(c.alternate);
        openLibraryOn(sender); // a fresh program on the sender's side
        closeLibrary();
        ASSERT_TRUE(QFile::exists(useBuiltInstaller()));
        writePicture(QStringLiteral("DuneBG.jpg"), QSize(600, 400), qRgb(20, 60, 120));
        QStringList mouths;
        for (int m = 1; m <= 7; ++m) {
            mouths << QStringLiteral("DuneMouth0%1.bmp").arg(m);
            draw(base(QStringLiteral("Images/") + mouths.last()), m, QSize(40, 30));
        }
        QImage night(600, 400, QImage::Format_RGB32);
        night.fill(qRgb(10, 10, 60));
        ASSERT_TRUE(night.save(base(QStringLiteral("Images/") + alternate), c.format));
        writeScene(QStringLiteral("Dune"), "BG=DuneBG.jpg;\r\nKM=DuneMouth01.bmp;\r\nKMh=30;\r\nKMw=40;\r\nKMx=10;\r\n"
                                           "KMy=20;\r\nNI=" + alternate.toLatin1() + ";\r\n\r\n");
        writeList("Dune\n\r\r\n");

        serveLocally();
        VelmNShare &w = openLibrary();
        click(w.List1, QStringLiteral("Dune"));
        const PreviewPictures original = preview(w);
        ASSERT_FALSE(original.background.isNull());
        random.values.enqueue(0.2 + 0.3 * n); // a fresh upload name
        share(w);
        QTest::mouseClick(w.Check1, Qt::LeftButton);
        const QImage originalAlternate = w.MainPic->Picture();
        ASSERT_FALSE(originalAlternate == original.background) << "the box shows the alternate background";

        const QString package = unpackReceived(QStringLiteral("Download%1").arg(n));
        QStringList wanted = QStringList{QStringLiteral("DuneBG.jpg"), alternate} + mouths;
        wanted.sort();
        const ZipRead archive = readZipWithPython(QDir(received).filePath(QStringLiteral("1.payload")));
        ASSERT_TRUE(archive.ok) << archive.error.toStdString();
        QStringList listed;
        for (const QString &entry : archive.names())
            if (entry.startsWith(QLatin1String("Files/Images/")))
                listed << entry.mid(13);
        EXPECT_EQ(listed, wanted);
        closeLibrary();
        const QString recipient = installAsRecipient(package, QStringLiteral("Recipient%1").arg(n++));
        const QString installedImages = recipient + QStringLiteral("/Velm5Pro/Images/");
        for (const QString &picture : wanted)
            EXPECT_EQ(bytesOf(installedImages + picture), bytesOf(base(QStringLiteral("Images/")) + picture))
                << picture.toStdString();

        VelmNShare &again = openLibraryOn(recipient);
        click(again.List2, QStringLiteral("Dune"));
        const PreviewPictures installed = preview(again);
        EXPECT_TRUE(installed.background == original.background);
        EXPECT_EQ(installed.counts, original.counts);
        EXPECT_TRUE(installed.entries == original.entries);
        QTest::mouseClick(again.Check1, Qt::LeftButton);
        EXPECT_TRUE(again.MainPic->Picture() == originalAlternate);
        closeLibrary();
    }
}

} // namespace
