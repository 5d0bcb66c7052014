#include "core/preview/MouthSection.h"

#include "core/preview/TalkTable.h"
#include "core/scene/SceneDocument.h"
#include "core/preview/PreviewPlayer.h"

MouthLayer mainMouthLayer(PreviewPlayer &player)
{
    return MouthLayer{QStringLiteral("KM"),  player.VelmMouth,      &player.ImageList2,
                      &player.ImageList8,    QStringLiteral("KMT"), &sceneDocument().state().Files.MainMouthFrameFiles};
}

void loadMouthLayer(PreviewLoad &load, const MouthLayer &layer)
{
    loadBoxLayer(load, layer, MouthFrameCount, TalkMouthFrames);
}

void MainMouthSection::load(PreviewLoad &load)
{
    loadMouthLayer(load, mainMouthLayer(load.player));
}
