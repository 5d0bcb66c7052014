#include "core/scene/PrimaryFrameSeries.h"

#include "core/base/Files.h"
#include "core/scene/SceneState.h"

#include <algorithm>

SeriesName ParsePrimaryFrameName(const QString &firstFramePath)
{
    SeriesName name;
    const QString ext = firstFramePath.right(4);
    if (firstFramePath.size() < 4 || (ext.compare(QStringLiteral(".bmp"), Qt::CaseInsensitive) != 0 &&
                                      ext.compare(QStringLiteral(".jpg"), Qt::CaseInsensitive) != 0))
        return name;
    name.ext = ext;
    name.prefix = firstFramePath.left(firstFramePath.size() - 8);
    name.check = firstFramePath.size() >= 8 && firstFramePath.mid(firstFramePath.size() - 8, 4) == QStringLiteral("0001")
                     ? SeriesNameCheck::Ok
                     : SeriesNameCheck::NoFrameNumber;
    return name;
}

QString PrimaryFrameName(const QString &prefix, const QString &ext, int frame)
{
    return prefix + QStringLiteral("%1").arg(frame, 4, 10, QLatin1Char('0')) + ext;
}

QString PrimaryFramePath(int frame)
{
    const SceneState &s = scene();
    return resolvePathIgnoringCase(PrimaryFrameName(s.PrimaryFramePrefix.toText(), s.PrimaryFrameExt.toText(), frame));
}

QList<int> LayerPrimaryFrames(bool smile, bool brow)
{
    QList<int> frames;
    for (int frame = RequiredPrimaryFrames + 1; frame <= std::max(SmileFrames.last, BrowFrames.last); ++frame) {
        const bool inSmile = smile && frame >= SmileFrames.first && frame <= SmileFrames.last;
        const bool inBrow = brow && frame >= BrowFrames.first && frame <= BrowFrames.last;
        if (inSmile || inBrow)
            frames << frame;
    }
    return frames;
}

QString MissingLayerFramesMessage(bool smile, bool brow, const QStringList &missing)
{
    const auto range = [](PrimaryFrameRange r) {
        return QStringLiteral("%1 to %2").arg(r.first, 4, 10, QLatin1Char('0')).arg(r.last, 4, 10, QLatin1Char('0'));
    };
    QString takes;
    if (smile && brow)
        takes = QStringLiteral("The smile animation takes frames %1 of the series, the brow animation frames %2.")
                    .arg(range(SmileFrames), range(BrowFrames));
    else if (smile)
        takes = QStringLiteral("The smile animation takes frames %1 of the series.").arg(range(SmileFrames));
    else
        takes = QStringLiteral("The brow animation takes frames %1 of the series.").arg(range(BrowFrames));
    return takes + QStringLiteral(" These frames do not exist:\n") + missing.join(u'\n');
}
