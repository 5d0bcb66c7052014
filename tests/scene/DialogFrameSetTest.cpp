// The frame-set loader as the extra and trigger dialogs' LOAD buttons run it:
// what a pick records, what the labels show, which messages appear.

#include "core/base/Files.h"
#include "core/scene/FrameSetFiles.h"
#include "core/scene/PickedFile.h"
#include "core/scene/SceneState.h"
#include "scene/CountValidator.h"
#include "scene/ExtraAnimProps.h"
#include "scene/TrigAnimProps.h"
#include "tests/scene/DialogFixture.h"

#include <QLabel>
#include <QPushButton>

namespace {

const QString kNumbering = QStringLiteral(
    "File is not numbered correctly. Please reference numbering convention. ie: Filename##.bmp or Filename####.bmp");
const QString kFrameCount = QStringLiteral("Problem with number of frames.");

class FrameSetLoaderTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        extra = &form<ExtraAnimProps>();
        extra->Show();
        art = tempPath(QStringLiteral("Art"));
    }
    // Loads a two-frame series first, so that a refused pick can be seen to change nothing.
    void loadPriorSeries()
    {
        drawSeries(art, QStringLiteral("Prior"), 1, 2, QStringLiteral(".bmp"));
        type(extra->Text2, QStringLiteral("2"));
        pickNext(art + QStringLiteral("/Prior01.bmp"));
        click(extra->Image1);
        ASSERT_EQ(scene().ExtraFrameSet.FrameBaseName.toText(), QStringLiteral("Prior"));
        files.requests.clear();
    }

    ExtraAnimProps *extra = nullptr;
    QString art;
};

struct PickCase {
    const char *count;  // typed into the Frames box
    const char *picked; // file name picked in the Art folder
    // Expected: empty message means the pick is recorded.
    const char *message;
    int first, last;
    const char *label8, *label12, *base, *ext;
};

} // namespace

TEST_F(FrameSetLoaderTest, PickTableRecordsTheSeriesOrRefusesIt)
{
    const PickCase cases[] = {
        {"12", "Walk-0001.bmp", "", 1, 12, "01", "12", "Walk-00", ".bmp"},
        {"5", "Walk-0016.jpg", "", 16, 20, "16", "20", "Walk-00", ".jpg"},
        {"3", "Walk01.bmp", "", 1, 3, "01", "3", "Walk", ".bmp"},
        {"3", "Walk00.bmp", "", 0, 2, "00", "2", "Walk", ".bmp"},
        {"2", "Sky05.JPG", "", 5, 6, "05", "6", "Sky", ".JPG"},
        // The number is the two digits before the extension, whatever its length.
        {"2", "Walk01.jpeg", "", 1, 2, "01", "2", "Walk", ".jpeg"},
        {"3", "Walkab.bmp", "numbering", 0, 0, "", "", "", ""},
        {"3", "Walk1.bmp", "numbering", 0, 0, "", "", "", ""},
        {"3", "Walk 1.bmp", "numbering", 0, 0, "", "", "", ""},
        {"3", "Walk01", "numbering", 0, 0, "", "", "", ""},
        {"3", "1.bmp", "numbering", 0, 0, "", "", "", ""},
        // The last frame does not fit in 16 bits.
        {"32767", "Walk-0016.bmp", "numbering", 0, 0, "", "", "", ""},
    };
    for (const PickCase &c : cases) {
        SCOPED_TRACE(c.picked);
        loadPriorSeries();
        const AnimFrameSet before = scene().ExtraFrameSet;
        const QString name = QString::fromUtf8(c.picked);
        const QString path = art + u'/' + name;
        // The picked file and the rest of its series exist, so no frame is missing.
        if (const auto series = parseFrameSeriesName(name); series && QString::fromUtf8(c.message).isEmpty())
            drawSeries(art, series->base, c.first, c.last, series->ext);
        else
            drawPicture(path);

        type(extra->Text2, QString::fromUtf8(c.count));
        pickNext(path);
        const bool refused = QString::fromUtf8(c.message) == QStringLiteral("numbering");
        if (refused)
            messages.expect(MsgResult::Ok);
        click(extra->Image1);

        ASSERT_EQ(files.requests.size(), 1);
        EXPECT_EQ(files.requests[0].filter, QStringLiteral("Images Files (*.bmp;*.jpg)|*.bmp;*.jpg"));
        EXPECT_EQ(scene().WorkFolder.toText(), baseFolder());
        const AnimFrameSet &set = scene().ExtraFrameSet;
        if (refused) {
            EXPECT_EQ(messages.takeTexts(), QStringList{kNumbering});
            // Nothing of the refused pick is kept.
            EXPECT_EQ(set.FirstFramePath.toText(), before.FirstFramePath.toText());
            EXPECT_EQ(set.FrameFolder.toText(), before.FrameFolder.toText());
            EXPECT_EQ(set.FrameBaseName.toText(), QStringLiteral("Prior"));
            EXPECT_EQ(set.FrameExt.toText(), QStringLiteral(".bmp"));
            EXPECT_EQ(set.FirstFrame.toText(), QStringLiteral("1"));
            EXPECT_EQ(set.LastFrame.toText(), QStringLiteral("2"));
            EXPECT_EQ(extra->Text6->text(), QStringLiteral("Prior01.bmp"));
            EXPECT_EQ(extra->Label8->text(), QStringLiteral("01"));
            continue;
        }
        EXPECT_EQ(messages.takeTexts(), QStringList());
        EXPECT_EQ(set.FirstFramePath.toText(), path);
        EXPECT_EQ(set.FrameFolder.toText(), art + u'/');
        EXPECT_EQ(set.FrameBaseName.toText(), QString::fromUtf8(c.base));
        EXPECT_EQ(set.FrameExt.toText(), QString::fromUtf8(c.ext));
        EXPECT_EQ(set.FirstFrame.kind(), Value::Kind::Integer);
        EXPECT_EQ(set.FirstFrame.toText(), QString::number(c.first));
        EXPECT_EQ(set.LastFrame.toText(), QString::number(c.last));
        EXPECT_EQ(set.CurrentFrame.toText(), QString::number(c.first));
        EXPECT_EQ(set.FrameCount.toText(), QString::fromUtf8(c.count));
        EXPECT_EQ(extra->Label8->text(), QString::fromUtf8(c.label8));
        EXPECT_EQ(extra->Label12->text(), QString::fromUtf8(c.label12));
        EXPECT_EQ(extra->Text6->text(), name);
        EXPECT_EQ(scene().PickedPath.toText(), path);
        EXPECT_EQ(scene().PickedName.toText(), name);
        EXPECT_EQ(scene().PickedNameStart.toDouble(), art.size() + 2);
        // The alpha set is the alpha button's alone.
        EXPECT_TRUE(scene().AlphaFrameSet.FrameBaseName.isUnset());
    }
}

