// The library window's frame stepper: "<" and ">" step a frame number within
// 1..21 and show the picture-list entries of that number in the layer boxes,
// with the number in TextB1. Its controls are hidden; nothing shows them.
// An entry or a keyed entry that a list lacks leaves its box as it was.

#include "library/VelmNShare.h"

#include "library/PreviewShow.h"

#include <QLineEdit>

#include <algorithm>

namespace {
constexpr int32_t FirstFrame = 1;
constexpr int32_t LastFrame = 21;
}

void VelmNShare::Command1_Click()
{
    ImageNum = std::max<int64_t>(int64_t(ImageNum) - 1, FirstFrame);
    if (ImageNum <= 7)
        ShowListEntry(VelmMouth, ImageList2, QStringLiteral("KMT"), ImageNum);
    if (ImageNum <= 4)
        ShowListEntry(VelmBlink, ImageList3, QStringLiteral("KBL"), ImageNum);
    TextB1->setText(QString::number(ImageNum));
}

void VelmNShare::Command2_Click()
{
    ImageNum = int32_t(std::clamp<int64_t>(int64_t(ImageNum) + 1, FirstFrame, LastFrame));
    ShowListEntry(VelmMouth, ImageList8, QStringLiteral("KMT"), ImageNum);
    ShowListEntry(UserMouth, ImageList9, QStringLiteral("UMT"), ImageNum);
    ShowListEntry(TriggerPic, ImageList1, QStringLiteral("TRG"), ImageNum);
    TextB1->setText(QString::number(ImageNum));
}
