// The rubber-band engine driven with the mouse through a real designer window.

#include "core/scene/CropRectToPixels.h"
#include "designers/frmFormDesign.h"
#include "tests/designers/DesignerFixture.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/program/Rendering.h"

#include <QLabel>
#include <QPushButton>

namespace {

class CropEngineTest : public DesignerTest {
protected:
    void SetUp() override
    {
        DesignerTest::SetUp();
        makePrimarySeries();
        d = &form<frmFormDesign>();
        d->SetPicture(taggedFrame(1));
        showAt(*d);
    }

    // A point of the window in pixels.
    void press(QPoint at, Qt::MouseButton button = Qt::LeftButton) { QTest::mousePress(d, button, {}, at); }
    void moveTo(QPoint at) { QTest::mouseMove(d, at); }
    void release(QPoint at, Qt::MouseButton button = Qt::LeftButton) { QTest::mouseRelease(d, button, {}, at); }
    // A point on handle i, in window pixels.
    QPoint onHandle(int i) const { return d->picHandle[i]->geometry().center(); }

    void expectSettled(const char *when)
    {
        EXPECT_EQ(d->RubberState, CropDesigner::Idle) << when;
        EXPECT_FALSE(d->OutlineShown()) << when;
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr) << when;
    }
    void expectHandlesAround(const QRectF &twips)
    {
        CRect rect;
        rect.Left = int32_t(twips.left());
        rect.Top = int32_t(twips.top());
        rect.Right = int32_t(twips.right());
        rect.Bottom = int32_t(twips.bottom());
        const auto places = handlePlaces(rect, 75, 75, 15, 15);
        for (int i = 0; i < SizingHandleCount; ++i) {
            EXPECT_TRUE(d->picHandle[i]->isVisible()) << "handle " << i;
            EXPECT_EQ(controlTwips(d->picHandle[i]).topLeft(), places[i]) << "handle " << i;
        }
    }

    frmFormDesign *d = nullptr;
};

TEST_F(CropEngineTest, MovingTheRectangle)
{
    const QRectF start(5130, 6690, 855, 615);
    ASSERT_EQ(controlTwips(d->Shape1), start);
    for (QWidget *handle : d->picHandle)
        EXPECT_FALSE(handle->isVisible());

    const QPoint grab = d->Shape1->geometry().center();
    press(grab);
    EXPECT_EQ(d->RubberState, CropDesigner::Moving);
    EXPECT_EQ(d->SelectedControl, d->Shape1);
    EXPECT_TRUE(d->OutlineShown());
    EXPECT_EQ(QWidget::mouseGrabber(), d);

    // The outline inverts the picture under it, and inverting again erases it.
    const QPoint onOutline(342 + 60, 446 - 60 + 10);
    const QRgb picture = tagColor(onOutline.x(), onOutline.y(), 1);
    moveTo(grab + QPoint(60, -60));
    EXPECT_EQ(shownPixel(*d, onOutline), ~picture | 0xFF000000u);
    moveTo(grab + QPoint(100, -100));
    EXPECT_EQ(shownPixel(*d, onOutline), picture);
    // Only the outline follows the cursor; Shape1 waits for the release.
    EXPECT_EQ(controlTwips(d->Shape1), start);
    const QPoint origin = d->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(d->RubberRect.Left, origin.x() + 342 + 100);
    EXPECT_EQ(d->RubberRect.Top, origin.y() + 446 - 100);
    EXPECT_EQ(d->RubberRect.Width(), 57);

    release(grab + QPoint(100, -100));
    const QRectF moved(5130 + 1500, 6690 - 1500, 855, 615);
    EXPECT_EQ(controlTwips(d->Shape1), moved);
    expectSettled("after the move");
    expectHandlesAround(moved);

    // A press on the rectangle while its handles show starts a new move.
    press(d->Shape1->geometry().center());
    EXPECT_EQ(d->RubberState, CropDesigner::Moving);
    for (QWidget *handle : d->picHandle)
        EXPECT_FALSE(handle->isVisible());
    release(d->Shape1->geometry().center());
    EXPECT_EQ(controlTwips(d->Shape1), moved);
    expectSettled("after a press and release in place");
}

