#include "designers/frmFormDesignF.h"

#include "core/scene/DesignerFrames.h"
#include "core/scene/SceneState.h"
#include "designers/Routing.h"

#include <QLineEdit>

namespace {
AnimationDesignerLayout designerLayout()
{
    return {"Trigger Animation", {10740, 8625}, {0, 7500, 10725, 1125}, {165, 135, 6690, 780},
            "Lets crop out the TRIGGER ANIMATION frames. Click on the Green rectangle. Use the tool to draw a "
            "rectangle over the area of the animation. Be sure you get it all in there.  When you are ready click "
            "NEXT.",
            QRectF(7980, 75, 1305, 240), false, {9585, 7545}, {9810, 7530, 360, 285}, {10155, 7545},
            {7785, 420, 1320, 600}, {9060, 420, 1320, 600}, LayerTriggerAnim};
}
}

frmFormDesignF::frmFormDesignF() : AnimationDesigner(designerLayout())
{
}

void frmFormDesignF::Form_Load()
{
    AnimationDesigner::Form_Load();
    TextB1->setText(scene().TriggerFrameSet.CurrentFrame.toText());
}

void frmFormDesignF::Command1_Click()
{
    const AnimFrameSet &set = scene().TriggerFrameSet;
    StepToFrame(&SceneState::TriggerFrameSet,
                StepBackFrame(frameNumber(set.CurrentFrame), frameNumber(set.FirstFrame)));
}

void frmFormDesignF::Command2_Click()
{
    const AnimFrameSet &set = scene().TriggerFrameSet;
    StepToFrame(&SceneState::TriggerFrameSet,
                StepForwardFrame(frameNumber(set.CurrentFrame), frameNumber(set.LastFrame), std::nullopt));
}

void frmFormDesignF::Image1_Click()
{
    ShowReviewPage(ReviewPageBefore(true, scene()));
    Hide();
}

void frmFormDesignF::Image2_Click()
{
    // The set's first frame, whichever frame is on display; cut from 0 at the least.
    if (!CutFrame(scene().TriggerFrameSet.FirstFramePath.toText(), NegativeOrigin::RaiseToZero))
        return;
    RouteToNextLayer(*this, RouteFrom::frmFormDesignF);
}
