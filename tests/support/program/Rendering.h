#pragma once
// A window's pixels as the screen shows them: its rendering in device pixels,
// read at a point given in the window's logical pixels, so that a test reads
// the same place on a screen of any device pixel ratio.

#include <QImage>
#include <QWidget>

#include <cmath>

// The device pixel that shows logical point `p` of `shot` (a grab's image).
inline QRgb shownPixel(const QImage &shot, QPointF p)
{
    const double dpr = shot.devicePixelRatio();
    return shot.pixel(int(std::floor(p.x() * dpr)), int(std::floor(p.y() * dpr)));
}

inline QRgb shownPixel(QWidget &w, QPointF p)
{
    return shownPixel(w.grab().toImage(), p);
}
