#include "app/CanvasRules.h"

#include "platform/ImageWorkspace.h"

namespace {
constexpr double HimetricPerCanvasPixel = 26.454545;
}

void LayerSizeFromPicture(LayerPlacement &placement, const QImage &picture)
{
    const QSize himetric = picture.isNull() ? QSize(0, 0) : HimetricSize(picture);
    placement.LayerHeight = Value::real(himetric.height() / HimetricPerCanvasPixel);
    placement.LayerWidth = Value::real(himetric.width() / HimetricPerCanvasPixel);
}

void MoveLayerByArrow(LayerPlacement &placement, CanvasArrow arrow)
{
    const double x = placement.LayerX.toDouble(), y = placement.LayerY.toDouble();
    switch (arrow) {
    case CanvasArrow::Right: placement.LayerX = Value::real(x + 1); break;
    case CanvasArrow::Left: placement.LayerX = Value::real(x - 1 < 0 ? 0 : x - 1); break;
    case CanvasArrow::Up: placement.LayerY = Value::real(y - 1 < 0 ? 0 : y - 1); break;
    case CanvasArrow::Down: placement.LayerY = Value::real(y + 1); break;
    }
}

bool DragHoldsInsideCanvas(CanvasLayer layer)
{
    return layer == LayerMainBlink || layer == LayerUserMouth || layer == LayerUserBlink;
}

void DragLayerTo(CanvasLayer layer, LayerPlacement &placement, const LayerGrabOffset &grab, double x, double y,
                 double canvasWidth, double canvasHeight)
{
    // The upper bound is tested only when the lower one did not apply, so a
    // layer larger than the canvas ends at a negative place.
    auto bounded = [&](double at, double upper) {
        if (at < 0)
            return 0.0;
        if (DragHoldsInsideCanvas(layer) && at > upper)
            return upper;
        return at;
    };
    placement.LayerX = Value::real(bounded(grab.LayerGrabX.toDouble() + x, canvasWidth - placement.LayerWidth.toDouble()));
    placement.LayerY =
        Value::real(bounded(grab.LayerGrabY.toDouble() + y, canvasHeight - placement.LayerHeight.toDouble()));
}
