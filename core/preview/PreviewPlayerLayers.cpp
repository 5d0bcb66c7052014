// The timer steps of the smile, the blinks and the brows: each asks its
// stepper for the step and shows the entry it picks in the layer's box.

#include "core/preview/PreviewPlayer.h"

#include "core/preview/PreviewShow.h"
#include "core/system/Services.h"
#include "core/system/Timer.h"

namespace {

// Shows the step's entry of `list` in `box`, then stops the step's timer when
// its run has ended. A list that lacks the entry (another scene emptied it)
// leaves the box alone.
void runStep(const LayerStep &step, Timer *timer, PreviewBox *box, const ImageList &list, const QString &key)
{
    if (step.entry > 0)
        ShowListEntry(box, list, key, step.entry);
    if (step.stop)
        timer->SetEnabled(false);
}

} // namespace

void PreviewPlayer::connectTimers()
{
    connect(SmileTimer1, &Timer::Tick, this, &PreviewPlayer::SmileTimer1_Timer);
    connect(SmileTimer2, &Timer::Tick, this, &PreviewPlayer::SmileTimer2_Timer);
    connect(Timer2, &Timer::Tick, this, &PreviewPlayer::Timer2_Timer);
    connect(BrowTimer1, &Timer::Tick, this, &PreviewPlayer::BrowTimer1_Timer);
    connect(BrowTimer2, &Timer::Tick, this, &PreviewPlayer::BrowTimer2_Timer);
    connect(Timer4, &Timer::Tick, this, &PreviewPlayer::Timer4_Timer);
    connect(Timer1, &Timer::Tick, this, &PreviewPlayer::Timer1_Timer);
    connect(Timer14, &Timer::Tick, this, &PreviewPlayer::Timer14_Timer);
    connect(Timer15, &Timer::Tick, this, &PreviewPlayer::Timer15_Timer);
    connectAnimations();
}

void PreviewPlayer::SmileTimer1_Timer()
{
    runStep(Smile.tick(*services().random), SmileTimer1, VelmMouth, ImageList8, QStringLiteral("KMT"));
}

void PreviewPlayer::SmileTimer2_Timer()
{
    if (SmileStepper::starts(*services().random))
        SmileTimer1->SetEnabled(true);
}

void PreviewPlayer::Timer2_Timer()
{
    runStep(MainBlinks.tick(!VelmBlink->isHidden(), Brow.VelmBrowOn), Timer2, VelmBlink, ImageList10,
            QStringLiteral("KBL"));
}

void PreviewPlayer::BrowTimer1_Timer()
{
    runStep(Brow.tick(), BrowTimer1, VelmBlink, ImageList10, QStringLiteral("KBL"));
}

void PreviewPlayer::BrowTimer2_Timer()
{
    if (BrowStepper::starts(*services().random, Timer2->Enabled()))
        BrowTimer1->SetEnabled(true);
}

void PreviewPlayer::Timer4_Timer()
{
    runStep(UserBlinks.tick(!UserBlink->isHidden()), Timer4, UserBlink, ImageList11, QStringLiteral("UBL"));
}
