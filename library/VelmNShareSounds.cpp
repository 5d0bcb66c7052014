// The library window's sound player and its timers: the slots' methods, the
// sound step of the master tick, the sound poll (Timer14) and the loop delay
// of sound 1 (Timer15). The rules are in core/preview/SceneSounds.h.

#include "library/VelmNShare.h"

#include "core/preview/SceneSounds.h"
#include "core/scene/SceneState.h"
#include "core/system/Services.h"
#include "core/system/Timer.h"

namespace {

void setSlotAndLoad(VelmNShare &window, int32_t slot, const Value &file)
{
    setSceneSoundSlot(soundSlots(), slot, scene().BaseFolder, file);
    window.LoadSound(slot);
}

} // namespace

void VelmNShare::LoadSoundA()
{
    setSlotAndLoad(*this, 0, scene().Sounds.Sound1File);
}

void VelmNShare::LoadSoundB()
{
    setSlotAndLoad(*this, 1, scene().Sounds.Sound2File);
}

void VelmNShare::LoadSoundC()
{
    setSlotAndLoad(*this, 2, scene().Sounds.Sound3File);
}

void VelmNShare::LoadSound(int32_t slot)
{
    loadSoundSlot(soundSlots(), slot);
}

void VelmNShare::PlaySound(int32_t slot)
{
    playSoundSlot(soundSlots(), slot);
    Timer14->SetEnabled(true);
}

void VelmNShare::StopSound(int32_t slot)
{
    stopSoundSlot(soundSlots(), slot);
}

bool VelmNShare::IsSoundDone(int32_t slot)
{
    return soundSlotDone(soundSlots(), slot);
}

void VelmNShare::UpdateSceneSounds()
{
    const SoundTimers timers =
        updateSceneSounds(scene().Sounds, soundSlots(), *services().random, scene().BaseFolder);
    if (timers.startPoll)
        Timer14->SetEnabled(true);
    if (timers.startDelay)
        Timer15->SetEnabled(true);
}

void VelmNShare::Timer14_Timer()
{
    pollSoundSlots(soundSlots());
    Timer14->SetEnabled(false);
}

void VelmNShare::Timer15_Timer()
{
    const SoundTimers timers = countSoundDelay(scene().Sounds, soundSlots(), scene().BaseFolder);
    if (timers.startPoll)
        Timer14->SetEnabled(true);
    if (timers.stopDelay)
        Timer15->SetEnabled(false);
}
