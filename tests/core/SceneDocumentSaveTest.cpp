// The scene save on a scene document alone, with no window: the end-to-end
// save's first scene byte for byte, the picture of every layer, and what a
// refused or stopped save leaves on disk.

#include "core/scene/SceneDocument.h"
#include "core/scene/SceneSave.h"

#include "tests/core/SceneBytes.h"
#include "tests/support/ScriptedServices.h"
#include "tests/support/TaggedFrames.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// Where the end-to-end save's first road leaves the rectangles, in pixels.
const QPoint kMouthCrop(362, 346), kBlinkCrop(320, 320), kUserMouthCrop(400, 400), kExtraCrop(300, 300);

LayerPlacement placed(int x, int y, double width, double height)
{
    return {Value::longValue(x), Value::longValue(y), Value::real(width), Value::real(height)};
}

// A rectangle of the crop designers' 855 x 615 twips (56 x 41 pixels), or of
// the extra designer's 1035 x 705 (68 x 47), with its corner at `corner`.
QRectF cropAt(QPoint corner, QSizeF twips = QSizeF(855, 615))
{
    return QRectF(QPointF(corner.x() * 15.0, corner.y() * 15.0), twips);
}

class SceneDocumentSave : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        art = tempPath(QStringLiteral("Art/"));
        base = baseFolder();
        QDir().mkpath(art);
        for (int n = 1; n <= 7; ++n)
            ASSERT_TRUE(taggedFrame(n).save(girl(n), "BMP"));
        for (int n = 1; n <= 3; ++n)
            ASSERT_TRUE(taggedFrame(10 + n).save(fish(n), "BMP"));
    }

    QString girl(int n) const { return art + QStringLiteral("Girl%1.bmp").arg(n, 4, 10, QLatin1Char('0')); }
    QString fish(int n) const { return art + QStringLiteral("Fish0%1.bmp").arg(n); }
    QString at(const QString &rest) const { return base + rest; }

    // The frames a character designer cuts from frames 1 to k at `corner`.
    QList<QImage> cut(QPoint corner, int k) const
    {
        QList<QImage> frames;
        for (int n = 1; n <= k; ++n)
            frames << QImage(girl(n)).copy(QRect(corner, QSize(56, 41)));
        return frames;
    }

    // The document as the end-to-end save's first road leaves it.
    void beach()
    {
        SceneState &s = document.state();
        s.BaseFolder = base;
        s.PrimaryFirstFramePath = girl(1);
        s.PrimaryFramePrefix = art + QStringLiteral("Girl");
        s.PrimaryFrameExt = QStringLiteral(".bmp");
        s.SceneHasMainBlink = s.SceneHasUser = s.SceneHasExtraAnim = FlagOn;
        s.MainBlinkPlaced = s.UserMouthPlaced = s.ExtraPlaced = FlagOn;
        AnimFrameSet &extra = s.ExtraFrameSet;
        extra.FirstFramePath = fish(1);
        extra.FrameFolder = art;
        extra.FrameBaseName = QStringLiteral("Fish");
        extra.FrameExt = QStringLiteral(".bmp");
        extra.FirstFrame = Value::integer(1);
        extra.LastFrame = Value::integer(3);
        extra.CurrentFrame = Value::integer(2);
        extra.FrameCount = Value::integer(3);
        const double w = 56.0206195192546, h = 41.0137464091709;
        s.LayerPlacements[LayerMainMouth] = placed(381, 260, w, h);
        s.LayerPlacements[LayerMainBlink] = placed(330, 210, w, h);
        s.LayerPlacements[LayerUserMouth] = placed(450, 300, w, h);
        s.LayerPlacements[LayerExtraAnim] = placed(50, 51, 68.0034375945608, 47.0240557907913);

        SceneDialogValues &d = document.dialogs();
        d.extra.frames = QStringLiteral("3");
        d.sounds.sound1 = QStringLiteral("Rain.wav");
        d.sounds.sound1Loop = true;
        d.sounds.sound2 = QStringLiteral("Bird.wav");

        document.setCutFrames(LayerMainMouth, cut(kMouthCrop, 7));
        document.setCutFrames(LayerMainBlink, cut(kBlinkCrop, 4));
        document.setCutFrames(LayerUserMouth, cut(kUserMouthCrop, 7));
        document.setCropTwips(LayerMainMouth, cropAt(kMouthCrop));
        document.setCropTwips(LayerExtraAnim, cropAt(kExtraCrop, QSizeF(1035, 705)));
    }

    static QByteArray bytesOf(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QStringList written() const
    {
        QStringList names = QDir(at(QStringLiteral("Images"))).entryList(QDir::Files);
        names.sort();
        return names;
    }

    QString art, base;
    SceneDocument document;
};