TEST_F(FrameSetLoaderTest, AFrameCountThatIsNoCountOpensNoChooser)
{
    loadPriorSeries();
    // "abc" and "99999" cannot be typed; code can still set them.
    for (const char *count : {"1", "0", "-4", "", "abc", "99999", "2.5x"}) {
        SCOPED_TRACE(count);
        extra->Text2->setText(QString::fromUtf8(count));
        messages.expect(MsgResult::Ok);
        click(extra->Image1);
        EXPECT_EQ(messages.takeTexts(), QStringList{kFrameCount});
        EXPECT_TRUE(files.requests.isEmpty());
        EXPECT_EQ(scene().ExtraFrameSet.FrameBaseName.toText(), QStringLiteral("Prior"));
        EXPECT_EQ(scene().ExtraFrameSet.LastFrame.toText(), QStringLiteral("2"));
    }
}

TEST_F(FrameSetLoaderTest, CountBoxesTakeOnlySixteenBitWholeNumbers)
{
    type(extra->Text2, QStringLiteral("99999"));
    EXPECT_EQ(extra->Text2->text(), QStringLiteral("9999"));
    type(extra->Text2, QStringLiteral("1x2"));
    EXPECT_EQ(extra->Text2->text(), QStringLiteral("12"));
    type(extra->Text2, QStringLiteral("-32768"));
    EXPECT_EQ(extra->Text2->text(), QStringLiteral("-32768"));

    CountValidator validator;
    int pos = 0;
    for (const auto &[text, state] : std::initializer_list<std::pair<const char *, QValidator::State>>{
             {"", QValidator::Intermediate}, {"-", QValidator::Intermediate}, {"32767", QValidator::Acceptable},
             {"32768", QValidator::Invalid}, {"1.5", QValidator::Invalid}, {"007", QValidator::Acceptable}}) {
        QString t = QString::fromUtf8(text);
        EXPECT_EQ(validator.validate(t, pos), state) << text;
    }
}

