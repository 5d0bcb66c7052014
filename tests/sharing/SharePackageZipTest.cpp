// A planned package staged and zipped as the upload button does it, read back
// by Python's zipfile and "unzip -t": the archive holds exactly the scene's
// pictures (JPEG and BMP, in any letter case), scene file, sounds and the
// installer, and nothing of an earlier upload's scene.

#include "core/sharing/ShareFolders.h"
#include "sharing/SharePackage.h"
#include "adapters/zip/cZip.h"

#include "tests/sharing/ZipReaders.h"
#include "tests/support/program/ScriptedWindows.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

class SharePackageZipTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(writeFileAtomically(env.program + QStringLiteral("/mediadrop"), QByteArray("\x7f" "ELF", 4)));
    }

    void put(const QString &relative, const QByteArray &bytes)
    {
        const QString path = baseFolder() + relative;
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        ASSERT_TRUE(writeFileAtomically(path, bytes));
    }

    ShareInputs scene(const QString &name)
    {
        ShareInputs in;
        in.BaseFolder = baseFolder();
        in.programFolder = env.program;
        in.SelectSceneList = 1;
        in.SelectScene = name;
        in.MainPicFileName = name + QStringLiteral("BG.jpg");
        in.handle = QStringLiteral("me");
        put(QStringLiteral("Scenes/") + name + QStringLiteral(".scn"), "BG=" + name.toUtf8() + "BG.jpg;\r\n\r\n");
        put(QStringLiteral("Images/") + in.MainPicFileName, "background of " + name.toUtf8());
        return in;
    }

    // Does what the upload button does with a plan; plain file copies stand
    // in for the program's copy helper.
    void stageAndZip(const SharePlan &plan)
    {
        ASSERT_TRUE(plan.refusal.isEmpty()) << plan.refusal.toStdString();
        const FileResult prepared = PrepareShareFolders(baseFolder());
        ASSERT_TRUE(prepared) << prepared.error.toStdString();
        QList<ShareCopy> copies = plan.pictures;
        copies << plan.installer << plan.secondPicture << plan.scene;
        for (const ShareCopy &c : copies) {
            QFile::remove(c.destination);
            ASSERT_TRUE(QFile::copy(c.source, c.destination)) << c.source.toStdString();
        }
        ASSERT_TRUE(writeFileAtomically(plan.commentFile.path, plan.commentFile.bytes));
        ASSERT_TRUE(writeFileAtomically(plan.handleFile.path, plan.handleFile.bytes));
        zipSharePackage(zip, baseFolder(), plan.UploadName);
        ASSERT_TRUE(zip.Success()) << zip.LastError().toStdString();
        EXPECT_EQ(zip.ZipFile(), plan.zipFile);
    }

    cZip zip;
};

