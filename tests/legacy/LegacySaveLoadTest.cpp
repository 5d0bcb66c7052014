// The older editor's Save Scene and Load Scene as a user runs them from the
// editor's buttons: the dialogs, the bytes written, what a read file sets in
// the windows, what it cannot use, and a save read back in a fresh program.

#include "core/legacy/LegacySceneReader.h"
#include "legacy/LegacySceneCommands.h"
#include "scene/ChildAnimProps.h"
#include "scene/ExtraAnimProps.h"
#include "scene/FullAnimProps.h"
#include "scene/Sound.h"
#include "scene/TrigAnimProps.h"
#include "tests/core/SceneBytes.h"
#include "tests/legacy/LegacyFixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

// Lines joined by CR LF, the last one without a line end.
QByteArray linesOf(std::initializer_list<const char *> lines, const char *end = "\r\n")
{
    QByteArray out;
    for (const char *line : lines) {
        if (!out.isEmpty())
            out += end;
        out += line;
    }
    return out;
}

class LegacySaveLoadTest : public LegacyTest {
protected:
    void placeMouth()
    {
        SceneState &s = scene();
        s.BackgroundFileName = QStringLiteral("bg.jpg");
        s.MainMouthFileName = QStringLiteral("velmmouth.jpg");
        s.LayerPlacements[LayerMainMouth] = {Value::real(350), Value::real(250), Value::real(60), Value::real(30)};
    }
    // Loads a scene measured in twips: a green background of 300 x 200 and a
    // red mouth of 10 x 10 at 100, 50 pixels.
    void loadSceneInTwips()
    {
        drawPicture(imagesFolder() + QStringLiteral("bg.bmp"), QSize(300, 200), qRgb(0, 200, 0));
        drawPicture(imagesFolder() + QStringLiteral("mouth.bmp"), QSize(10, 10), qRgb(200, 0, 0));
        loadScene(writeScene(QStringLiteral("Twips.scn"),
                             fileOf({"SV=3;", "BG=bg.bmp;", "KM=mouth.bmp;", "KMh=150;", "KMw=150;", "KMx=1500;",
                                     "KMy=750;"})));
    }
};

