// The share package as the upload button builds it from a scene the scene
// writer saved and the library window loaded: the staged files, the archive
// as Python's zipfile and "unzip -t" read it, the side files byte for byte,
// and nothing of an earlier scene. The loopback receiver takes the uploads;
// no relay is set, so no mail goes out. A scene whose frames are missing by
// the hundred is refused in a box that fits on a screen.

#include "tests/sharing/ShareWindowFixture.h"

#include "tests/installer/InstallerFixture.h" // snapshot()
#include "tests/sharing/ZipReaders.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QImageReader>
#include <QLayout>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>

namespace {

class SharePackageWindowTest : public ShareWindowTest {
protected:
    void SetUp() override
    {
        ShareWindowTest::SetUp();
        startReceiver();
        writeSettings(QStringLiteral("127.0.0.1:%1").arg(receiver->port()));
    }
    // Confirms an upload and waits for the five files to go up.
    void upload(VelmNShare &w)
    {
        messages.shown.clear();
        messages.answers.append({MsgResult::Yes, MsgResult::Ok, MsgResult::Ok});
        clickUpload(w);
        waitUntilIdle(w);
        ASSERT_EQ(messages.texts(), (QStringList{ShareConfirmText, ShareStartText, kShareCompleted}));
        EXPECT_FALSE(w.UploadTimeOut->Enabled());
    }
};

TEST_F(SharePackageWindowTest, EveryLayerOfASavedSceneIsStagedAndArchivedExactly)
{
    const QString name = QStringLiteral("Caf\u00e9");
    saveEveryLayer(name);
    const QStringList written = QDir(base(QStringLiteral("Images"))).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(written.size(), 2 + 7 + 4 + 7 + 4 + 14 + 9 + 3 + 3) << written.join(u' ').toStdString();

    VelmNShare &w = openLibrary();
    click(w.List1, name);
    // An empty entry: the entries after it still go.
    scene().Files.ExtraFrameFiles[2].clear();
    type(w.Text2, QStringLiteral("Sandy"));
    type(w.Text3, QStringLiteral("5 \u20ac \u03a9"));
    upload(w);

    const QString upload = w.UploadName;
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Caf\u00e9[1-9][0-9]{8}$")).match(upload).hasMatch());
    EXPECT_EQ(w.DestinationUrl, QStringLiteral("http://127.0.0.1:%1/VSH-APRV/post_dump.php").arg(receiver->port()));

    QStringList expected{QStringLiteral("Files/Scenes/Caf\u00e9.scn"), QStringLiteral("Files/Sounds/rain.wav"),
                         QStringLiteral("mediadrop.exe")};
    for (const QString &picture : written)
        if (picture != name + QStringLiteral("Extra02.jpg"))
            expected << QStringLiteral("Files/Images/") + picture;
    expected.sort();
    EXPECT_EQ(filesUnder(staged()), expected);

    const ZipRead read = readZipWithPython(zips(upload + QStringLiteral(".zip")));
    ASSERT_TRUE(read.ok) << read.error.toStdString();
    EXPECT_EQ(read.names(), expected);
    for (const ZipEntryRead &e : read.entries) {
        SCOPED_TRACE(e.name.toStdString());
        EXPECT_EQ(e.sha256, fileSha256(staged(e.name)));
        EXPECT_EQ(e.mode, 0100000 | (e.name == QLatin1String("mediadrop.exe") ? 0755 : 0644));
        EXPECT_TRUE(e.utf8 || !e.name.contains(name));
        if (e.name.startsWith(QLatin1String("Files/Images/"))) {
            EXPECT_EQ(e.sha256, fileSha256(base(QStringLiteral("Images/")) + e.name.mid(13)));
        }
    }
    EXPECT_EQ(read.entry(QStringLiteral("mediadrop.exe"))->sha256, fileSha256(env.program + QStringLiteral("/mediadrop")));
    QString unzipSays;
    EXPECT_TRUE(unzipTestPasses(zips(upload + QStringLiteral(".zip")), &unzipSays)) << unzipSays.toStdString();

    // The side files.
    EXPECT_EQ(bytesOf(zips(upload + QStringLiteral(".txt"))), QByteArray("Sandy\r\n"));
    EXPECT_EQ(bytesOf(zips(upload + QStringLiteral("-cmnt.txt"))), QByteArray("5 \x80 ?\r\n"));
    EXPECT_TRUE(bytesOf(zips(upload + QStringLiteral("-2.jpg"))) == bytesOf(base(QStringLiteral("Images/Caf\u00e9BG.jpg"))));
    QImageReader thumbnail(zips(upload + QStringLiteral(".jpg")));
    EXPECT_EQ(thumbnail.format(), QByteArray("jpeg"));
    EXPECT_EQ(thumbnail.size(), QSize(140, 100));
}

TEST_F(SharePackageWindowTest, ASecondSceneTakesNothingOfTheFirstAndEveryArchiveStays)
{
    writeBeach(QStringLiteral("A"));
    writeBeach(QStringLiteral("B"));
    writeList("A\n\r\r\nB\n\r\r\n");
    // What an earlier upload left: a file goes, a folder stays.
    writeFile(staged(QStringLiteral("Files/Images/Old.jpg")), "old");
    writeFile(staged(QStringLiteral("Files/Images/sub/kept.jpg")), "kept");

    VelmNShare &w = openLibrary();
    type(w.Text2, QStringLiteral("Sandy"));
    click(w.List1, QStringLiteral("A"));
    upload(w);
    const QString a = w.UploadName;
    EXPECT_TRUE(filesUnder(staged(QStringLiteral("Files/Images"))).contains(QStringLiteral("AMouth07.jpg")));

    click(w.List1, QStringLiteral("B"));
    QStringList names;
    for (float r : {0.25f, 0.75f}) {
        random.values.enqueue(r);
        upload(w);
        names << w.UploadName;
    }

    QStringList bFiles{QStringLiteral("BBG.jpg")};
    for (int n = 1; n <= 7; ++n)
        bFiles << QStringLiteral("BMouth0%1.jpg").arg(n);
    EXPECT_EQ(filesUnder(staged(QStringLiteral("Files/Images"))), bFiles + QStringList{QStringLiteral("sub/kept.jpg")});
    EXPECT_EQ(filesUnder(staged(QStringLiteral("Files/Scenes"))), QStringList{QStringLiteral("B.scn")});
    const ZipRead read = readZipWithPython(zips(names.last() + QStringLiteral(".zip")));
    ASSERT_TRUE(read.ok) << read.error.toStdString();
    for (const QString &entry : read.names())
        EXPECT_FALSE(entry.contains(QLatin1String("/A"))) << entry.toStdString();
    EXPECT_EQ(read.names().size(), 1 + 8 + 1 + 1); // scene, pictures, the folder's picture, installer

    const QRegularExpression shape(QStringLiteral("^B[1-9][0-9]{8}$"));
    for (const QString &upload : names)
        EXPECT_TRUE(shape.match(upload).hasMatch()) << upload.toStdString();
    EXPECT_NE(names[0], names[1]);
    for (const QString &upload : QStringList{a} + names)
        for (const char *ending : {".zip", ".jpg", ".txt", "-2.jpg", "-cmnt.txt"})
            EXPECT_TRUE(QFile::exists(zips(upload + QLatin1String(ending)))) << upload.toStdString() << ending;
}

// The largest box a screen of 1366 x 768 shows whole, in logical pixels.
constexpr QSize kScreen(1366, 768);

// The box the program shows for a message with an OK button, laid out at the
// size it asks for: that size, and where its OK button lies in it.
struct BoxLayout {
    QSize size;
    QRect okButton;
};
BoxLayout layOutBox(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, programTitle(), text, QMessageBox::Ok);
    box.ensurePolished();
    const QSize size = box.sizeHint();
    box.layout()->setGeometry(QRect(QPoint(0, 0), size));
    const QAbstractButton *ok = box.button(QMessageBox::Ok);
    return {size, QRect(ok->mapTo(&box, QPoint(0, 0)), ok->size())};
}

