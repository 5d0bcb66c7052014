// The preview loader, driven from the lists: the background, the main mouth
// and its talk mouths, missing files, names that would leave their folder, the
// "Trigger Anim" box and which folder the scene comes from.

#include "core/preview/TalkTable.h"
#include "tests/library/LibraryFixture.h"

#include <QCheckBox>

namespace {

class PreviewLoadTest : public LibraryTest {
protected:
    // Every talk mouth of ImageList8 is `size` and the colour of its frame,
    // frame `missing` (if any) showing the colour of `standIn`.
    void expectTalkMouths(const VelmNShare &w, QSize size, int missing = 0, int standIn = 0)
    {
        ASSERT_EQ(w.ImageList8.Count(), TalkMouthCount);
        EXPECT_EQ(w.ImageList8.IndexOf(QStringLiteral("KMT")), 1);
        // The mouth frame of each talk mouth, as the lip sync expects them.
        const int talkFrames[TalkMouthCount] = {1, 5, 5, 4, 4, 3, 3, 7, 7, 5, 7, 4, 4, 7, 6, 2, 7, 3, 2, 2, 3, 1};
        for (int e = 1; e <= TalkMouthCount; ++e) {
            int frame = talkFrames[e - 1];
            if (frame == missing)
                frame = standIn;
            const QImage entry = w.ImageList8.Picture(e);
            EXPECT_EQ(entry.size(), size) << "talk mouth " << e;
            EXPECT_TRUE(colorNear(entry.pixel(size.width() / 2, size.height() / 2), MouthColors[frame - 1]))
                << "talk mouth " << e;
        }
    }
    static QStringList mouthFiles()
    {
        return scene().Files.MainMouthFrameFiles.mid(1, 7);
    }
    static QStringList beachMouthNames(const QString &scene = QStringLiteral("Beach"))
    {
        QStringList names;
        for (int n = 1; n <= 7; ++n)
            names << scene + QStringLiteral("Mouth0%1.jpg").arg(n);
        return names;
    }
};

TEST_F(PreviewLoadTest, BackgroundAndMainMouth)
{
    writeBeach();
    VelmNShare &w = openLibrary();
    click(w.List2, QStringLiteral("Beach"));
    EXPECT_TRUE(messages.shown.isEmpty());

    EXPECT_EQ(w.SelectScene, QStringLiteral("Beach"));
    EXPECT_EQ(w.selectSceneList(), 2);
    EXPECT_EQ(w.SelectSceneFull, base(QStringLiteral("Scenes/Beach.scn")));
    EXPECT_EQ(w.MainPicName, QStringLiteral("BeachBG"));
    EXPECT_EQ(w.MainPicFileName, QStringLiteral("BeachBG.jpg"));
    ASSERT_EQ(w.MainPic->Picture().size(), QSize(1200, 857));
    EXPECT_TRUE(colorNear(w.MainPic->Picture().pixel(600, 400), qRgb(20, 60, 120)));

    // PreviewRatio 2: left 10 x 2, top 20 x 2, and 1058 x 794 HIMETRIC / 26.4444 x 2 - 1.
    EXPECT_TRUE(w.VelmMouth->isVisibleTo(&w));
    EXPECT_EQ(w.VelmMouth->geometry(), QRect(20, 40, 79, 59));
    ASSERT_EQ(w.ImageList2.Count(), 7);
    EXPECT_EQ(w.ImageList2.Key(1), QStringLiteral("KMT"));
    for (int n = 1; n <= 7; ++n) {
        EXPECT_EQ(w.ImageList2.Picture(n).size(), QSize(80, 60)) << n;
        EXPECT_TRUE(colorNear(w.ImageList2.Picture(n).pixel(40, 30), MouthColors[n - 1])) << n;
    }
    expectTalkMouths(w, QSize(80, 60));
    EXPECT_EQ(w.VelmMouth->Picture(), w.ImageList2.Picture(1));
    EXPECT_EQ(mouthFiles(), beachMouthNames());
    EXPECT_FALSE(w.Check1->isEnabled());
    EXPECT_FALSE(w.HasNudy);
}

TEST_F(PreviewLoadTest, MissingSceneFile)
{
    writeBeach();
    writeList("Ghost\n\r\r\nBeach\n\r\r\n");
    VelmNShare &w = openLibrary();
    click(w.List1, QStringLiteral("Beach"));
    const QImage background = w.MainPic->Picture();

    messages.answers.enqueue(MsgResult::Ok);
    click(w.List1, QStringLiteral("Ghost"));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Can't find ") + base(QStringLiteral("Scenes/Ghost.scn")));
    EXPECT_EQ(messages.shown[0].title, programTitle());
    EXPECT_EQ(messages.shown[0].buttons, MsgButtons::Ok);
    for (const PictureBox *box : {w.VelmMouth, w.VelmBlink, w.UserMouth, w.UserBlink, w.MiscPic, w.TriggerPic})
        EXPECT_FALSE(box->isVisibleTo(&w)) << box->objectName().toStdString();
    EXPECT_EQ(w.MainPic->Picture(), background);
    // The file lists are cleared at every load, from either list.
    EXPECT_EQ(mouthFiles(), QStringList(7));
    EXPECT_EQ(w.MainPicFileName, QString());
    EXPECT_FALSE(w.Check1->isEnabled());
}

TEST_F(PreviewLoadTest, SceneFilesThatCannotBeReadAreReported)
{
    writeScene(QStringLiteral("Huge"), QByteArray(2 * 1024 * 1024, 'K'));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), base(QStringLiteral("Scenes/Zero.scn"))));
    writeList("Huge\n\r\r\nZero\n\r\r\n");
    VelmNShare &w = openLibrary();
    EXPECT_EQ(entries(w.List2), QStringList{"Huge"}); // a device is no scene file
    const struct {
        const char *label;
        const char *scene;
        const char *reason;
    } rows[] = {{"too large", "Huge", "larger than"}, {"a device", "Zero", "not a regular file"}};
    for (const auto &row : rows) {
        messages.shown.clear();
        messages.answers.enqueue(MsgResult::Ok);
        click(w.List1, QString::fromUtf8(row.scene));
        ASSERT_EQ(messages.shown.size(), 1) << row.label;
        EXPECT_TRUE(messages.shown[0].text.contains(base(QStringLiteral("Scenes/%1.scn").arg(row.scene))))
            << messages.shown[0].text.toStdString();
        EXPECT_TRUE(messages.shown[0].text.contains(QString::fromUtf8(row.reason)))
            << messages.shown[0].text.toStdString();
        EXPECT_FALSE(w.VelmMouth->isVisibleTo(&w)) << row.label;
    }
}

