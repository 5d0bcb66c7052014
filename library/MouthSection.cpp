#include "library/MouthSection.h"

#include "core/preview/TalkTable.h"
#include "core/scene/SceneState.h"
#include "library/VelmNShare.h"

MouthLayer mainMouthLayer(VelmNShare &window)
{
    return MouthLayer{QStringLiteral("KM"),      window.VelmMouth,      &window.ImageList2,
                      &window.ImageList8,        QStringLiteral("KMT"), &scene().Files.MainMouthFrameFiles};
}

void loadMouthLayer(PreviewLoad &load, const MouthLayer &layer)
{
    loadBoxLayer(load, layer, MouthFrameCount, TalkMouthFrames);
}

void MainMouthSection::load(PreviewLoad &load)
{
    loadMouthLayer(load, mainMouthLayer(load.window));
}
