#include "scene/FramePicks.h"

#include "platform/WindowServices.h"
#include "platform/CommonDialog.h"

std::optional<PickedFile> choosePickedFile(CommonDialog &cdl, const QString &filter, const QString &subfolder)
{
    const QString work = setWorkFolderFromBase();
    if (!subfolder.isEmpty())
        cdl.InitDir = work + subfolder;
    cdl.Filter = filter;
    cdl.ShowOpen();
    if (cdl.FileName.isEmpty())
        return std::nullopt;
    return splitPickedPath(cdl.FileName);
}

std::optional<FrameSetPick> pickFrameSet(CommonDialog &cdl, const QString &countText,
                                         std::optional<int> minimumCount)
{
    const Result<int16_t> count = frameSetCount(countText, minimumCount);
    if (!count) {
        MsgBox(count.error);
        return std::nullopt;
    }
    const auto file = choosePickedFile(cdl, imageFilter());
    if (!file)
        return std::nullopt;
    // Everything is checked before anything is stored, so a refused pick
    // leaves the set as it was.
    Result<FrameSetPick> pick = frameSetPickOf(*file, count.value);
    if (!pick) {
        MsgBox(pick.error);
        return std::nullopt;
    }
    notePickedFile(pick.value.file);
    return std::move(pick.value);
}

void reportMissingFrames(const QStringList &missing)
{
    for (const QString &message : missingFramesMessages(missing))
        MsgBox(message);
}
