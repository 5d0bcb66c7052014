#include "scene/FramePicks.h"

#include "core/base/Numbers.h"
#include "core/system/Services.h"
#include "platform/CommonDialog.h"

namespace {
// Missing frames reported one message each; the rest are counted in one more.
constexpr int kReportedOneByOne = 3;
}

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

void reportMissingFrames(const QStringList &missing)
{
    // A single frame past the first few gets its own message rather than a count of one.
    const qsizetype oneByOne = missing.size() <= kReportedOneByOne + 1 ? missing.size() : kReportedOneByOne;
    for (qsizetype i = 0; i < oneByOne; ++i)
        MsgBox(QStringLiteral("File ") + missing[i] + QStringLiteral(" does not exist!"));
    if (missing.size() > oneByOne)
        MsgBox(QStringLiteral("%1 more files of this series do not exist! The last one is %2.")
                   .arg(missing.size() - oneByOne)
                   .arg(missing.last()));
}

std::optional<FrameSetPick> pickFrameSet(CommonDialog &cdl, const QString &countText,
                                         std::optional<int> minimumCount)
{
    const auto count = toInt16(countText);
    if (!count || (minimumCount && *count < *minimumCount)) {
        MsgBox(frameCountMessage());
        return std::nullopt;
    }
    const auto file = choosePickedFile(cdl, imageFilter());
    if (!file)
        return std::nullopt;

    // Everything is checked before anything is stored, so a refused pick
    // leaves the set as it was.
    FrameSetPick pick;
    pick.file = *file;
    const auto series = parseFrameSeriesName(pick.file.name);
    const auto last = series ? lastFrameOf(series->first, *count) : std::nullopt;
    if (!last) {
        MsgBox(numberingMessage());
        return std::nullopt;
    }
    pick.series = *series;
    pick.last = *last;
    notePickedFile(pick.file);
    pick.missing = missingFrames(pick.file.folder, pick.series.base, pick.series.ext, pick.series.first, pick.last);
    return pick;
}
