// The scene writer's save: the scene file, the pictures, the scene list, and
// every refusal and failure (nothing written, or reported and not announced as
// a success).

#include "app/SceneState.h"
#include "designers/frmFormDesign.h"
#include "designers/frmFormDesignB.h"
#include "designers/frmFormDesignE.h"
#include "platform/Form.h"
#include "platform/ImageWorkspace.h"
#include "scene/ChildAnimProps.h"
#include "scene/ExtraAnimProps.h"
#include "scene/FullAnimProps.h"
#include "scene/SaveScene.h"
#include "tests/support/ScriptedServices.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString kSaved = QStringLiteral("Your Scene has been saved.");

class SceneSaveTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        startProgram();
        series = tempPath(QStringLiteral("art/"));
        QDir().mkpath(series);
        for (int n = 1; n <= 21; ++n)
            draw(series + QStringLiteral("Girl%1.bmp").arg(n, 4, 10, QLatin1Char('0')), n);
        SceneState &s = scene();
        s.PrimaryFirstFramePath = series + QStringLiteral("Girl0001.bmp");
        s.PrimaryFramePrefix = series + QStringLiteral("Girl");
        s.PrimaryFrameExt = QStringLiteral(".bmp");
        ASSERT_TRUE(form<frmFormDesign>().CropPrimaryFrames());
        s.LayerPlacements[LayerMainMouth] = {Value::longValue(350), Value::longValue(250), Value::real(56),
                                             Value::real(41)};
    }

    // Frame n: a shade of its own, so that frames can be told apart.
    static void draw(const QString &path, int n, QSize size = QSize(500, 500))
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor((10 * n) % 256, (37 * n) % 256, 128));
        ASSERT_TRUE(image.save(path, "BMP")) << path.toStdString();
    }

    // An extra animation set picked at base & first, `count` frames, placed.
    void extraSet(const QString &base, int first, int count)
    {
        SceneState &s = scene();
        for (int n = first; n < first + count; ++n)
            draw(series + base + QStringLiteral("%1.bmp").arg(n, 2, 10, QLatin1Char('0')), 100 + n);
        s.SceneHasExtraAnim = s.ExtraPlaced = FlagOn;
        s.ExtraFrameSet.FirstFramePath = series + base + QStringLiteral("%1.bmp").arg(first, 2, 10, QLatin1Char('0'));
        s.ExtraFrameSet.FrameFolder = series;
        s.ExtraFrameSet.FrameBaseName = base;
        s.ExtraFrameSet.FrameExt = QStringLiteral(".bmp");
        s.ExtraFrameSet.FirstFrame = Value::integer(int16_t(first));
        s.ExtraFrameSet.LastFrame = Value::integer(int16_t(first + count - 1));
        s.ExtraFrameSet.FrameCount = Value::integer(int16_t(count));
        form<ExtraAnimProps>().Text2->setText(QString::number(count));
    }

    // Types the name and presses OK, as a user does.
    void save(const QString &name)
    {
        SaveScene &w = form<SaveScene>();
        w.Show();
        w.Text1->setText(name);
        QTest::mouseClick(w.Image1, Qt::LeftButton);
    }

    QString base(const QString &rest = QString()) const { return baseFolder() + rest; }
    QByteArray bytesOf(const QString &path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QString series;
};

const QByteArray kMinimal = "BG=BeachBG.jpg;\r\nKM=BeachMouth01.jpg;\r\nKMh=41;\r\nKMw=56;\r\nKMx=350;\r\nKMy=250;\r\n\r\n";

TEST_F(SceneSaveTest, MinimalSceneItsPicturesAndTheListEntry)
{
    ASSERT_FALSE(QDir(base()).exists()); // the folders are made by the save
    save(QStringLiteral("Beach"));
    EXPECT_EQ(messages.texts(), QStringList{kSaved});
    EXPECT_FALSE(form<SaveScene>().Visible());
    EXPECT_EQ(bytesOf(base(QStringLiteral("Scenes/Beach.scn"))), kMinimal);
    EXPECT_EQ(scene().SceneText.toText().toLatin1() + "\r\n", kMinimal);
    for (int n = 1; n <= 7; ++n)
        EXPECT_EQ(QImage(base(QStringLiteral("Images/BeachMouth0%1.jpg").arg(n))).size(), QSize(56, 41)) << n;
    EXPECT_EQ(QImage(base(QStringLiteral("Images/BeachBG.jpg"))).size(), QSize(500, 500));
    EXPECT_EQ(bytesOf(base(QStringLiteral("Data/myscenes.dat"))), QByteArray("Beach\n\r\r\n"));
    EXPECT_EQ(QDir(base(QStringLiteral("Images"))).entryList(QDir::Files).size(), 8);
}

