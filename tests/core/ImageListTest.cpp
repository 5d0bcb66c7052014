// The picture list: numbered entries with keys, and the overlay that lets the
// keyed picture show through the mask colour of another.

#include "core/pictures/ImageList.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "tests/support/Printers.h"

namespace {

// A 3 x 1 picture of the three colours given.
QImage strip(QRgb a, QRgb b, QRgb c)
{
    QImage image(3, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, a);
    image.setPixel(1, 0, b);
    image.setPixel(2, 0, c);
    return image;
}

TEST(ImageList, OverlayShowsTheKeyedPictureThroughTheMaskColour)
{
    const QRgb red = qRgb(200, 0, 0), green = qRgb(0, 200, 0), blue = qRgb(0, 0, 200);
    const QRgb grey = qRgb(192, 192, 192), nearlyGrey = qRgb(192, 192, 191), white = qRgb(255, 255, 255);
    ImageList list;
    ASSERT_TRUE(list.Add(1, QStringLiteral("KMT"), strip(red, green, blue)));
    ASSERT_TRUE(list.Add(2, QString(), strip(grey, nearlyGrey, white)));
    ASSERT_TRUE(list.Add(3, QString(), strip(grey, grey, grey)));

    const QImage over = list.Overlay(QStringLiteral("KMT"), 2);
    ASSERT_EQ(over.size(), QSize(3, 1));
    EXPECT_FALSE(over.hasAlphaChannel());
    EXPECT_EQ(over.pixel(0, 0), red);        // exactly light grey: the keyed picture shows
    EXPECT_EQ(over.pixel(1, 0), nearlyGrey); // one off: it is drawn
    EXPECT_EQ(over.pixel(2, 0), white);
    EXPECT_EQ(list.Overlay(QStringLiteral("KMT"), 3), strip(red, green, blue));
    EXPECT_EQ(list.Overlay(QStringLiteral("KMT"), 1), strip(red, green, blue));
    // An entry without the mask colour covers the keyed one: it is its own overlay.
    ASSERT_TRUE(list.Add(4, QString(), strip(white, nearlyGrey, blue)));
    EXPECT_EQ(list.Overlay(QStringLiteral("KMT"), 4), strip(white, nearlyGrey, blue));
    EXPECT_EQ(list.Overlay(QStringLiteral("KMT"), 4).cacheKey(), list.Picture(4).cacheKey());

    // A missing key or entry gives nothing.
    EXPECT_TRUE(list.Overlay(QStringLiteral("KBL"), 2).isNull());
    EXPECT_TRUE(list.Overlay(QStringLiteral("KMT"), 5).isNull());
    EXPECT_TRUE(list.Overlay(QStringLiteral("KMT"), 0).isNull());
    EXPECT_TRUE(list.Overlay(QString(), 1).isNull());
}

TEST(ImageList, AnEntryOfAnotherSizeIsDrawnFromTheCorner)
{
    ImageList list;
    QImage base(4, 2, QImage::Format_RGB32);
    base.fill(qRgb(1, 2, 3));
    QImage small(2, 3, QImage::Format_RGB32);
    small.fill(qRgb(9, 9, 9));
    ASSERT_TRUE(list.Add(1, QStringLiteral("K"), base));
    ASSERT_TRUE(list.Add(2, QString(), small));
    const QImage over = list.Overlay(QStringLiteral("K"), 2);
    ASSERT_EQ(over.size(), QSize(4, 2));
    EXPECT_EQ(over.pixel(1, 1), qRgb(9, 9, 9));
    EXPECT_EQ(over.pixel(2, 0), qRgb(1, 2, 3));
}

TEST(ImageList, InsertsAndKeys)
{
    const QImage a = strip(1, 1, 1), b = strip(2, 2, 2), c = strip(3, 3, 3);
    ImageList list;
    EXPECT_FALSE(list.Add(2, QString(), a)); // beyond count + 1
    EXPECT_FALSE(list.Add(0, QString(), a));
    EXPECT_FALSE(list.Add(1, QString(), QImage()));
    ASSERT_TRUE(list.Add(1, QStringLiteral("KMT"), a));
    ASSERT_TRUE(list.Add(2, QString(), c));
    ASSERT_TRUE(list.Add(2, QString(), b)); // inserted: c moves up to 3
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Picture(2), b);
    EXPECT_EQ(list.Picture(3), c);
    EXPECT_TRUE(list.Picture(4).isNull());
    EXPECT_FALSE(list.Add(4, QStringLiteral("KMT"), c)); // a key used twice
    EXPECT_EQ(list.Count(), 3);

