// The share package as the upload button builds it from a scene the scene
// writer saved and the library window loaded: the staged files, the archive
// as Python's zipfile and "unzip -t" read it, the side files byte for byte,
// and nothing of an earlier scene. Without a host the upload ends at once with
// "Invalid Host", so these tests need no receiver.

#include "tests/sharing/ShareWindowFixture.h"

#include "tests/sharing/ZipReaders.h"

#include <QImageReader>
#include <QRegularExpression>

namespace {

const QString kInvalidHost = QStringLiteral("Invalid Host");

class SharePackageWindowTest : public ShareWindowTest {
protected:
    // Confirms an upload without a host: staged and zipped, then "Invalid Host".
    void uploadWithoutHost(VelmNShare &w)
    {
        messages.shown.clear();
        messages.answers.append({MsgResult::Yes, MsgResult::Ok, MsgResult::Ok});
        clickUpload(w);
        ASSERT_EQ(messages.texts(), (QStringList{ShareConfirmText, ShareStartText, kInvalidHost}));
        EXPECT_EQ(messages.shown[2].title, QStringLiteral("ERROR"));
        EXPECT_EQ(messages.shown[2].icon, MsgIcon::Critical);
        EXPECT_FALSE(w.Upload().isRunning());
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
    uploadWithoutHost(w);

    const QString upload = w.UploadName;
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Caf\u00e9[1-9][0-9]{8}$")).match(upload).hasMatch());
    EXPECT_EQ(w.DestinationUrl, QStringLiteral("http:///VSH-APRV/post_dump.php"));

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
    uploadWithoutHost(w);
    const QString a = w.UploadName;
    EXPECT_TRUE(filesUnder(staged(QStringLiteral("Files/Images"))).contains(QStringLiteral("AMouth07.jpg")));

    click(w.List1, QStringLiteral("B"));
    QStringList names;
    for (float r : {0.25f, 0.75f}) {
        random.values.enqueue(r);
        uploadWithoutHost(w);
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

} // namespace