TEST_F(SceneSaveTest, TheListGetsEachNameOnce)
{
    save(QStringLiteral("Beach"));
    save(QStringLiteral("Beach"));
    save(QStringLiteral("BEACH"));
    save(QStringLiteral("Beach2"));
    EXPECT_EQ(messages.texts(), QStringList({kSaved, kSaved, kSaved, kSaved}));
    EXPECT_EQ(bytesOf(base(QStringLiteral("Data/myscenes.dat"))), QByteArray("Beach\n\r\r\nBeach2\n\r\r\n"));
}

TEST_F(SceneSaveTest, RefusedNamesWriteNothingAndKeepTheWindowOpen)
{
    const char *names[] = {"", "../Evil", "a/b", "sub\\dir", "a;b", "KM=1", "Shot.jpg", "Shot.BMP", "what?",
                           "\xe2\x98\x83"};
    for (const char *name : names) {
        messages.shown.clear();
        save(QString::fromUtf8(name));
        ASSERT_EQ(messages.shown.size(), 1) << name;
        if (!*name) {
            EXPECT_EQ(messages.texts().first(), QStringLiteral("Plese give your Scene a name."));
        }
        EXPECT_TRUE(form<SaveScene>().Visible()) << name;
    }
    EXPECT_FALSE(QDir(base()).exists());
    EXPECT_FALSE(QDir(tempPath(QStringLiteral("Documents/Evil"))).exists());
}

TEST_F(SceneSaveTest, AValueThatWouldBreakTheFileIsRefusedByItsField)
{
    extraSet(QStringLiteral("Fish"), 1, 2);
    form<ExtraAnimProps>().Text5->setText(QStringLiteral("100;MF=9"));
    save(QStringLiteral("Beach"));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.texts().first().contains(QStringLiteral("the Speed box of Extra Anim Properties")));
    EXPECT_TRUE(form<SaveScene>().Visible());
    EXPECT_FALSE(QDir(base()).exists());
}

TEST_F(SceneSaveTest, ExtraFramesFromTheirFirstFrameCutWithTheDesignersBox)
{
    extraSet(QStringLiteral("Fish"), 5, 3);
    save(QStringLiteral("Beach"));
    EXPECT_EQ(messages.texts(), QStringList{kSaved});
    // The extra designer's starting box: 3720, 3165, 1035 x 705 twips.
    for (int i = 1; i <= 3; ++i) {
        const QImage cut(base(QStringLiteral("Images/BeachExtra0%1.jpg").arg(i)));
        ASSERT_EQ(cut.size(), QSize(68, 47)) << i;
        EXPECT_NEAR(cut.pixelColor(30, 20).red(), (10 * (104 + i)) % 256, 6) << i; // Fish05 .. Fish07
    }
    EXPECT_FALSE(QFile::exists(base(QStringLiteral("Images/BeachExtra04.jpg"))));
    EXPECT_EQ(scene().ExtraFrameSet.CurrentFrame.toDouble(), 0);
}

TEST_F(SceneSaveTest, AMissingSourceFrameIsReportedAndNotAnnouncedAsSaved)
{
    extraSet(QStringLiteral("Fish"), 1, 3);
    ASSERT_TRUE(QFile::remove(series + QStringLiteral("Fish02.bmp")));
    save(QStringLiteral("Beach"));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.texts().first().contains(QStringLiteral("Fish02.bmp"))) << messages.texts().first().toStdString();
    EXPECT_FALSE(messages.texts().contains(kSaved));
    EXPECT_TRUE(form<SaveScene>().Visible());
    // What was written before the failure stays.
    EXPECT_TRUE(QFile::exists(base(QStringLiteral("Scenes/Beach.scn"))));
    EXPECT_TRUE(QFile::exists(base(QStringLiteral("Images/BeachExtra01.jpg"))));
    EXPECT_FALSE(QFile::exists(base(QStringLiteral("Images/BeachExtra02.jpg"))));
    EXPECT_FALSE(QFile::exists(base(QStringLiteral("Data/myscenes.dat"))));
}

TEST_F(SceneSaveTest, AnUnwritableSceneFileIsReportedByName)
{
    QDir().mkpath(base(QStringLiteral("Scenes/Beach.scn"))); // a folder stands where the file goes
    save(QStringLiteral("Beach"));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.texts().first().contains(QStringLiteral("Beach.scn")));
    EXPECT_TRUE(form<SaveScene>().Visible());
    EXPECT_FALSE(QFile::exists(base(QStringLiteral("Images/BeachMouth01.jpg"))));
}

