#include "designers/ShowBlink.h"

#include "designers/Routing.h"
#include "designers/frmFormDesignB.h"

ShowBlink::ShowBlink()
    : ReviewPage({"Blink",
                  "Is this OK? Please review the cropped images. Does Blink appear on all the frames?", 4,
                  {5580, 4830}, {90, 3435, 4980, 495}, {60, 4065, 1305, 570}, {1380, 4065, 1290, 570},
                  {0, 0, 5190, 4725}})
{
}

const ImageWorkspace *ShowBlink::FrameWorkspace(int n) const
{
    return formExists<frmFormDesignB>() ? &form<frmFormDesignB>().Xpress(n) : nullptr;
}

void ShowBlink::Image2_Click()
{
    form<frmFormDesignB>().Show();
    Hide();
}

void ShowBlink::Image3_Click()
{
    RouteToNextLayer(*this, RouteFrom::ShowBlink);
}
