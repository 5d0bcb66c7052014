// The share package planned from a previewed scene: the copies in their order,
// refusals that leave no trace, names from a scene that must not reach the
// archive, the side files' bytes and the upload name's draw.

#include "core/sharing/ShareFolders.h"
#include "sharing/SharePackage.h"

#include "tests/support/program/ScriptedWindows.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <cmath>

namespace {

class SharePlanTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        arrangeScene();
    }

    // Scene B with its background, alternate and scene file, the installer,
    // and the window's names for it.
    void arrangeScene()
    {
        put(QStringLiteral("Scenes/B.scn"), "BG=BBG.jpg;\r\n\r\n");
        put(QStringLiteral("Images/BBG.jpg"), "background");
        put(QStringLiteral("Images/BAlternate.jpg"), "alternate");
        putProgram(QStringLiteral("mediadrop"));
        in = ShareInputs();
        in.BaseFolder = baseFolder();
        in.programFolder = env.program;
        in.SelectSceneList = 1;
        in.SelectScene = QStringLiteral("B");
        in.MainPicFileName = QStringLiteral("BBG.jpg");
        in.handle = QStringLiteral("Anonymous");
        in.comment = QStringLiteral("Optional Comment");
    }

    void put(const QString &relative, const QByteArray &bytes = "picture")
    {
        const QString path = baseFolder() + relative;
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        ASSERT_TRUE(writeFileAtomically(path, bytes));
    }
    void draws(std::initializer_list<double> values)
    {
        random.values.clear();
        for (double v : values)
            random.values.enqueue(v);
    }
    void putProgram(const QString &name) { ASSERT_TRUE(writeFileAtomically(env.program + u'/' + name, "ELF")); }

    // Names a list entry and puts its picture into Images.
    void listed(QStringList SceneFileLists::*list, int index, const QString &name)
    {
        (in.Files.*list)[index] = name;
        put(QStringLiteral("Images/") + name);
    }

    // Every file and folder below the base folder.
    QStringList tree() const
    {
        QStringList out;
        QDirIterator it(baseFolder(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            out << it.next().mid(baseFolder().size());
        out.sort();
        return out;
    }

    static QStringList destinationNames(const QList<ShareCopy> &copies)
    {
        QStringList out;
        for (const ShareCopy &c : copies)
            out << c.destination.section(u'/', -2);
        return out;
    }

    QString staging(const QString &relative) const { return baseFolder() + "Data/Temp/ShareTemp/" + relative; }
    QString zips(const QString &relative) const { return baseFolder() + "Data/Temp/zips/" + relative; }

    ShareInputs in;
};

TEST_F(SharePlanTest, PicturesAreCopiedInTheListsOrderThenTheSounds)
{
    in.NudyFilename = QStringLiteral("BAlternate.jpg");
    for (int i = 1; i <= 7; ++i)
        listed(&SceneFileLists::MainMouthFrameFiles, i, QStringLiteral("BMouth%1.jpg").arg(i, 2, 10, QChar(u'0')));
    listed(&SceneFileLists::UserMouthFrameFiles, 1, QStringLiteral("BUserMouth01.jpg"));
    listed(&SceneFileLists::UserMouthFrameFiles, 2, QStringLiteral("BUserMouth02.jpg"));
    for (int i = 1; i <= 4; ++i)
        listed(&SceneFileLists::MainBlinkFrameFiles, i, QStringLiteral("BBlink0%1.jpg").arg(i));
    listed(&SceneFileLists::UserBlinkFrameFiles, 4, QStringLiteral("BUserBlink04.jpg"));
    listed(&SceneFileLists::SmileFrameFiles, 1, QStringLiteral("BSmile01.jpg"));
    listed(&SceneFileLists::SmileFrameFiles, 14, QStringLiteral("BSmile14.jpg"));
    listed(&SceneFileLists::BrowFrameFiles, 1, QStringLiteral("BBrow01.jpg"));
    listed(&SceneFileLists::ChildFrameFiles, 1, QStringLiteral("BChild01.jpg"));
    listed(&SceneFileLists::ExtraFrameFiles, 1, QStringLiteral("BExtra01.jpg"));
    // Entry 2 is empty: the entries after it still count.
    in.Files.ExtraFrameFiles[3] = QStringLiteral("BExtra03.jpg");
    put(QStringLiteral("Images/BEXTRA03.JPG")); // found whatever its letter case
    listed(&SceneFileLists::ExtraFrameFiles, 1000, QStringLiteral("BExtra1000.jpg"));
    listed(&SceneFileLists::FullAnimFrameFiles, 1, QStringLiteral("BFull01.jpg"));
    listed(&SceneFileLists::TriggerFrameFiles, 1, QStringLiteral("BTrigger01.jpg"));
    listed(&SceneFileLists::TriggerFrameFiles, 2, QStringLiteral("BTrigger02.bmp"));
    // The same name twice is copied once.
    in.Files.TriggerFrameFiles[3] = QStringLiteral("BBG.jpg");
    in.Files.SoundFiles[1] = QStringLiteral("rain.WAV");
    in.Files.SoundFiles[2] = QStringLiteral("gone.wav"); // not in Sounds: left out quietly
    in.Files.SoundFiles[3] = QStringLiteral("bird.wav");
    in.Files.SoundFiles[4] = QStringLiteral("fourth.wav"); // only three sounds count
    put(QStringLiteral("Sounds/rain.WAV"), "RIFF");
    put(QStringLiteral("Sounds/Bird.wav"), "RIFF");
    put(QStringLiteral("Sounds/fourth.wav"), "RIFF");

    const SharePlan plan = planSharePackage(in);
    ASSERT_TRUE(plan.refusal.isEmpty()) << plan.refusal.toStdString();
    const QStringList expected{
        "Images/BBG.jpg", "Images/BAlternate.jpg",
        "Images/BMouth01.jpg", "Images/BUserMouth01.jpg", "Images/BMouth02.jpg", "Images/BUserMouth02.jpg",
        "Images/BMouth03.jpg", "Images/BMouth04.jpg", "Images/BMouth05.jpg", "Images/BMouth06.jpg",
        "Images/BMouth07.jpg",
        "Images/BBlink01.jpg", "Images/BBlink02.jpg", "Images/BBlink03.jpg", "Images/BBlink04.jpg",
        "Images/BUserBlink04.jpg",
        "Images/BSmile01.jpg", "Images/BBrow01.jpg", "Images/BSmile14.jpg",
        "Images/BChild01.jpg", "Images/BExtra01.jpg", "Images/BFull01.jpg", "Images/BTrigger01.jpg",
        "Images/BTrigger02.bmp", "Images/BExtra03.jpg", "Images/BExtra1000.jpg",
        "Sounds/rain.WAV", "Sounds/bird.wav",
    };
    EXPECT_EQ(destinationNames(plan.pictures), expected);
    for (const ShareCopy &c : plan.pictures) {
        SCOPED_TRACE(c.destination.toStdString());
        EXPECT_TRUE(fileExists(c.source));
        EXPECT_TRUE(c.destination.startsWith(staging(QStringLiteral("Files/"))));
    }
    EXPECT_EQ(plan.pictures[24].source, baseFolder() + QStringLiteral("Images/BEXTRA03.JPG"));
    EXPECT_EQ(plan.pictures[27].source, baseFolder() + QStringLiteral("Sounds/Bird.wav"));
    EXPECT_TRUE(plan.leftOut.isEmpty());

    EXPECT_EQ(plan.installer, (ShareCopy{env.program + "/mediadrop", staging("mediadrop.exe")}));
    EXPECT_EQ(plan.scene, (ShareCopy{baseFolder() + "Scenes/B.scn", staging("Files/Scenes/B.scn")}));
    EXPECT_EQ(plan.background, baseFolder() + QStringLiteral("Images/BBG.jpg"));
    EXPECT_EQ(plan.stagingRoot, baseFolder() + QStringLiteral("Data/Temp/ShareTemp"));
}

TEST_F(SharePlanTest, TheUploadNameNamesEveryFileInZips)
{
    draws({0.5});
    const SharePlan plan = planSharePackage(in);
    ASSERT_TRUE(plan.refusal.isEmpty()) << plan.refusal.toStdString();
    EXPECT_EQ(plan.UploadName, QStringLiteral("B550000000"));
    EXPECT_EQ(plan.zipFile, zips("B550000000.zip"));
    EXPECT_EQ(plan.thumbnail, zips("B550000000.jpg"));
    EXPECT_EQ(plan.secondPicture, (ShareCopy{baseFolder() + "Images/BBG.jpg", zips("B550000000-2.jpg")}));
    EXPECT_EQ(plan.handleFile.path, zips("B550000000.txt"));
    EXPECT_EQ(plan.handleFile.bytes, QByteArray("Anonymous\r\n"));
    EXPECT_EQ(plan.commentFile.path, zips("B550000000-cmnt.txt"));
    EXPECT_EQ(plan.commentFile.bytes, QByteArray("Optional Comment\r\n"));
    // Planning writes nothing.
    EXPECT_EQ(tree(), (QStringList{"Images", "Images/BAlternate.jpg", "Images/BBG.jpg", "Scenes", "Scenes/B.scn"}));
}

TEST_F(SharePlanTest, HandleAndCommentFilesAreWindows1252WithCrLf)
{
    const struct {
        const char *name;
        QString text;
        QByteArray bytes;
    } rows[] = {
        {"plain", QStringLiteral("Anonymous"), "Anonymous\r\n"},
        {"empty", QString(), "\r\n"},
        {"euro sign", QStringLiteral("\u20ac5 caf\u00e9"), "\x80" "5 caf\xe9\r\n"},
        {"outside the code page", QStringLiteral("a\u4e2db"), "a?b\r\n"},
        {"a line break typed inside", QStringLiteral("one\r\ntwo"), "one\r\ntwo\r\n"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(shareTextFileBytes(row.text), row.bytes);
        in.comment = row.text;
        EXPECT_EQ(planSharePackage(in).commentFile.bytes, row.bytes);
    }
}

TEST_F(SharePlanTest, RefusalsNameTheirCauseAndLeaveNoTrace)
{
    const struct {
        const char *name;
        std::function<void()> arrange;
        QStringList mentions;
    } rows[] = {
        {"no scene picked", [this] { in.SelectSceneList = 0; },
         {QStringLiteral("Load one of your scenes before uploading it.")}},
        {"no scene name", [this] { in.SelectScene.clear(); },
         {QStringLiteral("Load one of your scenes before uploading it.")}},
        {"a scene name with a folder", [this] { in.SelectScene = QStringLiteral("../B"); },
         {QStringLiteral("\"../B\" is not a plain file name")}},
        {"a background that is a program", [this] { in.MainPicFileName = QStringLiteral("evil.exe"); },
         {QStringLiteral("\"evil.exe\"")}},
        {"a background outside Images",
         [this] { in.MainPicFileName = QStringLiteral("..\\Scenes\\x.jpg"); },
         {QStringLiteral("..\\Scenes\\x.jpg")}},
        {"no background", [this] { in.MainPicFileName.clear(); }, {QStringLiteral("background")}},
        {"the scene file missing", [this] { in.SelectScene = QStringLiteral("Gone"); },
         {QStringLiteral("missing"), QStringLiteral("Scenes/Gone.scn")}},
        {"every missing source in one message",
         [this] {
             QFile::remove(baseFolder() + QStringLiteral("Images/BBG.jpg"));
             QFile::remove(env.program + QStringLiteral("/mediadrop"));
             in.NudyFilename = QStringLiteral("BAlt2.jpg");
             in.Files.MainMouthFrameFiles[1] = QStringLiteral("BMouth01.jpg");
             in.Files.TriggerFrameFiles[1000] = QStringLiteral("BTrigger1000.jpg");
         },
         {QStringLiteral("Images/BBG.jpg"), QStringLiteral("Images/BAlt2.jpg"), QStringLiteral("Images/BMouth01.jpg"),
          QStringLiteral("Images/BTrigger1000.jpg"), QStringLiteral("Program/mediadrop")}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        arrangeScene();
        row.arrange();
        draws({0.25});
        const SharePlan plan = planSharePackage(in);
        for (const QString &text : row.mentions)
            EXPECT_TRUE(plan.refusal.contains(text)) << plan.refusal.toStdString() << " lacks " << text.toStdString();
        EXPECT_TRUE(plan.pictures.isEmpty());
        EXPECT_TRUE(plan.UploadName.isEmpty());
        EXPECT_EQ(random.values.size(), 1); // nothing drawn
        EXPECT_FALSE(QDir(baseFolder() + QStringLiteral("Data")).exists());
    }
}

TEST_F(SharePlanTest, TheInstallerIsTakenWithoutExtensionFirstThenAsExe)
{
    QFile::remove(env.program + QStringLiteral("/mediadrop"));
    putProgram(QStringLiteral("mediadrop.exe"));
    EXPECT_EQ(planSharePackage(in).installer.source, env.program + QStringLiteral("/mediadrop.exe"));
    putProgram(QStringLiteral("mediadrop"));
    EXPECT_EQ(planSharePackage(in).installer.source, env.program + QStringLiteral("/mediadrop"));
}

TEST_F(SharePlanTest, NamesThatAreNoPicturesOfImagesAreLeftOutAndNamed)
{
    const QStringList hostile{
        QStringLiteral("../x.jpg"), QStringLiteral("a\\..\\..\\x.jpg"), QStringLiteral("/etc/passwd"),
        QStringLiteral("C:x.jpg"), QStringLiteral("evil.exe"), QStringLiteral("x.scn"),
    };
    put(QStringLiteral("x.jpg"), "outside Images");
    put(QStringLiteral("Images/evil.exe"), "MZ");
    put(QStringLiteral("Images/x.scn"), "BG=x;");
    in.Files.MainMouthFrameFiles[1] = hostile[0];
    in.Files.ExtraFrameFiles[2] = hostile[1];
    in.Files.ExtraFrameFiles[3] = hostile[2];
    in.Files.TriggerFrameFiles[1] = hostile[3];
    in.Files.SmileFrameFiles[1] = hostile[4];
    in.Files.ChildFrameFiles[999] = hostile[5];
    in.Files.BrowFrameFiles[2] = hostile[4]; // named once
    in.NudyFilename = QStringLiteral("alt/x.jpg");
    in.Files.SoundFiles[1] = QStringLiteral("../s.wav");
    in.Files.SoundFiles[2] = QStringLiteral("s.exe");
    listed(&SceneFileLists::MainMouthFrameFiles, 2, QStringLiteral("BMouth02.jpg"));

    const SharePlan plan = planSharePackage(in);
    ASSERT_TRUE(plan.refusal.isEmpty()) << plan.refusal.toStdString();
    EXPECT_EQ(destinationNames(plan.pictures), (QStringList{"Images/BBG.jpg", "Images/BMouth02.jpg"}));
    EXPECT_EQ(plan.leftOut, (QStringList{"alt/x.jpg", hostile[0], hostile[4], hostile[3], hostile[1], hostile[2],
                                         hostile[5], "../s.wav", "s.exe"}));
    const QString message = leftOutMessage(plan.leftOut);
    for (const QString &name : plan.leftOut)
        EXPECT_TRUE(message.contains(u'\n' + name)) << name.toStdString();
}

// A thousand names left out: the plan keeps every one; the message names the
// first ten in the lists' order and counts the rest.
TEST_F(SharePlanTest, AThousandLeftOutNamesMakeAMessageOfTenAndACount)
{
    QStringList names;
    for (int n = 1; n <= 1000; ++n) {
        in.Files.FullAnimFrameFiles[n] = QStringLiteral("Wave%1.gif").arg(n, 2, 10, QLatin1Char('0'));
        names << in.Files.FullAnimFrameFiles[n];
    }
    const SharePlan plan = planSharePackage(in);
    ASSERT_TRUE(plan.refusal.isEmpty()) << plan.refusal.toStdString();
    EXPECT_EQ(plan.leftOut, names);
    EXPECT_EQ(leftOutMessage(plan.leftOut),
              QStringLiteral("These names in the scene are not pictures or sounds of its folders, so they are left "
                             "out of the upload:\n") +
                  names.first(10).join(u'\n') + QStringLiteral("\nand 990 more"));
}

TEST_F(SharePlanTest, PictureAndSoundNames)
{
    const struct {
        const char *name;
        bool picture, sound;
    } rows[] = {
        {"a.jpg", true, false}, {"a.JPG", true, false}, {"a.jpeg", true, false}, {"a.Bmp", true, false},
        {"a.wav", false, true}, {"a.WAV", false, true}, {"a.jpg.exe", false, false}, {"a.scn", false, false},
        {".jpg", true, false}, {"a", false, false}, {"../a.jpg", false, false}, {"a:b.jpg", false, false},
        {"", false, false}, {"a\\b.wav", false, false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(isSharePictureName(QString::fromUtf8(row.name)), row.picture);
        EXPECT_EQ(isShareSoundName(QString::fromUtf8(row.name)), row.sound);
    }
}

TEST_F(SharePlanTest, RandomInRangeStaysWithinItsBounds)
{
    const struct {
        const char *name;
        double r;
        qint32 high, low;
        double result;
    } rows[] = {
        {"zero", 0.0, 999999999, 100000000, 100000000},
        {"a half", 0.5, 999999999, 100000000, 550000000},
        {"largest single below 1", double(std::nextafter(1.0f, 0.0f)), 999999999, 100000000, 999999946},
        {"largest double below 1", std::nextafter(1.0, 0.0), 999999999, 100000000, 999999999},
        {"a source that gives 1", 1.0, 999999999, 100000000, 999999999},
        {"a source below 0", -0.25, 999999999, 100000000, 100000000},
        {"a die", 0.99, 6, 1, 6},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        draws({row.r});
        EXPECT_EQ(RandomInRange(row.high, row.low), row.result);
    }
}

TEST_F(SharePlanTest, ADrawThatMeetsATakenNameDrawsAgain)
{
    put(QStringLiteral("Data/Temp/zips/B550000000-cmnt.txt"), "taken");
    put(QStringLiteral("Data/Temp/zips/B100000000-2.jpg"), "taken");
    put(QStringLiteral("Data/Temp/zips/B325000000.zip/x"), "a folder of that name");
    draws({0.5, 0.0, 0.25, 0.75});
    const QString zipsFolder = baseFolder() + QStringLiteral("Data/Temp/zips");
    EXPECT_EQ(drawUploadName(QStringLiteral("B"), zipsFolder), QStringLiteral("B775000000"));
    EXPECT_TRUE(random.values.isEmpty());

    // Twenty taken names in a row: no name, and the plan refuses.
    random.values.clear();
    for (int i = 0; i < 20; ++i)
        random.values.enqueue(0.5);
    random.values.enqueue(0.0);
    EXPECT_EQ(drawUploadName(QStringLiteral("B"), zipsFolder), QString());
    EXPECT_EQ(random.values.size(), 1);
    for (int i = 0; i < 20; ++i)
        random.values.enqueue(0.5);
    EXPECT_TRUE(planSharePackage(in).refusal.contains(QStringLiteral("no free upload name")));

    // Drawn names always have nine digits.
    draws({0.01, std::nextafter(1.0, 0.0), 0.123456789});
    const QRegularExpression shape(QStringLiteral("^B[1-9][0-9]{8}$"));
    for (int i = 0; i < 3; ++i) {
        const QString name = drawUploadName(QStringLiteral("B"), zipsFolder);
        EXPECT_TRUE(shape.match(name).hasMatch()) << name.toStdString();
    }
}

TEST(ShareDestination, TheUploadScriptFollowsTheApprovedBox)
{
    const struct {
        const char *name;
        QString host;
        bool approved;
        QString url;
    } rows[] = {
        {"not approved", QStringLiteral("share.example.org"), false,
         QStringLiteral("http://share.example.org/VSH-APRV/post_dump.php")},
        {"approved", QStringLiteral("share.example.org"), true,
         QStringLiteral("http://share.example.org/VSH/post_dump.php")},
        {"host with a port", QStringLiteral("127.0.0.1:8080"), false,
         QStringLiteral("http://127.0.0.1:8080/VSH-APRV/post_dump.php")},
        {"no host", QString(), false, QStringLiteral("http:///VSH-APRV/post_dump.php")},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DestinationUrl(row.host, row.approved), row.url);
    }
}

} // namespace
