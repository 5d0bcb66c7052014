#include "core/preview/CountedFrames.h"

#include "core/base/Numbers.h"
#include "core/system/Timer.h"

#include <algorithm>

namespace {
int wholeNumber(const QString &text, int low, int high)
{
    const auto v = toReal(text);
    if (!v)
        return 0;
    return int(std::clamp<double>(double(roundHalfEven(std::clamp<double>(*v, low - 1.0, high + 1.0))), low, high));
}
}

int frameCountOf(const QString &text)
{
    return wholeNumber(text, 0, MaxCountedFrames);
}

int pauseLengthOf(const QString &text)
{
    return wholeNumber(text, 0, INT16_MAX);
}

double pauseDelayOf(const QString &text)
{
    return std::clamp(toReal(text).value_or(0.0), 0.0, double(INT16_MAX));
}

int savedFrameCountOf(const QString &text)
{
    return wholeNumber(text, 0, INT16_MAX);
}

int frameNumberOf(const QString &text)
{
    return wholeNumber(text, INT16_MIN, INT16_MAX);
}

double factorOf(const QString &text)
{
    return toReal(text).value_or(0.0);
}

void setSceneInterval(Timer &timer, const QString &text)
{
    const auto ms = toInt16(text);
    if (ms && *ms >= 0)
        (void)timer.SetInterval(*ms);
}

QStringList countedFrameNames(PreviewLocals &locals, const QString &value, int count)
{
    QStringList names;
    for (int n = 1; n <= std::max(count, 1); ++n)
        names << PreviewFrameName(locals, value, frameNumberText(n));
    return names;
}

void recordFrameNames(QStringList &files, const QStringList &names)
{
    const qsizetype last = std::min<qsizetype>({names.size(), MaxCountedFrames, files.size() - 1});
    for (qsizetype n = 1; n <= last; ++n)
        files[n] = names[n - 1];
}
