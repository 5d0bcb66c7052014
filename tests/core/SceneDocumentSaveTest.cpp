// The scene save on a scene document alone, with no window: the end-to-end
// save's first scene byte for byte, the picture of every layer, and that a
// refused or failed save leaves the base folder byte for byte as it was.

#include "core/base/FileTransaction.h"
#include "core/scene/SceneDocument.h"
#include "core/scene/SceneSave.h"

#include "tests/core/SceneBytes.h"
#include "tests/support/ScriptedServices.h"
#include "tests/support/TaggedFrames.h"

#include <QDir>
#include <QFile>
#include <QMap>

#include <cerrno>

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

// A refusal writes nothing; a source that cannot be read stops the save
// before it writes anything; a full-background group that cannot be written
// is the one failure the save goes on after.
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
    EXPECT_EQ(stopped.error.stage, SceneSaveFailure::NotSaved);
    EXPECT_EQ(stopped.error.reason,
              QStringLiteral("Could not load the picture %1: the file does not exist.").arg(fish(2)));
    EXPECT_FALSE(stopped.error.fullAnimFailed);
    EXPECT_FALSE(QDir(base).exists());

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
    EXPECT_EQ(saved.error.stage, SceneSaveFailure::NotSaved);
    EXPECT_TRUE(saved.error.reason.contains(QStringLiteral("BeachBlink01.jpg"))) << saved.error.reason.toStdString();
    EXPECT_FALSE(QDir(base).exists());
}

