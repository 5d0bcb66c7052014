#include "library/SoundSection.h"

#include "app/SceneState.h"
#include "library/SceneSounds.h"
#include "library/VelmNShare.h"
#include "platform/Timer.h"

void SceneSoundSection::reset(VelmNShare &window)
{
    resetSceneSounds(scene().Sounds, soundSlots());
    // A count left running would start the next scene's sound 1 over its loop.
    window.Timer15->SetEnabled(false);
}

void SceneSoundSection::load(PreviewLoad &load)
{
    SceneState &s = scene();
    applySceneSoundKeys(readSceneSoundKeys(load.text), s.Sounds, s.Files.SoundFiles);
    loadSceneSoundFiles(s.Sounds, s.BaseFolder);
}
