// The child animation's two windows: the preload / automatic-crop pair and its
// close guard, the preload pick, and the child variant of the frame-set loader.

#include "app/Start.h"
#include "core/legacy/LegacySceneDocument.h"
#include "core/scene/SceneDocument.h"
#include "platform/Controls.h"
#include "scene/ChildAnimLoad.h"
#include "scene/ChildAnimProps.h"
#include "tests/scene/DialogFixture.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kChoose = QStringLiteral("Please select AUTOMATIC CROP or PRELOADFRAMES");
const QString kNotInImages = QStringLiteral(
    "Child Animation Images must reside in the Images directory of Dollvane. Please fix and try again.");
const QString kNotFirst =
    QStringLiteral("The name of this image does not fit convention or is not the first frame of the animation.");

class ChildTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        props = &form<ChildAnimProps>();
        props->Show();
    }
    ChildAnimProps *props = nullptr;
};

} // namespace

TEST_F(ChildTest, FirstShowingAndTheFrameCountCopy)
{
    EXPECT_EQ(props->Caption(), QStringLiteral("Child Animation Properties"));
    EXPECT_EQ(props->Text2->text(), QStringLiteral("7"));
    EXPECT_EQ(props->Text1->text(), QStringLiteral("100"));
    EXPECT_TRUE(props->Option1->isChecked());
    EXPECT_EQ(checkValue(props->Check1), 0);
    EXPECT_EQ(checkValue(props->Check2), 0);
    EXPECT_TRUE(props->Check2->isEnabled());
    EXPECT_FALSE(props->Text3->isEnabled());
    // The loader window, hidden, shows the count.
    EXPECT_FALSE(form<ChildAnimLoad>().Visible());
    EXPECT_EQ(form<ChildAnimLoad>().Label4->text(), QStringLiteral("7"));
    EXPECT_EQ(form<ChildAnimLoad>().Caption(), QStringLiteral("Automatic Cropper Loader"));

    type(props->Text2, QStringLiteral("12"));
    EXPECT_EQ(form<ChildAnimLoad>().Label4->text(), QStringLiteral("12"));

    // The two windows show each other.
    click(form<ChildAnimLoad>().Image1);
    click(props->Image1);
    EXPECT_TRUE(form<ChildAnimLoad>().Visible());
    EXPECT_EQ(checkValue(props->Check1), 0);
    EXPECT_EQ(checkValue(props->Check2), 0);
    click(form<ChildAnimLoad>().Image3);
    EXPECT_FALSE(form<ChildAnimLoad>().Visible());
}

// The older editor's load of a scene with preloaded child frames shows in a
// dialog that comes later and in the one that is open; the launcher's New
// Scene offers automatic crop again.
TEST_F(ChildTest, APreloadedLoadTakesAutomaticCropAwayUntilANewScene)
{
    const LegacySceneRecord preloaded = ParseLegacyScene(QStringLiteral("EMA=Kick01.jpg;\r\nEMAF=5;\r\n"));
    auto showsTheLoad = [this] {
        EXPECT_EQ(checkValue(props->Check1), 1);
        EXPECT_EQ(checkValue(props->Check2), 0);
        EXPECT_FALSE(props->Check2->isEnabled());
        EXPECT_TRUE(props->Text3->isEnabled());
        EXPECT_EQ(props->Text3->text(), QStringLiteral("Kick01.jpg"));
        EXPECT_EQ(props->Text2->text(), QStringLiteral("5"));
        EXPECT_EQ(form<ChildAnimLoad>().Label4->text(), QStringLiteral("5"));
        EXPECT_FALSE(form<ChildAnimLoad>().Visible());
        EXPECT_EQ(scene().ChildAutoCropOn, FlagOff);
    };
    destroyAllForms();
    flushDeletes();
    startProgram();
    applyLegacyScene(sceneDocument(), preloaded);
    props = &form<ChildAnimProps>();
    {
        SCOPED_TRACE("a dialog that comes after the load");
        showsTheLoad();
    }

    click(form<Start>().Image1);
    EXPECT_TRUE(props->Check2->isEnabled());
    props->Show();
    click(props->Check2);
    EXPECT_EQ(checkValue(props->Check1), 0);
    EXPECT_EQ(scene().ChildAutoCropOn, FlagOn);
    EXPECT_TRUE(scene().ChildPreloadName.toText().isEmpty());
    ASSERT_TRUE(form<ChildAnimLoad>().Visible());
    form<ChildAnimLoad>().Hide();
    applyLegacyScene(sceneDocument(), preloaded);
    {
        SCOPED_TRACE("the open dialog");
        showsTheLoad();
    }
}

