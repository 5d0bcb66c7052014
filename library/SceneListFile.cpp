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
    QStringList entries = fromWindows1252(contents).split(QRegularExpression(QStringLiteral("[\r\n]+")),
                                                          Qt::SkipEmptyParts);
    // A list that another program wrote may hold entries that the library
    // reads differently; a name it shows is listed already all the same.
    entries += readSceneList(contents);
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QByteArray appendSceneListEntry(const QByteArray &contents, const QString &name)
{
    static const QByteArray kEntryEnd("\n\r\r\n");
    // A list whose last name has no line end (written by hand or by another
    // program) gets one first, so that the new name is not glued onto it.
    const bool open = !contents.isEmpty() && !contents.endsWith('\n') && !contents.endsWith('\r');
    return contents + (open ? kEntryEnd : QByteArray()) + toWindows1252(name) + kEntryEnd;
}

bool addSceneToList(const QString &listPath, const QString &name, bool *added, QString *error)
{
    if (added)
        *added = false;
    QByteArray contents;
    if (QFileInfo::exists(listPath) && !readWholeFile(listPath, &contents)) {
        if (error)
            *error = QStringLiteral("Could not read %1.").arg(QDir::toNativeSeparators(listPath));
        return false;
    }
    if (sceneListContains(contents, name))
        return true;
    QDir().mkpath(QFileInfo(listPath).absolutePath());
    if (!writeFileAtomically(listPath, appendSceneListEntry(contents, name), error))
        return false;
    if (added)
        *added = true;
    return true;
}