TEST_F(CropEngineTest, SizingByCornerAndEdgeHandles)
{
    const QPoint grab = d->Shape1->geometry().center();
    press(grab);
    release(grab);
    ASSERT_TRUE(d->picHandle[4]->isVisible());

    // The bottom-right corner follows the cursor.
    press(onHandle(4));
    EXPECT_EQ(d->RubberState, CropDesigner::Sizing);
    EXPECT_EQ(d->SizingHandle, 4);
    EXPECT_EQ(QWidget::mouseGrabber(), d);
    moveTo(QPoint(520, 520));
    release(QPoint(520, 520));
    const QRectF corner(5130, 6690, 520 * 15 - 5130, 520 * 15 - 6690);
    EXPECT_EQ(controlTwips(d->Shape1), corner);
    expectSettled("after the corner");
    expectHandlesAround(corner);

    // The right edge's handle moves the right edge only.
    press(onHandle(3));
    moveTo(QPoint(480, 100));
    release(QPoint(480, 100));
    const QRectF edge(5130, 6690, 480 * 15 - 5130, corner.height());
    EXPECT_EQ(controlTwips(d->Shape1), edge);
    expectSettled("after the edge");
    expectHandlesAround(edge);
}

TEST_F(CropEngineTest, DraggingPastTheOppositeEdgeEndsInOrder)
{
    press(d->Shape1->geometry().center());
    release(d->Shape1->geometry().center());
    // Top-left corner (342, 446) dragged beyond the bottom-right one (399, 487).
    press(onHandle(0));
    moveTo(QPoint(420, 500));
    EXPECT_LT(d->RubberRect.Width(), 0);
    release(QPoint(420, 500));
    const QRectF ordered(399 * 15, 487 * 15, (420 - 399) * 15, (500 - 487) * 15);
    EXPECT_EQ(controlTwips(d->Shape1), ordered);
    expectSettled("after the sizing");
    expectHandlesAround(ordered);
}

TEST_F(CropEngineTest, RightPressSizingEndsOnlyAtTheLeftRelease)
{
    press(d->Shape1->geometry().center());
    release(d->Shape1->geometry().center());
    const QRectF start = controlTwips(d->Shape1);

    press(onHandle(5), Qt::RightButton);
    EXPECT_EQ(d->RubberState, CropDesigner::Sizing);
    moveTo(QPoint(300, 520));
    release(QPoint(300, 520), Qt::RightButton);
    // The right release changes nothing: the outline still follows the cursor.
    EXPECT_EQ(d->RubberState, CropDesigner::Sizing);
    EXPECT_TRUE(d->OutlineShown());
    EXPECT_EQ(QWidget::mouseGrabber(), d);
    EXPECT_EQ(controlTwips(d->Shape1), start);

    moveTo(QPoint(300, 540));
    EXPECT_EQ(d->RubberRect.Bottom, d->mapToGlobal(QPoint(0, 540)).y());
    // A left press goes on with the sizing; its release ends it.
    press(QPoint(300, 540));
    EXPECT_EQ(d->RubberState, CropDesigner::Sizing);
    release(QPoint(300, 540));
    EXPECT_EQ(controlTwips(d->Shape1), QRectF(start.left(), start.top(), start.width(), 540 * 15 - start.top()));
    expectSettled("after the left release");
}

