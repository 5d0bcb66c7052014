#include "base/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

QString joinPath(const QString &folder, const QString &fragment)
{
    QString joined = folder + fragment;
    joined.replace(u'\\', u'/');
    QString out;
    out.reserve(joined.size());
    for (QChar c : joined) {
        if (c == u'/' && out.endsWith(u'/'))
            continue;
        out.append(c);
    }
    return out;
}

QString findFileIgnoringCase(const QString &folder, const QString &name)
{
    const QString exact = joinPath(folder.endsWith(u'/') ? folder : folder + u'/', name);
    if (QFileInfo::exists(exact))
        return exact;
    const QDir dir(folder);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return exact;
}

QString resolvePathIgnoringCase(const QString &path)
{
    const QString p = joinPath(path, QString());
    const int slash = p.lastIndexOf(u'/');
    if (slash < 0)
        return findFileIgnoringCase(QStringLiteral("."), p).mid(2);
    return findFileIgnoringCase(p.left(slash + 1), p.mid(slash + 1));
}

bool fileExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

FileResult writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    FileResult result;
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = QStringLiteral("Could not write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return result;
    }
    // Flushed and checked before the commit: a commit whose own flush fails
    // (a full disk) still renames, and the file would be replaced by a part.
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        result.error = QStringLiteral("Could not write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        file.cancelWriting();
        return result;
    }
    result.ok = true;
    return result;
}

bool isBareName(const QString &name)
{
    if (name.isEmpty() || name == QStringLiteral(".") || name.contains(QStringLiteral("..")))
        return false;
    for (QChar c : name) {
        if (c == u'/' || c == u'\\' || c == u':' || c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

FileRead readFile(const QString &path, qint64 maxSize)
{
    const QString shown = QDir::toNativeSeparators(path);
    FileRead result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.error = QStringLiteral("Could not read %1: the file does not exist").arg(shown);
        return result;
    }
    // A pipe or a device would be read until its writer stops, perhaps never.
    if (!info.isFile()) {
        result.error = QStringLiteral("Could not read %1: it is not a regular file").arg(shown);
        return result;
    }
    if (info.size() > maxSize) {
        result.error = QStringLiteral("Could not read %1: it is larger than %2 bytes").arg(shown).arg(maxSize);
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("Could not read %1: %2").arg(shown, file.errorString());
        return result;
    }
    // Read in pieces up to one byte past the limit, so that a file that grew
    // since the check is caught; the buffer grows with what is read, never to
    // the limit at once.
    QByteArray bytes;
    bytes.reserve(info.size() + 1);
    while (bytes.size() <= maxSize) {
        const QByteArray piece = file.read(std::min<qint64>(maxSize + 1 - bytes.size(), qint64(4) << 20));
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (file.error() != QFileDevice::NoError) {
        result.error = QStringLiteral("Could not read %1: %2").arg(shown, file.errorString());
        return result;
    }
    if (bytes.size() > maxSize) {
        result.error = QStringLiteral("Could not read %1: it is larger than %2 bytes").arg(shown).arg(maxSize);
        return result;
    }
    result.ok = true;
    result.bytes = std::move(bytes);
    return result;
}
