#include "core/preview/TriggerSection.h"

#include "core/preview/CountedFrames.h"
#include "core/scene/SceneDocument.h"
#include "core/system/Timer.h"
#include "core/preview/CountedList.h"
#include "core/preview/PreviewPlayer.h"
#include "core/preview/PreviewBox.h"

void TriggerSection::reset(PreviewPlayer &player)
{
    player.TriggerAnim.reset();
}

void TriggerSection::load(PreviewLoad &load)
{
    PreviewPlayer &w = load.player;
    // The box swaps these without reading a file.
    w.BackgroundPicture = w.MainPic->Picture();
    w.AlternatePicture = QImage();
    if (!w.NudyFilename.isEmpty() && loadPreviewPicture(w.Xpress1, load.images, w.NudyFilename)
        && w.Xpress1.ResizeImage(w.MainPic->width(), w.MainPic->height())
        && load.budget.take(pictureBytes(w.MainPic->size())))
        w.AlternatePicture = w.Xpress1.Picture();
    LoadTriggerLayer(load);
}

void LoadTriggerLayer(PreviewLoad &load)
{
    PreviewPlayer &w = load.player;
    TriggerAnimation &a = w.TriggerAnim;
    const LayerKeys keys = readLayerKeys(load.text, QStringLiteral("TP"));
    if (!keys.name.present) {
        a.TrigFrames = -1;
        return;
    }
    takeLayerPlace(load.locals, keys);
    if (const KeyValue v = load.key(QStringLiteral("TS=")); v.present)
        setSceneInterval(*w.Timer13, v.value);
    // A trigger scene without a count has no frames beyond frame 01.
    const KeyValue count = load.key(QStringLiteral("TF="));
    a.TrigFrames = count.present ? frameCountOf(count.value) : 0;

    const QStringList names = countedFrameNames(load.locals, keys.name.value, a.TrigFrames);
    recordFrameNames(sceneDocument().state().Files.TriggerFrameFiles, names);
    w.ImageList1.Clear();
    // Without frame 01 the scene has no trigger.
    if (!loadCountedList(load, names, a.TrigFrames, w.ImageList1, QStringLiteral("TRG"), w.TriggerPic).loaded)
        return;
    w.HasTrigger = true;
    w.TriggerPic->show();
}
