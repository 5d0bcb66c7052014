#include "core/preview/SmileSection.h"

#include "core/preview/DisplayList.h"
#include "core/preview/TalkTable.h"
#include "core/scene/SceneDocument.h"
#include "core/system/Timer.h"
#include "core/preview/PreviewPlayer.h"

void SmileSection::reset(PreviewPlayer &player)
{
    player.Smile.VelmHasSmile = false;
    player.SmileTimer1->SetEnabled(false);
    player.SmileTimer2->SetEnabled(false);
    player.Smile.rest();
}

void LoadSmileLayer(PreviewLoad &load)
{
    const KeyValue key = SceneNameValue(load.text, QStringLiteral("KS="));
    if (!key.present)
        return;
    PreviewPlayer &w = load.player;
    QStringList names;
    QStringList &files = sceneDocument().state().Files.SmileFrameFiles;
    for (int i = 1; i <= SmileFrameCount; ++i) {
        names << PreviewFrameName(load.locals, key.value, frameNumberText(i));
        files[i] = names.last();
    }
    // W1 x H1 of the main mouth, measured by this load's main mouth section.
    const QSize mouthSize = load.locals.firstFrame;
    if (mouthSize.isEmpty() || w.ImageList8.Count() != TalkMouthCount)
        return;

    w.ImageList2.Clear();
    const QString listKey = QStringLiteral("KMT");
    if (!load.LoadListFrames(names, w.ImageList2, listKey, nullptr, 1, mouthSize, compositeCount(SmileEntryFrames))
             .loaded)
        return;
    if (appendComposites(w.ImageList2, listKey, SmileEntryFrames, w.ImageList8, QString())
        != int(SmileEntryFrames.size()))
        return;
    w.Smile.VelmHasSmile = true;
    w.SmileTimer2->SetEnabled(true);
    w.Smile.rest();
}
