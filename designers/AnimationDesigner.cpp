#include "designers/AnimationDesigner.h"

#include "core/base/Numbers.h"
#include "core/scene/CropRectToPixels.h"
#include "core/scene/DesignerFrames.h"
#include "designers/FrameMessages.h"
#include "core/scene/SceneDocument.h"
#include "designers/DesignerControls.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

int frameNumber(const Value &v)
{
    return int(roundHalfEven(v.toDouble()));
}

AnimationDesigner::AnimationDesigner(const AnimationDesignerLayout &layout)
    : CropDesigner(layout.layer)
{
    SetCaption(QString::fromUtf8(layout.caption));
    SetClientTwips(layout.client.width(), layout.client.height());

    Picture1 = makeStrip(this, layout.strip);
    Label4 = makeLabel(Picture1, QStringLiteral("Label4"), QString::fromUtf8(layout.instructionText),
                       layout.instruction);
    if (layout.frameLabel)
        Label3 = makeLabel(Picture1, QStringLiteral("Label3"), QStringLiteral("Display Frame:"), *layout.frameLabel);

    // The steppers lie in the strip, or on the window in front of it.
    QWidget *steppers = layout.steppersInStrip ? Picture1 : static_cast<QWidget *>(this);
    Command1 = makeFrameButton(steppers, QStringLiteral("Command1"), QStringLiteral("<"),
                               QStringLiteral("Previous frame"), layout.back);
    TextB1 = new QLineEdit(steppers);
    nameControl(TextB1, QStringLiteral("TextB1"), QStringLiteral("Frame number"));
    placeAt(TextB1, layout.frameNumber);
    Command2 = makeFrameButton(steppers, QStringLiteral("Command2"), QStringLiteral(">"), QStringLiteral("Next frame"),
                               layout.forward);

    Image1 = makeButton(Picture1, QStringLiteral("Image1"), QStringLiteral("BACK"), layout.image1);
    Image2 = makeButton(Picture1, QStringLiteral("Image2"), QStringLiteral("NEXT"), layout.image2);
    keepApart(Image1, Image2);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Image1, &QPushButton::clicked, this, [this] { Image1_Click(); });
    connect(Image2, &QPushButton::clicked, this, [this] { Image2_Click(); });
}

void AnimationDesigner::Form_Load()
{
    // Steppers on the window lie in front of the strip, the handles in front of all.
    if (Command1->parentWidget() == this) {
        Command1->raise();
        TextB1->raise();
        Command2->raise();
    }
    CreateSizingHandles();
}

void AnimationDesigner::StepToFrame(AnimFrameSet SceneState::*set, std::optional<int> frame)
{
    if (!frame)
        return;
    const QImage picture = LoadPictureOrSay(SetFramePath(scene().*set, *frame));
    if (picture.isNull())
        return;
    sceneDocument().editState([set, frame](SceneState &s) { (s.*set).CurrentFrame = Value::integer(int16_t(*frame)); });
    SetPicture(picture);
    TextB1->setText(QString::number(*frame));
}

bool AnimationDesigner::CutFrame(const QString &path, NegativeOrigin origin)
{
    ImageWorkspace cut;
    if (!LoadFrameOrSay(cut, path) || !CropFrameOrSay(cut, CropBox(origin)))
        return false;
    Xpress1 = cut;
    sceneDocument().setCutFrames(Layer(), {Xpress1.Picture()});
    return true;
}