TEST_F(ChildTest, TheBoxesActAsAPair)
{
    struct Step {
        const char *action; // which box is clicked
        int check1, check2;
        bool text3Enabled;
        Flag autoCrop;
        bool loaderShown;
        bool preloadNameKept;
    };
    // From both unticked, each step clicks one box as the user does.
    const Step steps[] = {
        {"Check1", 1, 0, true, FlagOff, false, true},   // tick preload
        {"Check2", 0, 1, false, FlagOn, true, false},   // tick automatic crop
        {"Check2", 1, 0, true, FlagOff, false, true},   // untick automatic crop
        {"Check1", 0, 1, false, FlagOn, true, false},   // untick preload
        {"Check1", 1, 0, true, FlagOff, false, true},   // tick preload again
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.action);
        scene().ChildPreloadName = QStringLiteral("Kick01.bmp");
        props->Text3->setText(QStringLiteral("Kick01.bmp"));
        form<ChildAnimLoad>().Hide();
        click(QByteArray(step.action) == "Check1" ? props->Check1 : props->Check2);
        EXPECT_EQ(checkValue(props->Check1), step.check1);
        EXPECT_EQ(checkValue(props->Check2), step.check2);
        EXPECT_EQ(props->Text3->isEnabled(), step.text3Enabled);
        EXPECT_EQ(scene().ChildAutoCropOn, step.autoCrop);
        EXPECT_EQ(form<ChildAnimLoad>().Visible(), step.loaderShown);
        EXPECT_EQ(scene().ChildPreloadName.toText(), step.preloadNameKept ? QStringLiteral("Kick01.bmp") : QString());
        // The box keeps whatever it showed.
        EXPECT_EQ(props->Text3->text(), QStringLiteral("Kick01.bmp"));
    }
}

TEST_F(ChildTest, OkAndTheWindowBoxNeedAChoice)
{
    messages.expect(MsgResult::Ok);
    click(props->Image3);
    EXPECT_EQ(messages.takeTexts(), QStringList{kChoose});
    EXPECT_TRUE(props->Visible());

    messages.expect(MsgResult::Ok);
    props->close();
    flushDeletes();
    EXPECT_EQ(messages.takeTexts(), QStringList{kChoose});
    ASSERT_TRUE(formExists<ChildAnimProps>());
    EXPECT_TRUE(props->Visible());

    click(props->Check2);
    form<ChildAnimLoad>().Hide();
    click(props->Image3);
    EXPECT_FALSE(props->Visible());
    EXPECT_EQ(messages.takeTexts(), QStringList());

    // Closed with a choice made: it starts over, the shared values stay.
    props->Show();
    type(props->Text2, QStringLiteral("4"));
    type(props->Text1, QStringLiteral("55"));
    click(props->Option2);
    closeFromWindowBox(*props);
    EXPECT_FALSE(formExists<ChildAnimProps>());
    props = &form<ChildAnimProps>();
    EXPECT_EQ(props->Text2->text(), QStringLiteral("7"));
    EXPECT_EQ(props->Text1->text(), QStringLiteral("100"));
    EXPECT_TRUE(props->Option1->isChecked());
    EXPECT_EQ(checkValue(props->Check1), 0);
    EXPECT_EQ(checkValue(props->Check2), 0);
    EXPECT_TRUE(props->Text3->text().isEmpty());
    EXPECT_FALSE(props->Text3->isEnabled());
    EXPECT_EQ(scene().ChildAutoCropOn, FlagOn);
    EXPECT_EQ(form<ChildAnimLoad>().Label4->text(), QStringLiteral("7"));
}

