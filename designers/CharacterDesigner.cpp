#include "designers/CharacterDesigner.h"

#include "core/scene/CropRectToPixels.h"
#include "core/scene/DesignerFrames.h"
#include "core/scene/SceneDocument.h"
#include "designers/FrameMessages.h"
#include "designers/DesignerControls.h"

#include <QLabel>
#include <QPushButton>

#include <array>

CharacterDesigner::CharacterDesigner(const CharacterDesignerLayout &layout)
    : CropDesigner(layout.layer)
{
    SetCaption(QString::fromUtf8(layout.caption));
    SetClientTwips(layout.client.width(), layout.client.height());

    Picture1 = makeStrip(this, layout.strip);
    m_instruction = makeLabel(Picture1, QString::fromUtf8(layout.instructionName),
                              QString::fromUtf8(layout.instructionText), layout.instruction);
    m_frameLabel = makeLabel(Picture1, QString::fromUtf8(layout.frameLabelName), QStringLiteral("Display Frame:"),
                             layout.frameLabel);

    QPushButton **named[] = {&Command1, &Command2, &Command3, &Command4, &Command5, &Command6, &Command7};
    void (CharacterDesigner::*handlers[])() = {
        &CharacterDesigner::Command1_Click, &CharacterDesigner::Command2_Click, &CharacterDesigner::Command3_Click,
        &CharacterDesigner::Command4_Click, &CharacterDesigner::Command5_Click, &CharacterDesigner::Command6_Click,
        &CharacterDesigner::Command7_Click};
    for (size_t i = 0; i < layout.frameButtons.size(); ++i) {
        const QString number = QString::number(i + 1);
        *named[i] = makeFrameButton(Picture1, QStringLiteral("Command%1").arg(number), number,
                                    QStringLiteral("Display frame %1").arg(number), layout.frameButtons[i]);
        connect(*named[i], &QPushButton::clicked, this, handlers[i]);
    }

    Image1 = makeButton(Picture1, QStringLiteral("Image1"), QStringLiteral("BACK"), layout.back);
    Image2 = makeButton(Picture1, QStringLiteral("Image2"), QStringLiteral("NEXT"), layout.next);
    keepApart(Image1, Image2);
    connect(Image1, &QPushButton::clicked, this, [this] { Image1_Click(); });
    connect(Image2, &QPushButton::clicked, this, [this] { Image2_Click(); });
}

void CharacterDesigner::Form_Load()
{
    CreateSizingHandles();
}

ImageWorkspace &CharacterDesigner::Xpress(int n)
{
    ImageWorkspace *all[] = {&Xpress1, &Xpress2, &Xpress3, &Xpress4, &Xpress5, &Xpress6, &Xpress7};
    return *all[qBound(1, n, 7) - 1];
}

const ImageWorkspace &CharacterDesigner::Xpress(int n) const
{
    return const_cast<CharacterDesigner *>(this)->Xpress(n);
}

void CharacterDesigner::showSeriesFrame(int n)
{
    const QImage frame = LoadPictureOrSay(PrimaryFramePath(n));
    if (!frame.isNull())
        SetPicture(frame);
}

bool CharacterDesigner::CropPrimaryFrames()
{
    const PixelCrop crop = CropBox();
    std::array<ImageWorkspace, 7> cut;
    QImage first;
    // Each frame is cut as soon as it is read, so that large frames are not
    // all held whole at once.
    for (int n = 1; n <= 7; ++n) {
        if (!LoadFrameOrSay(cut[n - 1], PrimaryFramePath(n)))
            return false;
        if (n == 1)
            first = cut[0].Picture();
        if (!CropFrameOrSay(cut[n - 1], crop))
            return false;
    }
    QList<QImage> frames;
    for (int n = 1; n <= 7; ++n) {
        Xpress(n) = cut[n - 1];
        frames << Xpress(n).Picture();
    }
    m_firstFrame = first;
    sceneDocument().setCutFrames(Layer(), frames);
    return true;
}