TEST_F(LegacySaveLoadTest, SaveAsksForANameAndWritesTheOlderLayout)
{
    placeMouth();
    editor().cdl.FileName = QStringLiteral("left over");
    const QString path = scenesFolder() + QStringLiteral("Beach"); // no extension is added
    QDir().mkpath(scenesFolder());
    saveScene(path);

    ASSERT_EQ(files.requests.size(), 1);
    const FileChooserRequest &r = files.requests[0];
    EXPECT_TRUE(r.save);
    EXPECT_EQ(r.initDir, baseFolder() + QStringLiteral("Scenes"));
    EXPECT_EQ(r.filter, QStringLiteral("Scn Files (*.scn)|*.scn"));
    EXPECT_EQ(r.fileName, QString()) << "the name is cleared before the dialog";
    const QByteArray want =
        fileOf({"BG=bg.jpg;", "KM=velmmouth.jpg;", "KMh=30;", "KMw=60;", "KMx=350;", "KMy=250;"});
    EXPECT_EQ(readBytes(path), want);
    EXPECT_EQ(scene().SceneText.toText().toLatin1() + "\r\n", want);
    EXPECT_EQ(scene().WorkFolder.toText(), baseFolder());
    EXPECT_TRUE(messages.shown.isEmpty());

    // Saving over it replaces it without a question.
    scene().LayerPlacements[LayerMainMouth].LayerX = Value::real(351);
    saveScene(path);
    EXPECT_TRUE(readBytes(path).contains("KMx=351;\r\n"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(LegacySaveLoadTest, ACancelledSaveStillRebuildsTheText)
{
    placeMouth();
    scene().SceneText = QStringLiteral("old text");
    editor().Command10->click();
    EXPECT_EQ(scene().SceneText.toText(), QStringLiteral("BG=bg.jpg;\r\nKM=velmmouth.jpg;\r\nKMh=30;\r\nKMw=60;\r\n"
                                                         "KMx=350;\r\nKMy=250;\r\n"));
    EXPECT_FALSE(QDir(scenesFolder()).exists() && !QDir(scenesFolder()).isEmpty());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(LegacySaveLoadTest, SaveReadsTheDialogsAndItsOwnGating)
{
    placeMouth();
    SceneState &s = scene();
    s.SceneHasUserBlink = FlagOn; // without the user character
    s.UserBlinkFileName = QStringLiteral("userblink.jpg");
    s.LayerPlacements[LayerUserBlink] = {}; // never set: nothing between "=" and ";"
    s.SceneHasChildAnim = s.SceneHasFullAnim = FlagOn;
    s.FullAnimFirstFrameName = QStringLiteral("Sea01.jpg");
    ChildAnimProps &child = form<ChildAnimProps>();
    child.Text1->setText(QString());
    child.Text2->setText(QStringLiteral("4"));
    child.Option2->setChecked(true);
    FullAnimProps &full = form<FullAnimProps>();
    full.Text2->setText(QStringLiteral("8"));
    full.Text5->setText(QString()); // written also when empty
    full.Option1->setChecked(true);
    setCheckValue(full.Check1, 2); // greyed counts as not ticked
    scene().LegacyCanvasUnit = CanvasUnit::Twips;

    const QString path = scenesFolder() + QStringLiteral("Gated.scn");
    QDir().mkpath(scenesFolder());
    saveScene(path);
    EXPECT_EQ(readBytes(path),
              fileOf({"SV=3;", "BG=bg.jpg;", "KM=velmmouth.jpg;", "KMh=30;", "KMw=60;", "KMx=350;", "KMy=250;",
                      "UserBlinkOn;", "UB=userblink.jpg;", "UBh=;", "UBw=;", "UBx=;", "UBy=;", "EMAF=4;",
                      "EMAFl=End;", "MainAnimName=Sea01.jpg;", "MainAnimF=8;", "MainAnimS=;", "MainAnimD=3;",
                      "MainAnimR=0;", "MainAnimDS=End;", "MainAnimLoop=Loop;", "MainAnimTalk=End;",
                      "MainAnimMPause=No;"}));
}

TEST_F(LegacySaveLoadTest, SaveRefusesABreakingValueAndReportsAFailedWrite)
{
    placeMouth();
    QDir().mkpath(scenesFolder());
    const QString path = scenesFolder() + QStringLiteral("Broken.scn");
    scene().Sounds.Sound1File = QStringLiteral("Rain.wav");
    scene().Sounds.Sound1Random = QStringLiteral("5;6");
    messages.answers.enqueue(MsgResult::Ok);
    saveScene(path);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].text.startsWith(QStringLiteral("The scene was not saved: the chance of sound one")))
        << messages.shown[0].text.toStdString();
    EXPECT_FALSE(QFile::exists(path));

    scene().Sounds.Sound1Random = QStringLiteral("5");
    const QString nowhere = baseFolder() + QStringLiteral("Missing/Folder/Beach.scn");
    messages.answers.enqueue(MsgResult::Ok);
    saveScene(nowhere);
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_TRUE(messages.shown[1].text.startsWith(QStringLiteral("The scene was not saved.")));
    EXPECT_TRUE(messages.shown[1].text.contains(QDir::toNativeSeparators(nowhere))) << messages.shown[1].text.toStdString();
}

TEST_F(LegacySaveLoadTest, LoadStartsFreshEvenWhenTheDialogIsCancelled)
{
    Form1 &f = editor();
    SceneState &s = scene();
    for (QCheckBox *box : {f.Check2, f.Check3, f.Check4, f.Check5, f.Check8, f.Check9})
        setCheckValue(box, 1);
    s.Sounds = SceneSoundSettings{};
    s.Sounds.Sound1File = QStringLiteral("a.wav");
    s.Sounds.Sound1Random = QStringLiteral("1");
    s.Sounds.Sound1LoopDelay = QStringLiteral("2");
    s.Sounds.Sound2File = QStringLiteral("b.wav");
    s.Sounds.Sound2Random = QStringLiteral("3");
    s.Sounds.Sound1Loop = FlagOn;
    s.Sounds.Sound3File = QStringLiteral("c.wav");
    s.Sounds.Sound3Random = QStringLiteral("4");
    f.cdl.FileName = scenesFolder() + QStringLiteral("Last.scn");
    s.WorkFolder = env.program + u'/';

    f.Command11->click();

    ASSERT_EQ(files.requests.size(), 1);
    const FileChooserRequest &r = files.requests[0];
    EXPECT_FALSE(r.save);
    EXPECT_EQ(r.initDir, baseFolder() + QStringLiteral("Scenes"));
    EXPECT_EQ(r.filter, QStringLiteral("Scene Files (*.scn)|*.scn"));
    EXPECT_EQ(r.fileName, scenesFolder() + QStringLiteral("Last.scn")) << "offered again";
    for (QCheckBox *box : {f.Check2, f.Check3, f.Check4, f.Check5, f.Check8, f.Check9})
        EXPECT_EQ(checkValue(box), 0) << box->objectName().toStdString();
    EXPECT_TRUE(f.Option1->isChecked());
    for (const Value *v : {&s.Sounds.Sound1File, &s.Sounds.Sound1Random, &s.Sounds.Sound1LoopDelay,
                           &s.Sounds.Sound2File, &s.Sounds.Sound2Random, &s.Sounds.Sound3File,
                           &s.Sounds.Sound3Random})
        EXPECT_EQ(v->toText(), QString());
    EXPECT_EQ(s.Sounds.Sound1Loop, FlagOff);
    EXPECT_EQ(s.WorkFolder.toText(), baseFolder());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(LegacySaveLoadTest, LoadSetsTheWindowsRowByRow)
{
    drawPicture(imagesFolder() + QStringLiteral("BeachBG.jpg"), QSize(300, 200), qRgb(0, 200, 0));
    drawPicture(imagesFolder() + QStringLiteral("mouth.bmp"), QSize(20, 10), qRgb(200, 0, 0));
    drawPicture(imagesFolder() + QStringLiteral("ublink.bmp"), QSize(21, 11));
    drawPicture(imagesFolder() + QStringLiteral("Extra01.jpg"), QSize(22, 12));
    drawPicture(imagesFolder() + QStringLiteral("Trig01.jpg"), QSize(23, 13));
    Sound &sound = form<Sound>();
    setCheckValue(sound.Check1, 1); // "Sound1Loop=False" leaves it
    ExtraAnimProps &extra = form<ExtraAnimProps>();
    extra.Option4->setChecked(true); // no "MPLT=": left as it was
    ChildAnimProps &child = form<ChildAnimProps>();
    setCheckValue(child.Check2, 1);

    loadScene(writeScene(QStringLiteral("Beach.scn"),
                         fileOf({"BG=BeachBG.jpg;", "NI=Night.jpg;", "KM=mouth.bmp;", "KMh=10;", "KMw=20;", "KMx=5;",
                                 "KMy=6;", "UserBlinkOn;", "UB=ublink.bmp;", "UBw=21;", "UBx=7;", "UBy=8;", "MiscOn;",
                                 "MP=Extra01.jpg;", "MPh=12;", "MPw=22;", "MPx=9;", "MPy=10;", "MR=100;", "MF=12;",
                                 "MD=3;", "MDA=4;", "EMA=Kick01.jpg;", "EMAF=7;", "EMAR=50;", "EMAFl=Start;",
                                 "MainAnimName=Sea01.jpg;", "MainAnimF=8;", "MainAnimS=70;", "MainAnimD=;",
                                 "MainAnimR=2;", "MainAnimDS=End;", "MainAnimLoop=Pong;", "MainAnimTalk=Start;",
                                 "MainAnimMPause=No;", "MainAnimMPause=Yes;", "MainAnimRS=50;",
                                 "MainAnimRSSMin=1;", "MainAnimRSSMax=9;", "TP=Trig01.jpg;", "TPh=13;", "TPw=23;",
                                 "TPx=11;", "TPy=12;", "TF=5;", "TS=90;", "Sound1=Rain.wav;", "Sound1R=4;",
                                 "Sound1Loop=False;", "Sound2=Bird.wav;", "Sound2R=30;"})));

    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'\n').toStdString();
    // The load made no dialog; the ones that come later show what it gave.
    EXPECT_FALSE(formExists<FullAnimProps>());
    EXPECT_FALSE(formExists<TrigAnimProps>());
    Form1 &f = editor();
    SceneState &s = scene();
    EXPECT_EQ(canvas().PicBox->ScaleMode(), 3);
    EXPECT_EQ(s.BackgroundFileName.toText(), QStringLiteral("BeachBG.jpg"));
    EXPECT_EQ(canvas().picBackground->Picture().size(), QSize(300, 200));
    EXPECT_EQ(s.SceneHasAltImage, FlagOn);
    EXPECT_EQ(s.AltImageName.toText(), QStringLiteral("Night.jpg"));
    EXPECT_EQ(s.AltImagePath.toText(), baseFolder() + QStringLiteral("Night.jpg"));
    EXPECT_EQ(checkValue(f.Check6), 1);
    EXPECT_TRUE(f.Check7->isEnabled());

    EXPECT_EQ(s.MainMouthFileName.toText(), QStringLiteral("mouth.bmp"));
    const LayerPlacement &mouth = s.LayerPlacements[LayerMainMouth];
    EXPECT_EQ(mouth.LayerX.kind(), Value::Kind::Text);
    EXPECT_EQ(QStringList({mouth.LayerHeight.toText(), mouth.LayerWidth.toText(), mouth.LayerX.toText(),
                           mouth.LayerY.toText()}),
              QStringList({"10", "20", "5", "6"}));
    EXPECT_EQ(canvas().picImage->Picture().size(), QSize(20, 10));
    EXPECT_EQ(s.SceneHasUser, FlagOff);
    EXPECT_EQ(s.SceneHasMainBlink, FlagOff);
    EXPECT_EQ(s.SceneHasUserBlink, FlagOn);
    EXPECT_EQ(checkValue(f.Check4), 1);
    EXPECT_EQ(s.LayerPlacements[LayerUserBlink].LayerHeight.toText(), QString()) << "no UBh=";
    EXPECT_EQ(s.LayerPlacements[LayerUserBlink].LayerWidth.toText(), QStringLiteral("21"));
    EXPECT_EQ(canvas().picImage4->Picture().size(), QSize(21, 11));

    EXPECT_EQ(s.SceneHasExtraAnim, FlagOn);
    EXPECT_EQ(s.ExtraFileName.toText(), QStringLiteral("Extra01.jpg"));
    EXPECT_EQ(checkValue(f.Check3), 1);
    EXPECT_EQ(canvas().picImage5->Picture().size(), QSize(22, 12));
    EXPECT_EQ(s.LayerPlacements[LayerExtraAnim].LayerX.toText(), QStringLiteral("9"));
    EXPECT_EQ(extra.Text1->text(), QStringLiteral("100"));
    EXPECT_EQ(extra.Text2->text(), QStringLiteral("12"));
    EXPECT_EQ(extra.Text4->text(), QStringLiteral("3"));
    EXPECT_EQ(s.ExtraFrameSet.FrameCount.toDouble(), 12) << "the count follows the frames box";
    EXPECT_TRUE(extra.Option2->isChecked()) << "no MPL= gives Ping Pong";
    EXPECT_FALSE(extra.Option1->isChecked());
    EXPECT_TRUE(extra.Option4->isChecked());
    EXPECT_EQ(s.ExtraDelayAtOn, FlagOn) << "MDA= turns the delay at a frame on";
    EXPECT_EQ(checkValue(extra.Check1), 1);
    EXPECT_EQ(extra.Text3->text(), QStringLiteral("4"));
    EXPECT_TRUE(extra.Text3->isEnabled());

    EXPECT_EQ(s.SceneHasChildAnim, FlagOn);
    EXPECT_EQ(s.ChildPreloadName.toText(), QStringLiteral("Kick01.jpg"));
    EXPECT_EQ(child.Text3->text(), QStringLiteral("Kick01.jpg"));
    EXPECT_EQ(checkValue(child.Check1), 1);
    EXPECT_EQ(checkValue(child.Check2), 0);
    EXPECT_FALSE(child.Check2->isEnabled());
    EXPECT_EQ(s.ChildAutoCropOn, FlagOff);
    EXPECT_EQ(checkValue(f.Check8), 1);
    EXPECT_EQ(child.Text2->text(), QStringLiteral("7"));
    EXPECT_EQ(child.Text1->text(), QStringLiteral("50"));
    EXPECT_TRUE(child.Option1->isChecked());

    FullAnimProps &full = form<FullAnimProps>();
    EXPECT_EQ(s.SceneHasFullAnim, FlagOn);
    EXPECT_EQ(checkValue(f.Check9), 1);
    EXPECT_EQ(s.FullAnimFirstFrameName.toText(), QStringLiteral("Sea01.jpg"));
    EXPECT_EQ(full.Text3->text(), QStringLiteral("Sea01.jpg"));
    EXPECT_EQ(QStringList({full.Text2->text(), full.Text5->text(), full.Text4->text(), full.Text1->text()}),
              QStringList({"8", "70", "", "2"}));
    EXPECT_TRUE(full.Option4->isChecked());
    EXPECT_TRUE(full.Option2->isChecked());
    EXPECT_TRUE(full.Option5->isChecked());
    EXPECT_EQ(checkValue(full.Check1), 1) << "Yes wins over No";
    EXPECT_TRUE(full.Option5->isVisibleTo(&full) && full.Option6->isVisibleTo(&full)) << "shown with the tick";
    EXPECT_EQ(checkValue(full.Check2), 1);
    EXPECT_EQ(QStringList({full.Text6->text(), full.Text7->text(), full.Text8->text()}),
              QStringList({"50", "1", "9"}));

    EXPECT_EQ(checkValue(f.Check11), 1);
    EXPECT_TRUE(f.Option6->isChecked()) << "the last layer box ticked selects its layer";
    EXPECT_EQ(canvas().picImage6->Picture().size(), QSize(23, 13));
    const LayerPlacement &trigger = s.LayerPlacements[LayerTriggerAnim];
    EXPECT_EQ(QStringList({trigger.LayerHeight.toText(), trigger.LayerWidth.toText(), trigger.LayerX.toText(),
                           trigger.LayerY.toText()}),
              QStringList({"13", "23", "11", "12"}));
    TrigAnimProps &trig = form<TrigAnimProps>();
    EXPECT_EQ(trig.Text2->text(), QStringLiteral("5"));
    EXPECT_EQ(trig.Text5->text(), QStringLiteral("90"));
    EXPECT_EQ(s.TriggerFrameSet.FrameCount.toText(), QStringLiteral("5"));

    EXPECT_EQ(s.Sounds.Sound1File.toText(), QStringLiteral("Rain.wav"));
    EXPECT_EQ(sound.Text4->text(), QStringLiteral("Rain.wav"));
    EXPECT_EQ(s.Sounds.Sound1Random.toText(), QStringLiteral("4"));
    EXPECT_EQ(sound.Text5->text(), QStringLiteral("4"));
    EXPECT_EQ(s.Sounds.Sound1Loop, FlagOff);
    EXPECT_EQ(checkValue(sound.Check1), 1) << "a false loop leaves the box";
    EXPECT_EQ(sound.Text1->text(), QStringLiteral("0")) << "no Sound1LoopDelay=";
    EXPECT_EQ(s.Sounds.Sound1LoopDelay.toText(), QString());
    EXPECT_EQ(checkValue(sound.Check2), 0);
    EXPECT_EQ(s.Sounds.Sound2File.toText(), QStringLiteral("Bird.wav"));
    EXPECT_EQ(sound.Text2->text(), QStringLiteral("30"));
    EXPECT_EQ(s.Sounds.Sound3File.toText(), QString());
    EXPECT_EQ(s.SceneText.toText().left(16), QStringLiteral("BG=BeachBG.jpg;\r"));
}

TEST_F(LegacySaveLoadTest, AbsentKeysLeaveOrClear)
{
    SceneState &s = scene();
    s.MainMouthFileName = QStringLiteral("kept.jpg");
    s.LayerPlacements[LayerMainMouth] = {Value::real(1), Value::real(2), Value::real(3), Value::real(4)};
    s.SceneHasFullAnim = s.SceneHasChildAnim = s.SceneHasAltImage = FlagOn;
    s.SceneHasTrigger = s.SceneHasSmile = FlagOn;
    s.LayerPlacements[LayerBrowAnim].LayerX = Value::real(77);
    canvas().picImage6->SetScaleMode(1);
    form<Sound>().Check2->setChecked(true);

    messages.answers.enqueue(MsgResult::Ok);
    loadScene(writeScene(QStringLiteral("Bare.scn"), fileOf({"KMh=9;", "KMx=9;", "BG=x;y.jpg;", "EMAF=3;"})));

    ASSERT_EQ(messages.shown.size(), 1) << "the background picture is missing";
    EXPECT_EQ(s.MainMouthFileName.toText(), QStringLiteral("kept.jpg"));
    EXPECT_EQ(s.LayerPlacements[LayerMainMouth].LayerX.toDouble(), 1) << "no KM= leaves the mouth";
    EXPECT_EQ(s.BackgroundFileName.toText(), QStringLiteral("x")) << "cut at the first semicolon";
    EXPECT_EQ(s.SceneHasFullAnim, FlagOff) << "cleared without MainAnimName=";
    EXPECT_EQ(s.SceneHasChildAnim, FlagOff);
    EXPECT_EQ(form<ChildAnimProps>().Text2->text(), QStringLiteral("3")) << "read without EMA= as well";
    EXPECT_EQ(s.SceneHasAltImage, FlagOff);
    EXPECT_EQ(s.SceneHasTrigger, FlagOn) << "never touched";
    EXPECT_EQ(s.SceneHasSmile, FlagOn);
    EXPECT_EQ(s.LayerPlacements[LayerBrowAnim].LayerX.toDouble(), 77);
    EXPECT_EQ(canvas().picImage6->ScaleMode(), 1);
    EXPECT_EQ(checkValue(form<Sound>().Check2), 0);
    EXPECT_EQ(form<Sound>().Text1->text(), QStringLiteral("0"));
}

TEST_F(LegacySaveLoadTest, RobustReadingWithOneMessageForWhatWasLeftOut)
{
    drawPicture(imagesFolder() + QStringLiteral("mouth.bmp"), QSize(20, 10), qRgb(200, 0, 0));
    struct Case {
        const char *name;
        QByteArray bytes;
        QStringList named; // in the one message; none: no message
        std::function<void(SceneState &)> check;
    } cases[] = {
        {"a last line without a line end",
         linesOf({"KM=mouth.bmp;", "KMx=5;", "TF=12;"}), {},
         [](SceneState &s) {
             EXPECT_EQ(s.MainMouthFileName.toText(), QStringLiteral("mouth.bmp"));
             EXPECT_EQ(form<TrigAnimProps>().Text2->text(), QStringLiteral("12"));
         }},
        {"line feeds only",
         linesOf({"KM=mouth.bmp;", "Sound1=Rain.wav;", "Sound1LoopDelay=3;", ""}, "\n"), {},
         [](SceneState &s) {
             EXPECT_EQ(s.Sounds.Sound1File.toText(), QStringLiteral("Rain.wav"));
             EXPECT_EQ(s.Sounds.Sound1LoopDelay.toText(), QStringLiteral("3"));
         }},
        {"empty values",
         fileOf({"KM=mouth.bmp;", "KMh=;", "TF=", "Sound1R=;"}), {},
         [](SceneState &s) {
             EXPECT_EQ(s.LayerPlacements[LayerMainMouth].LayerHeight.toText(), QString());
             EXPECT_EQ(form<TrigAnimProps>().Text2->text(), QString());
             EXPECT_EQ(s.Sounds.Sound1Random.toText(), QString());
         }},
        {"numbers far beyond the canvas",
         fileOf({"KM=mouth.bmp;", "KMh=1e999;", "KMw=1e300;", "KMx=-1e300;", "KMy=2147483648;"}), {},
         [](SceneState &s) {
             EXPECT_EQ(s.LayerPlacements[LayerMainMouth].LayerWidth.toText(), QStringLiteral("1e300"));
             EXPECT_EQ(form<Form2>().PicBox->Image().pixel(0, 0), form<Form2>().PicBox->BackColor().rgb());
         }},
        {"an empty file", QByteArray(), {},
         [](SceneState &s) {
             EXPECT_EQ(s.SceneText.toText(), QString());
             EXPECT_EQ(s.SceneHasExtraAnim, FlagOff);
         }},
        {"a name with a folder, a missing picture, a bad loop, a key without its semicolon",
         fileOf({"BG=../x.jpg;", "KM=mouth.bmp;", "KMx=5;", "UM=gone.jpg;", "UMx=3;", "Sound1=Rain.wav;",
                 "Sound1Loop=Often;", "Sound1R=7;"}) + "KB=blink.jpg",
         {"BG=../x.jpg", "gone.jpg", "Sound1Loop=Often", "KB="},
         [](SceneState &s) {
             EXPECT_TRUE(s.BackgroundFileName.isUnset());
             EXPECT_EQ(s.MainMouthFileName.toText(), QStringLiteral("mouth.bmp"));
             EXPECT_EQ(s.SceneHasUser, FlagOn);
             EXPECT_EQ(s.UserMouthFileName.toText(), QStringLiteral("gone.jpg"));
             EXPECT_EQ(s.LayerPlacements[LayerUserMouth].LayerX.toText(), QStringLiteral("3"));
             EXPECT_EQ(s.SceneHasMainBlink, FlagOff);
             EXPECT_EQ(s.Sounds.Sound1Loop, FlagOff);
             EXPECT_EQ(s.Sounds.Sound1Random.toText(), QStringLiteral("7")) << "the rest goes on";
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        const QString path = writeScene(QStringLiteral("Case.scn"), c.bytes);
        if (!c.named.isEmpty())
            messages.answers.enqueue(MsgResult::Ok);
        loadScene(path);
        c.check(scene());
        if (c.named.isEmpty()) {
            EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'\n').toStdString();
            continue;
        }
        ASSERT_EQ(messages.shown.size(), 1);
        const QString &text = messages.shown[0].text;
        EXPECT_TRUE(text.startsWith(QStringLiteral("The scene %1 was loaded without these parts:")
                                        .arg(QDir::toNativeSeparators(path))))
            << text.toStdString();
        for (const QString &part : c.named)
            EXPECT_TRUE(text.contains(part)) << part.toStdString() << " in " << text.toStdString();
    }
}

TEST_F(LegacySaveLoadTest, AFileThatCannotBeReadIsReported)
{
    QDir().mkpath(scenesFolder() + QStringLiteral("Folder.scn"));
    messages.answers.enqueue(MsgResult::Ok);
    loadScene(scenesFolder() + QStringLiteral("Folder.scn"));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].text.startsWith(QStringLiteral("The scene was not loaded.")));
    EXPECT_TRUE(scene().SceneText.isUnset());

    QByteArray huge(int(LegacySceneFileMaxSize) + 1, 'x');
    messages.answers.enqueue(MsgResult::Ok);
    loadScene(writeScene(QStringLiteral("Huge.scn"), huge));
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_TRUE(messages.shown[1].text.contains(QStringLiteral("larger than")));
}

TEST_F(LegacySaveLoadTest, ASceneInTwipsIsPaintedInPixels)
{
    loadSceneInTwips();
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'\n').toStdString();
    for (PictureBox *box : {canvas().PicBox, canvas().picBackground, canvas().picImage, canvas().picImage5})
        EXPECT_EQ(box->ScaleMode(), 1) << box->objectName().toStdString();
    EXPECT_EQ(canvas().picImage6->ScaleMode(), 3);
    EXPECT_EQ(canvas().PicBox->ScaleWidth(), 1115 * 15);
    EXPECT_EQ(pixel(99, 50), qRgb(0, 200, 0));
    EXPECT_EQ(pixel(100, 50), qRgb(200, 0, 0));
    EXPECT_EQ(pixel(109, 59), qRgb(200, 0, 0));
    EXPECT_EQ(pixel(110, 59), qRgb(0, 200, 0));

    // The canvas's own drag works in the same unit: twenty pixels are 300 twips.
    canvas().Show();
    QTest::mousePress(canvas().PicBox, Qt::LeftButton, {}, QPoint(105, 55));
    QTest::mouseMove(canvas().PicBox, QPoint(125, 60));
    QTest::mouseRelease(canvas().PicBox, Qt::LeftButton, {}, QPoint(125, 60));
    EXPECT_EQ(scene().LayerPlacements[LayerMainMouth].LayerX.toDouble(), 1800);
    EXPECT_EQ(scene().LayerPlacements[LayerMainMouth].LayerY.toDouble(), 825);
    EXPECT_EQ(pixel(120, 55), qRgb(200, 0, 0));
    EXPECT_EQ(pixel(119, 55), qRgb(0, 200, 0));
    scene().LayerPlacements[LayerMainMouth].LayerX = Value::real(1500);

    // The pad moves the layer by one twip, and the save keeps the unit.
    editor().Image2->click();
    EXPECT_EQ(scene().LayerPlacements[LayerMainMouth].LayerX.toDouble(), 1501);
    QDir().mkpath(scenesFolder());
    saveScene(scenesFolder() + QStringLiteral("Again.scn"));
    EXPECT_TRUE(readBytes(scenesFolder() + QStringLiteral("Again.scn")).startsWith("SV=3;\r\nBG=bg.bmp;\r\n"));
}