TEST_F(FrameSetLoaderTest, CancelledChooserChangesNothingButTheWorkFolder)
{
    loadPriorSeries();
    scene().WorkFolder = QStringLiteral("/elsewhere/");
    type(extra->Text2, QStringLiteral("4"));
    click(extra->Image1); // no answer queued: the chooser is cancelled
    EXPECT_EQ(files.requests.size(), 1);
    EXPECT_EQ(messages.takeTexts(), QStringList());
    EXPECT_EQ(scene().WorkFolder.toText(), baseFolder());
    EXPECT_EQ(scene().ExtraFrameSet.FrameBaseName.toText(), QStringLiteral("Prior"));
    EXPECT_EQ(scene().ExtraFrameSet.LastFrame.toText(), QStringLiteral("2"));
    EXPECT_EQ(extra->Text6->text(), QStringLiteral("Prior01.bmp"));
}

TEST_F(FrameSetLoaderTest, MissingFramesAreReportedInOrderAndTheSetIsKept)
{
    drawSeries(art, QStringLiteral("Walk-00"), 1, 5, QStringLiteral(".bmp"), {2, 4});
    type(extra->Text2, QStringLiteral("5"));
    pickNext(art + QStringLiteral("/Walk-0001.bmp"));
    messages.expect(MsgResult::Ok, 2);
    click(extra->Image1);
    EXPECT_EQ(messages.takeTexts(), (QStringList{QStringLiteral("File Walk-0002.bmp does not exist!"),
                                             QStringLiteral("File Walk-0004.bmp does not exist!")}));
    EXPECT_EQ(extra->Text6->text(), QStringLiteral("Can't Find: Walk-0004.bmp"));
    EXPECT_EQ(scene().ExtraFrameSet.LastFrame.toText(), QStringLiteral("5"));
    EXPECT_EQ(scene().ExtraFrameSet.FrameBaseName.toText(), QStringLiteral("Walk-00"));

    // The last frame missing: the message and the report box name it. A frame
    // whose name differs only in letter case is found.
    QFile::remove(art + QStringLiteral("/Walk-0003.bmp"));
    drawSeries(art, QStringLiteral("Walk-00"), 1, 11, QStringLiteral(".bmp"));
    QFile::rename(art + QStringLiteral("/Walk-0010.bmp"), art + QStringLiteral("/WALK-0010.BMP"));
    type(extra->Text2, QStringLiteral("12"));
    pickNext(art + QStringLiteral("/Walk-0001.bmp"));
    messages.expect(MsgResult::Ok);
    click(extra->Image1);
    EXPECT_EQ(messages.takeTexts(), QStringList{QStringLiteral("File Walk-0012.bmp does not exist!")});
    EXPECT_EQ(extra->Text6->text(), QStringLiteral("Can't Find: Walk-0012.bmp"));
    EXPECT_EQ(extra->Label12->text(), QStringLiteral("12"));
}

TEST_F(FrameSetLoaderTest, ALongRunOfMissingFramesGivesAFewMessagesAndACount)
{
    drawPicture(art + QStringLiteral("/Walk-0001.bmp"));
    struct Case {
        const char *count;
        QStringList texts;
        const char *lastMissing;
    };
    const Case cases[] = {
        // Four missing: each has its own message.
        {"5",
         {QStringLiteral("File Walk-0002.bmp does not exist!"), QStringLiteral("File Walk-0003.bmp does not exist!"),
          QStringLiteral("File Walk-0004.bmp does not exist!"), QStringLiteral("File Walk-0005.bmp does not exist!")},
         "Walk-0005.bmp"},
        // Thousands missing: three, then one message for the rest.
        {"3000",
         {QStringLiteral("File Walk-0002.bmp does not exist!"), QStringLiteral("File Walk-0003.bmp does not exist!"),
          QStringLiteral("File Walk-0004.bmp does not exist!"),
          QStringLiteral("2996 more files of this series do not exist! The last one is Walk-003000.bmp.")},
         "Walk-003000.bmp"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.count);
        type(extra->Text2, QString::fromUtf8(c.count));
        pickNext(art + QStringLiteral("/Walk-0001.bmp"));
        messages.expect(MsgResult::Ok, int(c.texts.size()));
        click(extra->Image1);
        EXPECT_EQ(messages.takeTexts(), c.texts);
        EXPECT_EQ(extra->Text6->text(), QStringLiteral("Can't Find: ") + QString::fromUtf8(c.lastMissing));
        EXPECT_EQ(scene().ExtraFrameSet.LastFrame.toText(), QString::fromUtf8(c.count));
    }
}

