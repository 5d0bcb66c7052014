#include "designers/ShowMouth.h"

#include "designers/Routing.h"
#include "designers/frmFormDesign.h"

ShowMouth::ShowMouth()
    : ReviewPage({"Mouth",
                  "Is this OK? Please review the cropped images. Does Mouth appear on all the frames?", 7,
                  {5580, 4770}, {120, 3375, 4980, 495}, {60, 3945, 1305, 570}, {1380, 3945, 1290, 570},
                  {30, -375, 4965, 4725}})
{
}

const ImageWorkspace *ShowMouth::FrameWorkspace(int n) const
{
    return formExists<frmFormDesign>() ? &form<frmFormDesign>().Xpress(n) : nullptr;
}

void ShowMouth::Image2_Click()
{
    form<frmFormDesign>().Show();
    Hide();
}

void ShowMouth::Image3_Click()
{
    RouteToNextLayer(*this, RouteFrom::ShowMouth);
}
