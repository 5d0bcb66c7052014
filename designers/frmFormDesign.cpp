#include "designers/frmFormDesign.h"

#include "app/Form2.h"
#include "app/LoadImages.h"
#include "designers/ShowMouth.h"
#include "platform/PictureBox.h"

namespace {
CharacterDesignerLayout designerLayout()
{
    std::vector<QPointF> buttons;
    for (int i = 0; i < 7; ++i)
        buttons.emplace_back(8265 + i * 285, 60);
    return {"Velm Mouth", {10500, 8595}, {0, 7440, 10725, 1485},
            "Label1", {60, 255, 6690, 780},
            "Lets crop out the MAIN CHARACTER MOUTH frames. Click on the Green rectangle. Use the tool to draw a "
            "rectangle over the character's mouth. Be sure you get it all in there.  When you are ready click NEXT.",
            "Label2", {6945, 150, 1305, 240}, buttons,
            {7785, 420, 1320, 600}, {9060, 450, 1320, 600}, LayerMainMouth};
}
}

frmFormDesign::frmFormDesign() : CharacterDesigner(designerLayout())
{
    Label1 = m_instruction;
    Label2 = m_frameLabel;
}

void frmFormDesign::Image1_Click()
{
    form<LoadImages>().Show();
    Hide();
}

void frmFormDesign::Image2_Click()
{
    if (!CropPrimaryFrames())
        return;
    FitReviewPage(form<ShowMouth>(), Xpress1);
    // The canvas holds the first mouth frame over the background from now on.
    Form2 &canvas = form<Form2>();
    canvas.picImage->SetPicture(Xpress1.Picture());
    canvas.picBackground->SetPicture(FirstFrame());
    form<ShowMouth>().Show();
    Hide();
}
