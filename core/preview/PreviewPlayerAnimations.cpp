// The player's extra, child, full-background and trigger animations: their
// timers' handlers, the "Trigger Anim" box, and how the steppers reach the
// player's timers, lists and boxes.

#include "core/preview/PreviewPlayer.h"

#include "core/preview/PreviewShow.h"
#include "core/system/Timer.h"

void PreviewPlayer::connectAnimations()
{
    const QString misc = QStringLiteral("MSC");
    ExtraAnim.stepTimer = Timer5;
    ExtraAnim.pauseTimer = Timer6;
    ExtraAnim.showExtra = [this, misc](int k) { ShowListEntry(MiscPic, ImageList12, misc, k); };
    ExtraAnim.showChild = [this, misc](int k) { ShowListEntry(MiscPic, ImageList13, misc, k); };
    FullAnim.stepTimer = Timer7;
    FullAnim.pauseTimer = Timer10;
    FullAnim.show = [this, misc](int k) { ShowListEntry(MainPic, ImageList14, misc, k); };
    TriggerAnim.stepTimer = Timer13;
    TriggerAnim.show = [this](int k) { ShowListEntry(TriggerPic, ImageList1, QStringLiteral("TRG"), k); };

    connect(Timer5, &Timer::Tick, this, &PreviewPlayer::Timer5_Timer);
    connect(Timer6, &Timer::Tick, this, &PreviewPlayer::Timer6_Timer);
    connect(Timer7, &Timer::Tick, this, &PreviewPlayer::Timer7_Timer);
    connect(Timer10, &Timer::Tick, this, &PreviewPlayer::Timer10_Timer);
    connect(Timer13, &Timer::Tick, this, &PreviewPlayer::Timer13_Timer);
}

void PreviewPlayer::Timer5_Timer()
{
    ExtraAnim.step();
}

void PreviewPlayer::Timer6_Timer()
{
    ExtraAnim.countPause();
}

void PreviewPlayer::Timer7_Timer()
{
    FullAnim.step();
}

void PreviewPlayer::Timer10_Timer()
{
    FullAnim.countPause();
}

void PreviewPlayer::Timer13_Timer()
{
    TriggerAnim.step();
}

void PreviewPlayer::Check1_Click(int value)
{
    if (HasTrigger)
        TriggerAnim.trigger(value);
    // The alternate image and the background, as decoded at load.
    if (!NudyFilename.isEmpty()) {
        const QImage &picture = value == 1 ? AlternatePicture : value == 0 ? BackgroundPicture : QImage();
        if (!picture.isNull())
            MainPic->SetPicture(picture);
    }
}