    // Inserting before the keyed entry moves it, and the key goes with it.
    ASSERT_TRUE(list.Add(1, QString(), c));
    EXPECT_EQ(list.IndexOf(QStringLiteral("KMT")), 2);
    EXPECT_EQ(list.Key(2), QStringLiteral("KMT"));
    EXPECT_EQ(list.Overlay(QStringLiteral("KMT"), 1), c);

    // The same picture twice is one picture.
    ImageList shared;
    ASSERT_TRUE(shared.Add(1, QString(), a));
    ASSERT_TRUE(shared.Add(2, QString(), shared.Picture(1)));
    EXPECT_EQ(shared.Picture(1).constBits(), shared.Picture(2).constBits());

    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.IndexOf(QStringLiteral("KMT")), 0);
}

// A picture made when shown, counting how often it is made; a null picture
// stands for one that cannot be made.
class CountedPicture : public DeferredPicture {
public:
    explicit CountedPicture(QImage picture) : m_picture(std::move(picture)) {}
    QImage make() const override
    {
        ++made;
        return m_picture;
    }
    mutable std::atomic<int> made = 0;

private:
    const QImage m_picture;
};

TEST(ImageList, DeferredEntriesAreMadeOnceWhenShownAndShareOnePicture)
{
    const QRgb red = qRgb(200, 0, 0), blue = qRgb(0, 0, 200), grey = qRgb(192, 192, 192), white = qRgb(255, 255, 255);
    const auto shared = std::make_shared<CountedPicture>(strip(grey, white, grey));
    const auto broken = std::make_shared<CountedPicture>(QImage());
    ImageList list;
    ASSERT_TRUE(list.Add(1, QStringLiteral("K"), strip(red, red, blue)));
    ASSERT_TRUE(list.Add(2, QString(), shared));
    ASSERT_TRUE(list.Add(3, QString(), shared));
    ASSERT_TRUE(list.Add(4, QString(), broken));
    EXPECT_FALSE(list.Add(5, QString(), std::shared_ptr<const DeferredPicture>()));
    EXPECT_EQ(shared->made, 0); // nothing is made before it is shown

    EXPECT_EQ(list.Overlay(QStringLiteral("K"), 2), strip(red, white, blue));
    EXPECT_EQ(list.Picture(2).cacheKey(), list.Picture(3).cacheKey());
    EXPECT_EQ(shared->made, 1);

    // One that cannot be made shows nothing: not the keyed picture either.
    EXPECT_TRUE(list.Picture(4).isNull());
    EXPECT_TRUE(list.Overlay(QStringLiteral("K"), 4).isNull());
    EXPECT_EQ(list.Count(), 4);
}

TEST(ImageList, OnlyTheLatestDeferredPicturesAreKept)
{
    constexpr int count = 40;
    ImageList list;
    std::vector<std::shared_ptr<CountedPicture>> frames;
    for (int n = 1; n <= count; ++n) {
        frames.push_back(std::make_shared<CountedPicture>(strip(qRgb(n, 0, 0), qRgb(0, n, 0), qRgb(0, 0, n))));
        ASSERT_TRUE(list.Add(n, QString(), frames.back()));
    }
    // Forward and back again over the last few: each made once, the next ones
    // made ahead and waited for, never made twice.
    for (int n = 1; n <= count; ++n)
        EXPECT_EQ(list.Picture(n).pixel(0, 0), qRgb(n, 0, 0)) << "entry " << n;
    for (int n = count; n > count - PictureCache::Kept / 2; --n)
        EXPECT_EQ(list.Picture(n).pixel(2, 0), qRgb(0, 0, n)) << "entry " << n;
    for (int n = 1; n <= count; ++n)
        EXPECT_EQ(frames[n - 1]->made, 1) << "entry " << n;
    // The first was let go long ago, and is made again.
    EXPECT_EQ(list.Picture(1).pixel(0, 0), qRgb(1, 0, 0));
    EXPECT_EQ(frames[0]->made, 2);
}

} // namespace
