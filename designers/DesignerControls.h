#pragma once
// The controls of the designers and review pages in their colours: the blue
// strip, white labels on dark blue, the picture buttons BACK and NEXT, and
// the small light-blue frame buttons (240 x 285 twips). Places are in twips.

#include <QPointF>
#include <QRectF>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

void placeAt(QWidget *control, const QRectF &twips);
// The strip `Picture1`.
QWidget *makeStrip(QWidget *window, const QRectF &at);
// A word-wrapped white label on dark blue; its font is made smaller when the
// text would not fit the label's place.
QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, const QRectF &at);
QPushButton *makeButton(QWidget *parent, const QString &name, const QString &text, const QRectF &at);
// Narrows `left` so that it ends a little before `right` begins, when their
// places overlap.
void keepApart(QWidget *left, const QWidget *right);
QPushButton *makeFrameButton(QWidget *parent, const QString &name, const QString &text, const QString &accessible,
                             QPointF at);
