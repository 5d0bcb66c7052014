#include "app/Wizard1.h"

#include "app/Form2.h"
#include "app/LoadImages.h"
#include "app/Start.h"
#include "core/scene/SceneDocument.h"
#include "app/Help.h"
#include "designers/frmFormDesignB.h"
#include "designers/frmFormDesignC.h"
#include "designers/frmFormDesignD.h"
#include "designers/frmFormDesignE.h"
#include "designers/frmFormDesignF.h"
#include "platform/Controls.h"
#include "scene/AltImageLoad.h"
#include "scene/ChildAnimProps.h"
#include "scene/DesktopProps.h"
#include "scene/ExtraAnimProps.h"
#include "scene/FullAnimProps.h"
#include "scene/SaveScene.h"
#include "scene/TrigAnimProps.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {
constexpr double kRowTop = 1260, kRowStep = 465, kBoxLeft = 600, kIndent = 420;

QPushButton *helpButton(QWidget *parent, const QString &name, const QString &topic, double top)
{
    auto *b = new QPushButton(QStringLiteral("?"), parent);
    nameControl(b, name, QStringLiteral("?"));
    b->setAccessibleDescription(QStringLiteral("Help: %1").arg(topic));
    b->setToolTip(topic);
    placeTwips(b, 7500, top - 30, 330, 300);
    return b;
}
}

