#include "designers/frmFormDesignB.h"

#include "designers/ShowBlink.h"
#include "designers/ShowMouth.h"

namespace {
CharacterDesignerLayout designerLayout()
{
    std::vector<QPointF> buttons;
    for (int i = 0; i < 4; ++i)
        buttons.emplace_back(8970 + i * 285, 105);
    return {"Velm Blink", {14580, 12465}, {135, 180, 10725, 1125},
            "Label4", {120, 105, 6690, 780},
            "Lets crop out the MAIN CHARACTER BLINK frames. Click on the Green rectangle. Use the tool to draw a "
            "rectangle over the character's eyes. Be sure you get them all inside the rectangle.  When you are "
            "ready click NEXT.",
            "Label3", {6945, 150, 1305, 240}, buttons,
            {7785, 420, 1320, 600}, {9060, 435, 1320, 600}, LayerMainBlink};
}
}

frmFormDesignB::frmFormDesignB() : CharacterDesigner(designerLayout())
{
    Label4 = m_instruction;
    Label3 = m_frameLabel;
}

void frmFormDesignB::Image1_Click()
{
    form<ShowMouth>().Show();
    Hide();
}

void frmFormDesignB::Image2_Click()
{
    if (!CropPrimaryFrames())
        return;
    FitReviewPage(form<ShowBlink>(), Xpress1);
    form<ShowBlink>().Show();
    Hide();
}
