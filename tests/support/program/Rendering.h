#pragma once
// A window's pixels as the screen shows them: its rendering in device pixels,
// read at a point given in the window's logical pixels, so that a test reads
// the same place on a screen of any device pixel ratio.

#include <QImage>
#include <QWidget>

#include <algorithm>
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

// The contrast of two colours as the readability guidelines for screen text
// measure it: from 1 (the same) to 21 (black on white); text reads at 4.5.
inline double contrastRatio(QRgb a, QRgb b)
{
    const auto luminance = [](QRgb c) {
        const auto channel = [](int v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The highest contrast to `ground` of the device pixels that show logical
// rectangle `r` of `shot`: the text drawn there at its strongest.
inline double strongestContrast(const QImage &shot, QRect r, QRgb ground)
{
    const double dpr = shot.devicePixelRatio();
    const QRect device = QRect(QPoint(int(std::ceil(r.left() * dpr)), int(std::ceil(r.top() * dpr))),
                               QPoint(int(std::floor((r.right() + 1) * dpr)) - 1,
                                      int(std::floor((r.bottom() + 1) * dpr)) - 1))
                             .intersected(shot.rect());
    double strongest = 1;
    for (int y = device.top(); y <= device.bottom(); ++y)
        for (int x = device.left(); x <= device.right(); ++x)
            strongest = std::max(strongest, contrastRatio(shot.pixel(x, y), ground));
    return strongest;
}
