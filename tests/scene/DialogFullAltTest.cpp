// The full-background and alternate-image dialogs: their picks, OK, and a
// close from the window box.

#include "core/scene/SceneState.h"
#include "platform/Controls.h"
#include "scene/AltImageLoad.h"
#include "scene/FullAnimProps.h"
#include "tests/scene/DialogFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kNumbering = QStringLiteral(
    "File is not numbered correctly. Please reference numbering convention. ie: Filename##.bmp or Filename####.bmp");

class FullAltTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        art = tempPath(QStringLiteral("Art"));
    }
    QString art;
};

} // namespace

TEST_F(FullAltTest, FullBackgroundPickTakesTheNamesOwnExtension)
{
    FullAnimProps &full = form<FullAnimProps>();
    full.Show();
    struct Case {
        const char *picked;
        bool refused;
        const char *base, *ext;
    };
    const Case cases[] = {
        {"Picture-0001.bmp", false, "Picture-00", "bmp"},
        {"Sky05.JPG", false, "Sky", "JPG"}, // kept as written: Linux names keep their case
        {"bmpsky01.jpg", false, "bmpsky", "jpg"},
        {"jpgsky01.Bmp", false, "jpgsky", "Bmp"},
        {"01.bmp", false, "", "bmp"},
        {"sky01.jpeg", true, "", ""},
        {"sky01.png", true, "", ""},
        {"a.bmp", true, "", ""}, // too short for two digits and an extension
        {"bmp", true, "", ""},
        // The two characters taken off the base must be the frame number.
        {"Sky5.bmp", true, "", ""},
        {"Skyline.jpg", true, "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.picked);
        drawPicture(art + QStringLiteral("/Prior01.bmp"));
        pickNext(art + QStringLiteral("/Prior01.bmp"));
        click(full.Image1);

        const QString name = QString::fromUtf8(c.picked);
        drawPicture(art + QStringLiteral("/Sub/") + name);
        pickNext(art + QStringLiteral("/Sub/") + name);
        if (c.refused)
            messages.expect(MsgResult::Ok);
        click(full.Image1);
        const AnimFrameSet &set = scene().FullAnimFrameSet;
        if (c.refused) {
            EXPECT_EQ(messages.takeTexts(), QStringList{kNumbering});
            EXPECT_EQ(full.Text3->text(), QStringLiteral("Prior01.bmp"));
            EXPECT_EQ(scene().FullAnimFirstFrameName.toText(), QStringLiteral("Prior01.bmp"));
            EXPECT_EQ(set.FrameFolder.toText(), art + u'/');
            EXPECT_EQ(set.FrameBaseName.toText(), QStringLiteral("Prior"));
            EXPECT_EQ(set.FrameExt.toText(), QStringLiteral("bmp"));
            continue;
        }
        EXPECT_EQ(messages.takeTexts(), QStringList());
        EXPECT_EQ(full.Text3->text(), name);
        EXPECT_EQ(scene().FullAnimFirstFrameName.toText(), name);
        EXPECT_EQ(set.FrameFolder.toText(), art + QStringLiteral("/Sub/"));
        EXPECT_EQ(set.FrameBaseName.toText(), QString::fromUtf8(c.base));
        EXPECT_EQ(set.FrameExt.toText(), QString::fromUtf8(c.ext));
        EXPECT_EQ(scene().PickedName.toText(), name);
    }
    EXPECT_EQ(files.requests.last().filter, QStringLiteral("Images Files (*.bmp;*.jpg)|*.bmp;*.jpg"));
    EXPECT_EQ(scene().WorkFolder.toText(), baseFolder());
}

TEST_F(FullAltTest, CancellingEitherChooserFirstChangesNothing)
{
    click(form<FullAnimProps>().Image1);
    click(form<AltImageLoad>().Image1);
    EXPECT_EQ(files.requests.size(), 2);
    EXPECT_EQ(messages.takeTexts(), QStringList());
    const SceneState &s = scene();
    EXPECT_TRUE(s.FullAnimFrameSet.FrameFolder.isUnset());
    EXPECT_TRUE(s.FullAnimFrameSet.FrameExt.isUnset());
    EXPECT_TRUE(s.FullAnimFirstFrameName.isUnset());
    EXPECT_TRUE(s.AltImagePath.isUnset());
    EXPECT_EQ(s.SceneHasAltImage, FlagOff);
    EXPECT_TRUE(form<FullAnimProps>().Text3->text().isEmpty());
    EXPECT_TRUE(form<AltImageLoad>().Text3->text().isEmpty());
}

TEST_F(FullAltTest, TalkOptionsFollowThePauseBox)
{
    FullAnimProps &full = form<FullAnimProps>();
    full.Show();
    EXPECT_FALSE(full.Option5->isVisible());
    EXPECT_FALSE(full.Option6->isVisible());
    EXPECT_TRUE(full.Option6->isChecked());
    click(full.Check1);
    EXPECT_TRUE(full.Option5->isVisible());
    EXPECT_TRUE(full.Option6->isVisible());
    click(full.Option5);
    setCheckValue(full.Check1, 2); // greyed: nothing changes
    EXPECT_TRUE(full.Option5->isVisible());
    click(full.Check1);
    click(full.Check1);
    EXPECT_EQ(checkValue(full.Check1), 0);
    EXPECT_FALSE(full.Option5->isVisible());
    // Hidden, the choice still stands for the scene writer.
    EXPECT_TRUE(full.Option5->isChecked());
    // Three independent pairs.
    click(full.Option2);
    EXPECT_TRUE(full.Option2->isChecked());
    EXPECT_TRUE(full.Option4->isChecked());
    EXPECT_TRUE(full.Option5->isChecked());
}

TEST_F(FullAltTest, FullBackgroundOkHidesAndAWindowBoxCloseStartsOver)
{
    FullAnimProps *full = &form<FullAnimProps>();
    full->Show();
    EXPECT_EQ(full->Caption(), QStringLiteral("Full BG Anim Properties"));
    struct Box {
        QLineEdit *FullAnimProps::*box;
        const char *start, *label, *typed;
    };
    const Box boxes[] = {
        {&FullAnimProps::Text2, "7", "Frames", "12"},     {&FullAnimProps::Text5, "70", "Speed", "40"},
        {&FullAnimProps::Text1, "0", "Random", "5"},      {&FullAnimProps::Text4, "3", "Delay", "8"},
        {&FullAnimProps::Text6, "50", "Probability Change", "20"},
        {&FullAnimProps::Text7, "1", "Minimum Speed", "10"},
        {&FullAnimProps::Text8, "100", "Maximum Speed", "90"},
    };
    for (const Box &b : boxes) {
        EXPECT_EQ((full->*b.box)->text(), QString::fromUtf8(b.start)) << b.label;
        EXPECT_EQ((full->*b.box)->accessibleName(), QString::fromUtf8(b.label));
        type(full->*b.box, QString::fromUtf8(b.typed));
    }
    click(full->Check2);
    click(full->Option2);
    click(full->Image2);
    EXPECT_FALSE(full->Visible());
    for (const Box &b : boxes)
        EXPECT_EQ((form<FullAnimProps>().*b.box)->text(), QString::fromUtf8(b.typed)) << b.label;
    EXPECT_EQ(checkValue(full->Check2), 1);

    full->Show();
    closeFromWindowBox(*full);
    full = &form<FullAnimProps>();
    for (const Box &b : boxes)
        EXPECT_EQ((full->*b.box)->text(), QString::fromUtf8(b.start)) << b.label;
    EXPECT_EQ(checkValue(full->Check1), 0);
    EXPECT_EQ(checkValue(full->Check2), 0);
    EXPECT_TRUE(full->Option1->isChecked());
    EXPECT_TRUE(full->Option4->isChecked());
    EXPECT_TRUE(full->Option6->isChecked());
}

TEST_F(FullAltTest, AlternatePictureMayLieAnywhereAndItsPathComesBack)
{
    AltImageLoad *alt = &form<AltImageLoad>();
    alt->Show();
    EXPECT_EQ(alt->Caption(), QStringLiteral("Alternate Image Load"));
    // The path box has the focus first; no trigger type is chosen.
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), alt->Text3);
    for (QRadioButton *option : {alt->Option1, alt->Option2, alt->Option3, alt->Option4})
        EXPECT_FALSE(option->isChecked());
    const QString picked = tempPath(QStringLiteral("Pics/Night.jpg"));
    drawPicture(picked);
    pickNext(picked);
    click(alt->Image1);
    ASSERT_EQ(files.requests.size(), 1);
    EXPECT_EQ(files.requests[0].initDir, baseFolder() + QStringLiteral("Images/"));
    EXPECT_EQ(files.requests[0].filter, QStringLiteral("Images Files (*.bmp;*.jpg)|*.bmp;*.jpg"));
    EXPECT_EQ(scene().AltImagePath.toText(), picked);
    EXPECT_EQ(scene().AltImageName.toText(), QStringLiteral("Night.jpg"));
    EXPECT_EQ(scene().SceneHasAltImage, FlagOn);
    EXPECT_EQ(alt->Text3->text(), picked);

    // OK needs a trigger type.
    messages.expect(MsgResult::Ok);
    click(alt->Image2);
    EXPECT_EQ(messages.takeTexts(), QStringList{QStringLiteral("Please select a trigger type. Love, Ego, Libido, Or User.")});
    EXPECT_TRUE(alt->Visible());
    EXPECT_EQ(alt->Option3->accessibleName(), QStringLiteral("Libido"));
    click(alt->Option3);
    click(alt->Image2);
    EXPECT_FALSE(alt->Visible());
    EXPECT_EQ(messages.takeTexts(), QStringList());

    // Closed from the window box and shown again: the picture's own path, no type chosen.
    alt->Show();
    closeFromWindowBox(*alt);
    alt = &form<AltImageLoad>();
    EXPECT_EQ(alt->Text3->text(), picked);
    for (QRadioButton *option : {alt->Option1, alt->Option2, alt->Option3, alt->Option4})
        EXPECT_FALSE(option->isChecked());
}
