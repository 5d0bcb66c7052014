#include "app/Form2.h"

#include "app/Form1.h"
#include "app/Wizard1.h"
#include "core/scene/CanvasRules.h"
#include "core/scene/PositioningSteps.h"
#include "core/scene/SceneDocument.h"
#include "platform/Controls.h"
#include "platform/PictureBox.h"
#include "platform/WindowServices.h"
#include "scene/Sound.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {
// Moves every selected layer one pixel, then redraws.
void moveSelectedLayers(CanvasArrow arrow)
{
    Form1 &controller = form<Form1>();
    sceneDocument().editState([&controller, arrow](SceneState &s) {
        for (int i = 0; i < CanvasLayerCount; ++i)
            if (controller.LayerSelected(CanvasLayer(i)))
                MoveLayerByArrow(s.LayerPlacements[i], arrow);
    });
    controller.DrawPic();
}

// The cropped first frame of a layer, as its designer cut it.
QImage designerFirstFrame(CanvasLayer layer)
{
    switch (layer) {
    case LayerMainBlink:
    case LayerUserMouth:
    case LayerUserBlink:
    case LayerExtraAnim:
    case LayerTriggerAnim: return sceneDocument().cutFrames(layer).value(0);
    default: return QImage();
    }
}

QPushButton *button(QWidget *parent, const QString &name, const QString &text, const QString &accessible,
                    const QRect &geometry)
{
    auto *b = new QPushButton(text, parent);
    nameControl(b, name, accessible);
    b->setGeometry(geometry);
    return b;
}
}

