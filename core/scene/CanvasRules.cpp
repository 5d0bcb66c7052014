#include "core/scene/CanvasRules.h"

#include "core/pictures/ImageWorkspace.h"

#include <cmath>

namespace {
constexpr double HimetricPerCanvasPixel = 26.454545;
}

void LayerSizeFromPicture(LayerPlacement &placement, const QImage &picture)
{
    const QSize himetric = picture.isNull() ? QSize(0, 0) : HimetricSize(picture);
    placement.LayerHeight = Value::real(himetric.height() / HimetricPerCanvasPixel);
    placement.LayerWidth = Value::real(himetric.width() / HimetricPerCanvasPixel);
}

void LayerWholeSizeFromPicture(LayerPlacement &placement, const QImage &picture)
{
    const QSize himetric = picture.isNull() ? QSize(0, 0) : HimetricSize(picture);
    placement.LayerHeight = Value::real(std::floor(himetric.height() / HimetricPerCanvasPixel));
    placement.LayerWidth = Value::real(std::floor(himetric.width() / HimetricPerCanvasPixel));
}

void MoveLayerByArrow(LayerPlacement &placement, CanvasArrow arrow, double step)
{
    const double x = placement.LayerX.toDouble(), y = placement.LayerY.toDouble();
    switch (arrow) {
    case CanvasArrow::Right: placement.LayerX = Value::real(x + step); break;
    case CanvasArrow::Left: placement.LayerX = Value::real(x - step < 0 ? 0 : x - step); break;
    case CanvasArrow::Up: placement.LayerY = Value::real(y - step < 0 ? 0 : y - step); break;
    case CanvasArrow::Down: placement.LayerY = Value::real(y + step); break;
    }
}

bool DragHoldsInsideCanvas(CanvasLayer layer)
{
    return layer == LayerMainBlink || layer == LayerUserMouth || layer == LayerUserBlink;
}

void DragLayerTo(CanvasLayer layer, LayerPlacement &placement, const LayerGrabOffset &grab, double x, double y,
                 double canvasWidth, double canvasHeight)
{
    std::optional<QSizeF> canvas;
    if (DragHoldsInsideCanvas(layer))
        canvas = QSizeF(canvasWidth, canvasHeight);
    DragLayerTo(placement, grab, x, y, canvas);
}

void DragLayerTo(LayerPlacement &placement, const LayerGrabOffset &grab, double x, double y,
                 const std::optional<QSizeF> &canvas)
{
    // The upper bound is tested only when the lower one did not apply, so a
    // layer larger than the canvas ends at a negative place.
    auto bounded = [&](double at, double upper) {
        if (at < 0)
            return 0.0;
        if (canvas && at > upper)
            return upper;
        return at;
    };
    const double right = canvas ? canvas->width() - placement.LayerWidth.toDouble() : 0;
    const double bottom = canvas ? canvas->height() - placement.LayerHeight.toDouble() : 0;
    placement.LayerX = Value::real(bounded(grab.LayerGrabX.toDouble() + x, right));
    placement.LayerY = Value::real(bounded(grab.LayerGrabY.toDouble() + y, bottom));
}
