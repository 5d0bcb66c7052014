#include "designers/ShowUserBlink.h"

#include "designers/Routing.h"
#include "designers/frmFormDesignD.h"

ShowUserBlink::ShowUserBlink()
    : ReviewPage({"User Blink",
                  "Is this OK? Please review the cropped images. Does Blink appear on all the frames?", 4,
                  {5580, 5835}, {300, 3435, 4050, 495}, {165, 4410, 1305, 570}, {1485, 4425, 1290, 570},
                  {0, 0, 5190, 4725}})
{
}

const ImageWorkspace *ShowUserBlink::FrameWorkspace(int n) const
{
    return formExists<frmFormDesignD>() ? &form<frmFormDesignD>().Xpress(n) : nullptr;
}

void ShowUserBlink::Image2_Click()
{
    form<frmFormDesignD>().Show();
    Hide();
}

void ShowUserBlink::Image3_Click()
{
    RouteToNextLayer(*this, RouteFrom::ShowUserBlink);
}