TEST_F(ChildTest, PreloadPickMustLieInTheImagesFolderAndBeTheFirstFrame)
{
    const QString base = baseFolder();
    struct Case {
        QString picked;
        QString message;
        QString text3;
    };
    const QString inImages = QStringLiteral("Please put Child Anim Images in Images directory of Dollvane.");
    const QString notFirst = QStringLiteral("Error! Please load 1st frame.");
    const Case cases[] = {
        {tempPath(QStringLiteral("Pics/Kick01.bmp")), kNotInImages, inImages},
        {base + QStringLiteral("MyImagesBackup/Kick01.bmp"), kNotInImages, inImages},
        {base + QStringLiteral("Images/Old/Kick01.bmp"), kNotInImages, inImages},
        {base + QStringLiteral("images/Kick01.bmp"), kNotInImages, inImages},
        {base + QStringLiteral("Images/Kick03.bmp"), kNotFirst, notFirst},
        {base + QStringLiteral("Images/Kick01.bmp"), QString(), QStringLiteral("Kick01.bmp")},
        {base + QStringLiteral("Images/Jump-0001.jpg"), QString(), QStringLiteral("Jump-0001.jpg")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.picked.toStdString());
        drawPicture(c.picked);
        scene().ChildPreloadName = QStringLiteral("Before01.bmp");
        pickNext(c.picked);
        if (!c.message.isEmpty())
            messages.expect(MsgResult::Ok);
        click(props->Image2);
        EXPECT_EQ(messages.takeTexts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(props->Text3->text(), c.text3);
        EXPECT_EQ(scene().ChildPreloadName.toText(),
                  c.message.isEmpty() ? c.picked.section(u'/', -1) : QStringLiteral("Before01.bmp"));
        EXPECT_EQ(scene().WorkFolder.toText(), base);
    }
    EXPECT_EQ(files.requests.last().filter, QStringLiteral("Images Files (*.bmp;*.jpg)|*.bmp;*.jpg"));

    // A cancelled chooser: no message, nothing changes.
    click(props->Image2);
    EXPECT_EQ(messages.takeTexts(), QStringList());
    EXPECT_EQ(props->Text3->text(), QStringLiteral("Jump-0001.jpg"));
    EXPECT_EQ(scene().ChildPreloadName.toText(), QStringLiteral("Jump-0001.jpg"));
}

TEST_F(ChildTest, TheFirstFrameTestLooksAtTheFileNameNotTheFolders)
{
    // A documents folder with "01" in its path passes no frame but the first.
    destroyAllForms();
    flushDeletes();
    env.documents = tempPath(QStringLiteral("User01"));
    startProgram();
    props = &form<ChildAnimProps>();
    props->Show();
    const QString picked = baseFolder() + QStringLiteral("Images/Kick03.bmp");
    drawPicture(picked);
    pickNext(picked);
    messages.expect(MsgResult::Ok);
    click(props->Image2);
    EXPECT_EQ(messages.takeTexts(), QStringList{kNotFirst});
    EXPECT_TRUE(scene().ChildPreloadName.isUnset());
}

TEST_F(ChildTest, ChildSeriesLoaderRecordsTheSetWithoutACountTest)
{
    ChildAnimLoad &loader = form<ChildAnimLoad>();
    loader.Show();
    const QString art = tempPath(QStringLiteral("Art"));
    drawSeries(art, QStringLiteral("Child-00"), 16, 19, QStringLiteral(".bmp"), {17});
    struct Case {
        const char *count;
        QStringList messages;
        const char *label9;
        const char *text1;
    };
    const Case cases[] = {
        {"4", {QStringLiteral("File Child-0017.bmp does not exist!")}, "19", "Can't Find: Child-0017.bmp"},
        {"1", {}, "16", "Child-0016.bmp"},
        {"0", {}, "15", "Child-0016.bmp"}, // a last frame before the first: nothing is tested
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.count);
        type(props->Text2, QString::fromUtf8(c.count));
        EXPECT_EQ(loader.Label4->text(), QString::fromUtf8(c.count));
        pickNext(art + QStringLiteral("/Child-0016.bmp"));
        messages.expect(MsgResult::Ok, int(c.messages.size()));
        click(loader.Image2);
        EXPECT_EQ(messages.takeTexts(), c.messages);
        const AnimFrameSet &set = scene().ChildFrameSet;
        EXPECT_EQ(set.FrameFolder.toText(), art + u'/');
        EXPECT_EQ(set.FrameBaseName.toText(), QStringLiteral("Child-00"));
        EXPECT_EQ(set.FrameExt.toText(), QStringLiteral(".bmp"));
        EXPECT_EQ(set.FirstFrame.toText(), QStringLiteral("16"));
        EXPECT_EQ(set.LastFrame.toText(), QString::fromUtf8(c.label9));
        EXPECT_TRUE(set.FirstFramePath.isUnset());
        EXPECT_TRUE(set.CurrentFrame.isUnset());
        EXPECT_EQ(loader.Label6->text(), QStringLiteral("16"));
        EXPECT_EQ(loader.Label9->text(), QString::fromUtf8(c.label9));
        EXPECT_EQ(loader.Text1->text(), QString::fromUtf8(c.text1));
    }
    // Digits "01" show as the number 1.
    drawSeries(art, QStringLiteral("Kid"), 1, 2, QStringLiteral(".jpg"));
    type(props->Text2, QStringLiteral("2"));
    pickNext(art + QStringLiteral("/Kid01.jpg"));
    click(loader.Image2);
    EXPECT_EQ(loader.Label6->text(), QStringLiteral("1"));
    EXPECT_EQ(loader.Label9->text(), QStringLiteral("2"));

    // A count that is no number, a badly numbered pick: messages, the set as it was.
    const AnimFrameSet before = scene().ChildFrameSet;
    files.requests.clear();
    props->Text2->setText(QStringLiteral("lots"));
    messages.expect(MsgResult::Ok);
    click(loader.Image2);
    EXPECT_EQ(messages.takeTexts(), QStringList{QStringLiteral("Problem with number of frames.")});
    EXPECT_TRUE(files.requests.isEmpty());
    type(props->Text2, QStringLiteral("3"));
    drawPicture(art + QStringLiteral("/Kidab.jpg"));
    pickNext(art + QStringLiteral("/Kidab.jpg"));
    messages.expect(MsgResult::Ok);
    click(loader.Image2);
    EXPECT_TRUE(messages.takeOne().text.startsWith(QStringLiteral("File is not numbered correctly.")));
    EXPECT_EQ(scene().ChildFrameSet.FrameBaseName.toText(), before.FrameBaseName.toText());
    EXPECT_EQ(scene().ChildFrameSet.LastFrame.toText(), before.LastFrame.toText());
    EXPECT_EQ(loader.Text1->text(), QStringLiteral("Kid01.jpg"));
    EXPECT_EQ(scene().ExtraHasAlpha, FlagOff);
}

