#include "core/preview/ExtraChildSection.h"

#include "core/preview/CountedFrames.h"
#include "core/scene/SceneDocument.h"
#include "core/system/Timer.h"
#include "core/preview/CountedList.h"
#include "core/preview/PreviewShow.h"
#include "core/preview/PreviewPlayer.h"
#include "core/preview/PreviewBox.h"

void ExtraChildSection::reset(PreviewPlayer &player)
{
    player.ExtraAnim.reset();
}

void ExtraChildSection::load(PreviewLoad &load)
{
    LoadExtraAnimation(load);
    LoadChildAnimation(load);
}

void LoadExtraAnimation(PreviewLoad &load)
{
    PreviewPlayer &w = load.player;
    ExtraAnimation &a = w.ExtraAnim;
    const LayerKeys keys = readLayerKeys(load.text, QStringLiteral("MP"));
    if (!keys.name.present)
        return;
    a.ExtraMiscAFrameNumber = 0;
    takeLayerPlace(load.locals, keys);

    if (const KeyValue v = load.key(QStringLiteral("MR=")); v.present)
        a.MiscRandom = factorOf(v.value);
    if (const KeyValue v = load.key(QStringLiteral("MD=")); v.present)
        a.MiscDelay = pauseDelayOf(v.value);
    const KeyValue delayAt = load.key(QStringLiteral("MDA="));
    a.MiscDelayAt = delayAt.present ? frameNumberOf(delayAt.value) : -1;
    a.MiscLoop = load.key(QStringLiteral("MPL=")).value;
    a.MiscLoopEndorStart = load.key(QStringLiteral("MPLT=")).value;
    if (const KeyValue v = load.key(QStringLiteral("MF=")); v.present)
        a.MiscFrames = frameCountOf(v.value);
    if (const KeyValue v = load.key(QStringLiteral("MS=")); v.present) {
        a.MiscSpeed = v.value;
        setSceneInterval(*w.Timer5, v.value);
    }

    const QStringList names = countedFrameNames(load.locals, keys.name.value, a.MiscFrames);
    recordFrameNames(sceneDocument().state().Files.ExtraFrameFiles, names);
    w.ImageList12.Clear();
    // Without frame 01 the extra stays hidden and still.
    if (!loadCountedList(load, names, a.MiscFrames, w.ImageList12, QStringLiteral("MSC"), w.MiscPic).loaded)
        return;
    ShowListEntry(w.MiscPic, w.ImageList12, QStringLiteral("MSC"), 1);
    w.MiscPic->show();
    w.Timer6->SetEnabled(true);
    w.Timer5->SetEnabled(true);
}

void LoadChildAnimation(PreviewLoad &load)
{
    PreviewPlayer &w = load.player;
    ExtraAnimation &a = w.ExtraAnim;
    w.ImageList13.Clear();
    a.childLoaded = false;
    const KeyValue name = SceneNameValue(load.text, QStringLiteral("EMA="));
    if (!name.present) {
        // Without a child the extra has no pause point of its own.
        a.ExtaMiscAEndOrStart = QStringLiteral("Null");
        a.MiscLoopEndorStart = QStringLiteral("Null");
        return;
    }
    if (const KeyValue v = load.key(QStringLiteral("EMAF=")); v.present)
        a.ExtraMiscATotalFrames = frameCountOf(v.value);
    if (const KeyValue v = load.key(QStringLiteral("EMAR=")); v.present)
        a.ExtraMiscARandom = factorOf(v.value);
    if (const KeyValue v = load.key(QStringLiteral("EMAFl=")); v.present)
        a.ExtaMiscAEndOrStart = v.value;

    const QStringList names = countedFrameNames(load.locals, name.value, a.ExtraMiscATotalFrames);
    recordFrameNames(sceneDocument().state().Files.ChildFrameFiles, names);
    // Every child frame takes the size of the extra's frame 01.
    a.childLoaded = loadCountedList(load, names, a.ExtraMiscATotalFrames, w.ImageList13, QStringLiteral("MSC"),
                                    nullptr, load.locals.firstFrame)
                        .loaded;
}
