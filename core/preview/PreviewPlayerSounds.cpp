// The player's scene sounds and their timers: the slots' methods, the
// sound step of the master tick, the sound poll (Timer14) and the loop delay
// of sound 1 (Timer15). The rules are in core/preview/SceneSounds.h.

#include "core/preview/PreviewPlayer.h"

#include "core/preview/SceneSounds.h"
#include "core/scene/SceneDocument.h"
#include "core/system/Services.h"
#include "core/system/Timer.h"

namespace {

void setSlotAndLoad(PreviewPlayer &player, int32_t slot, const Value &file)
{
    setSceneSoundSlot(soundSlots(), slot, scene().BaseFolder, file);
    player.LoadSound(slot);
}

} // namespace

void PreviewPlayer::LoadSoundA()
{
    setSlotAndLoad(*this, 0, scene().Sounds.Sound1File);
}

void PreviewPlayer::LoadSoundB()
{
    setSlotAndLoad(*this, 1, scene().Sounds.Sound2File);
}

void PreviewPlayer::LoadSoundC()
{
    setSlotAndLoad(*this, 2, scene().Sounds.Sound3File);
}

void PreviewPlayer::LoadSound(int32_t slot)
{
    loadSoundSlot(soundSlots(), slot);
}

void PreviewPlayer::PlaySound(int32_t slot)
{
    playSoundSlot(soundSlots(), slot);
    Timer14->SetEnabled(true);
}

void PreviewPlayer::StopSound(int32_t slot)
{
    stopSoundSlot(soundSlots(), slot);
}

bool PreviewPlayer::IsSoundDone(int32_t slot)
{
    return soundSlotDone(soundSlots(), slot);
}

void PreviewPlayer::UpdateSceneSounds()
{
    const SoundTimers timers =
        updateSceneSounds(sceneDocument().state().Sounds, soundSlots(), *services().random, scene().BaseFolder);
    if (timers.startPoll)
        Timer14->SetEnabled(true);
    if (timers.startDelay)
        Timer15->SetEnabled(true);
}

void PreviewPlayer::Timer14_Timer()
{
    pollSoundSlots(soundSlots());
    Timer14->SetEnabled(false);
}

void PreviewPlayer::Timer15_Timer()
{
    const SoundTimers timers = countSoundDelay(sceneDocument().state().Sounds, soundSlots(), scene().BaseFolder);
    if (timers.startPoll)
        Timer14->SetEnabled(true);
    if (timers.stopDelay)
        Timer15->SetEnabled(false);
}
