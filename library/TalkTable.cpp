#include "library/TalkTable.h"

#include "platform/ImageList.h"

#include <QImage>
#include <QString>

int appendTalkMouths(const ImageList &source, const QString &key, ImageList &display)
{
    std::array<QImage, 8> composed; // by mouth frame
    int added = 0;
    for (int e = 1; e <= TalkMouthCount; ++e) {
        const int frame = TalkMouthFrames[e - 1];
        if (composed[frame].isNull())
            composed[frame] = source.Overlay(key, frame);
        if (!display.Add(display.Count() + 1, e == 1 ? key : QString(), composed[frame]))
            break;
        ++added;
    }
    return added;
}
