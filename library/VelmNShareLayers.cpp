// The timer steps of the smile, the blinks and the brows: each asks its
// stepper for the step and shows the entry it picks in the layer's box.

#include "library/VelmNShare.h"

#include "core/system/Services.h"
#include "core/system/Timer.h"
#include "library/PreviewShow.h"
#include "platform/PictureBox.h"

namespace {

// Shows the step's entry of `list` in `box`, then stops the step's timer when
// its run has ended. A list that lacks the entry (another scene emptied it)
// leaves the box alone.
void runStep(const LayerStep &step, Timer *timer, PictureBox *box, const ImageList &list, const QString &key)
{
    if (step.entry > 0)
        ShowListEntry(box, list, key, step.entry);
    if (step.stop)
        timer->SetEnabled(false);
}

} // namespace

void VelmNShare::connectLayerTimers()
{
    connect(SmileTimer1, &Timer::Tick, this, &VelmNShare::SmileTimer1_Timer);
    connect(SmileTimer2, &Timer::Tick, this, &VelmNShare::SmileTimer2_Timer);
    connect(Timer2, &Timer::Tick, this, &VelmNShare::Timer2_Timer);
    connect(BrowTimer1, &Timer::Tick, this, &VelmNShare::BrowTimer1_Timer);
    connect(BrowTimer2, &Timer::Tick, this, &VelmNShare::BrowTimer2_Timer);
    connect(Timer4, &Timer::Tick, this, &VelmNShare::Timer4_Timer);
}

void VelmNShare::SmileTimer1_Timer()
{
    runStep(Smile.tick(*services().random), SmileTimer1, VelmMouth, ImageList8, QStringLiteral("KMT"));
}

void VelmNShare::SmileTimer2_Timer()
{
    if (SmileStepper::starts(*services().random))
        SmileTimer1->SetEnabled(true);
}

void VelmNShare::Timer2_Timer()
{
    runStep(MainBlinks.tick(!VelmBlink->isHidden(), Brow.VelmBrowOn), Timer2, VelmBlink, ImageList10,
            QStringLiteral("KBL"));
}

void VelmNShare::BrowTimer1_Timer()
{
    runStep(Brow.tick(), BrowTimer1, VelmBlink, ImageList10, QStringLiteral("KBL"));
}

void VelmNShare::BrowTimer2_Timer()
{
    if (BrowStepper::starts(*services().random, Timer2->Enabled()))
        BrowTimer1->SetEnabled(true);
}

void VelmNShare::Timer4_Timer()
{
    runStep(UserBlinks.tick(!UserBlink->isHidden()), Timer4, UserBlink, ImageList11, QStringLiteral("UBL"));
}