TEST_F(SharePackageZipTest, TheArchiveHoldsTheScenesFilesUnderTheirFolders)
{
    ShareInputs in = scene(QStringLiteral("Caf\u00e9"));
    in.Files.MainMouthFrameFiles[1] = QStringLiteral("X.JPG");
    put(QStringLiteral("Images/X.JPG"), "upper case mouth");
    in.Files.ExtraFrameFiles[1] = QStringLiteral("Caf\u00e9Extra01.jpg");
    put(QStringLiteral("Images/caf\u00e9extra01.JPG"), "extra frame found ignoring case");
    in.Files.TriggerFrameFiles[1] = QStringLiteral("Trigger01.bmp");
    put(QStringLiteral("Images/Trigger01.bmp"), "BM trigger frame");
    in.NudyFilename = QStringLiteral("Caf\u00e9Night.JPEG");
    put(QStringLiteral("Images/Caf\u00e9Night.JPEG"), "alternate picture");
    in.Files.SoundFiles[1] = QStringLiteral("rain.wav");
    put(QStringLiteral("Sounds/rain.wav"), "RIFF");
    const SharePlan plan = planSharePackage(in);
    stageAndZip(plan);

    EXPECT_TRUE(QFile::exists(baseFolder() + QStringLiteral("Data/Temp/ShareTemp/Files/Images/Trigger01.bmp")));
    const ZipRead read = readZipWithPython(plan.zipFile);
    ASSERT_TRUE(read.ok) << read.error.toStdString();
    EXPECT_EQ(read.names(), (QStringList{"Files/Images/Caf\u00e9BG.jpg", "Files/Images/Caf\u00e9Extra01.jpg",
                                         "Files/Images/Caf\u00e9Night.JPEG", "Files/Images/Trigger01.bmp",
                                         "Files/Images/X.JPG", "Files/Scenes/Caf\u00e9.scn",
                                         "Files/Sounds/rain.wav", "mediadrop.exe"}));
    for (const ZipEntryRead &e : read.entries) {
        SCOPED_TRACE(e.name.toStdString());
        EXPECT_EQ(e.sha256, fileSha256(plan.stagingRoot + u'/' + e.name));
        EXPECT_EQ(e.mode, 0100000 | (e.name == QLatin1String("mediadrop.exe") ? 0755 : 0644));
    }
    EXPECT_EQ(read.entry(QStringLiteral("Files/Images/Caf\u00e9Extra01.jpg"))->sha256,
              fileSha256(baseFolder() + QStringLiteral("Images/caf\u00e9extra01.JPG")));
    EXPECT_EQ(read.entry(QStringLiteral("mediadrop.exe"))->sha256, fileSha256(env.program + "/mediadrop"));
    EXPECT_TRUE(read.entry(QStringLiteral("Files/Scenes/Caf\u00e9.scn"))->utf8);
    QString unzipSays;
    EXPECT_TRUE(unzipTestPasses(plan.zipFile, &unzipSays)) << unzipSays.toStdString();
}

TEST_F(SharePackageZipTest, ASecondSceneTakesNothingOfTheFirstAndBothArchivesStay)
{
    ShareInputs a = scene(QStringLiteral("A"));
    for (int i = 1; i <= 40; ++i) {
        a.Files.ExtraFrameFiles[i] = QStringLiteral("AExtra%1.jpg").arg(i, 2, 10, QChar(u'0'));
        put(QStringLiteral("Images/") + a.Files.ExtraFrameFiles[i], "frame");
    }
    const SharePlan first = planSharePackage(a);
    stageAndZip(first);
    put(QStringLiteral("Data/Temp/ShareTemp/Files/Images/sub/kept.txt"), "a folder stays");

    const ShareInputs b = scene(QStringLiteral("B"));
    random.values.enqueue(0.25);
    const SharePlan second = planSharePackage(b);
    stageAndZip(second);
    random.values.enqueue(0.75);
    const SharePlan third = planSharePackage(b);
    stageAndZip(third);

    const ZipRead read = readZipWithPython(third.zipFile);
    ASSERT_TRUE(read.ok) << read.error.toStdString();
    EXPECT_EQ(read.names(), (QStringList{"Files/Images/BBG.jpg", "Files/Scenes/B.scn", "mediadrop.exe"}));
    EXPECT_EQ(QDir(first.stagingRoot + QStringLiteral("/Files/Images")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{"BBG.jpg", "sub"}));

    const QRegularExpression shape(QStringLiteral("^B[1-9][0-9]{8}$"));
    EXPECT_TRUE(shape.match(second.UploadName).hasMatch()) << second.UploadName.toStdString();
    EXPECT_TRUE(shape.match(third.UploadName).hasMatch()) << third.UploadName.toStdString();
    EXPECT_NE(second.UploadName, third.UploadName);
    QStringList zips = QDir(baseFolder() + QStringLiteral("Data/Temp/zips")).entryList(QDir::Files);
    for (const SharePlan *plan : {&first, &second, &third}) {
        for (const QString &path : {plan->zipFile, plan->secondPicture.destination, plan->commentFile.path,
                                    plan->handleFile.path})
            EXPECT_TRUE(zips.removeOne(QFileInfo(path).fileName())) << path.toStdString();
    }
    // Only the thumbnails, which the window's work image writes, are not there.
    EXPECT_EQ(zips, QStringList());
}

} // namespace
