#include "designers/CRect.h"

#include "core/base/Numbers.h"
#include "core/system/Services.h"
#include "platform/Form.h"

#include <QWidget>

#include <cmath>
#include <limits>
#include <utility>

namespace {
constexpr double kMin = std::numeric_limits<int32_t>::min();
constexpr double kMax = std::numeric_limits<int32_t>::max();

std::optional<int32_t> fits(int64_t v)
{
    if (v < kMin || v > kMax)
        return std::nullopt;
    return int32_t(v);
}
}

std::optional<int32_t> roundToEdge(double v)
{
    if (!std::isfinite(v) || v < kMin - 0.5 || v > kMax + 0.5)
        return std::nullopt;
    return fits(roundHalfEven(v));
}

bool CRect::SetWidth(int64_t w)
{
    const auto right = fits(int64_t(Left) + w);
    if (!right)
        return false;
    Right = *right;
    return true;
}

bool CRect::SetHeight(int64_t h)
{
    const auto bottom = fits(int64_t(Top) + h);
    if (!bottom)
        return false;
    Bottom = *bottom;
    return true;
}

bool CRect::SetRectToCtrl(const QWidget *control)
{
    // The sums are taken in the precision of the control's values, single.
    const QRectF t = controlTwips(control);
    const float left = float(t.left()), top = float(t.top()), width = float(t.width()), height = float(t.height());
    const auto l = roundToEdge(left);
    if (!l) return false;
    Left = *l;
    const auto tp = roundToEdge(top);
    if (!tp) return false;
    Top = *tp;
    const auto r = roundToEdge(double(left + width));
    if (!r) return false;
    Right = *r;
    const auto b = roundToEdge(double(top + height));
    if (!b) return false;
    Bottom = *b;
    return true;
}

void CRect::SetCtrlToRect(QWidget *control)
{
    NormalizeRect();
    placeTwips(control, Left, Top, double(Width()), double(Height()));
}

bool CRect::ScreenToTwips(const QWidget *control)
{
    const auto &env = *services().environment;
    const QWidget *window = control->window();
    const QPoint topLeft = window->mapFromGlobal(QPoint(Left, Top));
    const auto l = roundToEdge(topLeft.x() * env.twipsPerPixelX());
    const auto t = roundToEdge(topLeft.y() * env.twipsPerPixelY());
    if (!l || !t)
        return false;
    Left = *l;
    Top = *t;
    const QPoint bottomRight = window->mapFromGlobal(QPoint(Right, Bottom));
    const auto r = roundToEdge(bottomRight.x() * env.twipsPerPixelX());
    const auto b = roundToEdge(bottomRight.y() * env.twipsPerPixelY());
    if (!r || !b)
        return false;
    Right = *r;
    Bottom = *b;
    return true;
}

bool CRect::TwipsToScreen(const QWidget *control)
{
    const auto &env = *services().environment;
    const QWidget *window = control->window();
    const auto l = roundToEdge(Left / env.twipsPerPixelX());
    const auto t = roundToEdge(Top / env.twipsPerPixelY());
    if (!l || !t)
        return false;
    const QPoint topLeft = window->mapToGlobal(QPoint(*l, *t));
    Left = topLeft.x();
    Top = topLeft.y();
    const auto r = roundToEdge(Right / env.twipsPerPixelX());
    const auto b = roundToEdge(Bottom / env.twipsPerPixelY());
    if (!r || !b)
        return false;
    const QPoint bottomRight = window->mapToGlobal(QPoint(*r, *b));
    Right = bottomRight.x();
    Bottom = bottomRight.y();
    return true;
}

void CRect::NormalizeRect()
{
    if (Left > Right)
        std::swap(Left, Right);
    if (Top > Bottom)
        std::swap(Top, Bottom);
}