TEST_F(FrameSetLoaderTest, TheAlphaLoaderKeepsNamesApartAndNumbersWithTheExtraSeries)
{
    EXPECT_FALSE(extra->Command1->isVisible());
    EXPECT_TRUE(extra->Text7->isVisible());

    // A Frames box of 1 still marks the alpha frames as asked for.
    messages.expect(MsgResult::Ok);
    extra->Command1->click();
    EXPECT_EQ(scene().ExtraHasAlpha, FlagOn);
    EXPECT_EQ(messages.takeTexts(), QStringList{kFrameCount});

    drawSeries(art, QStringLiteral("Walk-00"), 1, 4, QStringLiteral(".bmp"));
    drawSeries(art + QStringLiteral("/Alpha"), QStringLiteral("Mask"), 3, 6, QStringLiteral(".jpg"));
    type(extra->Text2, QStringLiteral("4"));
    pickNext(art + QStringLiteral("/Walk-0001.bmp"));
    click(extra->Image1);
    pickNext(art + QStringLiteral("/Alpha/Mask03.jpg"));
    extra->Command1->click();

    EXPECT_EQ(messages.takeTexts(), QStringList());
    const SceneState &s = scene();
    EXPECT_EQ(s.AlphaFrameSet.FrameFolder.toText(), art + QStringLiteral("/Alpha/"));
    EXPECT_EQ(s.AlphaFrameSet.FrameBaseName.toText(), QStringLiteral("Mask"));
    EXPECT_EQ(s.AlphaFrameSet.FrameExt.toText(), QStringLiteral(".jpg"));
    EXPECT_TRUE(s.AlphaFrameSet.FirstFramePath.isUnset());
    EXPECT_TRUE(s.AlphaFrameSet.FirstFrame.isUnset());
    // The extra series now carries the alpha series' numbers, and its own names.
    EXPECT_EQ(s.ExtraFrameSet.FirstFrame.toText(), QStringLiteral("3"));
    EXPECT_EQ(s.ExtraFrameSet.LastFrame.toText(), QStringLiteral("6"));
    EXPECT_EQ(s.ExtraFrameSet.CurrentFrame.toText(), QStringLiteral("3"));
    EXPECT_EQ(s.ExtraFrameSet.FrameBaseName.toText(), QStringLiteral("Walk-00"));
    EXPECT_EQ(s.ExtraFrameSet.FirstFramePath.toText(), art + QStringLiteral("/Walk-0001.bmp"));
    EXPECT_EQ(extra->Text7->text(), QStringLiteral("Mask03.jpg"));
    EXPECT_EQ(extra->Text6->text(), QStringLiteral("Walk-0001.bmp"));
    EXPECT_EQ(extra->Label8->text(), QStringLiteral("03"));
    EXPECT_EQ(extra->Label12->text(), QStringLiteral("6"));
}

TEST_F(FrameSetLoaderTest, TheTriggerLoaderFillsTheTriggerSetAndItsOwnBoxes)
{
    TrigAnimProps &trigger = form<TrigAnimProps>();
    trigger.Show();
    messages.expect(MsgResult::Ok);
    click(trigger.Image2); // Frames box at its start value 1
    EXPECT_EQ(messages.takeTexts(), QStringList{kFrameCount});

    drawSeries(art, QStringLiteral("TrigAnim-00"), 16, 19, QStringLiteral(".bmp"), {18});
    type(trigger.Text2, QStringLiteral("4"));
    pickNext(art + QStringLiteral("/TrigAnim-0016.bmp"));
    messages.expect(MsgResult::Ok);
    click(trigger.Image2);

    EXPECT_EQ(messages.takeTexts(), QStringList{QStringLiteral("File TrigAnim-0018.bmp does not exist!")});
    const AnimFrameSet &set = scene().TriggerFrameSet;
    EXPECT_EQ(set.FirstFramePath.toText(), art + QStringLiteral("/TrigAnim-0016.bmp"));
    EXPECT_EQ(set.FrameBaseName.toText(), QStringLiteral("TrigAnim-00"));
    EXPECT_EQ(set.FirstFrame.toText(), QStringLiteral("16"));
    EXPECT_EQ(set.LastFrame.toText(), QStringLiteral("19"));
    EXPECT_EQ(set.CurrentFrame.toText(), QStringLiteral("16"));
    EXPECT_EQ(trigger.Label8->text(), QStringLiteral("16"));
    EXPECT_EQ(trigger.Label12->text(), QStringLiteral("19"));
    EXPECT_EQ(trigger.Text6->text(), QStringLiteral("Can't Find: TrigAnim-0018.bmp"));
    EXPECT_TRUE(scene().ExtraFrameSet.FrameBaseName.isUnset());
    EXPECT_EQ(extra->Label12->text(), QStringLiteral("0"));
}

