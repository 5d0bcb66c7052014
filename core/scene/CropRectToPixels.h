#pragma once
// The crop rectangle in twips to the pixel area the designers and the frame
// export cut with. The divisors are fixed numbers, not the screen's density:
// the position is divided by 15 and the size by 15.15, each quotient rounded to
// the nearest whole number, a half to the even neighbour.

#include <QRectF>

struct PixelCrop {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PixelCrop &) const = default;
};

// Whether a rectangle dragged beyond the picture's left or top edge cuts from
// its negative position (the main, user and brow cuts) or from 0 (the extra and
// trigger cuts and most exports).
enum class NegativeOrigin { Keep, RaiseToZero };

PixelCrop CropRectToPixels(double left, double top, double width, double height,
                           NegativeOrigin origin = NegativeOrigin::Keep);
// The same for a rectangle given as left, top, width and height in twips,
// such as controlTwips(Shape1).
PixelCrop CropRectToPixels(const QRectF &twips, NegativeOrigin origin = NegativeOrigin::Keep);
