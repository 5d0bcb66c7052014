#include "app/Form2.h"
#include "app/LoadImages.h"
#include "app/Wizard1.h"
#include "core/scene/SceneDocument.h"
#include "designers/frmFormDesignB.h"
#include "designers/frmFormDesignE.h"
#include "platform/Controls.h"
#include "scene/AltImageLoad.h"
#include "scene/ChildAnimProps.h"
#include "scene/ExtraAnimProps.h"
#include "scene/FullAnimProps.h"
#include "scene/TrigAnimProps.h"
#include "tests/support/program/ScriptedWindows.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class WizardTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        startProgram();
        wizard = &form<Wizard1>();
        wizard->Show();
    }
    // Ticks or unticks a box as the user does, with a click on it.
    void click(QCheckBox *box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 5)); }

    Wizard1 *wizard = nullptr;
};

struct BoxCase {
    const char *box;
    Flag SceneState::*flag;
    const QMetaObject *dialog; // the window ticking opens, or none
};

} // namespace

TEST_F(WizardTest, EveryBoxSetsItsFlagAndOpensItsDialog)
{
    const BoxCase cases[] = {
        {"Check1", &SceneState::SceneHasMainBlink, nullptr},
        {"Check2", &SceneState::SceneHasUser, nullptr},
        {"Check6", &SceneState::SceneHasUserBlink, nullptr},
        {"Check3", &SceneState::SceneHasExtraAnim, &ExtraAnimProps::staticMetaObject},
        {"Check5", &SceneState::SceneHasChildAnim, &ChildAnimProps::staticMetaObject},
        {"Check4", &SceneState::SceneHasFullAnim, &FullAnimProps::staticMetaObject},
        {"Check7", &SceneState::SceneHasAltImage, &AltImageLoad::staticMetaObject},
        {"Check8", &SceneState::SceneHasTrigger, &TrigAnimProps::staticMetaObject},
        {"Check9", &SceneState::SceneHasSmile, nullptr},
        {"Check10", &SceneState::SceneHasBrow, nullptr},
    };
    for (const BoxCase &c : cases) {
        auto *box = wizard->findChild<QCheckBox *>(QString::fromUtf8(c.box));
        ASSERT_TRUE(box) << c.box;
        EXPECT_FALSE(box->accessibleName().isEmpty()) << c.box;
        // The document says `changed` with the flag already set, so what
        // shows the scene follows the tick.
        QObject listener;
        Flag heard = FlagOff;
        QObject::connect(&sceneDocument(), &SceneDocument::changed, &listener,
                         [&heard, &c] { heard = scene().*c.flag; });
        click(box);
        EXPECT_EQ(scene().*c.flag, FlagOn) << c.box;
        EXPECT_EQ(heard, FlagOn) << c.box << ": no changed with the flag set";
        if (c.dialog) {
            bool shown = false;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->metaObject() == c.dialog && w->isVisible())
                    shown = true;
            EXPECT_TRUE(shown) << c.box;
        }
    }
    // Unticking clears the flag and hides nothing.
    click(wizard->Check4);
    EXPECT_EQ(scene().SceneHasFullAnim, FlagOff);
    EXPECT_TRUE(form<FullAnimProps>().isVisible());
}

TEST_F(WizardTest, AlternateImageAndTriggerExcludeEachOther)
{
    click(wizard->Check7);
    EXPECT_EQ(scene().SceneHasAltImage, FlagOn);
    click(wizard->Check8);
    EXPECT_FALSE(wizard->Check7->isChecked());
    EXPECT_EQ(scene().SceneHasAltImage, FlagOff);
    EXPECT_EQ(scene().SceneHasTrigger, FlagOn);
    EXPECT_TRUE(form<AltImageLoad>().isVisible());
    EXPECT_TRUE(form<TrigAnimProps>().isVisible());

    click(wizard->Check7);
    EXPECT_FALSE(wizard->Check8->isChecked());
    EXPECT_EQ(scene().SceneHasAltImage, FlagOn);
    EXPECT_EQ(scene().SceneHasTrigger, FlagOff);
}

TEST_F(WizardTest, ChildBoxFollowsTheExtraBoxOnlyOnTicking)
{
    EXPECT_FALSE(wizard->Check5->isEnabled());
    click(wizard->Check3);
    EXPECT_TRUE(wizard->Check5->isEnabled());
    click(wizard->Check5);
    click(wizard->Check3); // untick the extra animation
    EXPECT_TRUE(wizard->Check5->isEnabled());
    EXPECT_TRUE(wizard->Check5->isChecked());
    EXPECT_EQ(scene().SceneHasChildAnim, FlagOn);
    EXPECT_EQ(scene().SceneHasExtraAnim, FlagOff);
}

TEST_F(WizardTest, GreyedBoxChangesNothing)
{
    setCheckValue(wizard->Check1, 2);
    EXPECT_EQ(scene().SceneHasMainBlink, FlagOff);
    scene().SceneHasMainBlink = FlagOn;
    setCheckValue(wizard->Check1, 0); // from greyed to unticked runs the handler
    EXPECT_EQ(scene().SceneHasMainBlink, FlagOff);
}

