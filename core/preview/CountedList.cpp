#include "core/preview/CountedList.h"

#include "core/pictures/ImageList.h"
#include "core/preview/PreviewSection.h"

LayerFrames loadCountedList(PreviewLoad &load, const QStringList &names, int count, ImageList &list,
                            const QString &key, PreviewBox *box, std::optional<QSize> sizeFrom)
{
    // Up to a thousand frames of the background's size: held as their files'
    // bytes, and decoded when shown.
    LayerFrames frames = load.loadHeldFrames(names, sizeFrom);
    if (!frames.loaded)
        return frames;
    if (box)
        load.placeLayer(box, frames);
    const QImage &first = frames.frames.first();
    if (!list.Add(1, key, first))
        return frames;
    for (int n = 1; n <= std::min<qsizetype>(count, frames.held.size()); ++n) {
        const auto &held = frames.held[n - 1];
        if (!(held ? list.Add(n + 1, QString(), held) : list.Add(n + 1, QString(), first)))
            break;
    }
    return frames;
}