TEST_F(CropEngineTest, PressesOffTheRectangleMoveNothing)
{
    press(d->Shape1->geometry().center());
    release(d->Shape1->geometry().center());
    const QRectF shape = controlTwips(d->Shape1);
    const QRect label = d->Label1->geometry();

    // The strip's label: the strip takes the press, the handles stay.
    QTest::mousePress(d->Label1, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseRelease(d->Label1, Qt::LeftButton, {}, QPoint(20, 10));
    expectSettled("after a press on the label");
    EXPECT_TRUE(d->picHandle[0]->isVisible());

    // The picture's top band, where the label's strip coordinates would fall:
    // nothing is hit, so the selection and its handles go.
    press(QPoint(100, 40));
    moveTo(QPoint(300, 300));
    release(QPoint(300, 300));
    expectSettled("after a press on the picture");
    EXPECT_EQ(d->SelectedControl, nullptr);
    for (QWidget *handle : d->picHandle)
        EXPECT_FALSE(handle->isVisible());

    EXPECT_EQ(d->Label1->geometry(), label);
    EXPECT_EQ(controlTwips(d->Shape1), shape);

    // A rectangle sized to no width is never hit.
    placeTwips(d->Shape1, 1500, 1500, 0, 615);
    press(QPoint(100, 110));
    release(QPoint(100, 110));
    expectSettled("after a press on an empty rectangle");
    EXPECT_EQ(d->SelectedControl, nullptr);
}

TEST_F(CropEngineTest, TheCursorStaysInsideTheWindowButTheRectangleNeedNot)
{
    // Grabbed near its right edge and taken far past the window's left border.
    const QRect shape = d->Shape1->geometry();
    const QPoint grab(shape.right() - 2, shape.center().y());
    press(grab);
    moveTo(QPoint(-500, grab.y()));
    release(QPoint(-500, grab.y()));
    // The cursor stopped at the window's outer left edge (its frame included),
    // the grab offset right of the rectangle's left.
    const int outerLeft = d->frameGeometry().left() - d->mapToGlobal(QPoint(0, 0)).x();
    EXPECT_EQ(controlTwips(d->Shape1).left(), (outerLeft - (grab.x() - shape.left())) * 15.0);
    EXPECT_LT(CropRectToPixels(controlTwips(d->Shape1)).x, 0);
    EXPECT_EQ(CropRectToPixels(controlTwips(d->Shape1), NegativeOrigin::RaiseToZero).x, 0);
    expectSettled("after the move");
}

TEST_F(CropEngineTest, HidingTheWindowMidDragFreesTheMouse)
{
    press(d->Shape1->geometry().center());
    d->Hide();
    expectSettled("after the hide");
    EXPECT_EQ(controlTwips(d->Shape1), QRectF(5130, 6690, 855, 615));
    release(d->Shape1->geometry().center());
}

// A series of 16-bit BMPs is cut with its colours as other programs show
// them (white 255, not 248), and a 16-bit frame of masks the program does not
// read is named with the reason and what will do.
TEST_F(CropEngineTest, SixteenBitFramesAreCutWithTheirFullColours)
{
    const BmpBytes rgb565{.width = FrameWidth, .height = FrameHeight, .bits = 16, .compression = 3,
                          .masks = {0xF800, 0x07E0, 0x001F, 0}};
    auto chequered = [](int x, int y) { return (x + y) % 2 ? 0xFFFFu : 0x8410u; };
    for (int n = 1; n <= 7; ++n)
        writeTempFile(QStringLiteral("Art/Scene-%1.bmp").arg(n, 4, 10, QLatin1Char('0')), rgb565.make(chequered));
    click(d->Image2); // NEXT, the rectangle at 342, 446
    for (int n = 1; n <= 7; ++n) {
        SCOPED_TRACE(n);
        const QImage cut = d->Xpress(n).Picture();
        ASSERT_EQ(cut.size(), QSize(56, 41));
        EXPECT_EQ(cut.pixel(0, 0), qRgb(132, 130, 132)); // 16 of 31, 32 of 63
        EXPECT_EQ(cut.pixel(1, 0), qRgb(255, 255, 255));
    }

    BmpBytes holes = rgb565;
    holes.masks = {0xF0F0, 0x0F00, 0x000F, 0};
    writeTempFile(QStringLiteral("Art/Scene-0006.bmp"), holes.make(chequered));
    showAt(*d);
    messages.expect(MsgResult::Ok);
    click(d->Image2);
    const QString said = messages.takeOne().text;
    EXPECT_TRUE(said.contains(primaryFrame(6))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("colour masks"))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("24-bit BMP or as a JPEG picture"))) << said.toStdString();
}

} // namespace
