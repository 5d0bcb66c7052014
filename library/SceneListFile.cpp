#include "library/SceneListFile.h"

#include "base/Files.h"
#include "base/Text1252.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

QString sceneListPath(const QString &baseFolder)
{
    return joinPath(baseFolder, QStringLiteral("/Data/myscenes.dat"));
}

QStringList readSceneList(const QByteArray &contents)
{
    const QString text = QStringLiteral("\r\n") + fromWindows1252(contents);
    QList<int> breaks;
    for (int at = text.indexOf(QStringLiteral("\r\n")); at >= 0; at = text.indexOf(QStringLiteral("\r\n"), at + 2))
        breaks << at;
    QStringList names;
    for (int i = 0; i + 1 < breaks.size(); ++i) {
        QString piece = text.mid(breaks[i] + 2, breaks[i + 1] - breaks[i] - 2);
        if (i == 0)
            piece.chop(2);
        piece.remove(u'\r');
        piece.remove(u'\n');
        if (piece.isEmpty())
            break;
        if (piece.size() >= 2)
            names << piece;
    }
    return names;
}

bool sceneListContains(const QByteArray &contents, const QString &name)
{
    const QStringList entries = fromWindows1252(contents).split(QRegularExpression(QStringLiteral("[\r\n]+")),
                                                                Qt::SkipEmptyParts);
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QByteArray appendSceneListEntry(const QByteArray &contents, const QString &name)
{
    return contents + toWindows1252(name) + QByteArray("\n\r\r\n");
}

FileResult addSceneToList(const QString &listPath, const QString &name, bool *added)
{
    if (added)
        *added = false;
    QByteArray contents;
    if (QFileInfo::exists(listPath)) {
        FileRead read = readFile(listPath, MaxSceneListSize);
        if (!read)
            return {false, read.error};
        contents = std::move(read.bytes);
    }
    if (sceneListContains(contents, name))
        return {true, {}};
    const QString folder = QFileInfo(listPath).absolutePath();
    if (!QDir().mkpath(folder))
        return {false, QStringLiteral("Could not write %1: the folder %2 could not be created")
                           .arg(QDir::toNativeSeparators(listPath), QDir::toNativeSeparators(folder))};
    const FileResult written = writeFileAtomically(listPath, appendSceneListEntry(contents, name));
    if (written && added)
        *added = true;
    return written;
}
