#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzTargets.h"

#include "core/base/SaveJournal.h"

#include <QFile>
#include <QStringList>

namespace {

constexpr qint64 kProcess = 4242;
constexpr quint64 kUnit = 7;

// A file of the unit whose journal is read, of the kind wanted.
bool isOwnFile(const QByteArray &name, UnitFile::Kind kind)
{
    const std::optional<UnitFile> file = parseUnitFileName(QString::fromLatin1(name));
    return file && file->kind == kind && file->process == kProcess && file->unit == kUnit &&
           file->name() == QString::fromLatin1(name);
}

} // namespace

void fuzzSaveJournal(const uint8_t *data, size_t size)
{
    // A journal's bytes, and after the first zero byte a file name.
    const QList<QByteArray> fields = fuzzFields(data, size);
    const QStringList folders{QStringLiteral("/base/Scenes"), QStringLiteral("/base/Images")};

    // A name is a unit's only as the unit writes it.
    const QString name = QString::fromUtf8(fields.value(1));
    if (const std::optional<UnitFile> file = parseUnitFileName(name))
        FUZZ_CHECK(file->name() == name && file->process > 0);

    const Result<JournalRead> read = readJournal(fields.value(0), kProcess, kUnit, folders);
    if (!read) {
        FUZZ_CHECK(!read.error.isEmpty());
        return;
    }
    // Every file a journal that is read names lies in one of the folders: a
    // target under a name of its own, the staged and kept files under the unit's.
    for (const JournalEntry &entry : read.value.entries) {
        const qsizetype slash = entry.target.lastIndexOf('/');
        FUZZ_CHECK(slash > 0);
        FUZZ_CHECK(folders.contains(QFile::decodeName(entry.target.left(slash))));
        const QByteArray target = entry.target.mid(slash + 1);
        FUZZ_CHECK(!target.isEmpty() && target != "." && target != ".." && !target.contains('\0'));
        FUZZ_CHECK(!target.startsWith(QByteArray(UnitFilePrefix.data(), UnitFilePrefix.size())));
        FUZZ_CHECK(isOwnFile(entry.staged, UnitFile::Staged));
        FUZZ_CHECK(entry.kept.isEmpty() || isOwnFile(entry.kept, UnitFile::Kept));
    }

    // What the writer writes of it reads back the same, whole; cut anywhere
    // before its end, it reads as the part of a journal being written.
    const QByteArray written = journalBytes(read.value.entries);
    const Result<JournalRead> again = readJournal(written, kProcess, kUnit, folders);
    FUZZ_CHECK(again && again.value.whole && again.value.entries == read.value.entries);
    for (const qsizetype cut : {qsizetype(0), written.size() / 2, written.size() - 1}) {
        const Result<JournalRead> part = readJournal(written.left(cut), kProcess, kUnit, folders);
        FUZZ_CHECK(part && !part.value.whole && part.value.entries.size() <= read.value.entries.size());
        for (qsizetype i = 0; part && i < part.value.entries.size(); ++i)
            FUZZ_CHECK(part.value.entries[i] == read.value.entries[i]);
    }
}