TEST_F(WizardTest, NextAndBack)
{
    QTest::mouseClick(wizard->Image2, Qt::LeftButton);
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_TRUE(form<LoadImages>().isVisible());
    wizard->Show();
    QTest::mouseClick(wizard->Image1, Qt::LeftButton);
    EXPECT_FALSE(wizard->isVisible());
}

TEST_F(WizardTest, NewWizardRestoresTheFirstSevenBoxesFromTheirFlags)
{
    wizard->close();
    flushDeletes();
    SceneState &s = scene();
    s.SceneHasMainBlink = s.SceneHasExtraAnim = s.SceneHasAltImage = FlagOn;
    s.SceneHasTrigger = s.SceneHasSmile = FlagOn;
    Wizard1 &fresh = form<Wizard1>();
    EXPECT_TRUE(fresh.Check1->isChecked());
    EXPECT_TRUE(fresh.Check3->isChecked());
    EXPECT_TRUE(fresh.Check5->isEnabled()); // ticking Check3 enabled it
    EXPECT_TRUE(form<ExtraAnimProps>().isVisible());
    EXPECT_TRUE(fresh.Check7->isChecked());
    EXPECT_FALSE(fresh.Check2->isChecked());
    EXPECT_FALSE(fresh.Check8->isChecked());
    EXPECT_FALSE(fresh.Check9->isChecked());
    EXPECT_FALSE(fresh.Check11->isVisible());
}

TEST_F(WizardTest, ClosingTheWizardResetsTheSetUp)
{
    for (QCheckBox *b : {wizard->Check1, wizard->Check2, wizard->Check6, wizard->Check3, wizard->Check4,
                         wizard->Check8, wizard->Check9, wizard->Check10})
        click(b);
    form<LoadImages>().Text1->setText(QStringLiteral("C:/frames/a0001.bmp"));
    form<LoadImages>().Show();
    form<frmFormDesignB>().Show();
    scene().MainBlinkPlaced = scene().ExtraPlaced = scene().TriggerPlaced = FlagOn;

    wizard->close();
    flushDeletes();
    const SceneState &s = scene();
    for (Flag f : {s.SceneHasMainBlink, s.SceneHasUser, s.SceneHasUserBlink, s.SceneHasExtraAnim,
                   s.SceneHasFullAnim, s.SceneHasTrigger, s.MainBlinkPlaced, s.ExtraPlaced, s.TriggerPlaced})
        EXPECT_EQ(f, FlagOff);
    EXPECT_TRUE(form<LoadImages>().Text1->text().isEmpty());
    EXPECT_FALSE(form<LoadImages>().isVisible());
    EXPECT_FALSE(form<frmFormDesignB>().isVisible());
    EXPECT_TRUE(form<FullAnimProps>().isVisible()); // dialogs are not hidden by the reset

    // The next wizard's boxes and the flags agree: nothing ticked, nothing on.
    Wizard1 &fresh = form<Wizard1>();
    EXPECT_NE(&fresh, wizard);
    for (QCheckBox *b : {fresh.Check1, fresh.Check2, fresh.Check3, fresh.Check4, fresh.Check5, fresh.Check6,
                         fresh.Check7, fresh.Check8, fresh.Check9, fresh.Check10})
        EXPECT_FALSE(b->isChecked()) << b->objectName().toStdString();
    EXPECT_FALSE(fresh.Check5->isEnabled());
    EXPECT_EQ(s.SceneHasSmile, FlagOff);
    EXPECT_EQ(s.SceneHasBrow, FlagOff);
}

TEST_F(WizardTest, ClosingAnotherSetUpWindowResetsButKeepsSmileAndBrow)
{
    click(wizard->Check1);
    click(wizard->Check3);
    click(wizard->Check9);
    click(wizard->Check10);
    scene().UserMouthPlaced = FlagOn;
    scene().ExtraHasAlpha = FlagOn;
    form<Form2>().Show();
    form<frmFormDesignE>().Show();

    form<Form2>().close();
    flushDeletes();
    EXPECT_EQ(&form<Wizard1>(), wizard); // the same wizard, boxes 1 to 8 unticked
    EXPECT_FALSE(wizard->Check1->isChecked());
    EXPECT_FALSE(wizard->Check3->isChecked());
    EXPECT_TRUE(wizard->Check9->isChecked());
    EXPECT_TRUE(wizard->Check10->isChecked());
    EXPECT_TRUE(wizard->Check5->isEnabled());
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_FALSE(form<frmFormDesignE>().isVisible());
    EXPECT_EQ(scene().SceneHasSmile, FlagOn);
    EXPECT_EQ(scene().SceneHasBrow, FlagOn);
    EXPECT_EQ(scene().ExtraHasAlpha, FlagOn);
    EXPECT_EQ(scene().UserMouthPlaced, FlagOff);
    EXPECT_EQ(scene().SceneHasMainBlink, FlagOff);
}
