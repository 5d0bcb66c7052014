#include "designers/DesignerControls.h"

#include "platform/Form.h"

#include <QFontMetrics>
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

void fitTextToLabel(QLabel *label)
{
    // The windows were laid out for a small system font: a text that does not
    // fit its place at this one takes a smaller size rather than being cut off.
    QFont font = label->font();
    if (font.pointSizeF() <= 0)
        return;
    const QRect box = label->contentsRect();
    constexpr double kSmallest = 6;
    for (double size = font.pointSizeF(); size >= kSmallest; size -= 0.5) {
        font.setPointSizeF(size);
        const QRect needed = QFontMetrics(font).boundingRect(box, Qt::TextWordWrap, label->text());
        if (needed.width() <= box.width() && needed.height() <= box.height())
            break;
    }
    label->setFont(font);
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
