// The scene writer's save: the scene file, the pictures, the scene list, and
// every refusal and failure (nothing written, or reported and not announced as
// a success).

#include "core/pictures/ImageWorkspace.h"
#include "core/scene/SceneState.h"
#include "designers/frmFormDesign.h"
#include "designers/frmFormDesignB.h"
#include "designers/frmFormDesignE.h"
#include "designers/frmFormDesignF.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "scene/ChildAnimProps.h"
#include "scene/ExtraAnimProps.h"
#include "scene/FullAnimProps.h"
#include "scene/SaveScene.h"
#include "scene/Sound.h"
#include "scene/TrigAnimProps.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/FileWork.h"
#include "tests/support/program/SaveFixture.h"

#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <sys/stat.h>

namespace {

class SceneSaveTest : public SaveFixture {};

// The base folder as the start left it: its four folders, empty.
::testing::AssertionResult holdsOnlyTheStartFolders(const QString &base)
{
    QStringList found;
    QDirIterator it(base, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(base).relativeFilePath(it.next());
    found.sort();
    if (found == QStringList{"Data", "Images", "Scenes", "Sounds"})
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the base folder holds " << found.join(u' ').toStdString();
}

// Where the designers cut when their rectangles are where they start.
const QRect kMouthBox(342, 446, 56, 41), kBlinkBox(333, 449, 56, 41), kExtraBox(248, 211, 68, 47),
    kTriggerBox(260, 217, 56, 41);

const QByteArray kMinimal = "BG=BeachBG.jpg;\r\nKM=BeachMouth01.jpg;\r\nKMh=41;\r\nKMw=56;\r\nKMx=350;\r\nKMy=250;\r\n\r\n";

TEST_F(SceneSaveTest, MinimalSceneItsPicturesAndTheListEntry)
{
    ASSERT_TRUE(holdsOnlyTheStartFolders(base())); // the save writes into the folders the start made
    save(QStringLiteral("Beach"));
    EXPECT_EQ(messages.takeTexts(), QStringList{kSaved});
    EXPECT_FALSE(form<SaveScene>().Visible());
    EXPECT_EQ(bytesOf(base(QStringLiteral("Scenes/Beach.scn"))), kMinimal);
    EXPECT_EQ(scene().SceneText.toText().toLatin1() + "\r\n", kMinimal);
    for (int n = 1; n <= 7; ++n)
        EXPECT_TRUE(isSavedCutOf(base(QStringLiteral("Images/BeachMouth0%1.jpg").arg(n)), girl(n), kMouthBox));
    EXPECT_TRUE(isSavedCutOf(base(QStringLiteral("Images/BeachBG.jpg")), girl(1), QRect(0, 0, 500, 500)));
    // The frames tell a cut one pixel off, or from the next frame, from the right one.
    EXPECT_FALSE(isSavedCutOf(base(QStringLiteral("Images/BeachMouth01.jpg")), girl(1), kMouthBox.translated(1, 0)));
    EXPECT_FALSE(isSavedCutOf(base(QStringLiteral("Images/BeachMouth01.jpg")), girl(1), kMouthBox.translated(0, -1)));
    EXPECT_FALSE(isSavedCutOf(base(QStringLiteral("Images/BeachMouth01.jpg")), girl(2), kMouthBox));
    EXPECT_EQ(bytesOf(base(QStringLiteral("Data/myscenes.dat"))), QByteArray("Beach\n\r\r\n"));
    EXPECT_EQ(QDir(base(QStringLiteral("Images"))).entryList(QDir::Files).size(), 8);
}

TEST_F(SceneSaveTest, TheListGetsEachNameOnce)
{
    save(QStringLiteral("Beach"));
    EXPECT_EQ(messages.takeTexts(), QStringList{kSaved});
    EXPECT_EQ(saveOver(QStringLiteral("Beach"), QStringLiteral("Beach")), QStringList{kSaved});
    // The scene of that name in another letter case is the same scene, and keeps its name.
    EXPECT_EQ(saveOver(QStringLiteral("BEACH"), QStringLiteral("Beach")), QStringList{kSaved});
    save(QStringLiteral("Beach2"));
    EXPECT_EQ(messages.takeTexts(), QStringList{kSaved});
    EXPECT_EQ(bytesOf(base(QStringLiteral("Data/myscenes.dat"))), QByteArray("Beach\n\r\r\nBeach2\n\r\r\n"));
    EXPECT_EQ(QDir(base(QStringLiteral("Scenes"))).entryList(QDir::Files),
              (QStringList{QStringLiteral("Beach.scn"), QStringLiteral("Beach2.scn")}));
}

// A save under the name of a scene that exists asks first; No leaves every
// file as it was and the window open with the name, Yes replaces the scene.
TEST_F(SceneSaveTest, ASaveOverAnotherScenesNameAsksFirst)
{
    save(QStringLiteral("Beach"));
    EXPECT_EQ(messages.takeTexts(), QStringList{kSaved});
    save(QStringLiteral("Park"));
    EXPECT_EQ(messages.takeTexts(), QStringList{kSaved});
    const auto before = snapshot(base());

    // A new scene, with another extra animation, typed under the first one's name.
    extraSet(QStringLiteral("Fish"), 1, 2);
    for (const char *typed : {"Beach", "bEACH"}) {
        SCOPED_TRACE(typed);
        messages.expect(MsgResult::No);
        SaveScene &w = form<SaveScene>();
        w.Show();
        w.Text1->setText(QString::fromUtf8(typed));
        QTest::mouseClick(w.Image1, Qt::LeftButton);
        const ShownMessage asked = messages.takeOne();
        EXPECT_EQ(asked.text, replaceQuestion(QStringLiteral("Beach")));
        EXPECT_EQ(asked.buttons, MsgButtons::YesNo);
        EXPECT_EQ(snapshot(base()), before);
        EXPECT_TRUE(w.Visible());
        EXPECT_EQ(w.Text1->text(), QString::fromUtf8(typed));
    }

    EXPECT_EQ(saveOver(QStringLiteral("Beach"), QStringLiteral("Beach")), QStringList{kSaved});
    EXPECT_TRUE(bytesOf(base(QStringLiteral("Scenes/Beach.scn"))).contains("MP=BeachExtra01.jpg;\r\n"));
    EXPECT_TRUE(isSavedCutOf(base(QStringLiteral("Images/BeachExtra02.jpg")), setFrame(QStringLiteral("Fish"), 2),
                             kExtraBox));
    // The other scene and the list are as they were.
    const auto after = snapshot(base());
    for (const QString &file : {QStringLiteral("Scenes/Park.scn"), QStringLiteral("Images/ParkMouth01.jpg"),
                                QStringLiteral("Images/ParkBG.jpg"), QStringLiteral("Data/myscenes.dat")})
        EXPECT_EQ(after.value(file), before.value(file)) << file.toStdString();
}

TEST_F(SceneSaveTest, RefusedNamesWriteNothingAndKeepTheWindowOpen)
{
    const QByteArray tooLong(230, 'a');
    const char *names[] = {"", "../Evil", "a/b", "sub\\dir", "a;b", "KM=1", "Shot.jpg", "Shot.BMP", "what?",
                           "\xe2\x98\x83", tooLong.constData()};
    for (const char *name : names) {
        save(QString::fromUtf8(name));
        const QString said = messages.takeOne().text;
        if (!*name) {
            EXPECT_EQ(said, QStringLiteral("Plese give your Scene a name."));
        }
        EXPECT_TRUE(form<SaveScene>().Visible()) << name;
    }
    EXPECT_TRUE(holdsOnlyTheStartFolders(base()));
    EXPECT_FALSE(QDir(tempPath(QStringLiteral("Documents/Evil"))).exists());
}

TEST_F(SceneSaveTest, AValueThatWouldBreakTheFileIsRefusedByItsField)
{
    extraSet(QStringLiteral("Fish"), 1, 2);
    form<ExtraAnimProps>().Text5->setText(QStringLiteral("100;MF=9"));
    save(QStringLiteral("Beach"));
    EXPECT_TRUE(messages.takeOne().text.contains(QStringLiteral("the Speed box of Extra Anim Properties")));
    EXPECT_TRUE(form<SaveScene>().Visible());
    EXPECT_TRUE(holdsOnlyTheStartFolders(base()));
}

TEST_F(SceneSaveTest, ExtraFramesFromTheirFirstFrameCutWithTheDesignersBox)
{
    extraSet(QStringLiteral("Fish"), 5, 3);
    save(QStringLiteral("Beach"));
    EXPECT_EQ(messages.takeTexts(), QStringList{kSaved});
    // The extra designer's starting box: 3720, 3165, 1035 x 705 twips; Fish05 .. Fish07.
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(isSavedCutOf(base(QStringLiteral("Images/BeachExtra0%1.jpg").arg(i)),
                                 setFrame(QStringLiteral("Fish"), 4 + i), kExtraBox));
    EXPECT_FALSE(QFile::exists(base(QStringLiteral("Images/BeachExtra04.jpg"))));
    EXPECT_EQ(scene().ExtraFrameSet.CurrentFrame.toDouble(), 0);
}

TEST_F(SceneSaveTest, AMissingSourceFrameIsReportedAndNotAnnouncedAsSaved)
{
    extraSet(QStringLiteral("Fish"), 1, 3);
    ASSERT_TRUE(QFile::remove(series + QStringLiteral("Fish02.bmp")));
    save(QStringLiteral("Beach"));
    EXPECT_EQ(messages.takeOne().text, QStringLiteral("Could not load the picture %1: the file does not exist.")
                                               .arg(series + QStringLiteral("Fish02.bmp")) + kNotSaved);
    EXPECT_TRUE(form<SaveScene>().Visible());
    // Nothing is written beside the folders the start made.
    EXPECT_TRUE(holdsOnlyTheStartFolders(base()));
}

// The smile frames of a series of seven: the save names the first missing
// one and changes nothing, over an earlier save of the same name too.
TEST_F(SceneSaveTest, AMissingSmileFrameChangesNothing)
{
    for (int n = 8; n <= 21; ++n)
        ASSERT_TRUE(QFile::remove(girl(n)));
    save(QStringLiteral("Smile7"));
    EXPECT_EQ(messages.takeTexts(), QStringList{kSaved});
    const auto before = snapshot(base());
    ASSERT_EQ(before.size(), 4 + 10); // the folders, the scene file, the list, 7 mouths and the background

    scene().SceneHasSmile = FlagOn;
    const QString said = QStringLiteral("Could not load the picture %1: the file does not exist.").arg(girl(8)) +
                         kNotSaved;
    EXPECT_EQ(saveOver(QStringLiteral("Smile7"), QStringLiteral("Smile7")), QStringList{said});
    EXPECT_EQ(snapshot(base()), before);
    save(QStringLiteral("Other"));
    EXPECT_EQ(messages.takeTexts(), QStringList{said});
    EXPECT_EQ(snapshot(base()), before);
    EXPECT_TRUE(form<SaveScene>().Visible());
}

TEST_F(SceneSaveTest, AnUnwritableSceneFileIsReportedByName)
{
    QDir().mkpath(base(QStringLiteral("Scenes/Beach.scn"))); // a folder stands where the file goes
    save(QStringLiteral("Beach"));
    EXPECT_TRUE(messages.takeOne().text.contains(QStringLiteral("Beach.scn")));
    EXPECT_TRUE(form<SaveScene>().Visible());
    EXPECT_FALSE(QFile::exists(base(QStringLiteral("Images/BeachMouth01.jpg"))));
}

TEST_F(SceneSaveTest, FullBackgroundFailureKeepsItsOwnMessage)
{
    scene().SceneHasFullAnim = FlagOn;
    form<FullAnimProps>().Text2->setText(QString());
    save(QStringLiteral("Beach"));
    EXPECT_EQ(messages.takeTexts(), QStringList{QStringLiteral(
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
    EXPECT_EQ(messages.takeTexts(), QStringList{kSaved});
    for (int n = 1; n <= 3; ++n)
        EXPECT_TRUE(isSavedCutOf(base(QStringLiteral("Images/BeachFullAnim0%1.jpg").arg(n)),
                                 series + QStringLiteral("Sky0%1.jpg").arg(n), QRect(0, 0, 40, 30)));
}

TEST_F(SceneSaveTest, SmileAndBrowLeaveTheMouthAndBlinkCropsAlone)
{
    SceneState &s = scene();
    s.SceneHasSmile = s.SceneHasBrow = s.SceneHasMainBlink = s.MainBlinkPlaced = FlagOn;
    ASSERT_TRUE(form<frmFormDesignB>().CropPrimaryFrames());
    const QImage mouth1 = form<frmFormDesign>().Xpress(1).Picture();
    const QImage blink1 = form<frmFormDesignB>().Xpress(1).Picture();
    save(QStringLiteral("Beach"));
    EXPECT_EQ(messages.takeTexts(), QStringList{kSaved});
    EXPECT_EQ(form<frmFormDesign>().Xpress(1).Picture(), mouth1);
    EXPECT_EQ(form<frmFormDesignB>().Xpress(1).Picture(), blink1);
    // Smile from series frames 0008 to 0021 with the mouth box, brow from 0005 to 0013 with the blink box.
    for (int n = 1; n <= 14; ++n)
        EXPECT_TRUE(isSavedCutOf(base(QStringLiteral("Images/BeachSmile%1.jpg").arg(n, 2, 10, QLatin1Char('0'))),
                                 girl(7 + n), kMouthBox));
    for (int n = 1; n <= 9; ++n)
        EXPECT_TRUE(isSavedCutOf(base(QStringLiteral("Images/BeachBrow0%1.jpg").arg(n)), girl(4 + n), kBlinkBox));

    // A second save still writes the mouth frame 1 as Mouth01, not a smile frame.
    const QImage first(base(QStringLiteral("Images/BeachMouth01.jpg")));
    save(QStringLiteral("Second"));
    EXPECT_EQ(messages.takeTexts(), QStringList{kSaved});
    EXPECT_EQ(first, QImage(base(QStringLiteral("Images/SecondMouth01.jpg"))));
    EXPECT_TRUE(isSavedCutOf(base(QStringLiteral("Images/SecondMouth01.jpg")), girl(1), kMouthBox));
}

TEST_F(SceneSaveTest, TriggerFramesFromTheRecordedFirstFrame)
{
    SceneState &s = scene();
    s.SceneHasTrigger = s.TriggerPlaced = FlagOn;
    pickSet(s.TriggerFrameSet, QStringLiteral("Trig"), 5, 3, 14);
    s.TriggerFrameSet.FrameCount = QStringLiteral("3"); // the Frames box's text
    save(QStringLiteral("Beach"));
    EXPECT_EQ(messages.takeTexts(), QStringList{kSaved});
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(isSavedCutOf(base(QStringLiteral("Images/BeachTrigger0%1.jpg").arg(i)),
                                 setFrame(QStringLiteral("Trig"), 4 + i), kTriggerBox));
}

TEST_F(SceneSaveTest, ChildAutoCropWithoutAChildSeriesIsReported)
{
    SceneState &s = scene();
    s.SceneHasChildAnim = s.ChildAutoCropOn = FlagOn;
    save(QStringLiteral("Beach"));
    EXPECT_TRUE(messages.takeOne().text.contains(QStringLiteral("no child frames were loaded")));
    EXPECT_TRUE(holdsOnlyTheStartFolders(base()));

    // With the series loaded, its frames are cut with the extra designer's box.
    pickSet(s.ChildFrameSet, QStringLiteral("Child-00"), 16, 2);
    save(QStringLiteral("Beach"));
    EXPECT_EQ(messages.takeTexts(), QStringList{kSaved});
    EXPECT_TRUE(isSavedCutOf(base(QStringLiteral("Images/BeachChild02.jpg")), setFrame(QStringLiteral("Child-00"), 17),
                             kExtraBox));
    EXPECT_TRUE(bytesOf(base(QStringLiteral("Scenes/Beach.scn"))).contains("EMA=BeachChild01.jpg;\r\n"));
}

// Every value of the file from its own control, set as the user leaves the
// dialogs; a grey check box is not ticked.
TEST_F(SceneSaveTest, EveryValueComesFromItsControl)
{
    SceneState &s = scene();
    s.SceneHasTrigger = s.SceneHasExtraAnim = s.SceneHasChildAnim = s.SceneHasFullAnim = FlagOn;
    s.ChildPreloadName = QStringLiteral("Kick01.bmp");

    TrigAnimProps &trigger = form<TrigAnimProps>();
    trigger.Text2->setText(QStringLiteral("3"));
    trigger.Text5->setText(QStringLiteral("105"));
    ExtraAnimProps &extra = form<ExtraAnimProps>();
    const char *extraTexts[] = {"11", "12", "13", "14", "15"};
    QLineEdit *extraBoxes[] = {extra.Text1, extra.Text2, extra.Text3, extra.Text4, extra.Text5};
    for (int i = 0; i < 5; ++i)
        extraBoxes[i]->setText(QLatin1String(extraTexts[i]));
    setCheckValue(extra.Check1, 1); // delay at frame Text3
    extra.Option2->setChecked(true);
    extra.Option3->setChecked(true);
    ChildAnimProps &child = form<ChildAnimProps>();
    child.Text1->setText(QStringLiteral("21"));
    child.Text2->setText(QStringLiteral("22"));
    child.Option2->setChecked(true);
    FullAnimProps &full = form<FullAnimProps>();
    const char *fullTexts[] = {"31", "0", "34", "35", "36", "37", "38"}; // Frames 0: nothing to export
    QLineEdit *fullBoxes[] = {full.Text1, full.Text2, full.Text4, full.Text5, full.Text6, full.Text7, full.Text8};
    for (int i = 0; i < 7; ++i)
        fullBoxes[i]->setText(QLatin1String(fullTexts[i]));
    full.Option2->setChecked(true);
    full.Option4->setChecked(true);
    full.Option5->setChecked(true);
    setCheckValue(full.Check1, 1);
    setCheckValue(full.Check2, 1);
    Sound &sound = form<Sound>();
    const char *soundTexts[] = {"41", "42", "43", "a.wav", "45", "b.wav", "c.wav"};
    QLineEdit *soundBoxes[] = {sound.Text1, sound.Text2, sound.Text3, sound.Text4, sound.Text5, sound.Text6,
                               sound.Text7};
    for (int i = 0; i < 7; ++i)
        soundBoxes[i]->setText(QLatin1String(soundTexts[i]));
    setCheckValue(sound.Check1, 0);
    setCheckValue(sound.Check2, 1);

    save(QStringLiteral("Beach"));
    EXPECT_EQ(messages.takeTexts(), QStringList{kSaved});
    QByteArray expected = "BG=BeachBG.jpg;\r\nKM=BeachMouth01.jpg;\r\nKMh=41;\r\nKMw=56;\r\nKMx=350;\r\nKMy=250;\r\n"
                          "TP=BeachTrigger01.jpg;\r\nTPh=;\r\nTPw=;\r\nTPx=;\r\nTPy=;\r\nTF=3;\r\nTS=105;\r\n"
                          "MP=BeachExtra01.jpg;\r\nMPh=;\r\nMPw=;\r\nMPx=;\r\nMPy=;\r\nMR=11;\r\nMF=12;\r\nMD=14;\r\n"
                          "MDA=13;\r\nMS=15;\r\nMPL=Pong;\r\nMPLT=Start;\r\n"
                          "EMA=Kick01.bmp;\r\nEMAF=22;\r\nEMAR=21;\r\nEMAFl=End;\r\n"
                          "MainAnimName=BeachFullAnim01.jpg;\r\nMainAnimF=0;\r\nMainAnimS=35;\r\nMainAnimD=34;\r\n"
                          "MainAnimR=31;\r\nMainAnimDS=End;\r\nMainAnimLoop=Pong;\r\nMainAnimTalk=Start;\r\n"
                          "MainAnimMPause=Yes;\r\nMainAnimRS=36;\r\nMainAnimRSSMin=37;\r\nMainAnimRSSMax=38;\r\n"
                          "Sound1=a.wav;\r\nSound1R=45;\r\nSound1LoopDelay=41;\r\nSound1Loop=False;\r\n"
                          "Sound1PauseForTalk=True;\r\nSound2=b.wav;\r\nSound2R=42;\r\nSound3=c.wav;\r\nSound3R=43;\r\n\r\n";
    EXPECT_EQ(bytesOf(base(QStringLiteral("Scenes/Beach.scn"))), expected);

    // Grey boxes: the pause is No, the speed entries go, sound one neither loops nor stops.
    setCheckValue(full.Check1, 2);
    setCheckValue(full.Check2, 2);
    setCheckValue(sound.Check1, 2);
    setCheckValue(sound.Check2, 2);
    EXPECT_EQ(saveOver(QStringLiteral("Beach"), QStringLiteral("Beach")), QStringList{kSaved});
    expected.replace("MainAnimMPause=Yes;\r\nMainAnimRS=36;\r\nMainAnimRSSMin=37;\r\nMainAnimRSSMax=38;\r\n",
                     "MainAnimMPause=No;\r\n");
    expected.replace("Sound1PauseForTalk=True;", "Sound1PauseForTalk=False;");
    EXPECT_EQ(bytesOf(base(QStringLiteral("Scenes/Beach.scn"))), expected);
}

// Every export that cuts converts its designer's rectangle; a rectangle
// beyond the picture's left and top edges is cut from 0 by all but the brow
// export, which passes the negative corner on (and so gets less of the frame).
TEST_F(SceneSaveTest, RectanglesBeyondTheLeftAndTopEdges)
{
    SceneState &s = scene();
    s.SceneHasSmile = s.SceneHasBrow = FlagOn;
    extraSet(QStringLiteral("Fish"), 1, 1);
    s.SceneHasChildAnim = s.ChildAutoCropOn = FlagOn;
    pickSet(s.ChildFrameSet, QStringLiteral("Kid"), 1, 1, 3);
    s.SceneHasTrigger = s.TriggerPlaced = FlagOn;
    pickSet(s.TriggerFrameSet, QStringLiteral("Trig"), 1, 1, 14);
    // -20, -10 pixels; 1515 twips make 100 pixels.
    for (CropDesigner *d : std::initializer_list<CropDesigner *>{&form<frmFormDesign>(), &form<frmFormDesignB>(),
                                                                 &form<frmFormDesignE>(), &form<frmFormDesignF>()})
        placeTwips(d->Shape1, -300, -150, 1515, 1515);

    save(QStringLiteral("Edge"));
    EXPECT_EQ(messages.takeTexts(), QStringList{kSaved});
    const QRect fromZero(0, 0, 100, 100), insideOnly(0, 0, 80, 90);
    const struct {
        const char *picture;
        QString source;
        QRect area;
    } cuts[] = {{"EdgeSmile01.jpg", girl(8), fromZero},
                {"EdgeBrow01.jpg", girl(5), insideOnly},
                {"EdgeExtra01.jpg", setFrame(QStringLiteral("Fish"), 1), fromZero},
                {"EdgeChild01.jpg", setFrame(QStringLiteral("Kid"), 1), fromZero},
                {"EdgeTrigger01.jpg", setFrame(QStringLiteral("Trig"), 1), fromZero},
                // The held mouth frames were cut before, with the starting rectangle.
                {"EdgeMouth01.jpg", girl(1), kMouthBox}};
    for (const auto &cut : cuts)
        EXPECT_TRUE(isSavedCutOf(base(QStringLiteral("Images/") + QLatin1String(cut.picture)), cut.source, cut.area));
}

TEST_F(SceneSaveTest, AnAlternateBackgroundNeverChosenIsRefused)
{
    scene().SceneHasAltImage = FlagOn; // ticked in the set-up, nothing picked
    save(QStringLiteral("Beach"));
    EXPECT_TRUE(messages.takeOne().text.contains(QStringLiteral("no picture was chosen")));
    EXPECT_TRUE(form<SaveScene>().Visible());
    EXPECT_TRUE(holdsOnlyTheStartFolders(base()));
}

TEST_F(SceneSaveTest, AlternatePictureIsCopiedWhole)
{
    SceneState &s = scene();
    s.SceneHasAltImage = FlagOn;
    draw(tempPath(QStringLiteral("Night.bmp")), 3, QSize(120, 90));
    s.AltImagePath = tempPath(QStringLiteral("Night.bmp"));
    save(QStringLiteral("Beach"));
    EXPECT_EQ(messages.takeTexts(), QStringList{kSaved});
    EXPECT_TRUE(isSavedCutOf(base(QStringLiteral("Images/BeachAlternate.jpg")), tempPath(QStringLiteral("Night.bmp")),
                             QRect(0, 0, 120, 90)));
    EXPECT_TRUE(bytesOf(base(QStringLiteral("Scenes/Beach.scn"))).endsWith("NI=BeachAlternate.jpg;\r\n\r\n"));
}

// The desktop scene's alpha paths, which no visible control turns on.
TEST_F(SceneSaveTest, DesktopSceneWithAlphaFrames)
{
    alphaDesk();
    save(QStringLiteral("Desk"));
    EXPECT_EQ(messages.takeTexts(), QStringList{kSaved});
    // The box from (10, 20) to (60.5, 50.5), rounded half to even: 10, 20, 60, 50.
    EXPECT_TRUE(isSavedCutOf(base(QStringLiteral("Images/DeskAlphaBG.jpg")), tempPath(QStringLiteral("Desk.bmp")),
                             QRect(10, 20, 50, 30)));
    EXPECT_TRUE(isSavedCutOf(base(QStringLiteral("Images/DeskExtraAlpha02.jpg")), setFrame(QStringLiteral("Alpha"), 2),
                             kExtraBox));
    EXPECT_FALSE(QFile::exists(base(QStringLiteral("Images/DeskExtraAlpha03.jpg"))));
    const QByteArray file = bytesOf(base(QStringLiteral("Scenes/Desk.scn")));
    EXPECT_TRUE(file.startsWith("BG=DeskBG.jpg;\r\nDesktopScene=True;\r\n"));
    EXPECT_TRUE(file.contains("MP=DeskExtra01.jpg;\r\nMiscHasAlpha=True;\r\nMPABG=DeskAlphaBG.jpg;\r\nMPh=30.5;\r\n"));
}

// The save told the user one thing, naming `what`, and left its window open.
void expectOneFailure(ScriptedMessages &messages, const QString &what)
{
    const QString said = messages.takeOne().text;
    EXPECT_TRUE(said.contains(what)) << said.toStdString();
    EXPECT_TRUE(form<SaveScene>().Visible());
}

// Folders that cannot be made where the save needs them: a file stands in the
// way. Nothing is written and the window stays.
TEST_F(SceneSaveTest, AFolderThatCannotBeMadeStopsTheSaveBeforeAnyFile)
{
    for (const char *blocked : {"", "Scenes", "Images", "Data"}) {
        SCOPED_TRACE(blocked);
        QDir(base()).removeRecursively();
        if (*blocked)
            QDir().mkpath(base());
        // The file takes the folder's place: Velm5Pro itself, or one inside it.
        const QString inTheWay = *blocked ? base(QString::fromUtf8(blocked)) : base().chopped(1);
        ASSERT_TRUE(writeFile(inTheWay, QByteArray()));
        save(QStringLiteral("Beach"));
        expectOneFailure(messages, QStringLiteral("could not be created"));
        EXPECT_FALSE(QFile::exists(base(QStringLiteral("Scenes/Beach.scn"))));
        EXPECT_FALSE(QFile::exists(base(QStringLiteral("Images/BeachMouth01.jpg"))));
        QFile::remove(inTheWay);
    }
}

// A disk that takes no more bytes (full, or over its quota): the save names
// the file it could not write, and the scene saved before stays whole.
TEST_F(SceneSaveTest, AFullDiskIsReportedAndKeepsTheSceneSavedBefore)
{
    save(QStringLiteral("Beach"));
    EXPECT_EQ(messages.takeTexts(), QStringList{kSaved});
    const auto saved = snapshot(base());
    QStringList said;
    {
        FileSizeLimit full(0);
        said = saveOver(QStringLiteral("Beach"), QStringLiteral("Beach"));
    }
    ASSERT_EQ(said.size(), 1);
    // The first file the save writes is its first picture.
    EXPECT_TRUE(said[0].contains(base(QStringLiteral("Images/BeachMouth01.jpg: File too large")))) << said[0].toStdString();
    EXPECT_TRUE(form<SaveScene>().Visible());
    EXPECT_EQ(snapshot(base()), saved);
}

// Files that cannot be written or read on the way: the failure names the file,
// the save is not announced, and nothing waits.
TEST_F(SceneSaveTest, AFileThatCannotBeWrittenOrReadIsReportedByName)
{
    QDir().mkpath(base(QStringLiteral("Images/BeachMouth03.jpg"))); // a folder where a picture goes
    auto before = snapshot(base());
    save(QStringLiteral("Beach"));
    expectOneFailure(messages, QStringLiteral("BeachMouth03.jpg"));
    EXPECT_EQ(snapshot(base()), before);

    // The list file is a pipe: reading it would wait for ever.
    QDir(base(QStringLiteral("Images/BeachMouth03.jpg"))).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(base(QStringLiteral("Data"))));
    ASSERT_EQ(mkfifo(QFile::encodeName(base(QStringLiteral("Data/myscenes.dat"))).constData(), 0600), 0);
    before = snapshot(base());
    save(QStringLiteral("Beach"));
    expectOneFailure(messages, QStringLiteral("myscenes.dat"));
    EXPECT_EQ(snapshot(base()), before);

    // A source frame cut short is not saved as if it were whole.
    QFile::remove(base(QStringLiteral("Data/myscenes.dat")));
    scene().SceneHasSmile = FlagOn;
    const QString frame = series + QStringLiteral("Girl0010.bmp");
    QFile cut(frame);
    ASSERT_TRUE(cut.resize(cut.size() / 2));
    before = snapshot(base());
    save(QStringLiteral("Beach"));
    expectOneFailure(messages, frame + QStringLiteral(": the file ends before its picture does"));
    EXPECT_EQ(snapshot(base()), before);
}

// The largest count a Frames box takes, over a set of three frames: the
// save stops at the first frame that is not there before it writes anything,
// having read each frame of the set once.
TEST_F(SceneSaveTest, TheLargestFrameCountOverAShortSetEndsAtItsFirstMissingFrame)
{
    extraSet(QStringLiteral("Fish"), 1, 3);
    scene().ExtraFrameSet.FrameCount = Value::integer(32767);
    form<ExtraAnimProps>().Text2->setText(QStringLiteral("32767"));
    FileWork work({series});
    ASSERT_TRUE(work.watching());
    save(QStringLiteral("Beach"));
    EXPECT_EQ(work.openedFiles(), (QStringList{QStringLiteral("Fish01.bmp"), QStringLiteral("Fish02.bmp"),
                                               QStringLiteral("Fish03.bmp")}));
    expectOneFailure(messages, series + QStringLiteral("Fish04.bmp"));
    EXPECT_TRUE(holdsOnlyTheStartFolders(base()));
}

TEST_F(SceneSaveTest, ANameWithBlanksAndAccentsIsSavedUnderThatName)
{
    const QString name = QStringLiteral("Nacht im Caf\u00e9");
    save(name);
    EXPECT_EQ(messages.takeTexts(), QStringList{kSaved});
    EXPECT_TRUE(bytesOf(base(QStringLiteral("Scenes/") + name + QStringLiteral(".scn")))
                    .startsWith("BG=Nacht im Caf\xe9" "BG.jpg;\r\nKM=Nacht im Caf\xe9" "Mouth01.jpg;\r\n"));
    EXPECT_TRUE(isSavedCutOf(base(QStringLiteral("Images/") + name + QStringLiteral("Mouth07.jpg")), girl(7), kMouthBox));
    EXPECT_TRUE(QFile::exists(base(QStringLiteral("Images/") + name + QStringLiteral("BG.jpg"))));
    EXPECT_EQ(bytesOf(base(QStringLiteral("Data/myscenes.dat"))), QByteArray("Nacht im Caf\xe9\n\r\r\n"));
}

} // namespace