// "Has Smile Animation" over a series of seven frames: frame 0008 is missing.
// The save says so before it writes anything, into an empty base folder, one
// with another scene, and over an earlier save of the same name.
TEST_F(SceneDocumentSave, AMissingSmileFrameLeavesTheBaseFolderAsItWas)
{
    const QString missing = QStringLiteral("Could not load the picture %1: the file does not exist.")
                                .arg(art + QStringLiteral("Girl0008.bmp"));
    beach();
    SceneState &s = document.state();
    const struct {
        const char *label;
        const char *before; // the scene saved first, without the smile; none for ""
    } cases[] = {{"no base folder", ""}, {"another scene", "Park"}, {"the same name", "Smile7"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        QDir(base).removeRecursively();
        s.SceneHasSmile = FlagOff;
        if (*c.before) {
            ASSERT_TRUE(saveScene(document, QString::fromUtf8(c.before), base));
        }
        const auto before = snapshot(base);

        s.SceneHasSmile = FlagOn;
        const auto saved = saveScene(document, QStringLiteral("Smile7"), base);
        ASSERT_FALSE(saved);
        EXPECT_EQ(saved.error.stage, SceneSaveFailure::NotSaved);
        EXPECT_EQ(saved.error.reason, missing);
        EXPECT_EQ(snapshot(base), before);
        EXPECT_EQ(QDir(base).exists(), *c.before != 0);
    }
}

// Renames that fail for the targets named, as a disk refusing them does while
// the save puts its files in place; links that fail, as on a file system
// without them.
class RefusingCalls : public FileCalls {
public:
    QMap<QString, int> refused; // file name: the rename to it that fails, 1 for the first
    bool noLinks = false;
    bool rename(const QByteArray &from, const QByteArray &to) override
    {
        const QString name = QFile::decodeName(to).section(u'/', -1);
        if (refused.contains(name) && ++m_renames[name] == refused[name]) {
            errno = EIO;
            return false;
        }
        return FileCalls::rename(from, to);
    }
    bool link(const QByteArray &from, const QByteArray &to) override
    {
        if (noLinks) {
            errno = EPERM;
            return false;
        }
        return FileCalls::link(from, to);
    }

private:
    QMap<QString, int> m_renames;
};

// A write that fails late, after every picture was written beside its place
// or while the files are put in place: everything goes back as it was, over
// an earlier save of the same name and for a new one. Should a file not go
// back, the save says which.
TEST_F(SceneDocumentSave, ALateFailureUndoesEverythingTheSaveWrote)
{
    const struct {
        const char *label;
        const char *name;
        QMap<QString, int> refused; // renames that fail
        bool noLinks = false;
        bool backgroundFolder = false; // a folder stands where the background goes
        SceneSaveFailure::Stage stage = SceneSaveFailure::NotSaved;
        const char *said = "";
    } cases[] = {
        {"a folder where the last picture goes", "Park", {}, false, true, SceneSaveFailure::NotSaved,
         "Images/ParkBG.jpg: it is a folder"},
        {"the list, the last file put in place", "Park", {{"myscenes.dat", 1}}, false, false,
         SceneSaveFailure::NotSaved, "Data/myscenes.dat: Input/output error"},
        {"the background over an earlier save", "Beach", {{"BeachBG.jpg", 1}}, false, false,
         SceneSaveFailure::NotSaved, "Images/BeachBG.jpg: Input/output error"},
        {"the same without links", "Beach", {{"BeachBG.jpg", 1}}, true, false, SceneSaveFailure::NotSaved,
         "Images/BeachBG.jpg: Input/output error"},
        // The second rename to the first mouth frame is the one that puts it back.
        {"a file that does not go back", "Beach", {{"BeachBG.jpg", 1}, {"BeachMouth01.jpg", 2}}, false, false,
         SceneSaveFailure::Stopped, "these files could not be put back as they were:\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        QDir(base).removeRecursively();
        beach();
        ASSERT_TRUE(saveScene(document, QStringLiteral("Beach"), base));
        // The next save cuts from other frames, so that every picture it writes differs.
        document.setCutFrames(LayerMainMouth, cut(QPoint(10, 10), 7));
        document.setCutFrames(LayerMainBlink, cut(QPoint(20, 20), 4));
        document.setCutFrames(LayerUserMouth, cut(QPoint(30, 30), 7));
        if (c.backgroundFolder) {
            ASSERT_TRUE(QDir().mkpath(at(QStringLiteral("Images/ParkBG.jpg"))));
        }
        const auto before = snapshot(base);

        RefusingCalls calls;
        calls.refused = c.refused;
        calls.noLinks = c.noLinks;
        setFileCalls(&calls);
        const auto saved = saveScene(document, QString::fromUtf8(c.name), base);
        setFileCalls(nullptr);
        ASSERT_FALSE(saved);
        EXPECT_EQ(saved.error.stage, c.stage);
        EXPECT_TRUE(saved.error.reason.contains(QString::fromUtf8(c.said))) << saved.error.reason.toStdString();
        const auto after = snapshot(base);
        if (c.stage == SceneSaveFailure::NotSaved) {
            EXPECT_EQ(after, before);
            continue;
        }
        // The picture that did not go back is the new one, whole, and named, and
        // so is the file that keeps its old bytes; every other file is as it was
        // but for the save's journal. The next start puts the picture back.
        const QString mouth = QStringLiteral("Images/BeachMouth01.jpg");
        EXPECT_TRUE(saved.error.reason.contains(at(mouth))) << saved.error.reason.toStdString();
        EXPECT_TRUE(isSavedCutOf(at(mouth), girl(1), QRect(10, 10, 56, 41)));
        auto rest = after;
        QStringList left;
        for (auto it = after.begin(); it != after.end(); ++it)
            if (FileTransaction::isTemporaryName(it.key().section(u'/', -1)))
                left << it.key();
        ASSERT_EQ(left.size(), 2) << left.join(u' ').toStdString();
        const QString kept = left.filter(QStringLiteral(".old")).value(0);
        EXPECT_EQ(after.value(kept), before.value(mouth));
        EXPECT_TRUE(saved.error.reason.contains(at(kept))) << saved.error.reason.toStdString();
        for (const QString &name : left)
            rest.remove(name);
        rest.remove(mouth);
        auto restBefore = before;
        restBefore.remove(mouth);
        EXPECT_EQ(rest, restBefore);

        ASSERT_TRUE(recoverSaves(base));
        EXPECT_EQ(snapshot(base), before);
    }
    setFileCalls(nullptr);
}

// Renames as they happen, by the target's name.
class RecordingCalls : public FileCalls {
public:
    QStringList renamedTo;
    bool rename(const QByteArray &from, const QByteArray &to) override
    {
        renamedTo << QFile::decodeName(to).section(u'/', -1);
        return FileCalls::rename(from, to);
    }
};

// The scene file goes in place after every picture it names, and the list
// after it: a scene never names a picture that is not there yet.
TEST_F(SceneDocumentSave, TheSceneFileAndTheListGoInPlaceLast)
{
    beach();
    RecordingCalls calls;
    setFileCalls(&calls);
    const auto saved = saveScene(document, QStringLiteral("Beach"), base);
    setFileCalls(nullptr);
    ASSERT_TRUE(saved) << saved.error.reason.toStdString();
    QStringList renamed = calls.renamedTo;
    ASSERT_EQ(renamed.size(), 22 + 2 + 1); // the pictures, the scene file and the list, the journal's word
    EXPECT_TRUE(renamed.takeLast().endsWith(QStringLiteral(".done")));
    EXPECT_EQ(renamed.takeLast(), QStringLiteral("myscenes.dat"));
    EXPECT_EQ(renamed.takeLast(), QStringLiteral("Beach.scn"));
    for (const QString &name : renamed)
        EXPECT_TRUE(name.endsWith(QStringLiteral(".jpg"))) << name.toStdString();
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