Form2::Form2()
{
    SetCaption(QStringLiteral("Canvas"));
    resize(1123, 825);

    PicBox = new PictureBox(this);
    nameControl(PicBox, QStringLiteral("PicBox"), QStringLiteral("Canvas"));
    PicBox->SetBackColor(QColor(192, 192, 255));
    PicBox->setGeometry(-1, 0, 1115, 816);

    picBackground = new PictureBox(PicBox);
    nameControl(picBackground, QStringLiteral("picBackground"));
    picBackground->hide();
    PictureBox **stores[CanvasLayerCount] = {&picImage, &picImage2, &picImage3, &picImage4,
                                             &picImage5, &picImage6, &picImage7};
    for (int i = 0; i < CanvasLayerCount; ++i) {
        auto *store = new PictureBox(picBackground);
        nameControl(store, i == 0 ? QStringLiteral("picImage") : QStringLiteral("picImage%1").arg(i + 1));
        store->hide();
        *stores[i] = store;
        m_stores[i] = store;
    }

    Picture1 = new QWidget(this);
    nameControl(Picture1, QStringLiteral("Picture1"));
    Picture1->setAutoFillBackground(true);
    Picture1->setStyleSheet(QStringLiteral("#Picture1 { background: #10206a; } QLabel { color: white; }"));
    Picture1->setGeometry(-2, 501, 702, 80);
    Picture1->raise();

    Label1 = new QLabel(MouthPlacementCaption(), Picture1);
    nameControl(Label1, QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setGeometry(17, 12, 250, 50);
    QFont small = Label1->font();
    small.setPointSizeF(7);
    Label1->setFont(small);

    Check1 = new QCheckBox(Picture1);
    nameControl(Check1, QStringLiteral("Check1"), QStringLiteral("Show/Hide Image"));
    Check1->setGeometry(376, 15, 16, 16);
    setCheckValue(Check1, 1);
    auto *checkLabel = new QLabel(QStringLiteral("Show/Hide Image"), Picture1);
    checkLabel->setBuddy(Check1);
    checkLabel->setGeometry(396, 13, 120, 20);
    auto *pixelLabel = new QLabel(QStringLiteral("1\npixel"), Picture1);
    pixelLabel->setAlignment(Qt::AlignCenter);
    QFont tiny = pixelLabel->font();
    tiny.setPointSizeF(5.5);
    pixelLabel->setFont(tiny);
    pixelLabel->setGeometry(303, 28, 23, 23);

    Image4 = button(Picture1, QStringLiteral("Image4"), QStringLiteral("\u25B2"), QStringLiteral("Up 1 pixel"),
                    QRect(300, 2, 26, 26));
    Image3 = button(Picture1, QStringLiteral("Image3"), QStringLiteral("\u25C0"), QStringLiteral("Left 1 pixel"),
                    QRect(277, 27, 26, 27));
    Image2 = button(Picture1, QStringLiteral("Image2"), QStringLiteral("\u25B6"), QStringLiteral("Right 1 pixel"),
                    QRect(326, 27, 26, 26));
    Image5 = button(Picture1, QStringLiteral("Image5"), QStringLiteral("\u25BC"), QStringLiteral("Down 1 pixel"),
                    QRect(301, 51, 26, 26));
    Image1 = button(Picture1, QStringLiteral("Image1"), QStringLiteral("NEXT"), QStringLiteral("NEXT"),
                    QRect(604, 27, 88, 43));

    connect(Image1, &QPushButton::clicked, this, &Form2::Image1_Click);
    connect(Image2, &QPushButton::clicked, this, &Form2::Image2_Click);
    connect(Image3, &QPushButton::clicked, this, &Form2::Image3_Click);
    connect(Image4, &QPushButton::clicked, this, &Form2::Image4_Click);
    connect(Image5, &QPushButton::clicked, this, &Form2::Image5_Click);
    onCheckClick(Check1, this, &Form2::Check1_Click);
    connect(PicBox, &PictureBox::MouseDown, this, &Form2::PicBox_MouseDown);
    connect(PicBox, &PictureBox::MouseMove, this, &Form2::PicBox_MouseMove);
    connect(PicBox, &PictureBox::MouseUp, this, &Form2::PicBox_MouseUp);
}

void Form2::Image1_Click()
{
    SceneDocument &document = sceneDocument();
    // The mouth's size is taken again on every click, so the save always finds
    // it in canvas pixels.
    document.editState(
        [this](SceneState &s) { LayerSizeFromPicture(s.LayerPlacements[LayerMainMouth], picImage->Picture()); });

    const PositioningStep *step = NextPositioningStep(scene());
    if (!step) {
        form<Sound>().Show();
        Hide();
        return;
    }
    MsgBox(step->message);
    PictureBox *store = LayerStore(step->layer);
    store->SetPicture(designerFirstFrame(step->layer));
    Label1->setText(step->caption);
    document.editState([step, store](SceneState &s) {
        LayerPlacement &placement = s.LayerPlacements[step->layer];
        placement.LayerX = Value::real(LayerStartX);
        placement.LayerY = Value::real(LayerStartY);
        LayerSizeFromPicture(placement, store->Picture());
        s.*step->placed = FlagOn;
    });
    Form1 &controller = form<Form1>();
    controller.LayerOption(step->layer)->setChecked(true);
    controller.DrawPic();
}

void Form2::Image2_Click() { moveSelectedLayers(CanvasArrow::Right); }
void Form2::Image3_Click() { moveSelectedLayers(CanvasArrow::Left); }
void Form2::Image4_Click() { moveSelectedLayers(CanvasArrow::Up); }
void Form2::Image5_Click() { moveSelectedLayers(CanvasArrow::Down); }

void Form2::Check1_Click()
{
    form<Form1>().DrawPic();
}

void Form2::PicBox_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, double x, double y)
{
    Form1 &controller = form<Form1>();
    if (checkValue(controller.Check1) == 0)
        return;
    bool any = false;
    for (int i = 0; i < CanvasLayerCount; ++i)
        any = any || controller.LayerSelected(CanvasLayer(i));
    if (!any)
        return;
    sceneDocument().editState([&](SceneState &s) {
        for (int i = 0; i < CanvasLayerCount; ++i) {
            if (!controller.LayerSelected(CanvasLayer(i)))
                continue;
            s.LayerGrabOffsets[i].LayerGrabX = Value::real(s.LayerPlacements[i].LayerX.toDouble() - x);
            s.LayerGrabOffsets[i].LayerGrabY = Value::real(s.LayerPlacements[i].LayerY.toDouble() - y);
        }
        // The bounds follow the canvas as it is now: a wide series or a new canvas
        // window changes its size after the controller first measured it.
        s.CanvasWidth = Value::single(float(PicBox->ScaleWidth()));
        s.CanvasHeight = Value::single(float(PicBox->ScaleHeight()));
        s.IsDragging = FlagOn;
    });
    if (isFlagSet(scene().DragShowsOutline))
        controller.DrawOutline();
}

void Form2::PicBox_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, double x, double y)
{
    if (scene().IsDragging == FlagOff)
        return;
    Form1 &controller = form<Form1>();
    const bool outline = isFlagSet(scene().DragShowsOutline);
    if (outline)
        controller.DrawOutline();
    sceneDocument().editState([&](SceneState &s) {
        for (int i = 0; i < CanvasLayerCount; ++i)
            if (controller.LayerSelected(CanvasLayer(i)))
                DragLayerTo(CanvasLayer(i), s.LayerPlacements[i], s.LayerGrabOffsets[i], x, y,
                            s.CanvasWidth.toDouble(), s.CanvasHeight.toDouble());
    });
    if (outline)
        controller.DrawOutline();
    else
        controller.DrawPic();
}

void Form2::PicBox_MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, double, double)
{
    sceneDocument().editState([](SceneState &s) { s.IsDragging = FlagOff; });
}

void Form2::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    ResetSceneWizard();
}
