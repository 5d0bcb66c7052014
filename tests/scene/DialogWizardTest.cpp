// The wizard's boxes open the layer dialogs; what every dialog has: names
// for its controls, and a help button that opens its own page; a new scene
// starts with an empty name.

#include "app/Form2.h"
#include "app/Start.h"
#include "app/Wizard1.h"
#include "core/scene/SceneState.h"
#include "scene/AltImageLoad.h"
#include "scene/ChildAnimLoad.h"
#include "scene/ChildAnimProps.h"
#include "scene/DesktopProps.h"
#include "scene/ExtraAnimProps.h"
#include "scene/FullAnimProps.h"
#include "scene/SaveScene.h"
#include "scene/Sound.h"
#include "scene/TrigAnimProps.h"
#include "tests/scene/DialogFixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace {
using WizardOpensDialogsTest = DialogTest;
}

TEST_F(WizardOpensDialogsTest, TickingALayerShowsItsDialog)
{
    Wizard1 &wizard = form<Wizard1>();
    wizard.Show();
    struct Case {
        QCheckBox *box;
        std::function<Form &()> dialog;
    };
    const Case cases[] = {
        {wizard.Check3, [] () -> Form & { return form<ExtraAnimProps>(); }},
        {wizard.Check5, [] () -> Form & { return form<ChildAnimProps>(); }},
        {wizard.Check4, [] () -> Form & { return form<FullAnimProps>(); }},
        {wizard.Check7, [] () -> Form & { return form<AltImageLoad>(); }},
        {wizard.Check8, [] () -> Form & { return form<TrigAnimProps>(); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.box->objectName().toStdString());
        click(c.box);
        EXPECT_TRUE(c.dialog().Visible());
        // OK (or closing) leaves the wizard as it was.
        c.dialog().Hide();
        EXPECT_TRUE(wizard.Visible());
    }
    // The dialogs keep their settings through the wizard's reset.
    type(form<ExtraAnimProps>().Text5, QStringLiteral("250"));
    ResetSceneWizard();
    EXPECT_EQ(form<ExtraAnimProps>().Text5->text(), QStringLiteral("250"));
}

// The save window keeps its name box while it is hidden after a save; New
// Scene, and a set-up abandoned by closing one of its windows, empty it.
TEST_F(WizardOpensDialogsTest, ANewSceneStartsWithAnEmptyName)
{
    const struct {
        const char *label;
        std::function<void()> start;
    } cases[] = {
        {"New Scene", [] { click(form<Start>().Image1); }},
        {"the canvas closed", [] {
             form<Form2>().Show();
             closeFromWindowBox(form<Form2>());
         }},
        {"the wizard closed", [] { closeFromWindowBox(form<Wizard1>()); }},
    };
    form<Start>().Show();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        SaveScene &save = form<SaveScene>();
        save.Show();
        type(save.Text1, QStringLiteral("Beach"));
        save.Hide();
        c.start();
        EXPECT_EQ(form<SaveScene>().Text1->text(), QString());
    }
    // A reset with no save window makes none.
    closeFromWindowBox(form<SaveScene>());
    ResetSceneWizard();
    EXPECT_FALSE(formExists<SaveScene>());
}

TEST_F(WizardOpensDialogsTest, EveryControlAUserCanActOnHasANameAndItsObjectName)
{
    Form *const dialogs[] = {&form<ExtraAnimProps>(), &form<TrigAnimProps>(), &form<ChildAnimProps>(),
                             &form<ChildAnimLoad>(),  &form<FullAnimProps>(), &form<AltImageLoad>(),
                             &form<Sound>(),          &form<DesktopProps>()};
    for (Form *dialog : dialogs) {
        int controls = 0;
        for (QWidget *w : dialog->findChildren<QWidget *>()) {
            if (!qobject_cast<QAbstractButton *>(w) && !qobject_cast<QLineEdit *>(w))
                continue;
            ++controls;
            EXPECT_FALSE(w->accessibleName().isEmpty()) << dialog->Caption().toStdString() << " "
                                                        << w->objectName().toStdString();
            EXPECT_FALSE(w->objectName().isEmpty()) << dialog->Caption().toStdString();
        }
        EXPECT_GE(controls, 3) << dialog->Caption().toStdString();
    }
}

TEST_F(WizardOpensDialogsTest, HelpButtonsOpenTheirOwnPages)
{
    struct Case {
        std::function<QPushButton *()> button;
        const char *page;
    };
    const Case cases[] = {
        {[] { return form<ExtraAnimProps>().Image10; }, "ExtraAnim.html"},
        {[] { return form<TrigAnimProps>().Image3; }, "TriggerAnim.html"},
        {[] { return form<ChildAnimProps>().Image4; }, "ChildAnim.html"},
        {[] { return form<ChildAnimLoad>().Image4; }, "ChildAnimLoad.html"},
        {[] { return form<FullAnimProps>().Image3; }, "FullAnim.html"},
        {[] { return form<AltImageLoad>().Image3; }, "AltImage.html"},
        {[] { return form<Sound>().Image5; }, "Sound.html"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.page);
        const QString page = env.program + QStringLiteral("/Docs/") + QString::fromUtf8(c.page);
        ASSERT_TRUE(writeFile(page, QByteArray()));
        QPushButton *button = c.button();
        static_cast<Form *>(button->window())->Show();
        urls.opened.clear();
        click(button);
        ASSERT_EQ(urls.opened.size(), 1);
        EXPECT_EQ(urls.opened[0].toLocalFile(), page);
        EXPECT_EQ(button->accessibleName(), QStringLiteral("?"));
    }
    EXPECT_EQ(messages.takeTexts(), QStringList());
}
