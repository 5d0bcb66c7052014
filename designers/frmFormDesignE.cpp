#include "designers/frmFormDesignE.h"

#include "core/scene/DesignerFrames.h"
#include "core/scene/SceneState.h"
#include "designers/Routing.h"
#include "designers/ShowExtraAnim.h"

#include <QLineEdit>

namespace {
AnimationDesignerLayout designerLayout()
{
    return {"Extra Animation", {14550, 10950}, {165, 60, 10725, 1125}, {120, 105, 6690, 780},
            "Lets crop out the EXTRA ANIMATION frames. Click on the Green rectangle. Use the tool to draw a "
            "rectangle over the area of the animation. Be sure you get it all in there.  When you are ready click "
            "NEXT.",
            std::nullopt, true, {9390, 15}, {9675, 0, 360, 315}, {10095, 15},
            {7785, 420, 1320, 600}, {9060, 420, 1320, 600}, LayerExtraAnim};
}
}

frmFormDesignE::frmFormDesignE() : AnimationDesigner(designerLayout())
{
}

void frmFormDesignE::Form_Load()
{
    AnimationDesigner::Form_Load();
    TextB1->setText(scene().ExtraFrameSet.CurrentFrame.toText());
}

void frmFormDesignE::Command1_Click()
{
    const AnimFrameSet &set = scene().ExtraFrameSet;
    StepToFrame(&SceneState::ExtraFrameSet,
                StepBackFrame(frameNumber(set.CurrentFrame), frameNumber(set.FirstFrame)));
}

void frmFormDesignE::Command2_Click()
{
    // Frames from 10 on are shown up to the first frame plus the Frames box's count.
    const AnimFrameSet &set = scene().ExtraFrameSet;
    StepToFrame(&SceneState::ExtraFrameSet,
                StepForwardFrame(frameNumber(set.CurrentFrame), frameNumber(set.LastFrame),
                                 frameNumber(set.FirstFrame) + frameNumber(set.FrameCount)));
}

void frmFormDesignE::Image1_Click()
{
    ShowReviewPage(ReviewPageBefore(false, scene()));
    Hide();
}

void frmFormDesignE::Image2_Click()
{
    // The set's first frame, whichever frame is on display; cut from 0 at the least.
    if (!CutFrame(scene().ExtraFrameSet.FirstFramePath.toText(), NegativeOrigin::RaiseToZero))
        return;
    // The review page takes the cut-out but is not shown.
    FitReviewPage(form<ShowExtraAnim>(), Xpress1);
    RouteToNextLayer(*this, RouteFrom::frmFormDesignE);
}