Wizard1::Wizard1()
{
    SetCaption(QStringLiteral("Wizard"));
    SetClientTwips(8235, 7455);
    setStyleSheet(QStringLiteral("Wizard1 { background: #10206a; } QLabel { color: white; }"));

    auto *title = new QLabel(QStringLiteral("What will this Scene include?"), this);
    QFont f = title->font();
    f.setPointSizeF(14);
    f.setBold(true);
    title->setFont(f);
    placeTwips(title, 600, 240, 6600, 480);

    // The main character's mouth is in every scene: a ticked line, not a box.
    auto *mouthTick = new QLabel(QStringLiteral("\u2714"), this);
    placeTwips(mouthTick, kBoxLeft, kRowTop - kRowStep, 240, 240);
    auto *mouthLine = new QLabel(QStringLiteral("This Scene will include a Main Character Mouth."), this);
    placeTwips(mouthLine, kBoxLeft + 360, kRowTop - kRowStep - 30, 6300, 300);

    struct Row {
        QCheckBox **box;
        const char *name;
        const char *caption;
        bool indented;
    };
    const Row rows[] = {
        {&Check1, "Check1", "This Scene will include Main Character Eye Blinks.", false},
        {&Check2, "Check2", "This Scene will include a User Character.", false},
        {&Check6, "Check6", "The User Character will have Eye Blinks.", true},
        {&Check3, "Check3", "This Scene will include an Extra Animation.", false},
        {&Check5, "Check5", "The Extra Animation will have have a child animation.", true},
        {&Check4, "Check4", "This Scene will have full background animation.", false},
        {&Check7, "Check7", "This Scene will include an Alternate Image Background for use with Triggers.", false},
        {&Check8, "Check8", "This Scene will have a Trigger animation.", false},
        {&Check9, "Check9", "Has Smile Animation", false},
        {&Check10, "Check10", "Has Brow Animation", false},
    };
    double top = kRowTop;
    for (const Row &row : rows) {
        const QString caption = QString::fromUtf8(row.caption);
        const double left = kBoxLeft + (row.indented ? kIndent : 0);
        auto *box = new QCheckBox(caption, this);
        nameControl(box, QString::fromUtf8(row.name), caption);
        placeTwips(box, left, top, 210, 240);
        auto *label = new QLabel(caption, this);
        label->setBuddy(box);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        placeTwips(label, left + 360, top - 105, 7380 - left - 360, 450);
        *row.box = box;
        top += kRowStep;
    }
    Check11 = new QCheckBox(QStringLiteral("Desktop"), this);
    nameControl(Check11, QStringLiteral("Check11"), QStringLiteral("Desktop"));
    placeTwips(Check11, 6600, 6000, 1380, 495);
    Check11->setVisible(false);
    Check5->setEnabled(false);

    const double rowTop[] = {kRowTop - kRowStep, kRowTop, kRowTop + kRowStep, kRowTop + 2 * kRowStep,
                             kRowTop + 3 * kRowStep, kRowTop + 4 * kRowStep, kRowTop + 5 * kRowStep,
                             kRowTop + 6 * kRowStep, kRowTop + 7 * kRowStep, kRowTop + 8 * kRowStep,
                             kRowTop + 9 * kRowStep};
    Image4 = helpButton(this, QStringLiteral("Image4"), QStringLiteral("Main Character Mouth"), rowTop[0]);
    Image3 = helpButton(this, QStringLiteral("Image3"), QStringLiteral("Main Character Eye Blinks"), rowTop[1]);
    Image5 = helpButton(this, QStringLiteral("Image5"), QStringLiteral("User Character"), rowTop[2]);
    Image6 = helpButton(this, QStringLiteral("Image6"), QStringLiteral("User Character Eye Blinks"), rowTop[3]);
    Image7 = helpButton(this, QStringLiteral("Image7"), QStringLiteral("Extra Animation"), rowTop[4]);
    Image8 = helpButton(this, QStringLiteral("Image8"), QStringLiteral("Child Animation"), rowTop[5]);
    Image9 = helpButton(this, QStringLiteral("Image9"), QStringLiteral("Full Background Animation"), rowTop[6]);
    Image10 = helpButton(this, QStringLiteral("Image10"), QStringLiteral("Alternate Image"), rowTop[7]);
    Image11 = helpButton(this, QStringLiteral("Image11"), QStringLiteral("Trigger Animation"), rowTop[8]);
    Image13 = helpButton(this, QStringLiteral("Image13"), QStringLiteral("Smile Animation"), rowTop[9]);
    Image14 = helpButton(this, QStringLiteral("Image14"), QStringLiteral("Brow Animation"), rowTop[10]);

    Image12 = new QPushButton(QStringLiteral("Starter Tutorial"), this);
    nameControl(Image12, QStringLiteral("Image12"), QStringLiteral("Starter Tutorial"));
    placeTwips(Image12, 6300, 180, 1725, 420);

    Image1 = new QPushButton(QStringLiteral("BACK"), this);
    nameControl(Image1, QStringLiteral("Image1"), QStringLiteral("BACK"));
    placeTwips(Image1, 4800, 6780, 1365, 480);
    Image2 = new QPushButton(QStringLiteral("NEXT"), this);
    nameControl(Image2, QStringLiteral("Image2"), QStringLiteral("NEXT"));
    placeTwips(Image2, 6420, 6780, 1365, 480);

    onCheckClick(Check1, this, &Wizard1::Check1_Click);
    onCheckClick(Check2, this, &Wizard1::Check2_Click);
    onCheckClick(Check3, this, &Wizard1::Check3_Click);
    onCheckClick(Check4, this, &Wizard1::Check4_Click);
    onCheckClick(Check5, this, &Wizard1::Check5_Click);
    onCheckClick(Check6, this, &Wizard1::Check6_Click);
    onCheckClick(Check7, this, &Wizard1::Check7_Click);
    onCheckClick(Check8, this, &Wizard1::Check8_Click);
    onCheckClick(Check9, this, &Wizard1::Check9_Click);
    onCheckClick(Check10, this, &Wizard1::Check10_Click);
    onCheckClick(Check11, this, &Wizard1::Check11_Click);
    connect(Image1, &QPushButton::clicked, this, &Wizard1::Image1_Click);
    connect(Image2, &QPushButton::clicked, this, &Wizard1::Image2_Click);

    const std::pair<QPushButton *, const char *> pages[] = {
        {Image12, "Docs\\ScenaraTutorial1.htm"},  {Image4, "Docs\\WizMainCharMouth.html"},
        {Image3, "Docs\\WizMainCharBlink.html"},  {Image5, "Docs\\WizUserCharMouth.html"},
        {Image6, "Docs\\WizUserCharBlink.html"},  {Image7, "Docs\\ExtraAnimInfo.html"},
        {Image8, "Docs\\ChildAnimInfo.html"},     {Image9, "Docs\\FullAnimInfo.html"},
        {Image10, "Docs\\AltImageInfo.html"},     {Image11, "Docs\\TriggerAnimInfo.html"},
        {Image13, "Docs\\SmileInfo.html"},        {Image14, "Docs\\BrowInfo.html"},
    };
    for (const auto &[button, page] : pages) {
        const QString p = QString::fromUtf8(page);
        connect(button, &QPushButton::clicked, this, [p] { OpenHelpPage(p); });
    }
}

