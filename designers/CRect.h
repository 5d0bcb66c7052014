#pragma once
// The rectangle of the crop engine: four integer edges, the right and bottom
// ones outside the rectangle. It copies a control's twips geometry in and out
// and converts between screen pixels and twips of the control's window through
// that window's client origin. Every step that could leave the 32-bit range
// says so by returning false (or nothing) and keeps the edges stored before it.

#include <cstdint>
#include <optional>

class QWidget;

// A real as an edge: the nearest integer, a half to the even neighbour;
// nothing when it does not fit in 32 bits.
std::optional<int32_t> roundToEdge(double v);

class CRect {
public:
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;  // the column Right lies outside
    int32_t Bottom = 0; // the row Bottom lies outside

    // Right - Left and Bottom - Top, exact (negative while the edges are out of order).
    int64_t Width() const { return int64_t(Right) - Left; }
    int64_t Height() const { return int64_t(Bottom) - Top; }
    // Right = Left + w (Bottom = Top + h); false, and no change, beyond 32 bits.
    bool SetWidth(int64_t w);
    bool SetHeight(int64_t h);

    // Reads the control's twips: each edge rounded on its own.
    bool SetRectToCtrl(const QWidget *control);
    // Puts the edges in order, then places the control in one step.
    void SetCtrlToRect(QWidget *control);
    // Screen pixels to twips of the control's window's client area, and back.
    bool ScreenToTwips(const QWidget *control);
    bool TwipsToScreen(const QWidget *control);
    // Left <= Right and Top <= Bottom.
    void NormalizeRect();
    // Left <= x < Right and Top <= y < Bottom.
    bool PtInRect(double x, double y) const { return Left <= x && x < Right && Top <= y && y < Bottom; }

    bool operator==(const CRect &) const = default;
};