TEST_F(SceneSaveTest, FullBackgroundFailureKeepsItsOwnMessage)
{
    scene().SceneHasFullAnim = FlagOn;
    form<FullAnimProps>().Text2->setText(QString());
    save(QStringLiteral("Beach"));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral(
                                    "There has been en error saving Full BG Animation. Please check all your settings.")});
    EXPECT_TRUE(form<SaveScene>().Visible());
    // The rest of the save still ran.
    EXPECT_TRUE(bytesOf(base(QStringLiteral("Scenes/Beach.scn"))).contains("MainAnimF=;\r\n"));
    EXPECT_TRUE(QFile::exists(base(QStringLiteral("Images/BeachMouth07.jpg"))));
}

TEST_F(SceneSaveTest, FullBackgroundFramesAreCopiedUncutFromFrameOne)
{
    SceneState &s = scene();
    s.SceneHasFullAnim = FlagOn;
    for (int n = 1; n <= 3; ++n)
        draw(series + QStringLiteral("Sky%1.jpg").arg(n, 2, 10, QLatin1Char('0')), n, QSize(40, 30));
    s.FullAnimFrameSet.FrameFolder = series;
    s.FullAnimFrameSet.FrameBaseName = QStringLiteral("Sky");
    s.FullAnimFrameSet.FrameExt = QStringLiteral("jpg");
    form<FullAnimProps>().Text2->setText(QStringLiteral("3"));
    save(QStringLiteral("Beach"));
    EXPECT_EQ(messages.texts(), QStringList{kSaved});
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(QImage(base(QStringLiteral("Images/BeachFullAnim0%1.jpg").arg(n))).size(), QSize(40, 30));
}

TEST_F(SceneSaveTest, SmileAndBrowLeaveTheMouthAndBlinkCropsAlone)
{
    SceneState &s = scene();
    s.SceneHasSmile = s.SceneHasBrow = s.SceneHasMainBlink = s.MainBlinkPlaced = FlagOn;
    ASSERT_TRUE(form<frmFormDesignB>().CropPrimaryFrames());
    const QImage mouth1 = form<frmFormDesign>().Xpress(1).Picture();
    const QImage blink1 = form<frmFormDesignB>().Xpress(1).Picture();
    save(QStringLiteral("Beach"));
    EXPECT_EQ(messages.texts(), QStringList{kSaved});
    EXPECT_EQ(form<frmFormDesign>().Xpress(1).Picture(), mouth1);
    EXPECT_EQ(form<frmFormDesignB>().Xpress(1).Picture(), blink1);
    EXPECT_EQ(QImage(base(QStringLiteral("Images/BeachSmile14.jpg"))).size(), QSize(56, 41));
    EXPECT_EQ(QImage(base(QStringLiteral("Images/BeachBrow09.jpg"))).size(), QSize(56, 41));

    // A second save still writes the mouth frame 1 as Mouth01, not a smile frame.
    const QImage first(base(QStringLiteral("Images/BeachMouth01.jpg")));
    save(QStringLiteral("Second"));
    const QImage second(base(QStringLiteral("Images/SecondMouth01.jpg")));
    EXPECT_EQ(first, second);
    EXPECT_NEAR(second.pixelColor(20, 20).red(), 10, 6); // series frame 0001's shade
}

TEST_F(SceneSaveTest, TriggerFramesFromTheRecordedFirstFrame)
{
    SceneState &s = scene();
    s.SceneHasTrigger = s.TriggerPlaced = FlagOn;
    for (int n = 5; n <= 7; ++n)
        draw(series + QStringLiteral("Trig%1.bmp").arg(n, 2, 10, QLatin1Char('0')), 50 + n);
    s.TriggerFrameSet.FirstFramePath = series + QStringLiteral("Trig05.bmp");
    s.TriggerFrameSet.FrameFolder = series;
    s.TriggerFrameSet.FrameBaseName = QStringLiteral("Trig");
    s.TriggerFrameSet.FrameExt = QStringLiteral(".bmp");
    s.TriggerFrameSet.FirstFrame = Value::integer(5);
    s.TriggerFrameSet.LastFrame = Value::integer(7);
    s.TriggerFrameSet.FrameCount = QStringLiteral("3");
    save(QStringLiteral("Beach"));
    EXPECT_EQ(messages.texts(), QStringList{kSaved});
    for (int i = 1; i <= 3; ++i)
        EXPECT_NEAR(QImage(base(QStringLiteral("Images/BeachTrigger0%1.jpg").arg(i))).pixelColor(5, 5).red(),
                    (10 * (54 + i)) % 256, 6);
}

