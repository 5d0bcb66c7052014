#pragma once
// What the benchmarks share: the frames they draw and how they sum up runs.

#include <QColor>
#include <QImage>

#include <algorithm>
#include <vector>

// A 640 x 480 frame of its own colours with a busy patch that moves with n,
// so that frames neither compress to nothing nor repeat.
inline QImage fixtureFrame(int n)
{
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(QColor(n % 256, (n * 7) % 256, 90));
    for (int y = 100; y < 300; ++y)
        for (int x = 200 + n % 50; x < 300 + n % 50; ++x)
            image.setPixelColor(x, y, QColor((x * n) % 256, y % 256, (x + y) % 256));
    return image;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
