#include "core/preview/DisplayList.h"

#include "core/pictures/ImageList.h"

#include <QHash>
#include <QSet>
#include <QImage>
#include <QString>

int appendComposites(const ImageList &source, const QString &key, std::span<const int> frames, ImageList &display,
                     const QString &firstKey)
{
    QHash<int, QImage> composed; // by frame number
    int added = 0;
    for (const int frame : frames) {
        auto it = composed.find(frame);
        if (it == composed.end())
            it = composed.insert(frame, source.Overlay(key, frame));
        if (!display.Add(display.Count() + 1, added == 0 ? firstKey : QString(), *it))
            break;
        ++added;
    }
    return added;
}

int compositeCount(std::span<const int> frames)
{
    return int(QSet<int>(frames.begin(), frames.end()).size());
}