TEST_F(SceneDocumentSave, TheEndToEndScene)
{
    beach();
    const auto saved = saveScene(document, QStringLiteral("Beach"), base);
    ASSERT_TRUE(saved) << saved.error.reason.toStdString();
    EXPECT_FALSE(saved.value.fullAnimFailed);
    EXPECT_EQ(bytesOf(at(QStringLiteral("Scenes/Beach.scn"))), beachSceneBytes());
    EXPECT_EQ(document.state().SceneText.toText().toLatin1() + "\r\n", beachSceneBytes());
    EXPECT_EQ(bytesOf(at(QStringLiteral("Data/myscenes.dat"))), QByteArray("Beach\n\r\r\n"));
    EXPECT_EQ(document.state().ExtraFrameSet.CurrentFrame.toDouble(), 0);

    const struct {
        const char *word;
        int count;
        QPoint corner;
        QSize size;
    } layers[] = {{"Mouth", 7, kMouthCrop, {56, 41}},
                  {"Blink", 4, kBlinkCrop, {56, 41}},
                  {"UserMouth", 7, kUserMouthCrop, {56, 41}},
                  {"Extra", 3, kExtraCrop, {68, 47}}};
    QStringList names{QStringLiteral("BeachBG.jpg")};
    EXPECT_TRUE(isSavedCutOf(at(QStringLiteral("Images/BeachBG.jpg")), girl(1), QRect(0, 0, FrameWidth, FrameHeight)));
    for (const auto &layer : layers) {
        for (int n = 1; n <= layer.count; ++n) {
            const QString name = QStringLiteral("Beach%1%2.jpg").arg(QLatin1String(layer.word)).arg(n, 2, 10, QLatin1Char('0'));
            const QString source = QLatin1String(layer.word) == QLatin1String("Extra") ? fish(n) : girl(n);
            EXPECT_TRUE(isSavedCutOf(at(QStringLiteral("Images/") + name), source, QRect(layer.corner, layer.size)))
                << name.toStdString();
            names << name;
        }
    }
    names.sort();
    EXPECT_EQ(written(), names);
}

// The smile and brow frames come from the series, cut with the mouth and the
// blink designers' rectangles; the trigger set with the trigger designer's.
TEST_F(SceneDocumentSave, EveryCutTakesItsDesignersRectangle)
{
    for (int n = 8; n <= 21; ++n)
        ASSERT_TRUE(taggedFrame(n).save(girl(n), "BMP"));
    beach();
    SceneState &s = document.state();
    s.SceneHasSmile = s.SceneHasBrow = s.SceneHasTrigger = s.TriggerPlaced = FlagOn;
    s.TriggerFrameSet = s.ExtraFrameSet;
    s.TriggerFrameSet.FrameCount = QStringLiteral("2");
    document.setCropTwips(LayerMainBlink, cropAt(kBlinkCrop));
    document.setCropTwips(LayerTriggerAnim, cropAt(QPoint(10, 20)));
    ASSERT_TRUE(saveScene(document, QStringLiteral("Cuts"), base));
    const QRect mouth(kMouthCrop, QSize(56, 41)), blink(kBlinkCrop, QSize(56, 41));
    EXPECT_TRUE(isSavedCutOf(at(QStringLiteral("Images/CutsSmile01.jpg")), girl(8), mouth));
    EXPECT_TRUE(isSavedCutOf(at(QStringLiteral("Images/CutsSmile14.jpg")), girl(21), mouth));
    EXPECT_TRUE(isSavedCutOf(at(QStringLiteral("Images/CutsBrow09.jpg")), girl(13), blink));
    EXPECT_TRUE(isSavedCutOf(at(QStringLiteral("Images/CutsTrigger02.jpg")), fish(2), QRect(10, 20, 56, 41)));
    EXPECT_FALSE(QFile::exists(at(QStringLiteral("Images/CutsTrigger03.jpg"))));
    EXPECT_EQ(s.TriggerFrameSet.CurrentFrame.toDouble(), 0);
}