// A box's value is read twice: ticked sets the flag and runs the further steps,
// unticked clears the flag and undoes nothing else; greyed changes nothing.
static bool boxClicked(QCheckBox *box, Flag SceneState::*flag)
{
    const int value = checkValue(box);
    if (value == 1 || value == 0)
        sceneDocument().editState([&](SceneState &s) { s.*flag = value == 1 ? FlagOn : FlagOff; });
    return value == 1;
}

void Wizard1::Check1_Click() { boxClicked(Check1, &SceneState::SceneHasMainBlink); }
void Wizard1::Check2_Click() { boxClicked(Check2, &SceneState::SceneHasUser); }
void Wizard1::Check6_Click() { boxClicked(Check6, &SceneState::SceneHasUserBlink); }
void Wizard1::Check9_Click() { boxClicked(Check9, &SceneState::SceneHasSmile); }
void Wizard1::Check10_Click() { boxClicked(Check10, &SceneState::SceneHasBrow); }

void Wizard1::Check3_Click()
{
    if (boxClicked(Check3, &SceneState::SceneHasExtraAnim)) {
        Check5->setEnabled(true);
        form<ExtraAnimProps>().Show();
    }
}

void Wizard1::Check4_Click()
{
    if (boxClicked(Check4, &SceneState::SceneHasFullAnim))
        form<FullAnimProps>().Show();
}

void Wizard1::Check5_Click()
{
    if (boxClicked(Check5, &SceneState::SceneHasChildAnim))
        form<ChildAnimProps>().Show();
}

void Wizard1::Check7_Click()
{
    if (boxClicked(Check7, &SceneState::SceneHasAltImage)) {
        sceneDocument().editState([](SceneState &s) { s.SceneHasTrigger = FlagOff; });
        setCheckValue(Check8, 0);
        form<AltImageLoad>().Show();
    }
}

void Wizard1::Check8_Click()
{
    if (boxClicked(Check8, &SceneState::SceneHasTrigger)) {
        setCheckValue(Check7, 0);
        sceneDocument().editState([](SceneState &s) {
            s.SceneHasTrigger = FlagOn;
            s.SceneHasAltImage = FlagOff;
        });
        form<TrigAnimProps>().Show();
    }
}

void Wizard1::Check11_Click()
{
    if (boxClicked(Check11, &SceneState::SceneIsDesktop))
        form<DesktopProps>().Show();
}

void Wizard1::Image1_Click()
{
    form<Start>().Show();
    Hide();
}

void Wizard1::Image2_Click()
{
    Hide();
    form<LoadImages>().Show();
}

void Wizard1::Form_Load()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    // Each flag is read when its box is set: an earlier box's handler may have
    // changed a later flag.
    const std::pair<QCheckBox *, Flag SceneState::*> boxes[] = {
        {Check1, &SceneState::SceneHasMainBlink}, {Check2, &SceneState::SceneHasUser},
        {Check3, &SceneState::SceneHasExtraAnim}, {Check4, &SceneState::SceneHasFullAnim},
        {Check5, &SceneState::SceneHasChildAnim}, {Check6, &SceneState::SceneHasUserBlink},
        {Check7, &SceneState::SceneHasAltImage},
    };
    for (const auto &[box, flag] : boxes)
        setCheckValue(box, scene().*flag == FlagOn ? 1 : 0);
}

void Wizard1::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    ResetSceneWizard();
    // The next wizard shows boxes 9 and 10 unticked, so the flags they stand for
    // go too; a reset run by another window keeps them.
    sceneDocument().editState([](SceneState &s) {
        s.SceneHasSmile = FlagOff;
        s.SceneHasBrow = FlagOff;
    });
}

void ResetSceneWizard()
{
    Wizard1 &wizard = form<Wizard1>();
    for (QCheckBox *box : {wizard.Check1, wizard.Check2, wizard.Check3, wizard.Check4, wizard.Check5, wizard.Check6,
                           wizard.Check7, wizard.Check8})
        setCheckValue(box, 0);
    form<LoadImages>().Text1->setText(QString());
    ClearSceneName();

    sceneDocument().resetWizard();

    form<Wizard1>().Hide();
    form<LoadImages>().Hide();
    form<frmFormDesignB>().Hide();
    form<frmFormDesignC>().Hide();
    form<frmFormDesignD>().Hide();
    form<frmFormDesignE>().Hide();
    form<frmFormDesignF>().Hide();
    form<Form2>().Hide();
}