TEST_F(PreviewLoadTest, MissingMouthFrames)
{
    writeBeach();
    writeBeach(QStringLiteral("Sea"));
    ASSERT_TRUE(QFile::remove(base(QStringLiteral("Images/SeaMouth03.jpg"))));
    writeBeach(QStringLiteral("Dune"));
    ASSERT_TRUE(QFile::remove(base(QStringLiteral("Images/DuneMouth01.jpg"))));
    VelmNShare &w = openLibrary();

    // Frame 03 missing: frame 02 stands in, the same picture.
    click(w.List2, QStringLiteral("Sea"));
    EXPECT_TRUE(w.VelmMouth->isVisibleTo(&w));
    ASSERT_EQ(w.ImageList2.Count(), 7);
    EXPECT_EQ(w.ImageList2.Picture(3).constBits(), w.ImageList2.Picture(2).constBits());
    expectTalkMouths(w, QSize(80, 60), 3, 2);
    EXPECT_EQ(mouthFiles(), beachMouthNames(QStringLiteral("Sea")));

    // Frame 01 missing: no mouth, nothing of the last scene in its lists.
    click(w.List2, QStringLiteral("Dune"));
    EXPECT_FALSE(w.VelmMouth->isVisibleTo(&w));
    EXPECT_EQ(w.ImageList2.Count(), 0);
    EXPECT_EQ(w.ImageList8.Count(), 0);
    EXPECT_EQ(mouthFiles(), beachMouthNames(QStringLiteral("Dune")));

    // A frame that would be too large to hold counts as missing: a background
    // one pixel wide scales the mouth 1200-fold.
    writePicture(QStringLiteral("DuneMouth01.jpg"), QSize(40, 30), MouthColors[0]);
    writePicture(QStringLiteral("DuneBG.jpg"), QSize(1, 1), qRgb(0, 0, 0));
    click(w.List2, QStringLiteral("Beach"));
    click(w.List2, QStringLiteral("Dune"));
    EXPECT_FALSE(w.VelmMouth->isVisibleTo(&w));
    EXPECT_EQ(w.ImageList2.Count(), 0);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(PreviewLoadTest, WithoutABackgroundFramesKeepTheirSize)
{
    writeBeach();
    writeBeach(QStringLiteral("Bare"));
    writeScene(QStringLiteral("Bare"), "KM=BareMouth01.jpg;\r\nKMx=10;\r\nKMy=20;\r\n\r\n");
    writeBeach(QStringLiteral("Lost"));
    ASSERT_TRUE(QFile::remove(base(QStringLiteral("Images/LostBG.jpg"))));
    VelmNShare &w = openLibrary();
    click(w.List2, QStringLiteral("Beach"));
    const QImage background = w.MainPic->Picture();

    const struct {
        const char *label;
        const char *scene;
    } rows[] = {{"BG absent", "Bare"}, {"BG file missing", "Lost"}};
    for (const auto &row : rows) {
        click(w.List2, QStringLiteral("Beach"));
        click(w.List2, QString::fromUtf8(row.scene));
        // The box keeps the last scene's place and size; the frames go in at their own size.
        EXPECT_TRUE(w.VelmMouth->isVisibleTo(&w)) << row.label;
        EXPECT_EQ(w.VelmMouth->geometry(), QRect(20, 40, 79, 59)) << row.label;
        expectTalkMouths(w, QSize(40, 30));
        EXPECT_EQ(w.MainPic->Picture(), background) << row.label;
        EXPECT_EQ(w.MainPicFileName, QString()) << row.label;
    }
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(PreviewLoadTest, NamesThatLeaveTheirFolderAreAbsent)
{
    writeBeach();
    // A picture outside Images that a traversal would reach.
    writePicture(QStringLiteral("../Outside01.jpg"), QSize(40, 30), qRgb(1, 2, 3));
    writePicture(QStringLiteral("../OutsideBG.jpg"), QSize(300, 200), qRgb(1, 2, 3));
    const struct {
        const char *label;
        QByteArray scene;
    } rows[] = {
        {"mouth up a folder", "BG=BeachBG.jpg;\r\nKM=../Outside01.jpg;\r\nKMx=1;\r\nKMy=1;\r\n"},
        {"mouth absolute", "BG=BeachBG.jpg;\r\nKM=/etc/passwd01.jpg;\r\nKMx=1;\r\nKMy=1;\r\n"},
        {"background up a folder", "BG=../OutsideBG.jpg;\r\nNI=/etc/passwd;\r\n"},
    };
    for (int i = 0; i < int(std::size(rows)); ++i)
        writeScene(QStringLiteral("Trap%1").arg(i), rows[i].scene);
    VelmNShare &w = openLibrary();
    for (int i = 0; i < int(std::size(rows)); ++i) {
        const char *label = rows[i].label;
        click(w.List2, QStringLiteral("Beach"));
        const QImage background = w.MainPic->Picture();
        click(w.List2, QStringLiteral("Trap%1").arg(i));
        EXPECT_FALSE(w.VelmMouth->isVisibleTo(&w)) << label;
        EXPECT_EQ(w.MainPic->Picture(), background) << label;
        EXPECT_EQ(mouthFiles(), QStringList(7)) << label;
        EXPECT_EQ(w.NudyFilename, QString()) << label;
        EXPECT_FALSE(w.Check1->isEnabled()) << label;
    }
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(PreviewLoadTest, TriggerAnimFollowsTheSceneLoadedLast)
{
    writeBeach(QStringLiteral("Night"), "NI=NightAlternate.jpg;\r\n");
    writeBeach(QStringLiteral("Day"));
    writeList("Night\n\r\r\nDay\n\r\r\n");
    const struct {
        const char *label;
        int firstList;
        const char *first;
        int secondList;
        const char *second;
        bool enabled;
    } rows[] = {
        {"alternate image alone", 1, "Night", 0, nullptr, true},
        {"none", 2, "Day", 0, nullptr, false},
        {"Your Scenes twice", 1, "Night", 1, "Day", false},
        {"VELM Scenes twice", 2, "Night", 2, "Day", false},
        {"Your then VELM", 1, "Night", 2, "Day", false},
        {"VELM then Your", 2, "Night", 1, "Day", false},
        {"the alternate image second", 1, "Day", 2, "Night", true},
    };
    for (const auto &row : rows) {
        VelmNShare &w = openLibrary();
        click(row.firstList == 1 ? w.List1 : w.List2, QString::fromUtf8(row.first));
        if (row.second)
            click(row.secondList == 1 ? w.List1 : w.List2, QString::fromUtf8(row.second));
        EXPECT_EQ(w.Check1->isEnabled(), row.enabled) << row.label;
        EXPECT_EQ(w.NudyFilename, row.enabled ? QStringLiteral("NightAlternate.jpg") : QString()) << row.label;
        EXPECT_EQ(w.HasNudy, row.enabled) << row.label;
        closeLibrary();
    }
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(PreviewLoadTest, SceneAndFramesComeFromTheBaseFolderWhateverTheWorkFolder)
{
    writeBeach();
    VelmNShare &w = openLibrary();
    // Another window's handler left the work folder on another folder with a scene of the same name.
    const QString elsewhere = tempPath(QStringLiteral("Program/"));
    ASSERT_TRUE(writeFile(elsewhere + QStringLiteral("Scenes/Beach.scn"), "BG=OtherBG.jpg;\r\nKM=OtherMouth01.jpg;\r\n"));
    scene().WorkFolder = elsewhere;

    click(w.List2, QStringLiteral("Beach"));
    EXPECT_EQ(w.SelectSceneFull, base(QStringLiteral("Scenes/Beach.scn")));
    EXPECT_EQ(w.MainPicFileName, QStringLiteral("BeachBG.jpg"));
    EXPECT_EQ(mouthFiles(), beachMouthNames());
    EXPECT_TRUE(w.VelmMouth->isVisibleTo(&w));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(PreviewLoadTest, FilesFoundIgnoringCase)
{
    writeBeach();
    // A scene file and frames named in other letter cases than the scene says.
    ASSERT_TRUE(QFile::rename(base(QStringLiteral("Scenes/Beach.scn")), base(QStringLiteral("Scenes/Sea.SCN"))));
    ASSERT_TRUE(QFile::rename(base(QStringLiteral("Images/BeachMouth04.jpg")), base(QStringLiteral("Images/beachmouth04.JPG"))));
    ASSERT_TRUE(QFile::rename(base(QStringLiteral("Images/BeachBG.jpg")), base(QStringLiteral("Images/BEACHBG.jpg"))));
    VelmNShare &w = openLibrary();
    ASSERT_EQ(entries(w.List2), QStringList{"Sea"});
    click(w.List2, QStringLiteral("Sea"));
    EXPECT_EQ(w.SelectSceneFull, base(QStringLiteral("Scenes/Sea.SCN")));
    EXPECT_EQ(w.MainPic->Picture().size(), QSize(1200, 857));
    expectTalkMouths(w, QSize(80, 60));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(PreviewLoadTest, AClickOnTheSelectedEntryAfterTheOtherListReloadsIt)
{
    writeBeach();
    writeBeach(QStringLiteral("Sea"));
    writePicture(QStringLiteral("SeaBG.jpg"), QSize(600, 400), qRgb(200, 200, 200));
    writeList("Beach\n\r\r\n");
    VelmNShare &w = openLibrary();
    click(w.List1, QStringLiteral("Beach"));
    click(w.List2, QStringLiteral("Sea"));
    EXPECT_EQ(w.SelectScene, QStringLiteral("Sea"));
    EXPECT_TRUE(colorNear(w.MainPic->Picture().pixel(5, 5), qRgb(200, 200, 200)));

    click(w.List1, QStringLiteral("Beach")); // still selected in its list
    EXPECT_EQ(w.SelectScene, QStringLiteral("Beach"));
    EXPECT_EQ(w.selectSceneList(), 1);
    EXPECT_TRUE(colorNear(w.MainPic->Picture().pixel(5, 5), qRgb(20, 60, 120)));
    EXPECT_EQ(mouthFiles(), beachMouthNames());

    // Keys move the selection and load too.
    writeBeach(QStringLiteral("Tide"));
    closeLibrary();
    VelmNShare &again = openLibrary();
    click(again.List2, QStringLiteral("Beach"));
    QTest::keyClick(again.List2, Qt::Key_Down);
    EXPECT_EQ(again.SelectScene, QStringLiteral("Sea"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(PreviewLoadTest, PlacesBeyondAnyScreenNeitherCrashNorOverflow)
{
    writeBeach();
    const struct {
        const char *label;
        QByteArray place;
    } rows[] = {
        {"beyond a single", "KMx=1e30;\r\nKMy=-1e30;\r\n"},
        {"beyond a double", "KMx=1e400;\r\nKMy=nan;\r\n"},
        {"no numbers", "KMx=left;\r\nKMy=;\r\n"},
    };
    for (const auto &row : rows) {
        writeScene(QStringLiteral("Far"), "BG=BeachBG.jpg;\r\nKM=BeachMouth01.jpg;\r\n" + row.place + "\r\n");
        VelmNShare &w = openLibrary();
        click(w.List2, QStringLiteral("Far"));
        EXPECT_TRUE(w.VelmMouth->isVisibleTo(&w)) << row.label;
        EXPECT_EQ(w.VelmMouth->size(), QSize(79, 59)) << row.label;
        closeLibrary();
    }
    EXPECT_TRUE(messages.shown.isEmpty());
}

} // namespace
