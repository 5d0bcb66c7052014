#include "core/scene/FrameSetFiles.h"

#include "core/base/Files.h"
#include "core/base/Numbers.h"
#include "core/scene/SceneState.h"

#include <QDir>
#include <QSet>

namespace {
// Missing frames reported one message each; the rest are counted in one more.
constexpr int kReportedOneByOne = 3;

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }
}

QString frameNumberText(int n)
{
    if (n < 0 || n > 9)
        return QString::number(n);
    QString text(2, u'0');
    text[1] = QChar(u'0' + n);
    return text;
}

QString frameFileName(const QString &base, int n, const QString &ext)
{
    return base + frameNumberText(n) + ext;
}

std::optional<FrameSeriesName> parseFrameSeriesName(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 2 || !isAsciiDigit(name[dot - 2]) || !isAsciiDigit(name[dot - 1]))
        return std::nullopt;
    FrameSeriesName series;
    series.digits = name.mid(dot - 2, 2);
    series.first = int16_t(series.digits.toInt());
    series.base = name.left(dot - 2);
    series.ext = name.mid(dot);
    return series;
}

std::optional<int16_t> lastFrameOf(int first, int count)
{
    const int last = first + count - 1;
    if (last < INT16_MIN || last > INT16_MAX)
        return std::nullopt;
    return int16_t(last);
}

std::optional<QString> lastFrameLabel(const QString &countText, const QString &firstText)
{
    const auto count = toInt16(countText);
    const auto first = toInt16(firstText);
    if (!count || !first)
        return std::nullopt;
    const auto last = lastFrameOf(*first, *count);
    if (!last)
        return std::nullopt;
    return QString::number(*last);
}

bool frameFileExists(const QString &path)
{
    return fileExists(resolvePathIgnoringCase(path));
}

QStringList missingFrames(const QString &folder, const QString &base, const QString &ext, int first, int last)
{
    // One look at the folder serves every frame, however long the series.
    QSet<QString> present;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo &entry : entries)
        present.insert(entry.fileName().toLower());
    QStringList missing;
    for (int n = first; n <= last; ++n) {
        const QString name = frameFileName(base, n, ext);
        if (!present.contains(name.toLower()))
            missing << name;
    }
    return missing;
}

QStringList missingFramesMessages(const QStringList &missing)
{
    // A single frame past the first few gets its own message rather than a count of one.
    const qsizetype oneByOne = missing.size() <= kReportedOneByOne + 1 ? missing.size() : kReportedOneByOne;
    QStringList messages;
    for (qsizetype i = 0; i < oneByOne; ++i)
        messages << QStringLiteral("File ") + missing[i] + QStringLiteral(" does not exist!");
    if (missing.size() > oneByOne)
        messages << QStringLiteral("%1 more files of this series do not exist! The last one is %2.")
                        .arg(missing.size() - oneByOne)
                        .arg(missing.last());
    return messages;
}

QString cantFindText(const QString &name)
{
    return QStringLiteral("Can't Find: ") + name;
}

QString numberingMessage()
{
    return QStringLiteral("File is not numbered correctly. Please reference numbering convention. ie: "
                          "Filename##.bmp or Filename####.bmp");
}

QString frameCountMessage()
{
    return QStringLiteral("Problem with number of frames.");
}

QString imageFilter()
{
    return QStringLiteral("Images Files (*.bmp;*.jpg)|*.bmp;*.jpg");
}

Result<int16_t> frameSetCount(const QString &countText, std::optional<int> minimumCount)
{
    const auto count = toInt16(countText);
    if (!count || (minimumCount && *count < *minimumCount))
        return Result<int16_t>::failure(frameCountMessage());
    return Result<int16_t>::success(*count);
}

Result<FrameSetPick> frameSetPickOf(const PickedFile &file, int16_t count)
{
    FrameSetPick pick;
    pick.file = file;
    const auto series = parseFrameSeriesName(pick.file.name);
    const auto last = series ? lastFrameOf(series->first, count) : std::nullopt;
    if (!last)
        return Result<FrameSetPick>::failure(numberingMessage());
    pick.series = *series;
    pick.last = *last;
    pick.missing = missingFrames(pick.file.folder, pick.series.base, pick.series.ext, pick.series.first, pick.last);
    return Result<FrameSetPick>::success(std::move(pick));
}

void recordFrameSet(AnimFrameSet &set, const FrameSetPick &pick)
{
    set.FirstFramePath = pick.file.path;
    recordFrameNames(set, pick);
    recordFrameNumbers(set, pick, true);
}

void recordFrameNames(AnimFrameSet &set, const FrameSetPick &pick)
{
    set.FrameFolder = pick.file.folder;
    set.FrameBaseName = pick.series.base;
    set.FrameExt = pick.series.ext;
}

void recordFrameNumbers(AnimFrameSet &set, const FrameSetPick &pick, bool withCurrentFrame)
{
    set.FirstFrame = Value::integer(pick.series.first);
    set.LastFrame = Value::integer(pick.last);
    if (withCurrentFrame)
        set.CurrentFrame = Value::integer(pick.series.first);
}

std::optional<WholeFrameName> parseWholeFrameName(const QString &name)
{
    // The numbering of any frame series, with a picture extension of three letters.
    const auto series = parseFrameSeriesName(name);
    if (!series)
        return std::nullopt;
    const QString ext = series->ext.mid(1);
    if (ext.compare(QStringLiteral("bmp"), Qt::CaseInsensitive) != 0
        && ext.compare(QStringLiteral("jpg"), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    return WholeFrameName{series->base, ext};
}
