#include "core/preview/PreviewPlayer.h"

#include "core/preview/LipSyncRouter.h"
#include "core/preview/PreviewShow.h"
#include "core/system/Timer.h"

#include <utility>

PreviewPlayer::PreviewPlayer(QObject *parent) : QObject(parent)
{
    MainPic = new PreviewBox(this, QStringLiteral("MainPic"), PreviewBackgroundPlace, true);
    // The layer boxes lie anywhere over the background; each section places its own.
    auto layerBox = [this](const char *name) {
        return new PreviewBox(this, QString::fromLatin1(name), QRect(0, 0, 1, 1), false);
    };
    VelmMouth = layerBox("VelmMouth");
    VelmBlink = layerBox("VelmBlink");
    UserMouth = layerBox("UserMouth");
    UserBlink = layerBox("UserBlink");
    MiscPic = layerBox("MiscPic");
    TriggerPic = layerBox("TriggerPic");
    makeTimers();
    Sections = makePreviewSections();
    connectTimers();
}

PreviewPlayer::~PreviewPlayer() = default;

QList<PreviewBox *> PreviewPlayer::boxes() const
{
    return {MainPic, VelmMouth, VelmBlink, UserMouth, UserBlink, MiscPic, TriggerPic};
}

void PreviewPlayer::showMouth(const MouthPick &pick)
{
    switch (pick.box) {
    case MouthBox::VelmMouth:
        ShowListEntry(VelmMouth, ImageList8, pick.key, pick.entry);
        break;
    case MouthBox::UserMouth:
        ShowListEntry(UserMouth, ImageList9, pick.key, pick.entry);
        break;
    case MouthBox::None:
        break;
    }
}

void PreviewPlayer::makeTimers()
{
    Timer1 = new Timer(this, 100, true);
    Timer2 = new Timer(this, 80, false);
    Timer4 = new Timer(this, 80, false);
    Timer5 = new Timer(this, 1000, false);
    Timer6 = new Timer(this, 1000, false);
    Timer7 = new Timer(this, 0, false);
    Timer10 = new Timer(this, 1000, false);
    Timer13 = new Timer(this, 0, false);
    Timer14 = new Timer(this, 100, true);
    Timer15 = new Timer(this, 1000, false);
    SmileTimer1 = new Timer(this, 50, true);
    SmileTimer2 = new Timer(this, 250, true);
    BrowTimer1 = new Timer(this, 80, false);
    BrowTimer2 = new Timer(this, 1000, false);
    const std::pair<Timer *, const char *> names[] = {
        {Timer1, "Timer1"},   {Timer2, "Timer2"},   {Timer4, "Timer4"},           {Timer5, "Timer5"},
        {Timer6, "Timer6"},   {Timer7, "Timer7"},   {Timer10, "Timer10"},         {Timer13, "Timer13"},
        {Timer14, "Timer14"}, {Timer15, "Timer15"}, {SmileTimer1, "SmileTimer1"}, {SmileTimer2, "SmileTimer2"},
        {BrowTimer1, "BrowTimer1"}, {BrowTimer2, "BrowTimer2"},
    };
    for (const auto &[timer, name] : names)
        timer->setObjectName(QString::fromUtf8(name));
}
