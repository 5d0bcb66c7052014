#include "core/preview/BlinkBrowSection.h"

#include "core/pictures/ImageList.h"
#include "core/preview/DisplayList.h"
#include "core/scene/SceneDocument.h"
#include "core/system/Timer.h"
#include "core/preview/PreviewPlayer.h"

BlinkLayer mainBlinkLayer(PreviewPlayer &player)
{
    return BlinkLayer{QStringLiteral("KB"),  player.VelmBlink,     &player.ImageList3,
                      &player.ImageList10,   QStringLiteral("KBL"), &sceneDocument().state().Files.MainBlinkFrameFiles};
}

LayerFrames loadBlinkLayer(PreviewLoad &load, const BlinkLayer &layer)
{
    return loadBoxLayer(load, layer, BlinkFrameCount, BlinkEntryFrames);
}

void BlinkBrowSection::reset(PreviewPlayer &player)
{
    player.Brow.lower();
    player.BrowTimer1->SetEnabled(false);
    player.BrowTimer2->SetEnabled(false);
}

void LoadBlinkAndBrowLayers(PreviewLoad &load)
{
    PreviewPlayer &w = load.player;
    w.Brow.VelmHasBrow = load.text.contains(QStringLiteral("KBr="));
    const LayerFrames blink = loadBlinkLayer(load, mainBlinkLayer(w));

    const KeyValue brow = SceneNameValue(load.text, QStringLiteral("KBr="));
    if (!w.Brow.VelmHasBrow || !brow.present)
        return;
    QStringList names;
    QStringList &files = sceneDocument().state().Files.BrowFrameFiles;
    for (int n = 1; n <= BrowFrameCount; ++n) {
        names << PreviewFrameName(load.locals, brow.value, frameNumberText(n));
        files[n] = names.last();
    }
    if (!blink.loaded)
        return;

    w.ImageList2.Clear();
    const QString listKey = QStringLiteral("KBL");
    if (!load.LoadListFrames(names, w.ImageList2, listKey, nullptr, 1, blink.firstSize,
                             compositeCount(BrowEntryFrames))
             .loaded)
        return;
    if (appendComposites(w.ImageList2, listKey, BrowEntryFrames, w.ImageList10, QString())
        != int(BrowEntryFrames.size()))
        return;
    w.Brow.lower();
    w.BrowTimer2->SetEnabled(true);
}
