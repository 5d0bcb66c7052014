#include "core/base/NameList.h"

QString nameListText(const QStringList &names)
{
    if (names.size() <= NameListShown + 1)
        return names.join(u'\n');
    return names.first(NameListShown).join(u'\n') +
           QStringLiteral("\nand %1 more").arg(names.size() - NameListShown);
}
