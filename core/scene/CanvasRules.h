#pragma once
// The canvas's rules that need no window: a layer's size from its picture,
// the single-pixel arrow moves and the drag's bounds. All in canvas pixels.

#include "core/scene/SceneState.h"

#include <QImage>
#include <QSizeF>

#include <optional>

// A layer's size from its picture: the HIMETRIC width and height (whole
// numbers) each divided by 26.454545, kept unrounded. Sets LayerHeight, then
// LayerWidth; an empty picture gives 0.
void LayerSizeFromPicture(LayerPlacement &placement, const QImage &picture);

// The same in whole canvas pixels: each rounded down.
void LayerWholeSizeFromPicture(LayerPlacement &placement, const QImage &picture);

enum class CanvasArrow { Right, Left, Up, Down };
// `step` units (one pixel unless given) in the arrow's direction; left and up
// stop at 0, right and down have no bound.
void MoveLayerByArrow(LayerPlacement &placement, CanvasArrow arrow, double step = 1);

// The blink and user layers are held inside the canvas by a drag; the others
// may pass its right and bottom edges.
bool DragHoldsInsideCanvas(CanvasLayer layer);

// Moves a dragged layer so that its grab point stays under the mouse at (x, y),
// bounded by 0 and, for the layers held inside, by the canvas's inner size.
void DragLayerTo(CanvasLayer layer, LayerPlacement &placement, const LayerGrabOffset &grab, double x, double y,
                 double canvasWidth, double canvasHeight);
// The same arithmetic with the upper bound given: the canvas's inner size
// (the layer's far edges stay inside it), or none.
void DragLayerTo(LayerPlacement &placement, const LayerGrabOffset &grab, double x, double y,
                 const std::optional<QSizeF> &canvas);
