#include "platform/ControlText.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>

#include <algorithm>

namespace {
constexpr double SmallestSize = 6;
}

void fitTextToLabel(QLabel *label)
{
    QFont font = label->font();
    if (font.pointSizeF() <= 0)
        return;
    const QRect box = label->contentsRect();
    for (double size = font.pointSizeF(); size >= SmallestSize; size -= 0.5) {
        font.setPointSizeF(size);
        const QRect needed = QFontMetrics(font).boundingRect(box, Qt::TextWordWrap, label->text());
        if (needed.width() <= box.width() && needed.height() <= box.height())
            break;
    }
    label->setFont(font);
}

void fitCaption(QAbstractButton *button)
{
    QFont font = button->font();
    if (font.pointSizeF() <= 0)
        return;
    QRect box = button->contentsRect();
    if (qobject_cast<QCheckBox *>(button) || qobject_cast<QRadioButton *>(button)) {
        const int indicator = button->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, button)
                              + button->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, button);
        box.setLeft(box.left() + indicator);
    } else {
        box.adjust(3, 2, -3, -2); // the face's frame
    }
    const QString caption = button->text();
    QStringList candidates{caption};
    for (qsizetype blank = caption.indexOf(u' ', 1); blank > 0; blank = caption.indexOf(u' ', blank + 1))
        candidates << caption.left(blank) + u'\n' + caption.mid(blank + 1);
    for (double size = font.pointSizeF(); size >= SmallestSize; size -= 0.5) {
        font.setPointSizeF(size);
        const QFontMetrics metrics(font);
        // One line if it fits, else the break with the narrowest widest line.
        std::stable_sort(candidates.begin() + 1, candidates.end(), [&](const QString &a, const QString &b) {
            return metrics.size(0, a).width() < metrics.size(0, b).width();
        });
        for (const QString &text : std::as_const(candidates)) {
            const QSize needed = metrics.size(0, text);
            if (needed.width() <= box.width() && needed.height() <= box.height()) {
                button->setFont(font);
                button->setText(text);
                return;
            }
        }
    }
    button->setFont(font);
}
