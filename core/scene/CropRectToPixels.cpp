#include "core/scene/CropRectToPixels.h"

#include "core/base/Numbers.h"

#include <algorithm>
#include <climits>

namespace {
// A crop edge as a whole number; a value beyond the int range (only from a
// nonsense rectangle) is held at the range's end instead of overflowing.
int wholePixels(double v)
{
    return int(std::clamp<long long>(roundHalfEven(v), INT_MIN, INT_MAX));
}
}

PixelCrop CropRectToPixels(double left, double top, double width, double height, NegativeOrigin origin)
{
    // The position's quotients are single precision, the size's double.
    PixelCrop crop;
    crop.x = wholePixels(double(float(left) / 15.0f));
    crop.y = wholePixels(double(float(top) / 15.0f));
    crop.width = wholePixels(width / 15.15);
    crop.height = wholePixels(height / 15.15);
    if (origin == NegativeOrigin::RaiseToZero) {
        crop.x = std::max(crop.x, 0);
        crop.y = std::max(crop.y, 0);
    }
    return crop;
}

PixelCrop CropRectToPixels(const QRectF &twips, NegativeOrigin origin)
{
    return CropRectToPixels(twips.left(), twips.top(), twips.width(), twips.height(), origin);
}