// A refusal writes nothing; a step that fails stops the save, keeps what was
// written before it and leaves the list alone; a full-background group that
// cannot be written is the one failure the save goes on after.
TEST_F(SceneDocumentSave, RefusedStoppedAndGoneOn)
{
    beach();
    const auto refused = saveScene(document, QStringLiteral("../Beach"), base);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error.stage, SceneSaveFailure::Refused);
    EXPECT_TRUE(refused.error.reason.startsWith(QStringLiteral("A scene name cannot hold the characters")));
    EXPECT_FALSE(QDir(base).exists());

    document.dialogs().extra.speed = QStringLiteral("100;MF=9");
    const auto field = saveScene(document, QStringLiteral("Beach"), base);
    ASSERT_FALSE(field);
    EXPECT_EQ(field.error.stage, SceneSaveFailure::Refused);
    EXPECT_TRUE(field.error.reason.contains(QStringLiteral("the Speed box of Extra Anim Properties")));
    EXPECT_FALSE(QDir(base).exists());
    document.dialogs().extra.speed = QStringLiteral("100");

    ASSERT_TRUE(QFile::remove(fish(2)));
    const auto stopped = saveScene(document, QStringLiteral("Beach"), base);
    ASSERT_FALSE(stopped);
    EXPECT_EQ(stopped.error.stage, SceneSaveFailure::Stopped);
    EXPECT_TRUE(stopped.error.reason.contains(QStringLiteral("Fish02.bmp"))) << stopped.error.reason.toStdString();
    EXPECT_FALSE(stopped.error.fullAnimFailed);
    EXPECT_TRUE(QFile::exists(at(QStringLiteral("Scenes/Beach.scn"))));
    EXPECT_TRUE(QFile::exists(at(QStringLiteral("Images/BeachExtra01.jpg"))));
    EXPECT_FALSE(QFile::exists(at(QStringLiteral("Images/BeachExtra02.jpg"))));
    EXPECT_FALSE(QFile::exists(at(QStringLiteral("Data/myscenes.dat"))));

    ASSERT_TRUE(taggedFrame(12).save(fish(2), "BMP"));
    document.state().SceneHasFullAnim = FlagOn;
    document.dialogs().fullAnim.frames = QString();
    const auto goneOn = saveScene(document, QStringLiteral("Beach"), base);
    ASSERT_TRUE(goneOn) << goneOn.error.reason.toStdString();
    EXPECT_TRUE(goneOn.value.fullAnimFailed);
    EXPECT_TRUE(bytesOf(at(QStringLiteral("Scenes/Beach.scn"))).contains("MainAnimF=;\r\n"));
    EXPECT_TRUE(QFile::exists(at(QStringLiteral("Images/BeachExtra03.jpg"))));
    EXPECT_EQ(bytesOf(at(QStringLiteral("Data/myscenes.dat"))), QByteArray("Beach\n\r\r\n"));
}

// A designer's window that went takes its frames with it: the save says which
// picture it has nothing for.
TEST_F(SceneDocumentSave, FramesNeverCutAreReportedByName)
{
    beach();
    document.forgetDesigner(LayerMainBlink);
    const auto saved = saveScene(document, QStringLiteral("Beach"), base);
    ASSERT_FALSE(saved);
    EXPECT_EQ(saved.error.stage, SceneSaveFailure::Stopped);
    EXPECT_TRUE(saved.error.reason.contains(QStringLiteral("BeachBlink01.jpg"))) << saved.error.reason.toStdString();
    EXPECT_TRUE(QFile::exists(at(QStringLiteral("Images/BeachMouth07.jpg"))));
}

} // namespace

namespace {

// A group whose dialog never opened is written with the values the dialog
// starts with.
TEST(SceneDocumentValues, ADialogNeverOpenedGivesItsStartValues)
{
    SceneDocument document;
    SceneState &s = document.state();
    s.SceneHasTrigger = s.SceneHasExtraAnim = s.SceneHasChildAnim = s.SceneHasFullAnim = FlagOn;
    s.ChildPreloadName = QStringLiteral("Kick01.bmp");
    const QString text = sceneText(sceneEntries(sceneSettings(document, QStringLiteral("Beach"))));
    for (const char *entry : {"TF=1;", "TS=100;", "MR=100;", "MF=1;", "MD=3;", "MS=100;", "MPL=Loop;", "MPLT=End;",
                              "EMA=Kick01.bmp;", "EMAF=7;", "EMAR=100;", "EMAFl=Start;", "MainAnimF=7;",
                              "MainAnimS=70;", "MainAnimD=3;", "MainAnimR=0;", "MainAnimDS=End;", "MainAnimLoop=Loop;",
                              "MainAnimMPause=No;"})
        EXPECT_TRUE(text.contains(QLatin1String(entry) + QStringLiteral("\r\n"))) << entry;
}

} // namespace
