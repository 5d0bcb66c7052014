#include "core/preview/BoxLayer.h"

#include "core/pictures/ImageList.h"
#include "core/preview/DisplayList.h"
#include "core/preview/PreviewBox.h"

LayerFrames loadBoxLayer(PreviewLoad &load, const BoxLayer &layer, int frameCount,
                         std::span<const int> displayFrames)
{
    const LayerKeys keys = readLayerKeys(load.text, layer.keyPrefix);
    if (!keys.name.present)
        return {};
    QStringList names;
    for (int n = 1; n <= frameCount; ++n)
        names << PreviewFrameName(load.locals, keys.name.value, frameNumberText(n));
    takeLayerPlace(load.locals, keys);
    layer.display->Clear();
    layer.frames->Clear();
    for (int n = 1; n <= frameCount; ++n)
        (*layer.files)[n] = names[n - 1];

    LayerFrames frames = load.LoadListFrames(names, *layer.frames, layer.listKey, layer.box, 1, std::nullopt,
                                             compositeCount(displayFrames));
    if (!frames.loaded)
        return frames;
    appendComposites(*layer.frames, layer.listKey, displayFrames, *layer.display, layer.listKey);
    layer.box->show();
    return frames;
}
