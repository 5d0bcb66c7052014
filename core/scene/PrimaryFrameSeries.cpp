#include "core/scene/PrimaryFrameSeries.h"

#include "core/base/Files.h"
#include "core/scene/SceneState.h"

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