TEST_F(ChildTest, LoaderClosedFromItsWindowBoxStartsOverWithTheCurrentCount)
{
    ChildAnimLoad *loader = &form<ChildAnimLoad>();
    loader->Show();
    const QString art = tempPath(QStringLiteral("Art"));
    drawSeries(art, QStringLiteral("Kid"), 1, 4, QStringLiteral(".bmp"));
    type(props->Text2, QStringLiteral("4"));
    pickNext(art + QStringLiteral("/Kid01.bmp"));
    click(loader->Image2);
    ASSERT_EQ(loader->Label9->text(), QStringLiteral("4"));

    closeFromWindowBox(*loader);
    EXPECT_FALSE(formExists<ChildAnimLoad>());
    loader = &form<ChildAnimLoad>();
    EXPECT_EQ(loader->Label4->text(), QStringLiteral("4"));
    EXPECT_TRUE(loader->Text1->text().isEmpty());
    EXPECT_TRUE(loader->Label6->text().isEmpty());
    EXPECT_TRUE(loader->Label9->text().isEmpty());
    // The series lives on in the shared state, and the count still follows the box.
    EXPECT_EQ(scene().ChildFrameSet.FrameBaseName.toText(), QStringLiteral("Kid"));
    EXPECT_EQ(scene().ChildFrameSet.LastFrame.toText(), QStringLiteral("4"));
    type(props->Text2, QStringLiteral("9"));
    EXPECT_EQ(loader->Label4->text(), QStringLiteral("9"));
}
