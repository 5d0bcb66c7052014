#include "designers/frmFormDesignC.h"

#include "core/scene/SceneState.h"
#include "designers/ShowBlink.h"
#include "designers/ShowMouth.h"
#include "designers/ShowUserMouth.h"

namespace {
CharacterDesignerLayout designerLayout()
{
    std::vector<QPointF> buttons;
    for (int i = 0; i < 7; ++i)
        buttons.emplace_back(8475 + i * 285, 75);
    return {"User Mouth", {10500, 8580}, {-45, 7500, 10725, 1125},
            "Label4", {120, 105, 6690, 780},
            "Lets crop out the USER CHARACTER MOUTH frames. Click on the Green rectangle. Use the tool to draw a "
            "rectangle over the character's mouth. Be sure you get it all in there.  When you are ready click NEXT.",
            "Label3", {6945, 150, 1305, 240}, buttons,
            {7785, 420, 1320, 600}, {9060, 450, 1320, 600}, LayerUserMouth};
}
}

frmFormDesignC::frmFormDesignC() : CharacterDesigner(designerLayout())
{
    Label4 = m_instruction;
    Label3 = m_frameLabel;
}

void frmFormDesignC::Image1_Click()
{
    // The page that opened this designer: the blink page exists on the road
    // only when the main character blinks.
    if (scene().SceneHasMainBlink == FlagOn)
        form<ShowBlink>().Show();
    else
        form<ShowMouth>().Show();
    Hide();
}

void frmFormDesignC::Image2_Click()
{
    if (!CropPrimaryFrames())
        return;
    FitReviewPage(form<ShowUserMouth>(), Xpress1);
    form<ShowUserMouth>().Show();
    Hide();
}
