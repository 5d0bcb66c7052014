#include "app/Form1.h"
#include "app/Form2.h"
#include "app/LoadImages.h"
#include "app/Wizard1.h"
#include "core/scene/CanvasRules.h"
#include "core/scene/PositioningSteps.h"
#include "core/scene/SceneDocument.h"
#include "core/scene/SceneState.h"
#include "platform/Controls.h"
#include "platform/PictureBox.h"
#include "tests/support/Printers.h"
#include "tests/support/program/ScriptedWindows.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

// A layer's name in a failure message.
const char *layerName(CanvasLayer layer)
{
    static const char *const names[] = {"main mouth", "main blink", "user mouth", "user blink",
                                        "extra animation", "trigger animation", "brow"};
    return layer >= 0 && layer < int(std::size(names)) ? names[layer] : "no layer";
}

const QRgb kBack = qRgb(192, 192, 255);
const QRgb kSky = qRgb(10, 20, 200);

QImage solid(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Every pixel its own colour, so a copy shows where it came from.
QImage patterned(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(200 + x, 100 + y, 50));
    return image;
}

void place(CanvasLayer layer, double x, double y, double width, double height)
{
    LayerPlacement &p = scene().LayerPlacements[layer];
    p.LayerX = Value::real(x);
    p.LayerY = Value::real(y);
    p.LayerWidth = Value::real(width);
    p.LayerHeight = Value::real(height);
}

double layerX(CanvasLayer layer) { return scene().LayerPlacements[layer].LayerX.toDouble(); }
double layerY(CanvasLayer layer) { return scene().LayerPlacements[layer].LayerY.toDouble(); }

class CanvasTest : public AppTest {
protected:
    // A canvas as the mouth placement leaves it: background and mouth stored,
    // the controller loaded and the mouth selected.
    void openCanvas(bool selectMouth = true)
    {
        Form2 &canvas = form<Form2>();
        canvas.picBackground->SetPicture(solid(40, 30, kSky));
        canvas.picImage->SetPicture(patterned(4, 3));
        canvas.Show();
        if (selectMouth)
            form<Form1>().Option1->setChecked(true);
    }
    Form2 &canvas() { return form<Form2>(); }
    Form1 &controller() { return form<Form1>(); }
    QRgb pixel(int x, int y) { return canvas().PicBox->Image().pixel(x, y); }
};

TEST(LayerSizeFromPicture, HimetricDividedKeptUnrounded)
{
    LayerPlacement p;
    LayerSizeFromPicture(p, QImage(56, 41, QImage::Format_RGB32));
    EXPECT_DOUBLE_EQ(p.LayerWidth.toDouble(), 1482 / 26.454545);
    EXPECT_DOUBLE_EQ(p.LayerHeight.toDouble(), 1085 / 26.454545);
    EXPECT_NEAR(p.LayerWidth.toDouble(), 56.02, 0.005);
    EXPECT_NEAR(p.LayerHeight.toDouble(), 41.01, 0.005);
    LayerSizeFromPicture(p, QImage());
    EXPECT_EQ(p.LayerWidth.toDouble(), 0);
    EXPECT_EQ(p.LayerHeight.toDouble(), 0);
}

TEST_F(CanvasTest, ControllerLoadMeasuresCanvasAndStores)
{
    canvas().picImage2->SetPicture(QImage(56, 41, QImage::Format_RGB32));
    Form1 &c = controller();
    EXPECT_FALSE(c.Visible());
    EXPECT_EQ(scene().CanvasWidth.toDouble(), 1115);
    EXPECT_EQ(scene().CanvasHeight.toDouble(), 816);
    EXPECT_NEAR(scene().LayerPlacements[LayerMainBlink].LayerWidth.toDouble(), 56.02, 0.005);
    EXPECT_EQ(scene().LayerPlacements[LayerMainMouth].LayerWidth.toDouble(), 0);
    EXPECT_TRUE(scene().LayerPlacements[LayerBrowAnim].LayerWidth.isUnset());
    EXPECT_EQ(checkValue(c.Check1), 1);
    for (QWidget *w : {(QWidget *)c.Option2, (QWidget *)c.Option3, (QWidget *)c.Option4, (QWidget *)c.Option5,
                       (QWidget *)c.Option6, (QWidget *)c.Check7})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(c.Option1->isEnabled());
    EXPECT_TRUE(c.Option7->isEnabled());
    for (int i = 0; i < CanvasLayerCount; ++i)
        EXPECT_FALSE(c.LayerSelected(CanvasLayer(i)));
}

