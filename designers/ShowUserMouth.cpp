#include "designers/ShowUserMouth.h"

#include "designers/Routing.h"
#include "designers/frmFormDesignC.h"

ShowUserMouth::ShowUserMouth()
    : ReviewPage({"User Mouth",
                  "Is this OK? Please review the cropped images. Does Mouth appear on all the frames?", 7,
                  {5580, 5835}, {300, 3435, 4200, 495}, {210, 4485, 1305, 570}, {1530, 4500, 1290, 570},
                  {0, 0, 5190, 4725}})
{
}

const ImageWorkspace *ShowUserMouth::FrameWorkspace(int n) const
{
    return formExists<frmFormDesignC>() ? &form<frmFormDesignC>().Xpress(n) : nullptr;
}

void ShowUserMouth::Image2_Click()
{
    form<frmFormDesignC>().Show();
    Hide();
}

void ShowUserMouth::Image3_Click()
{
    RouteToNextLayer(*this, RouteFrom::ShowUserMouth);
}
