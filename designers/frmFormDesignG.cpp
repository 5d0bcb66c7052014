#include "designers/frmFormDesignG.h"

#include "app/Form2.h"
#include "core/base/Numbers.h"
#include "core/scene/DesignerFrames.h"
#include "designers/FrameMessages.h"
#include "platform/WindowServices.h"
#include "designers/Routing.h"
#include "platform/PictureBox.h"

#include <QLineEdit>

namespace {
AnimationDesignerLayout designerLayout()
{
    return {"Smile Animation", {10710, 8625}, {0, 7500, 10725, 1125}, {165, 135, 6690, 780},
            "Lets crop out the BROW ANIMATION frames. Click on the Green rectangle. Use the tool to draw a "
            "rectangle over the area of the animation. Be sure you get it all in there.  When you are ready click "
            "NEXT.",
            QRectF(7980, 75, 1305, 240), true, {9600, 15}, {9825, 0, 360, 285}, {10170, 15},
            {7785, 420, 1320, 600}, {9060, 420, 1320, 600}, LayerBrowAnim};
}
constexpr int kLastBrowFrame = 6;
}

frmFormDesignG::frmFormDesignG() : AnimationDesigner(designerLayout())
{
}

void frmFormDesignG::Form_Load()
{
    AnimationDesigner::Form_Load();
    TextB1->setText(QStringLiteral("1"));
}

void frmFormDesignG::showSeriesFrame(int delta)
{
    // The step starts from the number in the box, also one the user typed.
    const auto n = toInt16(TextB1->text());
    if (!n) {
        MsgBox(QStringLiteral("The frame number must be a whole number from 1 to %1.").arg(kLastBrowFrame));
        return;
    }
    if ((delta < 0 && *n <= 1) || (delta > 0 && *n >= kLastBrowFrame))
        return;
    const int frame = *n + delta;
    const QImage picture = LoadPictureOrSay(PrimaryFramePath(frame));
    if (picture.isNull())
        return;
    TextB1->setText(QString::number(frame));
    SetPicture(picture);
}

void frmFormDesignG::Command1_Click()
{
    showSeriesFrame(-1);
}

void frmFormDesignG::Command2_Click()
{
    showSeriesFrame(+1);
}

void frmFormDesignG::Image2_Click()
{
    // Frame 0001 whichever frame is on display; the brow cut keeps a negative position.
    if (!CutFrame(PrimaryFramePath(1), NegativeOrigin::Keep))
        return;
    form<Form2>().picImage7->SetPicture(Xpress1.Picture());
    RouteToNextLayer(*this, RouteFrom::frmFormDesignG);
}