TEST_F(SceneSaveTest, ChildAutoCropWithoutAChildSeriesIsReported)
{
    SceneState &s = scene();
    s.SceneHasChildAnim = s.ChildAutoCropOn = FlagOn;
    save(QStringLiteral("Beach"));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.texts().first().contains(QStringLiteral("no child frames were loaded")));
    EXPECT_FALSE(QDir(base()).exists());

    // With the series loaded, its frames are cut with the extra designer's box.
    for (int n = 16; n <= 17; ++n)
        draw(series + QStringLiteral("Child-00%1.bmp").arg(n), n);
    s.ChildFrameSet.FrameFolder = series;
    s.ChildFrameSet.FrameBaseName = QStringLiteral("Child-00");
    s.ChildFrameSet.FrameExt = QStringLiteral(".bmp");
    s.ChildFrameSet.FirstFrame = Value::integer(16);
    s.ChildFrameSet.LastFrame = Value::integer(17);
    messages.shown.clear();
    save(QStringLiteral("Beach"));
    EXPECT_EQ(messages.texts(), QStringList{kSaved});
    EXPECT_EQ(QImage(base(QStringLiteral("Images/BeachChild02.jpg"))).size(), QSize(68, 47));
    EXPECT_TRUE(bytesOf(base(QStringLiteral("Scenes/Beach.scn"))).contains("EMA=BeachChild01.jpg;\r\n"));
}

TEST_F(SceneSaveTest, AlternatePictureIsCopiedWhole)
{
    SceneState &s = scene();
    s.SceneHasAltImage = FlagOn;
    draw(tempPath(QStringLiteral("Night.bmp")), 3, QSize(120, 90));
    s.AltImagePath = tempPath(QStringLiteral("Night.bmp"));
    save(QStringLiteral("Beach"));
    EXPECT_EQ(messages.texts(), QStringList{kSaved});
    EXPECT_EQ(QImage(base(QStringLiteral("Images/BeachAlternate.jpg"))).size(), QSize(120, 90));
    EXPECT_TRUE(bytesOf(base(QStringLiteral("Scenes/Beach.scn"))).endsWith("NI=BeachAlternate.jpg;\r\n\r\n"));
}

// The desktop scene's alpha paths, which no visible control turns on.
TEST_F(SceneSaveTest, DesktopSceneWithAlphaFrames)
{
    SceneState &s = scene();
    extraSet(QStringLiteral("Fish"), 1, 2);
    s.SceneIsDesktop = s.ExtraHasAlpha = FlagOn;
    for (int n = 1; n <= 2; ++n)
        draw(series + QStringLiteral("Alpha%1.bmp").arg(n, 2, 10, QLatin1Char('0')), 200 + n);
    s.AlphaFrameSet.FrameFolder = series;
    s.AlphaFrameSet.FrameBaseName = QStringLiteral("Alpha");
    s.AlphaFrameSet.FrameExt = QStringLiteral(".bmp");
    draw(tempPath(QStringLiteral("Desk.bmp")), 9, QSize(300, 200));
    s.AlphaBackgroundPath = tempPath(QStringLiteral("Desk.bmp"));
    s.LayerPlacements[LayerExtraAnim] = {Value::longValue(10), Value::longValue(20), Value::real(50.5),
                                         Value::real(30.5)};
    save(QStringLiteral("Desk"));
    EXPECT_EQ(messages.texts(), QStringList{kSaved});
    // The box from (10, 20) to (60.5, 50.5), rounded half to even: 10, 20, 60, 50.
    EXPECT_EQ(QImage(base(QStringLiteral("Images/DeskAlphaBG.jpg"))).size(), QSize(50, 30));
    EXPECT_EQ(QImage(base(QStringLiteral("Images/DeskExtraAlpha02.jpg"))).size(), QSize(68, 47));
    EXPECT_FALSE(QFile::exists(base(QStringLiteral("Images/DeskExtraAlpha03.jpg"))));
    const QByteArray file = bytesOf(base(QStringLiteral("Scenes/Desk.scn")));
    EXPECT_TRUE(file.startsWith("BG=DeskBG.jpg;\r\nDesktopScene=True;\r\n"));
    EXPECT_TRUE(file.contains("MP=DeskExtra01.jpg;\r\nMiscHasAlpha=True;\r\nMPABG=DeskAlphaBG.jpg;\r\nMPh=30.5;\r\n"));
}

} // namespace
