#include "core/preview/FullBackgroundSection.h"

#include "core/preview/CountedFrames.h"
#include "core/scene/SceneDocument.h"
#include "core/system/Timer.h"
#include "core/preview/CountedList.h"
#include "core/preview/PreviewPlayer.h"
#include "core/preview/PreviewBox.h"

void FullBackgroundSection::reset(PreviewPlayer &player)
{
    player.FullAnim.reset();
}

void FullBackgroundSection::load(PreviewLoad &load)
{
    LoadFullBackgroundAnimation(load);
}

void LoadFullBackgroundAnimation(PreviewLoad &load)
{
    PreviewPlayer &w = load.player;
    FullBackgroundAnimation &a = w.FullAnim;
    // An earlier scene's pause never restarts this one.
    w.Timer10->SetEnabled(false);
    a.MainAnimTimer = 0;
    const KeyValue name = SceneNameValue(load.text, QStringLiteral("MainAnimName="));
    if (!name.present) {
        a.MainAnimTalk.clear();
        w.Timer7->SetEnabled(false);
        return;
    }
    a.MainAnimTrack = 0;

    auto take = [&load](const char *key, auto apply) {
        if (const KeyValue v = load.key(QLatin1String(key)); v.present)
            apply(v.value);
    };
    take("MainAnimF=", [&](const QString &v) { a.MainAnimFramesTotal = frameCountOf(v); });
    take("MainAnimD=", [&](const QString &v) { a.MainAnimD = pauseLengthOf(v); });
    take("MainAnimDS=", [&](const QString &v) { a.MainAnimDS = v; });
    take("MainAnimR=", [&](const QString &v) { a.MainAnimR = factorOf(v); });
    take("MainAnimS=", [&](const QString &v) {
        a.MainAnimS = v;
        setSceneInterval(*w.Timer7, v);
    });
    take("MainAnimRS=", [&](const QString &v) { a.MainAnimRS = v; });
    take("MainAnimRSSMin=", [&](const QString &v) { a.MainAnimRSSMin = v; });
    take("MainAnimRSSMax=", [&](const QString &v) { a.MainAnimRSSMax = v; });
    auto valueOr = [&load](const char *key, const char *absent) {
        const KeyValue v = load.key(QLatin1String(key));
        return v.present ? v.value : QString::fromLatin1(absent);
    };
    a.MainAnimTalk = valueOr("MainAnimTalk=", "Null");
    a.MainAnimLoop = valueOr("MainAnimLoop=", "Null");
    a.MainAnimMP = valueOr("MainAnimMPause=", "Yes");

    const QStringList names = countedFrameNames(load.locals, name.value, a.MainAnimFramesTotal);
    recordFrameNames(sceneDocument().state().Files.FullAnimFrameFiles, names);
    w.ImageList14.Clear();
    // Without frame 01 the scene has no full-background animation.
    if (!loadCountedList(load, names, a.MainAnimFramesTotal, w.ImageList14, QStringLiteral("MSC"), nullptr).loaded) {
        w.Timer7->SetEnabled(false);
        return;
    }
    w.Timer7->SetEnabled(true);
    if (a.MainAnimMP != QLatin1String("No")) {
        w.VelmMouth->hide();
        w.UserMouth->hide();
    }
}
