#include "designers/ShowExtraAnim.h"

#include "designers/Routing.h"
#include "designers/frmFormDesignE.h"

ShowExtraAnim::ShowExtraAnim()
    : ReviewPage({"Extra Animation",
                  "Is this OK? Please review the cropped images. Does Extra Anim appear on all the frames?", 0,
                  {5580, 5835}, {300, 3435, 3555, 495}, {150, 4365, 1305, 570}, {1470, 4365, 1290, 570},
                  {0, 0, 5280, 4650}})
{
}

void ShowExtraAnim::Image2_Click()
{
    form<frmFormDesignE>().Show();
    Hide();
}

void ShowExtraAnim::Image3_Click()
{
    RouteToNextLayer(*this, RouteFrom::ShowExtraAnim);
}