TEST(FrameSetRules, FrameNamesAndFileTests)
{
    EXPECT_EQ(frameFileName(QStringLiteral("Walk-00"), 9, QStringLiteral(".bmp")), QStringLiteral("Walk-0009.bmp"));
    EXPECT_EQ(frameFileName(QStringLiteral("Walk-00"), 12, QStringLiteral(".bmp")), QStringLiteral("Walk-0012.bmp"));
    EXPECT_EQ(frameFileName(QStringLiteral("Walk-00"), 100, QStringLiteral(".bmp")),
              QStringLiteral("Walk-00100.bmp"));
    EXPECT_EQ(frameFileName(QStringLiteral("Walk"), 0, QStringLiteral(".bmp")), QStringLiteral("Walk00.bmp"));
    EXPECT_EQ(lastFrameOf(32760, 8), int16_t(32767));
    EXPECT_FALSE(lastFrameOf(32760, 9));
    EXPECT_EQ(lastFrameOf(5, 0), int16_t(4));

    QTemporaryDir dir;
    const QString folder = dir.path();
    QDir(folder).mkdir(QStringLiteral("Walk02.bmp"));
    ASSERT_TRUE(writeFile(folder + QStringLiteral("/Walk01.bmp"), QByteArray()));
    EXPECT_TRUE(frameFileExists(folder + QStringLiteral("/Walk01.bmp")));
    EXPECT_TRUE(frameFileExists(folder + QStringLiteral("/WALK01.BMP")));
    EXPECT_FALSE(frameFileExists(folder + QStringLiteral("/Walk02.bmp"))); // a folder
    EXPECT_FALSE(frameFileExists(folder + QStringLiteral("/Walk03.bmp")));
    EXPECT_FALSE(frameFileExists(QString()));
    EXPECT_EQ(missingFrames(folder, QStringLiteral("Walk"), QStringLiteral(".bmp"), 1, 3),
              (QStringList{QStringLiteral("Walk02.bmp"), QStringLiteral("Walk03.bmp")}));
}

TEST(FrameSetRules, PickedFilesLieInAFolderOnlyWhenItIsTheirOwn)
{
    QTemporaryDir dir;
    const QString base = dir.path() + QStringLiteral("/Velm5Pro/");
    for (const char *sub : {"Images/Deeper", "MyImagesBackup", "images"})
        QDir().mkpath(base + QString::fromUtf8(sub));
    const QString images = base + QStringLiteral("Images");
    EXPECT_TRUE(liesDirectlyIn(base + QStringLiteral("Images/Kick01.bmp"), images));
    EXPECT_TRUE(liesDirectlyIn(base + QStringLiteral("./Images//Kick01.bmp"), images));
    EXPECT_FALSE(liesDirectlyIn(base + QStringLiteral("Images/Deeper/Kick01.bmp"), images));
    EXPECT_FALSE(liesDirectlyIn(base + QStringLiteral("MyImagesBackup/Kick01.bmp"), images));
    EXPECT_FALSE(liesDirectlyIn(base + QStringLiteral("images/Kick01.bmp"), images));
    EXPECT_FALSE(liesDirectlyIn(base + QStringLiteral("Kick01.bmp"), images));
    // The same folder through a link counts.
    ASSERT_TRUE(QFile::link(images, dir.path() + QStringLiteral("/Linked")));
    EXPECT_TRUE(liesDirectlyIn(dir.path() + QStringLiteral("/Linked/Kick01.bmp"), images));

    const PickedFile p = splitPickedPath(QStringLiteral("/a.b/c/Walk01.bmp"));
    EXPECT_EQ(p.name, QStringLiteral("Walk01.bmp"));
    EXPECT_EQ(p.folder, QStringLiteral("/a.b/c/"));
    EXPECT_EQ(p.nameStart, 8);
}
