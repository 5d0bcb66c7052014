#include "core/preview/SoundSection.h"

#include "core/preview/SceneSounds.h"
#include "core/scene/SceneDocument.h"
#include "core/system/Timer.h"
#include "core/preview/PreviewPlayer.h"

#include <cstdio>

void SceneSoundSection::reset(PreviewPlayer &player)
{
    resetSceneSounds(sceneDocument().state().Sounds, soundSlots());
    // A count left running would start the next scene's sound 1 over its loop.
    player.Timer15->SetEnabled(false);
}

void SceneSoundSection::load(PreviewLoad &load)
{
    SceneState &s = sceneDocument().state();
    applySceneSoundKeys(readSceneSoundKeys(load.text), s.Sounds, s.Files.SoundFiles);
    // A sound the scene names but the player does not have stays silent, as
    // it always has; the reason goes to the log.
    for (const QString &reason : loadSceneSoundFiles(s.Sounds, s.BaseFolder))
        std::fprintf(stderr, "Sound not loaded: %s\n", qPrintable(reason));
}
