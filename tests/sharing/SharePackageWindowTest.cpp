// The share package as the upload button builds it from a scene the scene
// writer saved and the library window loaded: the staged files, the archive
// as Python's zipfile and "unzip -t" read it, the side files byte for byte,
// and nothing of an earlier scene. Without a host the upload ends at once with
// "Invalid Host", so these tests need no receiver.

#include "tests/sharing/ShareWindowFixture.h"

#include "designers/frmFormDesign.h"
#include "designers/frmFormDesignB.h"
#include "designers/frmFormDesignC.h"
#include "designers/frmFormDesignD.h"
#include "scene/ExtraAnimProps.h"
#include "scene/SaveScene.h"
#include "scene/Sound.h"
#include "tests/sharing/ZipReaders.h"

#include <QImageReader>
#include <QRegularExpression>

namespace {

const QString kInvalidHost = QStringLiteral("Invalid Host");

class SharePackageWindowTest : public ShareWindowTest {
protected:
    // Frame n of a series: a shade of its own, so that frames can be told apart.
    static void draw(const QString &path, int n, QSize size = QSize(500, 500))
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor((10 * n) % 256, (37 * n) % 256, 128));
        ASSERT_TRUE(image.save(path, "BMP")) << path.toStdString();
    }
    // Frames base & first .. first + count - 1 of a picked set, as its loader fills it.
    void pickSet(AnimFrameSet &set, const QString &name, int first, int count)
    {
        for (int n = first; n < first + count; ++n)
            draw(series + name + QStringLiteral("%1.bmp").arg(n, 2, 10, QLatin1Char('0')), 100 + n);
        set.FirstFramePath = series + name + QStringLiteral("%1.bmp").arg(first, 2, 10, QLatin1Char('0'));
        set.FrameFolder = series;
        set.FrameBaseName = name;
        set.FrameExt = QStringLiteral(".bmp");
        set.FirstFrame = Value::integer(int16_t(first));
        set.LastFrame = Value::integer(int16_t(first + count - 1));
        set.FrameCount = Value::integer(int16_t(count));
    }

    // A scene with every layer, saved by the scene writer as the set-up
    // leaves it: main mouth and blink, smile, brow, the user's mouth and
    // blink, an extra animation of `extraFrames`, a trigger, an alternate
    // picture and a sound.
    void saveEveryLayer(const QString &name, int extraFrames = 3)
    {
        series = tempPath(QStringLiteral("art/"));
        QDir().mkpath(series);
        for (int n = 1; n <= 21; ++n)
            draw(series + QStringLiteral("Girl%1.bmp").arg(n, 4, 10, QLatin1Char('0')), n);
        SceneState &s = scene();
        s.PrimaryFirstFramePath = series + QStringLiteral("Girl0001.bmp");
        s.PrimaryFramePrefix = series + QStringLiteral("Girl");
        s.PrimaryFrameExt = QStringLiteral(".bmp");
        ASSERT_TRUE(form<frmFormDesign>().CropPrimaryFrames());
        ASSERT_TRUE(form<frmFormDesignB>().CropPrimaryFrames());
        ASSERT_TRUE(form<frmFormDesignC>().CropPrimaryFrames());
        ASSERT_TRUE(form<frmFormDesignD>().CropPrimaryFrames());
        s.LayerPlacements[LayerMainMouth] = {Value::longValue(350), Value::longValue(250), Value::real(56),
                                             Value::real(41)};
        s.SceneHasMainBlink = s.MainBlinkPlaced = FlagOn;
        s.SceneHasUser = s.UserMouthPlaced = s.SceneHasUserBlink = s.UserBlinkPlaced = FlagOn;
        s.SceneHasSmile = s.SceneHasBrow = FlagOn;
        pickSet(s.ExtraFrameSet, QStringLiteral("Fish"), 1, extraFrames);
        s.SceneHasExtraAnim = s.ExtraPlaced = FlagOn;
        form<ExtraAnimProps>().Text2->setText(QString::number(extraFrames));
        pickSet(s.TriggerFrameSet, QStringLiteral("Trig"), 1, 3);
        s.TriggerFrameSet.FrameCount = QStringLiteral("3");
        s.SceneHasTrigger = s.TriggerPlaced = FlagOn;
        draw(tempPath(QStringLiteral("Night.bmp")), 3, QSize(120, 90));
        s.SceneHasAltImage = FlagOn;
        s.AltImagePath = tempPath(QStringLiteral("Night.bmp"));
        form<Sound>().Text4->setText(QStringLiteral("rain.wav"));
        writeFile(base(QStringLiteral("Sounds/rain.wav")), "RIFF rain");

        SaveScene &w = form<SaveScene>();
        w.Show();
        w.Text1->setText(name);
        messages.answers.enqueue(MsgResult::Ok);
        QTest::mouseClick(w.Image1, Qt::LeftButton);
        ASSERT_EQ(messages.texts(), QStringList{QStringLiteral("Your Scene has been saved.")});
        messages.shown.clear();
        w.Hide();
    }

    // The frames of a layer whose preview section this build lacks stay
    // unnamed after the load; they are named here as the writer named them,
    // which is what such a section reads from the scene file.
    void nameFramesThePreviewLeftOut(const QString &name)
    {
        SceneFileLists &f = scene().Files;
        const std::pair<QStringList *, const char *> lists[] = {
            {&f.MainBlinkFrameFiles, "Blink"}, {&f.UserMouthFrameFiles, "UserMouth"},
            {&f.UserBlinkFrameFiles, "UserBlink"}, {&f.SmileFrameFiles, "Smile"}, {&f.BrowFrameFiles, "Brow"},
            {&f.ExtraFrameFiles, "Extra"}, {&f.TriggerFrameFiles, "Trigger"},
        };
        for (const auto &[list, word] : lists) {
            if (std::any_of(list->begin(), list->end(), [](const QString &e) { return !e.isEmpty(); }))
                continue;
            for (int n = 1; n < list->size(); ++n) {
                const QString file = name + QLatin1String(word) + QStringLiteral("%1.jpg").arg(n, 2, 10, QLatin1Char('0'));
                if (!QFile::exists(base(QStringLiteral("Images/") + file)))
                    break;
                (*list)[n] = file;
            }
        }
        if (f.SoundFiles[1].isEmpty())
            f.SoundFiles[1] = QStringLiteral("rain.wav");
    }

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

    QString series;
};

TEST_F(SharePackageWindowTest, EveryLayerOfASavedSceneIsStagedAndArchivedExactly)
{
    const QString name = QStringLiteral("Caf\u00e9");
    saveEveryLayer(name);
    const QStringList written = QDir(base(QStringLiteral("Images"))).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(written.size(), 2 + 7 + 4 + 7 + 4 + 14 + 9 + 3 + 3) << written.join(u' ').toStdString();

    VelmNShare &w = openLibrary();
    click(w.List1, name);
    nameFramesThePreviewLeftOut(name);
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