TEST_F(CanvasTest, DrawPicPutsTheLayerAtItsPlaceOverTheBackground)
{
    openCanvas();
    place(LayerMainMouth, 5, 6, 4.0069, 3.0024);
    controller().DrawPic();
    const QImage layer = patterned(4, 3);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 5 && x < 9 && y >= 6 && y < 9;
            ASSERT_EQ(pixel(x, y), inside ? layer.pixel(x - 5, y - 6) : kSky) << x << "," << y;
        }
    // Past the background the canvas shows its own colour; the composite is its picture.
    EXPECT_EQ(pixel(50, 40), kBack);
    EXPECT_EQ(canvas().PicBox->Picture().pixel(5, 6), layer.pixel(0, 0));
    EXPECT_EQ(canvas().PicBox->Image().size(), QSize(1115, 816));

    // A new place redraws from the background: nothing stays at the old one.
    place(LayerMainMouth, 20.5, 10, 4, 3);
    controller().DrawPic();
    EXPECT_EQ(pixel(5, 6), kSky);
    EXPECT_EQ(pixel(20, 10), layer.pixel(0, 0));
}

TEST_F(CanvasTest, DrawPicShowsBackgroundAloneWhenHiddenOrNothingSelected)
{
    struct Case {
        const char *name;
        int canvasBox, controllerBox;
        bool select;
        bool layerShown;
    } cases[] = {
        {"both ticked", 1, 1, true, true},
        {"canvas box unticked", 0, 1, true, false},
        {"controller box unticked", 1, 0, true, false},
        {"greyed counts as ticked", 2, 2, true, true},
        {"no layer selected", 1, 1, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        destroyAllForms(); // a controller with no option selected yet
        openCanvas(c.select);
        setCheckValue(canvas().Check1, c.canvasBox);
        setCheckValue(controller().Check1, c.controllerBox);
        place(LayerMainMouth, 5, 6, 4, 3);
        controller().DrawPic();
        EXPECT_EQ(pixel(5, 6), c.layerShown ? patterned(4, 3).pixel(0, 0) : kSky);
        EXPECT_EQ(pixel(4, 6), kSky);
    }
}

TEST_F(CanvasTest, SelectingALayerShowsItsFileAndRedrawsOnlyForSome)
{
    SceneState &s = scene();
    s.MainMouthFileName = "mouth.jpg";
    s.MainBlinkFileName = "blink.jpg";
    s.UserMouthFileName = "umouth.jpg";
    s.UserBlinkFileName = "ublink.jpg";
    s.ExtraFileName = "extra.jpg";
    struct Case {
        QRadioButton *Form1::*option;
        CanvasLayer layer;
        const char *text; // nullptr: Text3 is left as it was
        bool redraws;
    } cases[] = {
        {&Form1::Option1, LayerMainMouth, "mouth.jpg", true},  {&Form1::Option2, LayerMainBlink, "blink.jpg", true},
        {&Form1::Option3, LayerUserMouth, "umouth.jpg", true}, {&Form1::Option4, LayerUserBlink, "ublink.jpg", false},
        {&Form1::Option5, LayerExtraAnim, "extra.jpg", false}, {&Form1::Option6, LayerTriggerAnim, nullptr, false},
        {&Form1::Option7, LayerBrowAnim, nullptr, false},
    };
    openCanvas(false);
    controller(); // loaded before the places are set: its load gives every layer a start place
    for (const Case &c : cases) {
        SCOPED_TRACE(layerName(c.layer));
        canvas().LayerStore(c.layer)->SetPicture(patterned(4, 3));
        place(c.layer, 5, 6, 4, 3);
        controller().Text3->setText("before");
        canvas().PicBox->SetPicture(QImage()); // so that a redraw shows
        (controller().*c.option)->setChecked(true);
        EXPECT_EQ(controller().Text3->text(), QString::fromUtf8(c.text ? c.text : "before"));
        EXPECT_EQ(pixel(5, 6), c.redraws ? patterned(4, 3).pixel(0, 0) : kBack);
        for (int i = 0; i < CanvasLayerCount; ++i)
            EXPECT_EQ(controller().LayerSelected(CanvasLayer(i)), i == c.layer);
    }
}

TEST_F(CanvasTest, TickingShowHideRedraws)
{
    openCanvas();
    place(LayerMainMouth, 5, 6, 4, 3);
    QTest::mouseClick(canvas().Check1, Qt::LeftButton);
    EXPECT_EQ(pixel(5, 6), kSky);
    // Moves go on while hidden; ticking again shows the layer at its new place.
    QTest::mouseClick(canvas().Image2, Qt::LeftButton);
    QTest::mouseClick(canvas().Check1, Qt::LeftButton);
    EXPECT_EQ(pixel(6, 6), patterned(4, 3).pixel(0, 0));
}

TEST_F(CanvasTest, OutlineTwiceRestoresTheCanvasBitForBit)
{
    openCanvas();
    place(LayerMainMouth, 5, 6, 4, 3);
    controller().DrawPic();
    const QImage before = canvas().PicBox->Image();
    controller().DrawOutline();
    const QImage once = canvas().PicBox->Image();
    EXPECT_NE(once, before);
    EXPECT_EQ(once.pixel(5, 6), before.pixel(5, 6) ^ 0xFFFFFFu);
    EXPECT_EQ(once.pixel(8, 8), before.pixel(8, 8) ^ 0xFFFFFFu);
    EXPECT_EQ(once.pixel(6, 7), before.pixel(6, 7)); // inside is left alone
    EXPECT_EQ(once.pixel(9, 6), before.pixel(9, 6)); // just outside too
    controller().DrawOutline();
    EXPECT_EQ(canvas().PicBox->Image(), before);
}

TEST_F(CanvasTest, ArrowsMoveOnePixelAndStopAtZeroOnlyLeftAndUp)
{
    openCanvas();
    struct Case {
        const char *name;
        QPushButton *Form2::*arrow;
        double x, y, wantX, wantY;
    } cases[] = {
        {"right", &Form2::Image2, 0, 0, 1, 0},      {"left", &Form2::Image3, 3, 0, 2, 0},
        {"left at 0", &Form2::Image3, 0, 0, 0, 0},  {"left at 0.5", &Form2::Image3, 0.5, 4, 0, 4},
        {"up", &Form2::Image4, 2, 3, 2, 2},         {"up at 0", &Form2::Image4, 2, 0, 2, 0},
        {"down", &Form2::Image5, 2, 3, 2, 4},       {"right far out", &Form2::Image2, 5000, 0, 5001, 0},
        {"down far out", &Form2::Image5, 0, 5000, 0, 5001},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        place(LayerMainMouth, c.x, c.y, 4, 3);
        QTest::mouseClick(canvas().*c.arrow, Qt::LeftButton);
        EXPECT_EQ(layerX(LayerMainMouth), c.wantX);
        EXPECT_EQ(layerY(LayerMainMouth), c.wantY);
    }
    // The arrows redraw.
    place(LayerMainMouth, 10, 10, 4, 3);
    QTest::mouseClick(canvas().Image2, Qt::LeftButton);
    EXPECT_EQ(pixel(11, 10), patterned(4, 3).pixel(0, 0));
    EXPECT_EQ(pixel(10, 10), kSky);
}

TEST_F(CanvasTest, DragKeepsTheGrabPointAndHoldsOnlySomeLayersInside)
{
    openCanvas();
    PictureBox *box = canvas().PicBox;
    struct Case {
        CanvasLayer layer;
        QRadioButton *Form1::*option;
        bool heldInside;
    } cases[] = {
        {LayerMainMouth, &Form1::Option1, false}, {LayerMainBlink, &Form1::Option2, true},
        {LayerUserMouth, &Form1::Option3, true},  {LayerUserBlink, &Form1::Option4, true},
        {LayerExtraAnim, &Form1::Option5, false}, {LayerTriggerAnim, &Form1::Option6, false},
        {LayerBrowAnim, &Form1::Option7, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(layerName(c.layer));
        (controller().*c.option)->setChecked(true);
        place(c.layer, 100, 80, 30, 20);
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(110, 85));
        EXPECT_EQ(scene().IsDragging, FlagOn);
        QTest::mouseMove(box, QPoint(150, 120));
        EXPECT_EQ(layerX(c.layer), 140);
        EXPECT_EQ(layerY(c.layer), 115);
        // Past the right and bottom edges, then past the top-left corner.
        QTest::mouseMove(box, QPoint(1200, 900));
        EXPECT_EQ(layerX(c.layer), c.heldInside ? 1115 - 30 : 1190);
        EXPECT_EQ(layerY(c.layer), c.heldInside ? 816 - 20 : 895);
        QTest::mouseMove(box, QPoint(2, 1));
        EXPECT_EQ(layerX(c.layer), 0);
        EXPECT_EQ(layerY(c.layer), 0);
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(2, 1));
        EXPECT_EQ(scene().IsDragging, FlagOff);
        // A move with no press changes nothing.
        QTest::mouseMove(box, QPoint(300, 300));
        EXPECT_EQ(layerX(c.layer), 0);
    }
}

