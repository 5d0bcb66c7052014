#pragma once
// What the benchmarks share: the frames they draw and how they sum up runs.

#include <QColor>
#include <QFile>
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

// A width x height frame of gradients with noise that moves with n, so that
// the JPEG coder has real work and no two frames are alike.
inline QImage photoFrame(int width, int height, int n)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 state = quint32(n) * 2654435761u + 1;
    for (int y = 0; y < height; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const int noise = int(state >> 27) - 16;
            row[x] = qRgb(std::clamp((x + n) * 255 / width + noise, 0, 255),
                          std::clamp(y * 255 / height - noise, 0, 255), std::clamp(((x + y + 3 * n) & 255) + noise, 0, 255));
        }
    }
    return image;
}

// Kilobytes of a field of /proc/self/status ("VmHWM:", "VmRSS:"); -1 when unread.
inline long statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines)
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLong();
    return -1;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
