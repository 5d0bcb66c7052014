#include "core/base/SaveJournal.h"

#include <QDir>
#include <QFile>

namespace {

const QByteArray kHeader("scenara-save-journal 1");
const QByteArray kEnd("end");

QLatin1String suffixOf(UnitFile::Kind kind)
{
    switch (kind) {
    case UnitFile::Staged:
        return QLatin1String(".new");
    case UnitFile::Kept:
        return QLatin1String(".old");
    case UnitFile::Journal:
        return QLatin1String(".journal");
    case UnitFile::Done:
        return QLatin1String(".done");
    }
    return QLatin1String();
}

QByteArray encoded(const QByteArray &field)
{
    return field.toPercentEncoding("/");
}

// A name of the unit, of the kind wanted.
bool isUnitsFile(const QByteArray &name, UnitFile::Kind kind, qint64 process, quint64 unit)
{
    const std::optional<UnitFile> file = parseUnitFileName(QString::fromLatin1(name));
    return file && file->kind == kind && file->process == process && file->unit == unit;
}

} // namespace

QString UnitFile::name() const
{
    QString name = UnitFilePrefix + QString::number(process) + u'-' + QString::number(unit);
    if (kind == Staged || kind == Kept)
        name += u'-' + QString::number(number);
    return name + suffixOf(kind);
}

QString UnitFile::filesPrefix(qint64 process, quint64 unit)
{
    return UnitFilePrefix + QString::number(process) + u'-' + QString::number(unit) + u'-';
}

std::optional<UnitFile> parseUnitFileName(const QString &name)
{
    if (!name.startsWith(UnitFilePrefix))
        return std::nullopt;
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= UnitFilePrefix.size())
        return std::nullopt;
    UnitFile file;
    const QStringView suffix = QStringView(name).mid(dot);
    bool known = false;
    for (UnitFile::Kind kind : {UnitFile::Staged, UnitFile::Kept, UnitFile::Journal, UnitFile::Done}) {
        if (suffix == suffixOf(kind)) {
            file.kind = kind;
            known = true;
        }
    }
    const QStringList numbers = name.mid(UnitFilePrefix.size(), dot - UnitFilePrefix.size()).split(u'-');
    const bool numbered = file.kind == UnitFile::Staged || file.kind == UnitFile::Kept;
    if (!known || numbers.size() != (numbered ? 3 : 2))
        return std::nullopt;
    bool processOk = false, unitOk = false, numberOk = !numbered;
    file.process = numbers[0].toLongLong(&processOk);
    file.unit = numbers[1].toULongLong(&unitOk);
    if (numbered)
        file.number = numbers[2].toULongLong(&numberOk);
    // Only the names a unit gives: no sign, no leading zero, nothing around the numbers.
    if (!processOk || !unitOk || !numberOk || file.process <= 0 || file.name() != name)
        return std::nullopt;
    return file;
}

QByteArray journalBytes(const QList<JournalEntry> &entries)
{
    QByteArray bytes = kHeader + '\n';
    for (const JournalEntry &entry : entries) {
        if (entry.kept.isEmpty())
            bytes += "new " + encoded(entry.target) + ' ' + encoded(entry.staged) + '\n';
        else
            bytes += "old " + encoded(entry.target) + ' ' + encoded(entry.staged) + ' ' + encoded(entry.kept) + '\n';
    }
    return bytes + kEnd + '\n';
}

Result<JournalRead> readJournal(const QByteArray &bytes, qint64 process, quint64 unit, const QStringList &folders)
{
    using Read = Result<JournalRead>;
    if (bytes.size() > JournalMaxSize)
        return Read::failure(QStringLiteral("it is larger than %1 bytes").arg(JournalMaxSize));
    QList<QByteArray> allowed;
    for (const QString &folder : folders)
        allowed << QFile::encodeName(QDir::cleanPath(folder));

    JournalRead journal;
    // Only whole lines count; what follows the last line end was being written when the unit stopped.
    const qsizetype lastEnd = bytes.lastIndexOf('\n');
    const QList<QByteArray> lines = lastEnd < 0 ? QList<QByteArray>() : bytes.left(lastEnd).split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        const QString lineNumber = QString::number(i + 1);
        if (journal.whole)
            return Read::failure(QStringLiteral("line %1 follows its last line").arg(lineNumber));
        if (i == 0) {
            if (line != kHeader)
                return Read::failure(QStringLiteral("it is not a journal of saved files"));
            continue;
        }
        if (line == kEnd) {
            journal.whole = true;
            continue;
        }
        const QList<QByteArray> fields = line.split(' ');
        const QByteArray &kind = fields.first();
        if (!((kind == "old" && fields.size() == 4) || (kind == "new" && fields.size() == 3)))
            return Read::failure(QStringLiteral("line %1 is not one of a journal").arg(lineNumber));
        JournalEntry entry{QByteArray::fromPercentEncoding(fields[1]), QByteArray::fromPercentEncoding(fields[2]),
                           kind == "old" ? QByteArray::fromPercentEncoding(fields[3]) : QByteArray()};
        const qsizetype slash = entry.target.lastIndexOf('/');
        const QByteArray folder = entry.target.left(slash), name = entry.target.mid(slash + 1);
        const bool bareName = !name.isEmpty() && name != "." && name != ".." && !name.contains('\0');
        if (slash < 0 || !allowed.contains(folder) || !bareName)
            return Read::failure(QStringLiteral("line %1 names a file outside the folders %2")
                                     .arg(lineNumber, folders.join(QStringLiteral(", "))));
        if (name.startsWith(QByteArray(UnitFilePrefix.data(), UnitFilePrefix.size())))
            return Read::failure(QStringLiteral("line %1 names a file of a save as its target").arg(lineNumber));
        if (!isUnitsFile(entry.staged, UnitFile::Staged, process, unit) ||
            (!entry.kept.isEmpty() && !isUnitsFile(entry.kept, UnitFile::Kept, process, unit)))
            return Read::failure(QStringLiteral("line %1 names a file of another save").arg(lineNumber));
        journal.entries << entry;
    }
    return Read::success(journal);
}
