#include "designers/frmFormDesignD.h"

#include "designers/ShowUserBlink.h"
#include "designers/ShowUserMouth.h"

namespace {
CharacterDesignerLayout designerLayout()
{
    std::vector<QPointF> buttons{{8415, 45}};
    for (int i = 0; i < 6; ++i)
        buttons.emplace_back(8715 + i * 285, 60);
    return {"User Blink", {10500, 8580}, {-45, 7530, 10725, 1125},
            "Label4", {120, 105, 6690, 780},
            "Lets crop out the USER CHARACTER BLINK frames. Click on the Green rectangle. Use the tool to draw a "
            "rectangle over the character's eyes. Be sure you get them all inside the rectangle.  When you are "
            "ready click NEXT.",
            "Label3", {6945, 150, 1305, 240}, buttons,
            {7785, 420, 1320, 600}, {9060, 450, 1320, 600}, LayerUserBlink};
}
}

frmFormDesignD::frmFormDesignD() : CharacterDesigner(designerLayout())
{
    Label4 = m_instruction;
    Label3 = m_frameLabel;
}

void frmFormDesignD::Image1_Click()
{
    form<ShowUserMouth>().Show();
    Hide();
}

void frmFormDesignD::Image2_Click()
{
    if (!CropPrimaryFrames())
        return;
    FitReviewPage(form<ShowUserBlink>(), Xpress1);
    form<ShowUserBlink>().Show();
    Hide();
}