TEST_F(CanvasTest, DragRedrawsAndStartsWithAnyButton)
{
    openCanvas();
    PictureBox *box = canvas().PicBox;
    place(LayerMainMouth, 5, 6, 4, 3);
    QTest::mousePress(box, Qt::RightButton, {}, QPoint(6, 7));
    QTest::mouseMove(box, QPoint(16, 17));
    QTest::mouseRelease(box, Qt::RightButton, {}, QPoint(16, 17));
    EXPECT_EQ(layerX(LayerMainMouth), 15);
    EXPECT_EQ(pixel(15, 16), patterned(4, 3).pixel(0, 0));
    EXPECT_EQ(pixel(5, 6), kSky);
}

// The document says `changed` after every step of a drag and every arrow,
// with the place already moved, so a window that shows it can follow.
TEST_F(CanvasTest, DragAndArrowsSayChangedAfterEachStep)
{
    openCanvas();
    PictureBox *box = canvas().PicBox;
    place(LayerMainMouth, 5, 6, 4, 3);
    QObject listener;
    QStringList heard; // the mouth's place and the drag flag at each `changed`
    QObject::connect(&sceneDocument(), &SceneDocument::changed, &listener, [&heard] {
        heard << QStringLiteral("%1,%2%3")
                     .arg(layerX(LayerMainMouth))
                     .arg(layerY(LayerMainMouth))
                     .arg(scene().IsDragging == FlagOn ? QStringLiteral(" dragging") : QString());
    });
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(6, 7));
    QTest::mouseMove(box, QPoint(16, 17));
    QTest::mouseMove(box, QPoint(20, 30));
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(20, 30));
    QTest::mouseClick(canvas().Image2, Qt::LeftButton); // right
    QTest::mouseClick(canvas().Image5, Qt::LeftButton); // down
    EXPECT_EQ(heard.join(u'|'), QStringLiteral("5,6 dragging|15,16 dragging|19,29 dragging|19,29|20,29|20,30"));

    // A move with no press edits nothing and says nothing.
    heard.clear();
    QTest::mouseMove(box, QPoint(300, 300));
    EXPECT_EQ(heard.join(u'|'), QString());
}

