// The player's master tick (Timer1, every 100 ms from the player's creation): the sound step, then the starts of core/preview/MasterTick.h.

#include "core/preview/PreviewPlayer.h"

#include "core/preview/MasterTick.h"
#include "core/system/Services.h"
#include "core/system/Timer.h"

void PreviewPlayer::Timer1_Timer()
{
    UpdateSceneSounds();

    MasterTickState state;
    state.mainBlinkShown = VelmBlink->isShown();
    state.userBlinkShown = UserBlink->isShown();
    state.extraShown = MiscPic->isShown();
    state.mainBlinkRunning = Timer2->Enabled();
    state.browRunning = BrowTimer1->Enabled();
    state.userBlinkRunning = Timer4->Enabled();
    state.extraRunning = Timer5->Enabled();
    state.extraPausing = Timer6->Enabled();
    state.ExtraMiscARandom = Value::real(ExtraAnim.ExtraMiscARandom);
    state.MiscRandom = Value::real(ExtraAnim.MiscRandom);
    state.MiscDelay = Value::real(ExtraAnim.MiscDelay);
    const MasterTickStarts starts = masterTickStarts(state, *services().random);

    if (starts.startMainBlink)
        Timer2->SetEnabled(true);
    if (starts.startUserBlink)
        Timer4->SetEnabled(true);
    if (starts.startExtra)
        Timer5->SetEnabled(true);
    if (starts.requestChild)
        ExtraAnim.PlayExtraMiscA = true;
}
