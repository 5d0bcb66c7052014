// The preview's frame stepper: "<" and ">" step a frame number within 1..21
// and show the picture-list entries of that number in the layer boxes. The
// window shows the number in TextB1; its controls are hidden, nothing shows them.
// An entry or a keyed entry that a list lacks leaves its box as it was.

#include "core/preview/PreviewPlayer.h"

#include "core/preview/PreviewShow.h"

#include <algorithm>

namespace {
constexpr int32_t FirstFrame = 1;
constexpr int32_t LastFrame = 21;
}

void PreviewPlayer::Command1_Click()
{
    ImageNum = std::max<int64_t>(int64_t(ImageNum) - 1, FirstFrame);
    if (ImageNum <= 7)
        ShowListEntry(VelmMouth, ImageList2, QStringLiteral("KMT"), ImageNum);
    if (ImageNum <= 4)
        ShowListEntry(VelmBlink, ImageList3, QStringLiteral("KBL"), ImageNum);
}

void PreviewPlayer::Command2_Click()
{
    ImageNum = int32_t(std::clamp<int64_t>(int64_t(ImageNum) + 1, FirstFrame, LastFrame));
    ShowListEntry(VelmMouth, ImageList8, QStringLiteral("KMT"), ImageNum);
    ShowListEntry(UserMouth, ImageList9, QStringLiteral("UMT"), ImageNum);
    ShowListEntry(TriggerPic, ImageList1, QStringLiteral("TRG"), ImageNum);
}