TEST_F(CanvasTest, NoDragWhileControllerBoxUnticked)
{
    openCanvas();
    setCheckValue(controller().Check1, 0);
    place(LayerMainMouth, 5, 6, 4, 3);
    QTest::mousePress(canvas().PicBox, Qt::LeftButton, {}, QPoint(6, 7));
    QTest::mouseMove(canvas().PicBox, QPoint(30, 30));
    EXPECT_EQ(scene().IsDragging, FlagOff);
    EXPECT_EQ(layerX(LayerMainMouth), 5);
}

TEST_F(CanvasTest, LayerWiderThanCanvasEndsAtNegativePlaceOrZero)
{
    openCanvas();
    controller().Option2->setChecked(true);
    place(LayerMainBlink, 10, 10, 1200, 20);
    QTest::mousePress(canvas().PicBox, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(canvas().PicBox, QPoint(25, 20));
    EXPECT_EQ(layerX(LayerMainBlink), 1115 - 1200);
    QTest::mouseMove(canvas().PicBox, QPoint(5, 20));
    EXPECT_EQ(layerX(LayerMainBlink), 0);
    QTest::mouseRelease(canvas().PicBox, Qt::LeftButton, {}, QPoint(5, 20));
}

TEST_F(CanvasTest, DragBoundsFollowTheCanvasAfterItIsResized)
{
    openCanvas(); // the controller measured 1115 x 816
    canvas().PicBox->resize(1200, 857);
    controller().Option2->setChecked(true);
    place(LayerMainBlink, 100, 100, 30, 20);
    QTest::mousePress(canvas().PicBox, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(canvas().PicBox, QPoint(1190, 850));
    QTest::mouseRelease(canvas().PicBox, Qt::LeftButton, {}, QPoint(1190, 850));
    EXPECT_EQ(layerX(LayerMainBlink), 1200 - 30);
    EXPECT_EQ(layerY(LayerMainBlink), 857 - 20);
}

TEST_F(CanvasTest, OutlineDragLeavesTheLastOutline)
{
    openCanvas();
    scene().DragShowsOutline = FlagOn;
    place(LayerMainMouth, 5, 6, 4, 3);
    controller().DrawPic();
    const QImage plain = canvas().PicBox->Image();
    QTest::mousePress(canvas().PicBox, Qt::LeftButton, {}, QPoint(5, 6));
    QTest::mouseMove(canvas().PicBox, QPoint(15, 16));
    QTest::mouseRelease(canvas().PicBox, Qt::LeftButton, {}, QPoint(15, 16));
    const QImage after = canvas().PicBox->Image();
    EXPECT_EQ(after.pixel(5, 6), plain.pixel(5, 6));            // the first outline is gone
    EXPECT_EQ(after.pixel(6, 7), plain.pixel(6, 7));            // the picture was not redrawn
    EXPECT_EQ(after.pixel(15, 16), plain.pixel(15, 16) ^ 0xFFFFFFu); // the last outline stays
}

TEST_F(CanvasTest, EveryInstructionFitsItsLabel)
{
    QLabel *label = canvas().Label1;
    QStringList captions{label->text()};
    for (const PositioningStep &step : PositioningSteps())
        captions << step.caption;
    for (const QString &caption : captions) {
        SCOPED_TRACE(caption.toStdString());
        label->setText(caption);
        EXPECT_LE(label->heightForWidth(label->width()), label->height());
    }
}

TEST_F(CanvasTest, ClosingTheCanvasResetsTheSetUp)
{
    openCanvas();
    scene().SceneHasMainBlink = FlagOn;
    scene().SceneHasSmile = FlagOn;
    scene().MainBlinkPlaced = FlagOn;
    canvas().Label1->setText(QStringLiteral("changed"));
    setCheckValue(canvas().Check1, 0);
    place(LayerMainMouth, 123, 45, 4, 3);
    Form2 *first = &canvas();
    first->close();
    flushDeletes();
    EXPECT_FALSE(formExists<Form2>());
    EXPECT_EQ(scene().SceneHasMainBlink, FlagOff);
    EXPECT_EQ(scene().MainBlinkPlaced, FlagOff);
    EXPECT_EQ(scene().SceneHasSmile, FlagOn);
    EXPECT_FALSE(form<Wizard1>().Visible());
    // The next canvas starts in its first state; the placements stay.
    Form2 &again = canvas();
    EXPECT_TRUE(again.picImage->Picture().isNull());
    EXPECT_TRUE(again.picBackground->Picture().isNull());
    EXPECT_EQ(checkValue(again.Check1), 1);
    EXPECT_TRUE(again.Label1->text().startsWith(QStringLiteral("Please position the MOUTH over the Background.")));
    EXPECT_EQ(layerX(LayerMainMouth), 123);
}

} // namespace
