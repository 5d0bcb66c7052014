#pragma once
// The eight sizing handles around the crop rectangle: where each one sits,
// which edges follow the cursor when it is dragged, and its mouse pointer.
// Handle 0 is the top-left corner, then clockwise: 1 top middle, 2 top-right,
// 3 right middle, 4 bottom-right, 5 bottom middle, 6 bottom-left, 7 left middle.

#include "designers/CRect.h"

#include <QPoint>
#include <QPointF>
#include <Qt>

#include <array>

constexpr int SizingHandleCount = 8;

struct HandleEdges {
    bool left = false, top = false, right = false, bottom = false;
};

// The edges that handle `index` moves.
HandleEdges sizingEdges(int index);
// The sizing arrow shown over handle `index`.
Qt::CursorShape handleCursor(int index);

// The top-left corners of the handles, in twips, around a rectangle in twips
// (a handle `handleWidth` x `handleHeight` twips; the screen's twips per
// pixel): corners centred on the rectangle's corner pixels, middles on the
// middle of their edge's outermost pixel row or column.
std::array<QPointF, SizingHandleCount> handlePlaces(const CRect &rect, double handleWidth, double handleHeight,
                                                    double twipsPerPixelX, double twipsPerPixelY);

// Moves the edges of handle `index` to the point (an edge may pass the opposite one).
void applySizing(CRect &rect, int index, QPoint p);
