// The crop rectangle's arithmetic without a designer window: the twips to
// pixels rule, the rectangle class and the handle places.

#include "core/scene/CropRectToPixels.h"
#include "designers/CRect.h"
#include "designers/SizingHandles.h"
#include "platform/Form.h"
#include "tests/support/program/ScriptedWindows.h"

#include <QWidget>

#include <limits>

namespace {

class CropGeometryTest : public AppTest {};

struct CropCase {
    const char *what;
    QRectF twips;
    NegativeOrigin origin;
    PixelCrop expected;
};

TEST_F(CropGeometryTest, CropRectToPixelsTable)
{
    const NegativeOrigin keep = NegativeOrigin::Keep, raise = NegativeOrigin::RaiseToZero;
    const CropCase cases[] = {
        // Each designer's rectangle as laid out.
        {"main mouth", {5130, 6690, 855, 615}, keep, {342, 446, 56, 41}},
        {"main blink", {4995, 6735, 855, 615}, keep, {333, 449, 56, 41}},
        {"user mouth", {5115, 6795, 855, 615}, keep, {341, 453, 56, 41}},
        {"user blink", {4950, 6750, 855, 615}, keep, {330, 450, 56, 41}},
        {"extra", {3720, 3165, 1035, 705}, raise, {248, 211, 68, 47}},
        {"trigger", {3900, 3255, 855, 615}, raise, {260, 217, 56, 41}},
        {"brow", {0, 3135, 855, 615}, keep, {0, 209, 56, 41}},
        // The size is divided by 15.15, so from 51 pixels up the crop is smaller.
        {"1500 twips wide", {0, 0, 1500, 1500}, keep, {0, 0, 99, 99}},
        {"1515 twips wide", {0, 0, 1515, 1515}, keep, {0, 0, 100, 100}},
        {"50 pixels", {0, 0, 750, 750}, keep, {0, 0, 50, 50}},
        {"51 pixels", {0, 0, 765, 765}, keep, {0, 0, 50, 50}},
        {"empty", {30, 30, 0, 0}, keep, {2, 2, 0, 0}},
        // Halves go to the even neighbour.
        {"7.5 px", {112.5, 97.5, 15, 15}, keep, {8, 6, 1, 1}},
        {"2.5 px", {37.5, 52.5, 15, 15}, keep, {2, 4, 1, 1}},
        {"-0.5 px", {-7.5, -22.5, 15, 15}, keep, {0, -2, 1, 1}},
        // Beyond the left or top edge.
        {"negative kept", {-300, -45, 855, 615}, keep, {-20, -3, 56, 41}},
        {"negative raised", {-300, -45, 855, 615}, raise, {0, 0, 56, 41}},
        {"positive untouched by raise", {300, 45, 855, 615}, raise, {20, 3, 56, 41}},
    };
    for (const CropCase &c : cases) {
        const PixelCrop got = CropRectToPixels(c.twips, c.origin);
        EXPECT_EQ(got, c.expected) << c.what << ": got " << got.x << ", " << got.y << ", " << got.width << " x "
                                   << got.height;
    }
}

CRect edges(int32_t l, int32_t t, int32_t r, int32_t b)
{
    CRect rect;
    rect.Left = l;
    rect.Top = t;
    rect.Right = r;
    rect.Bottom = b;
    return rect;
}

TEST_F(CropGeometryTest, PtInRectTable)
{
    struct Case {
        const char *name;
        CRect rect;
        double x, y;
        bool inside;
    } cases[] = {
        {"left and top edges belong", edges(10, 20, 30, 40), 10, 20, true},
        {"just inside the far corner", edges(10, 20, 30, 40), 29.99, 39.99, true},
        {"the right edge does not", edges(10, 20, 30, 40), 30, 25, false},
        {"nor the bottom one", edges(10, 20, 30, 40), 15, 40, false},
        {"just left of the left edge", edges(10, 20, 30, 40), 9.99, 25, false},
        {"empty across", edges(10, 20, 10, 40), 10, 25, false},
        {"empty down", edges(10, 20, 30, 20), 15, 20, false},
        {"out of order", edges(30, 40, 10, 20), 15, 25, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.rect.PtInRect(c.x, c.y), c.inside) << c.name;

    CRect reversed = edges(30, 40, 10, 20);
    EXPECT_EQ(reversed.Width(), -20);
    EXPECT_EQ(reversed.Height(), -20);
    reversed.NormalizeRect();
    EXPECT_EQ(reversed, edges(10, 20, 30, 40));
    EXPECT_TRUE(reversed.PtInRect(15, 25));

    CRect flat = edges(5, 9, 5, 3);
    flat.NormalizeRect(); // equal edges stay; only the pair out of order swaps
    EXPECT_EQ(flat, edges(5, 3, 5, 9));
}

TEST_F(CropGeometryTest, WidthAndHeightAreChecked)
{
    const int32_t max = std::numeric_limits<int32_t>::max(), min = std::numeric_limits<int32_t>::min();
    CRect rect = edges(100, 200, 0, 0);
    EXPECT_TRUE(rect.SetWidth(50));
    EXPECT_TRUE(rect.SetHeight(-250));
    EXPECT_EQ(rect, edges(100, 200, 150, -50));

    EXPECT_FALSE(rect.SetWidth(int64_t(max) - 99)); // Left + w passes the largest 32-bit value
    EXPECT_FALSE(rect.SetHeight(int64_t(min) - 201));
    EXPECT_EQ(rect, edges(100, 200, 150, -50)); // unchanged
    EXPECT_TRUE(rect.SetWidth(int64_t(max) - 100));
    EXPECT_EQ(rect.Right, max);

    // The difference of two extreme edges is exact.
    EXPECT_EQ(edges(min, 0, max, 0).Width(), int64_t(max) - min);

    EXPECT_EQ(roundToEdge(7.5), 8);
    EXPECT_EQ(roundToEdge(6.5), 6);
    EXPECT_EQ(roundToEdge(-0.5), 0);
    EXPECT_EQ(roundToEdge(double(max) + 1), std::nullopt);
    EXPECT_EQ(roundToEdge(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
}

TEST_F(CropGeometryTest, ControlGeometryRoundsEachEdge)
{
    QWidget window;
    QWidget control(&window);
    placeTwips(&control, 7.5, 6.5, 10, 10);
    CRect rect;
    ASSERT_TRUE(rect.SetRectToCtrl(&control));
    EXPECT_EQ(rect, edges(8, 6, 18, 16)); // 17.5 -> 18, 16.5 -> 16

    CRect placed = edges(300, 450, 150, 225); // out of order: put in order first
    placed.SetCtrlToRect(&control);
    EXPECT_EQ(controlTwips(&control), QRectF(150, 225, 150, 225));
    EXPECT_EQ(control.geometry(), QRect(10, 15, 10, 15));
}

TEST_F(CropGeometryTest, ScreenAndTwipsThroughTheClientOrigin)
{
    QWidget window;
    window.setGeometry(200, 100, 400, 300);
    QWidget control(&window);
    placeTwips(&control, 1500, 750, 300, 150);

    CRect rect;
    ASSERT_TRUE(rect.SetRectToCtrl(&control));
    ASSERT_TRUE(rect.TwipsToScreen(&control));
    const QPoint origin = window.mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(rect, edges(origin.x() + 100, origin.y() + 50, origin.x() + 120, origin.y() + 60));
    ASSERT_TRUE(rect.ScreenToTwips(&control));
    EXPECT_EQ(rect, edges(1500, 750, 1800, 900));

    // At 120 dots per inch a pixel is 12 twips.
    env.tppX = env.tppY = 12;
    rect = edges(origin.x() + 7, origin.y() + 9, origin.x() + 20, origin.y() + 30);
    const CRect screen = rect;
    ASSERT_TRUE(rect.ScreenToTwips(&control));
    EXPECT_EQ(rect, edges(84, 108, 240, 360));
    ASSERT_TRUE(rect.TwipsToScreen(&control));
    EXPECT_EQ(rect, screen);
}

TEST_F(CropGeometryTest, HandlePlacesAroundOneRectangle)
{
    const CRect shape = edges(5130, 6690, 5130 + 855, 6690 + 615);
    const auto at = handlePlaces(shape, 75, 75, 15, 15);
    const QPointF expected[SizingHandleCount] = {{5101, 6661},   {5520.5, 6661}, {5940, 6661}, {5940, 6960.5},
                                                 {5940, 7260},   {5520.5, 7260}, {5101, 7260}, {5101, 6960.5}};
    for (int i = 0; i < SizingHandleCount; ++i)
        EXPECT_EQ(at[i], expected[i]) << "handle " << i;

    // Each handle moves its own edges only.
    const QPoint p(1, 2);
    const CRect base = edges(10, 20, 30, 40);
    const CRect moved[SizingHandleCount] = {edges(1, 2, 30, 40), edges(10, 2, 30, 40), edges(10, 2, 1, 40),
                                            edges(10, 20, 1, 40), edges(10, 20, 1, 2), edges(10, 20, 30, 2),
                                            edges(1, 20, 30, 2), edges(1, 20, 30, 40)};
    for (int i = 0; i < SizingHandleCount; ++i) {
        CRect r = base;
        applySizing(r, i, p);
        EXPECT_EQ(r, moved[i]) << "handle " << i;
    }
    EXPECT_EQ(handleCursor(0), Qt::SizeFDiagCursor);
    EXPECT_EQ(handleCursor(2), Qt::SizeBDiagCursor);
    EXPECT_EQ(handleCursor(5), Qt::SizeVerCursor);
    EXPECT_EQ(handleCursor(7), Qt::SizeHorCursor);
}

} // namespace