// The canvas window closed and opened again after a scene in twips was
// loaded: a picture picked for a layer still takes the scene's unit, and the
// new canvas paints it where the scene places it.
TEST_F(LegacySaveLoadTest, ACanvasMadeAgainKeepsTheScenesUnit)
{
    drawPicture(imagesFolder() + QStringLiteral("blink.bmp"), QSize(12, 6), qRgb(250, 250, 0));
    loadSceneInTwips();
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'\n').toStdString();
    canvas().close();
    EXPECT_EQ(scene().LegacyCanvasUnit, CanvasUnit::Twips);

    scene().LayerPlacements[LayerMainBlink].LayerX = Value::real(600);
    scene().LayerPlacements[LayerMainBlink].LayerY = Value::real(300);
    files.answers.enqueue(imagesFolder() + QStringLiteral("blink.bmp"));
    editor().Command3_Click();
    EXPECT_EQ(scene().LayerPlacements[LayerMainBlink].LayerWidth.toDouble(), 180);
    EXPECT_EQ(scene().LayerPlacements[LayerMainBlink].LayerHeight.toDouble(), 90);
    EXPECT_EQ(canvas().PicBox->ScaleMode(), 1);
    EXPECT_EQ(pixel(40, 20), qRgb(250, 250, 0));
    EXPECT_EQ(pixel(51, 25), qRgb(250, 250, 0));
    EXPECT_NE(pixel(52, 25), qRgb(250, 250, 0));
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'\n').toStdString();
}

