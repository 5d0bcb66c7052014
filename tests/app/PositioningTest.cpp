#include "app/Form1.h"
#include "app/Form2.h"
#include "core/scene/CanvasRules.h"
#include "core/scene/PositioningSteps.h"
#include "core/scene/SceneDocument.h"
#include "designers/frmFormDesign.h"
#include "designers/frmFormDesignB.h"
#include "designers/frmFormDesignC.h"
#include "designers/frmFormDesignD.h"
#include "designers/frmFormDesignE.h"
#include "designers/frmFormDesignF.h"
#include "designers/Routing.h"
#include "designers/ShowMouth.h"
#include "platform/PictureBox.h"
#include "scene/Sound.h"
#include "tests/support/program/ScriptedWindows.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

const QRgb kSky = qRgb(10, 20, 200);

QImage solid(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A distinct size and colour per layer, so each store shows where it came from.
QSize frameSize(CanvasLayer layer) { return QSize(10 + 3 * layer, 6 + 2 * layer); }
QRgb frameColour(CanvasLayer layer) { return qRgb(40 * layer, 250 - 30 * layer, 90); }

enum Layers : unsigned {
    Blink = 1, User = 2, UserBlink = 4, Extra = 8, Trigger = 16, AltImage = 32, FullAnim = 64, Smile = 128,
};

class PositioningTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        // As the crops and the mouth placement leave them.
        for (CanvasLayer layer : {LayerMainBlink, LayerUserMouth, LayerUserBlink, LayerExtraAnim, LayerTriggerAnim})
            sceneDocument().setCutFrames(
                layer, {solid(frameSize(layer).width(), frameSize(layer).height(), frameColour(layer))});
        Form2 &canvas = form<Form2>();
        canvas.picBackground->SetPicture(solid(800, 600, kSky));
        canvas.picImage->SetPicture(solid(56, 41, qRgb(255, 0, 0)));
        canvas.Show();
        form<Form1>().Option1->setChecked(true);
        LayerPlacement &mouth = scene().LayerPlacements[LayerMainMouth];
        mouth.LayerX = Value::integer(350);
        mouth.LayerY = Value::integer(250);
        mouth.LayerWidth = Value::integer(1); // the click takes the size again
    }

    void setLayers(unsigned layers)
    {
        SceneState &s = scene();
        s.SceneHasMainBlink = toFlag(layers & Blink);
        s.SceneHasUser = toFlag(layers & User);
        s.SceneHasUserBlink = toFlag(layers & UserBlink);
        s.SceneHasExtraAnim = toFlag(layers & Extra);
        s.SceneHasTrigger = toFlag(layers & Trigger);
        s.SceneHasAltImage = toFlag(layers & AltImage);
        s.SceneHasFullAnim = toFlag(layers & FullAnim);
        s.SceneHasSmile = toFlag(layers & Smile);
    }

    void next() { QTest::mouseClick(form<Form2>().Image1, Qt::LeftButton); }

    // Clicks NEXT until the sound dialog opens, answering the one message of
    // each step; returns the layers placed, in order, and adds the messages to `said`.
    QVector<CanvasLayer> positionAll(QStringList *said = nullptr)
    {
        QVector<CanvasLayer> placed;
        for (int click = 0; click < 10 && form<Form2>().Visible(); ++click) {
            messages.expect(MsgResult::Ok);
            next();
            if (!form<Form2>().Visible()) {
                // The last click opens the sound dialog and says nothing.
                EXPECT_EQ(messages.answers.size(), 1);
                messages.answers.clear();
                break;
            }
            const QStringList texts = messages.takeTexts();
            EXPECT_EQ(texts.size(), 1);
            if (said)
                *said += texts;
            for (int i = 0; i < CanvasLayerCount; ++i)
                if (form<Form1>().LayerSelected(CanvasLayer(i)))
                    placed << CanvasLayer(i);
        }
        return placed;
    }
};

