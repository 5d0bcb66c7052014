// The library window on the screen the tests run on: CTest runs this file at
// 96 dpi and again on scaled screens (a device pixel ratio of 1.25 and 2, a
// logical DPI of 120 and 144; see the screen cases in CMakeLists.txt). On
// every one, a click on a scene shows the background and the mouth box where
// the scene puts them, in the same logical pixels as at 96 dpi, drawn 1:1 in
// the window's rendering, and the blink steps there.

#include "tests/library/LayerWindowFixture.h"
#include "tests/support/program/Rendering.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStyleOptionButton>

namespace {

class ScreenScaleTest : public LayerTest {
protected:
    // Inside a logical rectangle, away from its edges (a fractional ratio
    // rounds an edge into one device pixel or the next).
    static QPointF inside(QRect r) { return QPointF(r.left() + r.width() / 2.0, r.top() + r.height() / 2.0); }
};

TEST_F(ScreenScaleTest, TheSceneShowsAtItsPlacesAndTheBlinkSteps)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    SCOPED_TRACE(::testing::Message() << "device pixel ratio " << screen->devicePixelRatio() << ", logical DPI "
                                      << screen->logicalDotsPerInchX());

    CharacterScene c;
    c.name = QStringLiteral("Lids");
    c.background = QSize(600, 400); // ratio 2
    c.blink = true;
    writeCharacterScene(c);
    VelmNShare &w = openLayers();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    load(w, c.name);
    EXPECT_TRUE(messages.shown.isEmpty());

    // The background resized to the box, the mouth at 10, 20 on it: left 20,
    // top 40, and 40 x 30 pixels at ratio 2 less one pixel each way; the
    // blink at 30, 40 with its 60 x 20 frames.
    ASSERT_EQ(w.MainPic->geometry(), QRect(0, 0, 1200, 857));
    const QRect mouth(20, 40, 79, 59), blink(60, 80, 119, 39);
    EXPECT_EQ(w.VelmMouth->geometry(), mouth);
    EXPECT_EQ(w.VelmBlink->geometry(), blink);

    const QImage shot = w.grab().toImage();
    const double dpr = shot.devicePixelRatio();
    EXPECT_EQ(dpr, screen->devicePixelRatio());
    EXPECT_TRUE(colorNear(shownPixel(shot, QPointF(600, 600)), qRgb(20, 60, 120))) << "the background";
    EXPECT_TRUE(colorNear(shownPixel(shot, QPointF(300, 30)), qRgb(20, 60, 120))) << "the background above the boxes";
    EXPECT_EQ(shownPixel(shot, inside(QRect(20, 40, 79, 30))), frameColor(Layer::Mouth, 1)) << "frame 01 in the mouth box";
    EXPECT_EQ(shownPixel(shot, inside(blink)), frameColor(Layer::Blink, 1)) << "frame 01 in the blink box";
    // Drawn 1:1: the box's last device pixel row inside still shows the frame
    // unblended, the first below it the background.
    const int below = int(std::ceil((mouth.bottom() + 1) * dpr));
    const int column = int(inside(mouth).x() * dpr);
    EXPECT_EQ(shot.pixel(column, below - 1), frameColor(Layer::Mouth, 1));
    EXPECT_TRUE(colorNear(shot.pixel(column, below + 1), qRgb(20, 60, 120)));

    // The blink's steps show in the rendering, frame by frame.
    w.Player->Timer2->SetEnabled(true);
    const int frames[] = {1, 1, 2, 3, 4, 4, 3, 2, 1, 1};
    for (const int frame : frames) {
        advance(80);
        EXPECT_EQ(shownPixel(w, inside(blink)), frameColor(Layer::Blink, frame)) << clock->Now() << " ms";
    }
    EXPECT_FALSE(w.Player->Timer2->Enabled());
}

// Every text on the navy bar under the picture, the labels' and the "Trigger
// Anim" check box's, as the window's rendering shows it: its strongest pixels
// stand out from the bar as readable text does, while the check box is on and
// while a scene without a trigger turns it off.
TEST_F(ScreenScaleTest, EveryTextOnTheBarReadsAgainstIt)
{
    CharacterScene c;
    c.name = QStringLiteral("Plain");
    writeCharacterScene(c);
    VelmNShare &w = openLayers();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    // Where the text of each control lies, in the window's logical pixels.
    const auto textArea = [&w](QWidget *control) {
        QRect r = control->contentsRect();
        if (auto *box = qobject_cast<QCheckBox *>(control)) {
            QStyleOptionButton option;
            option.initFrom(box);
            option.text = box->text();
            r = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        }
        return QRect(control->mapTo(&w, r.topLeft()), r.size());
    };
    const auto expectReadable = [&](const char *state) {
        const QImage shot = w.grab().toImage();
        // The bar at a place no control covers.
        const QRgb bar = shownPixel(shot, QPointF(w.Picture1->mapTo(&w, QPoint(1100, 100))));
        EXPECT_TRUE(colorNear(bar, qRgb(0x1c, 0x2a, 0x5c)));
        for (QWidget *control : {static_cast<QWidget *>(w.Label1), static_cast<QWidget *>(w.Label2),
                                 static_cast<QWidget *>(w.Label4), static_cast<QWidget *>(w.Label5),
                                 static_cast<QWidget *>(w.Check1)}) {
            ASSERT_TRUE(control->isVisible());
            const QRect area = textArea(control);
            ASSERT_TRUE(w.Picture1->geometry().contains(area)) << control->objectName().toStdString();
            EXPECT_GE(strongestContrast(shot, area, bar), 4.5)
                << control->objectName().toStdString() << " " << state;
        }
    };
    ASSERT_TRUE(w.Check1->isEnabled());
    expectReadable("with the check box on");
    load(w, c.name);
    ASSERT_FALSE(w.Check1->isEnabled());
    expectReadable("with the check box off");
}

} // namespace
