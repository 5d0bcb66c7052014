#include "app/Form1.h"

#include "app/Form2.h"
#include "core/base/Numbers.h"
#include "core/scene/CanvasRules.h"
#include "core/scene/SceneDocument.h"
#include "platform/Controls.h"
#include "platform/PictureBox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>
#include <cmath>

namespace {
// A whole number of pixels. Numbers read from a scene file can be of any size;
// far beyond every canvas they all draw alike, off it.
int wholePixels(double v)
{
    constexpr double far = 1e7;
    return int(roundHalfEven(std::clamp(std::isnan(v) ? 0.0 : v, -far, far)));
}

// A layer's box in canvas pixels; its numbers are in the canvas's own unit.
QRect pixelBox(const PictureBox &canvas, const LayerPlacement &p)
{
    auto x = [&](const Value &v) { return wholePixels(canvas.PixelsX(v.toDouble())); };
    auto y = [&](const Value &v) { return wholePixels(canvas.PixelsY(v.toDouble())); };
    return QRect(x(p.LayerX), y(p.LayerY), x(p.LayerWidth), y(p.LayerHeight));
}
}

Form1::Form1()
{
    SetCaption(QStringLiteral("Form1"));
    SetClientTwips(9000, 5160);

    const char *captions[CanvasLayerCount] = {"Velm Mouth",     "Velm Blink",        "User Mouth",    "User Blink",
                                              "Exta Animation", "Trigger Animation", "Brow Animation"};
    QRadioButton **options[CanvasLayerCount] = {&Option1, &Option2, &Option3, &Option4, &Option5, &Option6, &Option7};
    auto *group = m_layerGroup = new QButtonGroup(this);
    for (int i = 0; i < CanvasLayerCount; ++i) {
        const QString caption = QString::fromUtf8(captions[i]);
        auto *option = new QRadioButton(caption, this);
        nameControl(option, QStringLiteral("Option%1").arg(i + 1), caption);
        placeTwips(option, 120, 120 + i * 360, 2400, 300);
        group->addButton(option);
        *options[i] = option;
        m_options[i] = option;
    }

    Check1 = new QCheckBox(QStringLiteral("Show/Hide Image"), this);
    nameControl(Check1, QStringLiteral("Check1"), QStringLiteral("Show/Hide Image"));
    placeTwips(Check1, 2640, 120, 2040, 300);
    Check7 = new QCheckBox(this);
    nameControl(Check7, QStringLiteral("Check7"), QStringLiteral("Show Alternate Image"));
    placeTwips(Check7, 2640, 480, 240, 300);
    Label8 = new QLabel(QStringLiteral("Show Alternate Image"), this);
    nameControl(Label8, QStringLiteral("Label8"));
    Label8->setBuddy(Check7);
    placeTwips(Label8, 2940, 480, 1740, 300);
    Label12 = new QLabel(QStringLiteral("Current Image:"), this);
    nameControl(Label12, QStringLiteral("Label12"));
    placeTwips(Label12, 120, 2790, 1380, 255);
    Text3 = new QLineEdit(this);
    nameControl(Text3, QStringLiteral("Text3"), QStringLiteral("Current Image:"));
    Label12->setBuddy(Text3);
    placeTwips(Text3, 1560, 2760, 3120, 315);

    // An option runs its handler when it becomes selected.
    const std::pair<QRadioButton *, void (Form1::*)()> handlers[] = {
        {Option1, &Form1::Option1_Click}, {Option2, &Form1::Option2_Click}, {Option3, &Form1::Option3_Click},
        {Option4, &Form1::Option4_Click}, {Option5, &Form1::Option5_Click},
    };
    for (const auto &entry : handlers) {
        const auto handler = entry.second;
        connect(entry.first, &QRadioButton::toggled, this, [this, handler](bool on) {
            if (on)
                (this->*handler)();
        });
    }
    onCheckClick(Check1, this, &Form1::Check1_Click);

    buildEditor();
}

bool Form1::LayerSelected(CanvasLayer layer) const
{
    return m_options[layer]->isChecked();
}

void Form1::Option1_Click()
{
    DrawPic();
    Text3->setText(scene().MainMouthFileName.toText());
}

void Form1::Option2_Click()
{
    DrawPic();
    Text3->setText(scene().MainBlinkFileName.toText());
}

void Form1::Option3_Click()
{
    DrawPic();
    Text3->setText(scene().UserMouthFileName.toText());
}

void Form1::Option4_Click()
{
    Text3->setText(scene().UserBlinkFileName.toText());
}

void Form1::Option5_Click()
{
    Text3->setText(scene().ExtraFileName.toText());
}

void Form1::Check1_Click()
{
    DrawPic();
}

void Form1::DrawPic()
{
    Form2 &canvas = form<Form2>();
    canvas.PicBox->SetPicture(canvas.picBackground->Picture());
    if (checkValue(Check1) == 0 || checkValue(canvas.Check1) == 0)
        return;
    for (int i = 0; i < CanvasLayerCount; ++i) {
        const auto layer = CanvasLayer(i);
        if (!LayerSelected(layer))
            continue;
        const QRect box = pixelBox(*canvas.PicBox, scene().LayerPlacements[i]);
        canvas.PicBox->PaintPicture(canvas.LayerStore(layer)->Picture(), box.x(), box.y(), box.width(), box.height());
    }
    canvas.PicBox->SetPicture(canvas.PicBox->Image());
}

void Form1::DrawOutline()
{
    Form2 &canvas = form<Form2>();
    for (int i = 0; i < CanvasLayerCount; ++i) {
        if (!LayerSelected(CanvasLayer(i)))
            continue;
        const QRect box = pixelBox(*canvas.PicBox, scene().LayerPlacements[i]);
        canvas.PicBox->InvertRectangle(box.x(), box.y(), box.width(), box.height());
    }
}

void Form1::Form_Load()
{
    for (QWidget *control : std::initializer_list<QWidget *>{Check7, Option3, Option4, Option5, Option6, Option2})
        control->setEnabled(false);

    Form2 &canvas = form<Form2>();
    sceneDocument().editState([&canvas](SceneState &s) {
        s.CanvasWidth = Value::single(float(canvas.PicBox->width()));
        s.CanvasHeight = Value::single(float(canvas.PicBox->height()));
        for (int i = LayerMainMouth; i <= LayerTriggerAnim; ++i) {
            LayerPlacement &p = s.LayerPlacements[i];
            LayerSizeFromPicture(p, canvas.LayerStore(CanvasLayer(i))->Picture());
            // A start place only until the layer's placement step sets its own.
            p.LayerX = p.LayerWidth;
            p.LayerY = p.LayerHeight;
        }
    });
    setCheckValue(Check1, 1);
}
