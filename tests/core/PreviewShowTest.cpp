#include "core/preview/PreviewShow.h"

#include "core/pictures/ImageList.h"
#include "core/preview/PreviewBox.h"

#include <QVector>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace {

QImage solid(QRgb colour)
{
    QImage image(2, 1, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

TEST(PreviewShow, ShowsTheComposedEntryOrLeavesTheBoxAndRecordsEitherWay)
{
    ImageList list;
    QImage base = solid(qRgb(10, 20, 30));
    ASSERT_TRUE(list.Add(1, QStringLiteral("KMT"), base));
    QImage top = solid(qRgb(200, 0, 0));
    top.setPixel(1, 0, ImageList::MaskColor);
    ASSERT_TRUE(list.Add(2, QString(), top));

    PreviewBox box(nullptr, QStringLiteral("VelmMouth"), QRect(0, 0, 2, 1), true);
    int painted = 0;
    QObject::connect(&box, &PreviewBox::pictureChanged, [&] { ++painted; });
    QVector<ShownEntry> trace;
    setShowRecorder([&](const ShownEntry &e) { trace << e; });

    EXPECT_TRUE(ShowListEntry(&box, list, QStringLiteral("KMT"), 2));
    EXPECT_EQ(box.Picture().pixel(0, 0), qRgb(200, 0, 0));
    EXPECT_EQ(box.Picture().pixel(1, 0), qRgb(10, 20, 30));

    // A missing entry or key leaves the picture shown before.
    EXPECT_FALSE(ShowListEntry(&box, list, QStringLiteral("KMT"), 3));
    EXPECT_FALSE(ShowListEntry(&box, list, QStringLiteral("UMT"), 1));
    EXPECT_EQ(box.Picture().pixel(0, 0), qRgb(200, 0, 0));
    EXPECT_EQ(painted, 1) << "the box reports the one picture it was given";
    setShowRecorder({});

    const QVector<ShownEntry> expected{
        {QStringLiteral("VelmMouth"), QStringLiteral("KMT"), 2, true},
        {QStringLiteral("VelmMouth"), QStringLiteral("KMT"), 3, false},
        {QStringLiteral("VelmMouth"), QStringLiteral("UMT"), 1, false},
    };
    EXPECT_EQ(trace, expected);
}
