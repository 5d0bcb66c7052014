// A blink's steps as the library window renders them: the box changes at
// each step, frame by frame. The steps themselves are tested on the player
// alone (tests/core/LayerStepTest.cpp).

#include "tests/library/LayerWindowFixture.h"

namespace {

using BlinkWindowTest = LayerTest;

TEST_F(BlinkWindowTest, ABlinkThroughTheWindowChangesTheBoxAtEachStep)
{
    CharacterScene c;
    c.name = QStringLiteral("Lids");
    c.blink = true;
    writeCharacterScene(c);
    VelmNShare &w = openLayers();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    click(w.List2, QStringLiteral("Lids"));
    w.Player->Timer2->SetEnabled(true);
    const int frames[] = {1, 1, 2, 3, 4, 4, 3, 2, 1, 1};
    for (const int frame : frames) {
        advance(80);
        EXPECT_EQ(w.VelmBlink->grab().toImage().pixel(20, 10), frameColor(Layer::Blink, frame)) << clock->Now();
    }
    EXPECT_FALSE(w.Player->Timer2->Enabled());
}

} // namespace
