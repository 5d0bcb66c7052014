// The library window's controls at their places, captions and start states.

#include "library/VelmNShare.h"

#include "platform/ControlText.h"
#include "platform/PictureBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

// The window measures in pixels; controls are placed in twips of 15 a pixel,
// so that the scaling of the load keeps their pixel size on every screen.
void place(QWidget *control, double left, double top, double width, double height)
{
    placeTwips(control, left * 15, top * 15, width * 15, height * 15);
}

template <class Control>
Control *make(QWidget *parent, const char *name, const QString &accessible, double left, double top, double width,
              double height)
{
    auto *control = new Control(parent);
    nameControl(control, QString::fromUtf8(name), accessible);
    place(control, left, top, width, height);
    return control;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, double left, double top, double width,
              double height)
{
    auto *l = make<QLabel>(parent, name, QString(), left, top, width, height);
    l->setText(text);
    l->setWordWrap(true);
    fitTextToLabel(l);
    return l;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, double left, double top, double width,
                    double height)
{
    auto *b = make<QPushButton>(parent, name, caption.trimmed(), left, top, width, height);
    b->setText(caption);
    fitCaption(b);
    return b;
}

QLineEdit *textBox(QWidget *parent, const char *name, const QString &accessible, const QString &text, double left,
                   double top, double width, double height)
{
    auto *box = make<QLineEdit>(parent, name, accessible, left, top, width, height);
    box->setText(text);
    return box;
}

QCheckBox *checkBox(QWidget *parent, const char *name, const QString &caption, double left, double top, double width,
                    double height)
{
    auto *box = make<QCheckBox>(parent, name, caption, left, top, width, height);
    box->setText(caption);
    fitCaption(box);
    return box;
}

// The text on the navy bar under the picture: white as the bar's labels, a
// dimmed white while a check box is off.
const QColor BarColor(0x1c, 0x2a, 0x5c);
const QColor BarText(Qt::white);
const QColor BarTextDisabled(0xa8, 0xae, 0xc4);

// A check box over the bar draws its text in the bar's colours; its box and
// mark keep the style's.
void showOnBar(QCheckBox *box)
{
    QPalette palette = box->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::WindowText, BarText);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, BarTextDisabled);
    box->setPalette(palette);
}

} // namespace

void VelmNShare::makeLayout()
{
    SetCaption(QString());
    SetClientTwips(1193 * 15, 1002 * 15);

    // The preview's boxes, named, placed and shown as the player starts its
    // own: the background, then the layer boxes over it, which lie anywhere
    // over the background as each section places its own.
    auto previewBox = [this](const PreviewBox *shown) {
        const QRect at = shown->geometry();
        auto *box = make<PictureBox>(this, shown->objectName().toUtf8().constData(), QString(), at.x(), at.y(),
                                     at.width(), at.height());
        if (shown->isHidden())
            box->hide();
        return box;
    };
    MainPic = previewBox(Player->MainPic);
    MainPic->SetBackColor(Qt::black);
    VelmMouth = previewBox(Player->VelmMouth);
    VelmBlink = previewBox(Player->VelmBlink);
    UserMouth = previewBox(Player->UserMouth);
    UserBlink = previewBox(Player->UserBlink);
    MiscPic = previewBox(Player->MiscPic);
    TriggerPic = previewBox(Player->TriggerPic);

    Picture1 = make<PictureBox>(this, "Picture1", QString(), 1, 859, 1195, 149);
    Picture1->SetBackColor(BarColor);
    Picture1->setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(BarText.name()));
    Label1 = label(Picture1, "Label1", QStringLiteral("Your Scenes"), 40, 16, 87, 16);
    List1 = make<QListWidget>(Picture1, "List1", QStringLiteral("Your Scenes"), 16, 40, 129, 95);
    Label2 = label(Picture1, "Label2", QStringLiteral("VELM Scenes"), 394, 20, 87, 16);
    List2 = make<QListWidget>(Picture1, "List2", QStringLiteral("VELM Scenes"), 365, 40, 129, 95);
    Command3 = button(Picture1, "Command3", QStringLiteral("Open in Notepad"), 855, 108, 81, 28);
    Label4 = label(Picture1, "Label4", QStringLiteral("Speak this:"), 519, 44, 111, 32);
    Combo1 = make<QComboBox>(Picture1, "Combo1", QStringLiteral("Velm's Voice"), 504, 80, 233, 21);
    Combo1->setPlaceholderText(QStringLiteral("Velm's Voice"));
    Combo2 = make<QComboBox>(Picture1, "Combo2", QStringLiteral("User's Voice"), 504, 112, 233, 21);
    Combo2->setPlaceholderText(QStringLiteral("User's Voice"));
    Label5 = label(Picture1, "Label5", QStringLiteral("VelmNShare Handle"), 158, 11, 110, 16);
    Text2 = textBox(Picture1, "Text2", QStringLiteral("VelmNShare Handle"), QStringLiteral("Anonymous"), 151, 28, 122,
                    27);
    // The frame stepper along the panel's top edge, above the voice boxes, hidden.
    Label3 = label(Picture1, "Label3", QStringLiteral("Display Frame:"), 539, 4, 87, 16);
    Command1 = button(Picture1, "Command1", QStringLiteral("<"), 636, 1, 16, 19);
    TextB1 = textBox(Picture1, "TextB1", QStringLiteral("Display Frame:"), QStringLiteral("1"), 651, 0, 24, 21);
    Command2 = button(Picture1, "Command2", QStringLiteral(">"), 674, 1, 16, 19);
    for (QWidget *stepper : {static_cast<QWidget *>(Label3), static_cast<QWidget *>(Command1),
                             static_cast<QWidget *>(TextB1), static_cast<QWidget *>(Command2)})
        stepper->hide();
    Label1->setBuddy(List1);
    Label2->setBuddy(List2);
    Label5->setBuddy(Text2);
    Label3->setBuddy(TextB1);

    Text1 = textBox(this, "Text1", QStringLiteral("Speak this:"), QStringLiteral("We are good friends."), 632, 896, 441,
                    33);
    QFont bold = Text1->font();
    bold.setBold(true);
    bold.setPointSizeF(13.5);
    Text1->setFont(bold);
    Label4->setBuddy(Text1);
    Command4 = button(this, "Command4", QStringLiteral("VELM SPEAK"), 752, 936, 81, 25);
    Command5 = button(this, "Command5", QStringLiteral(" USER SPEAK"), 752, 968, 81, 25);
    Check1 = checkBox(this, "Check1", QStringLiteral("Trigger Anim"), 847, 932, 81, 25);
    showOnBar(Check1);
    Text3 = textBox(this, "Text3", QStringLiteral("Optional Comment"), QStringLiteral("Optional Comment"), 151, 918, 124,
                    43);
    Command7 = button(this, "Command7", QStringLiteral("Upload to VelmNShare"), 153, 965, 81, 33);
    Command8 = button(this, "Command8", QStringLiteral("Go to VelmNShare"), 239, 965, 81, 33);
    Command6 = button(this, "Command6", QStringLiteral("<< Move to My Scenes"), 304, 917, 59, 40);
    Command6->setAccessibleName(QStringLiteral("Move to My Scenes"));
    Command6->hide();
    Check2 = checkBox(this, "Check2", QStringLiteral("Approved"), 278, 858, 81, 33);
    showOnBar(Check2);
    Check2->hide();
}
