#include "scene/DialogControls.h"

#include "core/scene/FrameSetFiles.h"
#include "core/scene/SceneDocument.h"
#include "core/system/Services.h"
#include "platform/CommonDialog.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "scene/FramePicks.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include <algorithm>
#include <type_traits>

namespace {
constexpr double kGap = 60; // twips between a control and its painted label
// A box narrower than this holds a few digits only.
constexpr double kNarrowBox = 600;
// The twips of one pixel: controls keep their pixel size on every screen.
constexpr double kTwipsPerPixel = 15;

QLabel *labelFor(QWidget *parent, QWidget *buddy, const QString &text, double left, double top, double width,
                 double height, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    label->setAlignment(alignment | Qt::AlignVCenter);
    placeTwips(label, left, top, width, height);
    return label;
}
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption, double left, double top,
                        double width, double height)
{
    auto *b = new QPushButton(caption, parent);
    nameControl(b, QString::fromUtf8(name), caption);
    placeTwips(b, left, top, width, height);
    return b;
}

QLineEdit *makeTextBox(QWidget *parent, const char *name, const QString &label, const QString &text, double left,
                       double top, double width, double height, double labelWidth)
{
    QLineEdit *box = makeNameBox(parent, name, label, left, top, width, height);
    box->setText(text);
    const double labelLeft = left - kGap - labelWidth;
    labelFor(parent, box, label, labelLeft < 30 ? 30 : labelLeft, top, labelWidth, height, Qt::AlignRight);
    return box;
}

QLineEdit *makeNameBox(QWidget *parent, const char *name, const QString &accessibleName, double left, double top,
                       double width, double height)
{
    auto *box = new QLineEdit(parent);
    nameControl(box, QString::fromUtf8(name), accessibleName);
    placeTwips(box, left, top, width, height);
    // A box a few digits wide gives them the room of the line edit's own inner
    // margins, so that "12" or "100" is seen whole rather than scrolled.
    if (width < kNarrowBox)
        box->setTextMargins(-2, 0, -2, 0);
    return box;
}

template <class Box>
static Box *smallBox(QWidget *parent, const char *name, const QString &caption, const QString &label, double left,
                     double top, double width, double height, double labelWidth)
{
    auto *box = new Box(caption, parent);
    nameControl(box, QString::fromUtf8(name), label.isEmpty() ? caption : label);
    // Never smaller than the style's own box or circle, which would be cut off.
    constexpr bool round = std::is_same_v<Box, QRadioButton>;
    const QStyle *style = box->style();
    const int across = style->pixelMetric(round ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth);
    const int down = style->pixelMetric(round ? QStyle::PM_ExclusiveIndicatorHeight : QStyle::PM_IndicatorHeight);
    width = std::max(width, across * kTwipsPerPixel);
    height = std::max(height, down * kTwipsPerPixel);
    placeTwips(box, left, top, width, height);
    if (labelWidth > 0)
        labelFor(parent, box, label, left + width + kGap, top - 45, labelWidth, height + 90, Qt::AlignLeft);
    return box;
}

QCheckBox *makeCheckBox(QWidget *parent, const char *name, const QString &caption, const QString &label,
                        double left, double top, double width, double height, double labelWidth)
{
    return smallBox<QCheckBox>(parent, name, caption, label, left, top, width, height, labelWidth);
}

QRadioButton *makeOption(QWidget *parent, const char *name, const QString &caption, const QString &label,
                         double left, double top, double width, double height, double labelWidth)
{
    return smallBox<QRadioButton>(parent, name, caption, label, left, top, width, height, labelWidth);
}

QFrame *makeOptionFrame(QWidget *parent, const char *name, double left, double top, double width, double height)
{
    auto *frame = new QFrame(parent);
    frame->setFrameShape(QFrame::NoFrame);
    nameControl(frame, QString::fromUtf8(name));
    placeTwips(frame, left, top, width, height);
    return frame;
}

