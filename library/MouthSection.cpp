#include "library/MouthSection.h"

#include "app/SceneState.h"
#include "library/TalkTable.h"
#include "library/VelmNShare.h"
#include "platform/ImageList.h"
#include "platform/PictureBox.h"

MouthLayer mainMouthLayer(VelmNShare &window)
{
    return MouthLayer{QStringLiteral("KM"),      window.VelmMouth,      &window.ImageList2,
                      &window.ImageList8,        QStringLiteral("KMT"), &scene().Files.MainMouthFrameFiles};
}

void loadMouthLayer(PreviewLoad &load, const MouthLayer &layer)
{
    const LayerKeys keys = readLayerKeys(load.text, layer.keyPrefix);
    if (!keys.name.present)
        return;
    QStringList names;
    for (int n = 1; n <= MouthFrameCount; ++n)
        names << PreviewFrameName(load.locals, keys.name.value, frameNumberText(n));
    takeLayerPlace(load.locals, keys);
    layer.talk->Clear();
    layer.frames->Clear();
    for (int n = 1; n <= MouthFrameCount; ++n)
        (*layer.files)[n] = names[n - 1];

    if (!load.LoadListFrames(names, *layer.frames, layer.listKey, layer.box).loaded)
        return;
    appendTalkMouths(*layer.frames, layer.listKey, *layer.talk);
    layer.box->show();
}

void MainMouthSection::load(PreviewLoad &load)
{
    loadMouthLayer(load, mainMouthLayer(load.window));
}
