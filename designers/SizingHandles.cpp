#include "designers/SizingHandles.h"

#include "core/base/Numbers.h"

HandleEdges sizingEdges(int index)
{
    switch (index) {
    case 0: return {true, true, false, false};
    case 1: return {false, true, false, false};
    case 2: return {false, true, true, false};
    case 3: return {false, false, true, false};
    case 4: return {false, false, true, true};
    case 5: return {false, false, false, true};
    case 6: return {true, false, false, true};
    case 7: return {true, false, false, false};
    default: return {};
    }
}

Qt::CursorShape handleCursor(int index)
{
    // Corners on the top-left/bottom-right diagonal, the other diagonal, then
    // the vertical and horizontal middles.
    switch (index % 4) {
    case 0: return Qt::SizeFDiagCursor;
    case 1: return Qt::SizeVerCursor;
    case 2: return Qt::SizeBDiagCursor;
    default: return Qt::SizeHorCursor;
    }
}

std::array<QPointF, SizingHandleCount> handlePlaces(const CRect &rect, double handleWidth, double handleHeight,
                                                    double twipsPerPixelX, double twipsPerPixelY)
{
    const long long hw = roundHalfEven(handleWidth) / 2, hh = roundHalfEven(handleHeight) / 2;
    const double px = double(roundHalfEven(twipsPerPixelX * 0.5)), py = double(roundHalfEven(twipsPerPixelY * 0.5));
    const double L = rect.Left, T = rect.Top, W = double(rect.Width()), H = double(rect.Height());

    const double left = L - hw + px, middle = L + W / 2 - hw, right = L + W - hw - px;
    const double top = T - hh + py, centre = T + H / 2 - hh, bottom = T + H - hh - py;
    return {{{left, top}, {middle, top}, {right, top}, {right, centre},
             {right, bottom}, {middle, bottom}, {left, bottom}, {left, centre}}};
}

void applySizing(CRect &rect, int index, QPoint p)
{
    const HandleEdges e = sizingEdges(index);
    if (e.left) rect.Left = p.x();
    if (e.right) rect.Right = p.x();
    if (e.top) rect.Top = p.y();
    if (e.bottom) rect.Bottom = p.y();
}
