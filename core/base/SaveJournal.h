#pragma once
// The journal of a unit of files (core/base/FileTransaction.h). While a unit
// puts its files in place it keeps, beside them, a record of which staged file
// goes over each target and which kept-aside file holds the target's old
// bytes, or that the target is new; after a crash, the next start reads it to
// put every target back as it was.
//
// The files of a unit, in each folder it writes in:
//   .~save-<process>-<unit>-<n>.new    new bytes staged for a target
//   .~save-<process>-<unit>-<n>.old    a target's old bytes, kept aside
//   .~save-<process>-<unit>.journal    the journal, while the files go in place
//   .~save-<process>-<unit>.done       the journal once every file is in place
//
// A journal is text of one line each, its fields separated by one space and
// percent-encoded:
//   scenara-save-journal 1
//   old <target's path> <staged file's name> <kept file's name>
//   new <target's path> <staged file's name>
//   end
// The staged and kept files lie in their target's folder.
//
// A journal is read from the disk, so its reader trusts nothing in it: it is
// read to a size cap, every target it names must lie directly in one of the
// folders the reader is given, under a name that is no unit's file, and every
// staged and kept file must carry the name of the journal's own unit.

#include "core/base/Result.h"

#include <QByteArray>
#include <QLatin1String>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The beginning of the name of every file of a unit.
inline const QLatin1String UnitFilePrefix(".~save-");

// A file of a unit, by its name.
struct UnitFile {
    enum Kind { Staged, Kept, Journal, Done };
    Kind kind = Staged;
    qint64 process = 0;
    quint64 unit = 0;
    quint64 number = 0; // of a staged or kept file; 0 for the journal

    QString name() const;
    // The beginning of the names of the unit's staged and kept files.
    static QString filesPrefix(qint64 process, quint64 unit);
};

// The unit file that `name` names; nothing for any other name, an earlier
// form of the names among them.
std::optional<UnitFile> parseUnitFileName(const QString &name);

struct JournalEntry {
    QByteArray target; // the target's path, as the system calls take it
    QByteArray staged; // the name of the file going over it, in its folder
    QByteArray kept;   // the name of the file holding its old bytes there; empty for a new target

    bool operator==(const JournalEntry &) const = default;
};

struct JournalRead {
    QList<JournalEntry> entries;
    // False when the journal ends before its last line: it was being written
    // when its unit stopped, before any file went in place.
    bool whole = false;
};

// A journal is never read past this size, nor written larger.
inline constexpr qint64 JournalMaxSize = 16 * 1024 * 1024;

// The journal of the entries, in order.
QByteArray journalBytes(const QList<JournalEntry> &entries);

// Reads the journal of the unit `unit` of process `process`, whose targets
// must lie in `folders` (absolute paths). Refused with the reason, a phrase
// such as "it names a file outside ...", for anything its writer does not
// write, for a target elsewhere, and for a staged or kept file of another unit.
[[nodiscard]] Result<JournalRead> readJournal(const QByteArray &bytes, qint64 process, quint64 unit,
                                              const QStringList &folders);