// A scene that names a thousand extra frames of which only frame 01 is in
// Images: the refusal names the first ten missing, counts the rest, and its
// box fits on a screen with its OK button in it. CTest runs this again at a
// device pixel ratio of 2, a font DPI of 144 under Qt's scaling, and a logical
// DPI of 144 (the text drawn half as large again in logical pixels).
TEST_F(SharePackageWindowTest, ARefusalForAThousandMissingFramesFitsOnAScreen)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    SCOPED_TRACE(::testing::Message() << "device pixel ratio " << screen->devicePixelRatio() << ", logical DPI "
                                      << screen->logicalDotsPerInchY());
    writeBeach(QStringLiteral("Crowd"), "MP=CrowdExtra01.jpg;\r\nMPh=30;\r\nMPw=40;\r\nMPx=10;\r\nMPy=20;\r\n"
                                        "MF=1000;\r\n");
    writePicture(QStringLiteral("CrowdExtra01.jpg"), QSize(40, 30), qRgb(90, 90, 90));
    writeList("Crowd\n\r\r\n");
    VelmNShare &w = openLibrary();
    click(w.List1, QStringLiteral("Crowd"));
    ASSERT_EQ(scene().Files.ExtraFrameFiles[1000], QStringLiteral("CrowdExtra1000.jpg"));
    type(w.Text2, QStringLiteral("Sandy"));
    const auto before = snapshot(documentsFolder());
    messages.shown.clear();
    messages.answers.append({MsgResult::Yes, MsgResult::Ok});
    clickUpload(w);

    QStringList missing;
    for (int n = 2; n <= 1000; ++n)
        missing << QDir::toNativeSeparators(base(QStringLiteral("Images/CrowdExtra%1.jpg").arg(n, 2, 10, QLatin1Char('0'))));
    const QString intro = QStringLiteral("The scene cannot be uploaded. These files are missing:\n");
    QStringList lines = missing.first(10);
    lines << QStringLiteral("and 989 more");
    ASSERT_EQ(messages.texts(), (QStringList{ShareConfirmText, intro + lines.join(u'\n')}));
    EXPECT_EQ(messages.shown[1].buttons, MsgButtons::Ok);
    EXPECT_TRUE(snapshot(documentsFolder()) == before) << "something was written";
    EXPECT_TRUE(QDir(received).entryList(QDir::Files).isEmpty()) << "nothing went up";

    const BoxLayout box = layOutBox(messages.shown[1].text);
    EXPECT_LT(box.size.height(), kScreen.height()) << box.size.height();
    EXPECT_LT(box.size.width(), kScreen.width()) << box.size.width();
    EXPECT_TRUE(QRect(QPoint(0, 0), box.size).contains(box.okButton)) << box.okButton.y();
    // Every name listed, as before, does not fit: the measure tells the two apart.
    const BoxLayout everyName = layOutBox(intro + missing.join(u'\n'));
    EXPECT_GT(everyName.size.height(), kScreen.height());
    EXPECT_GT(everyName.okButton.top(), kScreen.height());
    std::cout << "[ FIGURES  ] box of the refusal " << box.size.width() << " x " << box.size.height()
              << ", with every name " << everyName.size.width() << " x " << everyName.size.height() << "\n";
}

} // namespace
