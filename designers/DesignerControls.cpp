#include "designers/DesignerControls.h"

#include "platform/ControlText.h"
#include "platform/Form.h"

#include <QLabel>
#include <QPushButton>

void placeAt(QWidget *control, const QRectF &twips)
{
    placeTwips(control, twips.left(), twips.top(), twips.width(), twips.height());
}

QWidget *makeStrip(QWidget *window, const QRectF &at)
{
    auto *strip = new QWidget(window);
    nameControl(strip, QStringLiteral("Picture1"));
    strip->setAutoFillBackground(true);
    QPalette band = strip->palette();
    band.setColor(QPalette::Window, QColor(0, 0, 160));
    strip->setPalette(band);
    placeAt(strip, at);
    return strip;
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, const QRectF &at)
{
    auto *label = new QLabel(text, parent);
    nameControl(label, name);
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color: white; background-color: rgb(0, 0, 192);"));
    placeAt(label, at);
    fitTextToLabel(label);
    return label;
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &text, const QRectF &at)
{
    auto *button = new QPushButton(text, parent);
    nameControl(button, name, text);
    placeAt(button, at);
    return button;
}

void keepApart(QWidget *left, const QWidget *right)
{
    // The BACK and NEXT places were click areas over one drawn picture and
    // overlap a little; as buttons of their own each needs its whole face.
    constexpr double kGapTwips = 60;
    QRectF face = controlTwips(left);
    const QRectF next = controlTwips(right);
    if (!face.intersects(next))
        return;
    face.setRight(next.left() - kGapTwips);
    placeAt(left, face);
}

QPushButton *makeFrameButton(QWidget *parent, const QString &name, const QString &text, const QString &accessible,
                             QPointF at)
{
    auto *button = new QPushButton(text, parent);
    nameControl(button, name, accessible);
    button->setStyleSheet(QStringLiteral("background-color: rgb(192, 192, 255);"));
    placeAt(button, QRectF(at, QSizeF(240, 285)));
    return button;
}
