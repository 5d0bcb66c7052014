#include "core/base/NameList.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace {

QStringList frames(int first, int last)
{
    QStringList names;
    for (int n = first; n <= last; ++n)
        names << QStringLiteral("/b/Images/Walk%1.jpg").arg(n, 2, 10, QLatin1Char('0'));
    return names;
}

} // namespace

TEST(NameList, TenNamesAndACountOfTheRest)
{
    const struct {
        int count;
        int listed;   // names shown one a line
        int more;     // the count in the last line; 0 for none
    } cases[] = {
        {0, 0, 0}, {1, 1, 0}, {10, 10, 0},
        {11, 11, 0}, // "and 1 more" would take the eleventh name's line
        {12, 10, 2}, {999, 10, 989},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.count);
        const QStringList names = frames(1, c.count);
        const QString text = nameListText(names);
        QStringList expected = names.first(c.listed);
        if (c.more)
            expected << QStringLiteral("and %1 more").arg(c.more);
        EXPECT_EQ(text, expected.join(u'\n'));
        EXPECT_EQ(text.isEmpty() ? 0 : text.count(u'\n') + 1, c.listed + (c.more ? 1 : 0));
    }
}

TEST(NameList, NamesKeepTheirOrderAndAreNotSorted)
{
    QStringList names = frames(1, 15);
    std::reverse(names.begin(), names.end());
    EXPECT_TRUE(nameListText(names).startsWith(QStringLiteral("/b/Images/Walk15.jpg\n/b/Images/Walk14.jpg\n")));
    EXPECT_TRUE(nameListText(names).endsWith(QStringLiteral("/b/Images/Walk06.jpg\nand 5 more")));
}