TEST_F(PositioningTest, FlagSetsGiveTheirSequenceOfSteps)
{
    struct Case {
        const char *name;
        unsigned layers;
        QVector<CanvasLayer> placed;
    } cases[] = {
        {"none", 0, {}},
        {"everything", Blink | User | UserBlink | Extra | Trigger,
         {LayerMainBlink, LayerUserMouth, LayerUserBlink, LayerExtraAnim, LayerTriggerAnim}},
        {"trigger only", Trigger, {LayerTriggerAnim}},
        {"user with blink", User | UserBlink, {LayerUserMouth, LayerUserBlink}},
        {"user blink alone ends at once", UserBlink, {}},
        {"user blink without the user is no layer", UserBlink | Extra, {LayerExtraAnim}},
        {"smile alone", Smile, {}},
        {"alternate image and full animation", AltImage | FullAnim, {}},
        {"blink and extra", Blink | Extra | Smile, {LayerMainBlink, LayerExtraAnim}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        scene().clearPlacedFlags();
        form<Sound>().Hide();
        form<Form2>().Show();
        setLayers(c.layers);

        QStringList said;
        EXPECT_EQ(positionAll(&said), c.placed);
        EXPECT_TRUE(form<Sound>().Visible());
        EXPECT_FALSE(form<Form2>().Visible());

        QStringList expected;
        for (CanvasLayer layer : c.placed)
            for (const PositioningStep &step : PositioningSteps())
                if (step.layer == layer)
                    expected << step.message;
        EXPECT_EQ(said, expected);
        for (const PositioningStep &step : PositioningSteps())
            EXPECT_EQ(scene().*step.placed, toFlag(c.placed.contains(step.layer)))
                << step.caption.toStdString();
    }
}

TEST_F(PositioningTest, EachStepFillsItsStoreCaptionPlaceAndSize)
{
    setLayers(Blink | User | UserBlink | Extra | Trigger);
    for (const PositioningStep &step : PositioningSteps()) {
        SCOPED_TRACE(step.caption.toStdString());
        // The previous layer was moved away from the start place.
        scene().LayerPlacements[step.layer].LayerX = Value::integer(7);
        messages.expect(MsgResult::Ok);
        next();
        EXPECT_EQ(messages.takeTexts(), QStringList{step.message});
        Form2 &canvas = form<Form2>();
        EXPECT_EQ(canvas.Label1->text(), step.caption);
        EXPECT_EQ(canvas.LayerStore(step.layer)->Picture().size(), frameSize(step.layer));
        const LayerPlacement &p = scene().LayerPlacements[step.layer];
        EXPECT_EQ(p.LayerX.toDouble(), 350);
        EXPECT_EQ(p.LayerY.toDouble(), 250);
        LayerPlacement expected;
        LayerSizeFromPicture(expected, canvas.LayerStore(step.layer)->Picture());
        EXPECT_EQ(p.LayerWidth.toDouble(), expected.LayerWidth.toDouble());
        EXPECT_EQ(p.LayerHeight.toDouble(), expected.LayerHeight.toDouble());
        EXPECT_TRUE(form<Form1>().LayerSelected(step.layer));
        // The canvas shows the new layer at the start place, and not the mouth.
        const QImage shown = canvas.PicBox->Image();
        EXPECT_EQ(shown.pixel(350, 250), frameColour(step.layer));
        EXPECT_EQ(shown.pixel(349, 250), kSky);
    }
    EXPECT_TRUE(form<Form2>().Label1->text().contains(QStringLiteral("TRIGGER ANIMATION")));
    next();
    EXPECT_TRUE(form<Sound>().Visible());
    // The last layer placed stays selected.
    EXPECT_TRUE(form<Form1>().LayerSelected(LayerTriggerAnim));
}

TEST_F(PositioningTest, TheMouthSizeIsTakenAgainOnEveryClick)
{
    setLayers(Blink);
    messages.expect(MsgResult::Ok);
    next();
    EXPECT_EQ(messages.takeTexts(), QStringList{PositioningSteps()[0].message});
    EXPECT_NEAR(scene().LayerPlacements[LayerMainMouth].LayerWidth.toDouble(), 56.02, 0.005);
    EXPECT_NEAR(scene().LayerPlacements[LayerMainMouth].LayerHeight.toDouble(), 41.01, 0.005);
    form<Form2>().picImage->SetPicture(solid(12, 8, qRgb(255, 0, 0)));
    next(); // the last click
    EXPECT_DOUBLE_EQ(scene().LayerPlacements[LayerMainMouth].LayerWidth.toDouble(), 318 / 26.454545);
    EXPECT_DOUBLE_EQ(scene().LayerPlacements[LayerMainMouth].LayerHeight.toDouble(), 212 / 26.454545);
    EXPECT_TRUE(form<Sound>().Visible());
}

TEST_F(PositioningTest, LayersPlacedAlreadyAreNotDueAgain)
{
    setLayers(Blink | Extra);
    scene().MainBlinkPlaced = FlagOn;
    LayerPlacement &blink = scene().LayerPlacements[LayerMainBlink];
    blink.LayerX = Value::integer(12);
    EXPECT_EQ(positionAll(), (QVector<CanvasLayer>{LayerExtraAnim}));
    EXPECT_EQ(blink.LayerX.toDouble(), 12);
}

TEST_F(PositioningTest, ASecondSceneOfTheRunIsPositionedAfresh)
{
    setLayers(Blink);
    EXPECT_EQ(positionAll(), (QVector<CanvasLayer>{LayerMainBlink}));
    scene().LayerPlacements[LayerMainBlink].LayerX = Value::integer(500);

    // The next scene, made without a reset, starts at the mouth placement.
    const QString frame = tempPath("Next0001.bmp");
    ASSERT_TRUE(solid(800, 600, kSky).save(frame, "BMP"));
    scene().PrimaryFramePrefix = tempPath("Next");
    scene().PrimaryFrameExt = ".bmp";
    sceneDocument().setCutFrames(LayerMainMouth, {solid(56, 41, qRgb(255, 0, 0))});
    form<Sound>().Hide();
    messages.expect(MsgResult::Ok);
    ASSERT_TRUE(BeginMouthPlacement(form<ShowMouth>()));
    EXPECT_EQ(messages.takeTexts(), QStringList{QString::fromUtf8(MouthPlacementMessage)});
    EXPECT_EQ(scene().MainBlinkPlaced, FlagOff);
    EXPECT_EQ(form<Form2>().Label1->text(), MouthPlacementCaption());
    QStringList said;
    EXPECT_EQ(positionAll(&said), (QVector<CanvasLayer>{LayerMainBlink}));
    EXPECT_EQ(scene().LayerPlacements[LayerMainBlink].LayerX.toDouble(), 350);
    EXPECT_EQ(said, QStringList{PositioningSteps()[0].message});
}

} // namespace
