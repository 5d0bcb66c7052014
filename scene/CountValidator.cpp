#include "scene/CountValidator.h"

#include "core/base/Numbers.h"

#include <QLineEdit>

QValidator::State CountValidator::validate(QString &input, int &pos) const
{
    Q_UNUSED(pos);
    const QString t = input.trimmed();
    qsizetype i = t.startsWith(u'-') || t.startsWith(u'+') ? 1 : 0;
    if (i == t.size())
        return Intermediate;
    for (; i < t.size(); ++i)
        if (t[i] < u'0' || t[i] > u'9')
            return Invalid;
    return toInt16(t) ? Acceptable : Invalid;
}

void acceptCountsOnly(QLineEdit *box)
{
    box->setValidator(new CountValidator(box));
}