QLabel *makeText(QWidget *parent, const QString &text, double left, double top, double width, double height,
                 bool bold)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    if (bold) {
        QFont f = label->font();
        f.setBold(true);
        f.setPointSizeF(f.pointSizeF() * 1.1);
        label->setFont(f);
    }
    placeTwips(label, left, top, width, height);
    return label;
}

QLabel *makeNumberLabel(QWidget *parent, const char *name, const QString &text, const QString &description,
                        double left, double top, double width, double height)
{
    auto *label = new QLabel(text, parent);
    nameControl(label, QString::fromUtf8(name));
    label->setAccessibleDescription(description);
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPointSizeF(12);
    f.setBold(true);
    label->setFont(f);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, QColor(64, 0, 64));
    label->setPalette(p);
    placeTwips(label, left, top, width, height);
    return label;
}

void showFrameSetPick(const FrameSetPick &pick, QLineEdit *nameBox, QLabel *firstLabel, const QString &firstText,
                      QLabel *lastLabel, QLineEdit *reportBox)
{
    nameBox->setText(pick.file.name);
    firstLabel->setText(firstText);
    lastLabel->setText(QString::number(pick.last));
    reportMissingFrames(pick.missing);
    if (!pick.missing.isEmpty())
        reportBox->setText(cantFindText(pick.missing.last()));
}

void bindText(QLineEdit *box, QString &value)
{
    SceneDocument &document = sceneDocument();
    box->setText(value);
    QObject::connect(box, &QLineEdit::textChanged, box, [&document, &value](const QString &text) {
        if (value == text)
            return;
        value = text;
        document.noteChanged();
    });
    QObject::connect(&document, &SceneDocument::changed, box, [box, &value] {
        if (box->text() != value)
            box->setText(value);
    });
}

void bindOption(QRadioButton *option, bool &value)
{
    SceneDocument &document = sceneDocument();
    if (value)
        option->setChecked(true);
    QObject::connect(option, &QRadioButton::toggled, option, [&document, &value](bool on) {
        if (value == on)
            return;
        value = on;
        document.noteChanged();
    });
    // An option of a group is cleared by choosing its partner.
    QObject::connect(&document, &SceneDocument::changed, option, [option, &value] {
        if (value && !option->isChecked())
            option->setChecked(true);
    });
}

void bindTicked(QCheckBox *box, bool &ticked)
{
    SceneDocument &document = sceneDocument();
    setCheckValue(box, ticked ? 1 : 0);
    QObject::connect(box, &QCheckBox::stateChanged, box, [box, &document, &ticked](int) {
        const bool now = checkValue(box) == 1;
        if (ticked == now)
            return;
        ticked = now;
        document.noteChanged();
    });
    // A grey box is not ticked and stays grey while the value says so.
    QObject::connect(&document, &SceneDocument::changed, box, [box, &ticked] {
        if ((checkValue(box) == 1) != ticked)
            setCheckValue(box, ticked ? 1 : 0);
    });
}

void bindFlag(QCheckBox *box, Flag SceneState::*flag)
{
    SceneDocument &document = sceneDocument();
    setCheckValue(box, isFlagOn(document.state().*flag) ? 1 : 0);
    QObject::connect(box, &QCheckBox::stateChanged, box, [box, &document, flag](int) {
        const int value = checkValue(box);
        const Flag now = toFlag(value == 1);
        if (value == 2 || document.state().*flag == now)
            return;
        document.editState([flag, now](SceneState &s) { s.*flag = now; });
    });
    // As with a ticked value, a grey box stays grey while the flag is off.
    QObject::connect(&document, &SceneDocument::changed, box, [box, &document, flag] {
        const bool on = isFlagOn(document.state().*flag);
        if ((checkValue(box) == 1) != on)
            setCheckValue(box, on ? 1 : 0);
    });
}

void bindLabel(QLabel *label, const QString &value)
{
    label->setText(value);
    QObject::connect(&sceneDocument(), &SceneDocument::changed, label, [label, &value] {
        if (label->text() != value)
            label->setText(value);
    });
}
