// The library window's master tick (Timer1, every 100 ms from the window's
// creation): the sound step, then the starts of core/preview/MasterTick.h.

#include "library/VelmNShare.h"

#include "core/preview/MasterTick.h"
#include "core/system/Services.h"
#include "core/system/Timer.h"
#include "platform/PictureBox.h"

#include <QPushButton>

void VelmNShare::connectPlayer()
{
    connect(Timer1, &Timer::Tick, this, &VelmNShare::Timer1_Timer);
    connect(Timer14, &Timer::Tick, this, &VelmNShare::Timer14_Timer);
    connect(Timer15, &Timer::Tick, this, &VelmNShare::Timer15_Timer);
    connect(Command1, &QPushButton::clicked, this, &VelmNShare::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &VelmNShare::Command2_Click);
}

void VelmNShare::Timer1_Timer()
{
    UpdateSceneSounds();

    MasterTickState state;
    state.mainBlinkShown = VelmBlink->isVisibleTo(this);
    state.userBlinkShown = UserBlink->isVisibleTo(this);
    state.extraShown = MiscPic->isVisibleTo(this);
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