// What the older layout holds comes back from a save in a program started afresh.
TEST_F(LegacySaveLoadTest, RoundTrip)
{
    drawPicture(imagesFolder() + QStringLiteral("bg.bmp"), QSize(300, 200), qRgb(0, 200, 0));
    for (const char *name : {"mouth.bmp", "blink.bmp", "umouth.bmp", "ublink.bmp", "extra.bmp"})
        drawPicture(imagesFolder() + QLatin1String(name), QSize(10, 10));
    SceneState &s = scene();
    s.BackgroundFileName = QStringLiteral("bg.bmp");
    s.MainMouthFileName = QStringLiteral("mouth.bmp");
    s.MainBlinkFileName = QStringLiteral("blink.bmp");
    s.UserMouthFileName = QStringLiteral("umouth.bmp");
    s.UserBlinkFileName = QStringLiteral("ublink.bmp");
    s.ExtraFileName = QStringLiteral("extra.bmp");
    s.SceneHasMainBlink = s.SceneHasUser = s.SceneHasUserBlink = s.SceneHasExtraAnim = FlagOn;
    s.SceneHasChildAnim = s.SceneHasFullAnim = s.SceneHasAltImage = FlagOn;
    s.ChildPreloadName = QStringLiteral("Kick01.jpg");
    s.FullAnimFirstFrameName = QStringLiteral("Sea01.jpg");
    s.AltImageName = QStringLiteral("Night.jpg");
    const LayerPlacement places[] = {
        {Value::real(350.25), Value::real(250), Value::real(60), Value::real(30)},
        {Value::real(330), Value::real(180), Value::real(56.0206195192546), Value::real(20)},
        {QStringLiteral("100"), QStringLiteral("200"), QStringLiteral("30"), QStringLiteral("20")},
        {Value::real(0), Value::real(1), Value::real(2), Value::real(3)},
        {Value::real(583.5), Value::real(7), Value::real(96), Value::real(40)},
    };
    for (int i = 0; i < 5; ++i)
        s.LayerPlacements[i] = places[i];
    s.Sounds.Sound1File = QStringLiteral("Rain.wav");
    s.Sounds.Sound1Random = QStringLiteral("4");
    s.Sounds.Sound1Loop = FlagOn;
    s.Sounds.Sound1LoopDelay = QStringLiteral("2");
    s.Sounds.Sound3File = QStringLiteral("Wind.wav");
    s.Sounds.Sound3Random = QStringLiteral("30");
    ExtraAnimProps &x = form<ExtraAnimProps>();
    x.Text1->setText(QStringLiteral("100"));
    x.Text2->setText(QStringLiteral("12"));
    x.Text4->setText(QStringLiteral("3"));
    x.Text5->setText(QStringLiteral("90"));
    setCheckValue(x.Check1, 1); // the delay falls at frame 4
    x.Text3->setText(QStringLiteral("4"));
    x.Option1->setChecked(true);
    x.Option3->setChecked(true);
    ChildAnimProps &c = form<ChildAnimProps>();
    c.Text1->setText(QStringLiteral("50"));
    c.Text2->setText(QStringLiteral("6"));
    c.Option2->setChecked(true);
    FullAnimProps &f = form<FullAnimProps>();
    f.Text1->setText(QStringLiteral("1"));
    f.Text2->setText(QStringLiteral("8"));
    f.Text4->setText(QStringLiteral("2"));
    f.Text5->setText(QStringLiteral("70"));
    f.Option2->setChecked(true);
    f.Option3->setChecked(true);
    f.Option6->setChecked(true);
    setCheckValue(f.Check1, 1);

    const QString path = scenesFolder() + QStringLiteral("Round.scn");
    QDir().mkpath(scenesFolder());
    saveScene(path);
    ASSERT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'\n').toStdString();
    ASSERT_TRUE(readBytes(path).contains("\r\nMD=3;\r\nMDA=4;\r\nMS=90;\r\n"));

    // A fresh program.
    destroyAllForms();
    flushDeletes();
    resetSceneState();
    startProgram();
    loadScene(path);
    ASSERT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'\n').toStdString();

    SceneState &t = scene();
    const std::pair<Value SceneState::*, const char *> names[] = {
        {&SceneState::BackgroundFileName, "bg.bmp"},     {&SceneState::MainMouthFileName, "mouth.bmp"},
        {&SceneState::MainBlinkFileName, "blink.bmp"},   {&SceneState::UserMouthFileName, "umouth.bmp"},
        {&SceneState::UserBlinkFileName, "ublink.bmp"},  {&SceneState::ExtraFileName, "extra.bmp"},
        {&SceneState::ChildPreloadName, "Kick01.jpg"},   {&SceneState::FullAnimFirstFrameName, "Sea01.jpg"},
        {&SceneState::AltImageName, "Night.jpg"},
    };
    for (const auto &[member, name] : names)
        EXPECT_EQ((t.*member).toText(), QString::fromUtf8(name));
    for (int i = 0; i < 5; ++i) {
        const LayerPlacement &a = places[i], &b = t.LayerPlacements[i];
        EXPECT_EQ(QStringList({b.LayerX.toText(), b.LayerY.toText(), b.LayerWidth.toText(), b.LayerHeight.toText()}),
                  QStringList({a.LayerX.toText(), a.LayerY.toText(), a.LayerWidth.toText(), a.LayerHeight.toText()}))
            << "layer " << i;
    }
    for (Flag flag : {t.SceneHasMainBlink, t.SceneHasUser, t.SceneHasUserBlink, t.SceneHasExtraAnim,
                      t.SceneHasChildAnim, t.SceneHasFullAnim, t.SceneHasAltImage})
        EXPECT_EQ(flag, FlagOn);
    ExtraAnimProps &x2 = form<ExtraAnimProps>();
    EXPECT_EQ(QStringList({x2.Text1->text(), x2.Text2->text(), x2.Text4->text(), x2.Text5->text()}),
              QStringList({"100", "12", "3", "90"}));
    EXPECT_TRUE(x2.Option1->isChecked());
    EXPECT_TRUE(x2.Option3->isChecked());
    EXPECT_EQ(t.ExtraDelayAtOn, FlagOn);
    EXPECT_EQ(checkValue(x2.Check1), 1);
    EXPECT_EQ(x2.Text3->text(), QStringLiteral("4"));
    ChildAnimProps &c2 = form<ChildAnimProps>();
    EXPECT_EQ(QStringList({c2.Text1->text(), c2.Text2->text()}), QStringList({"50", "6"}));
    EXPECT_TRUE(c2.Option2->isChecked());
    FullAnimProps &f2 = form<FullAnimProps>();
    EXPECT_EQ(QStringList({f2.Text1->text(), f2.Text2->text(), f2.Text4->text(), f2.Text5->text()}),
              QStringList({"1", "8", "2", "70"}));
    EXPECT_TRUE(f2.Option2->isChecked());
    EXPECT_TRUE(f2.Option3->isChecked());
    EXPECT_TRUE(f2.Option6->isChecked());
    EXPECT_EQ(checkValue(f2.Check1), 1);
    EXPECT_EQ(t.Sounds.Sound1File.toText(), QStringLiteral("Rain.wav"));
    EXPECT_EQ(t.Sounds.Sound1Random.toText(), QStringLiteral("4"));
    EXPECT_EQ(t.Sounds.Sound1Loop, FlagOn);
    EXPECT_EQ(t.Sounds.Sound1LoopDelay.toText(), QStringLiteral("2"));
    EXPECT_EQ(t.Sounds.Sound3File.toText(), QStringLiteral("Wind.wav"));
    EXPECT_EQ(t.Sounds.Sound3Random.toText(), QStringLiteral("30"));
    EXPECT_TRUE(t.Sounds.Sound2File.toText().isEmpty());

    // Saved again, the file is the same byte for byte.
    const QString again = scenesFolder() + QStringLiteral("Again.scn");
    saveScene(again);
    EXPECT_EQ(readBytes(again), readBytes(path));
}

} // namespace
