#pragma once
// Paths and whole-file access.

#include "core/base/Result.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

// What a file operation that can fail gives back: ok, or a sentence that names
// the file and gives the system's reason.
using FileResult = Result<>;

// A whole-file read: the bytes, or the reason it failed.
using FileRead = Result<QByteArray>;

// Joins a folder and a fixed fragment. Backslashes become "/", and a doubled
// separator where the two meet (or inside the fragment) counts as one.
QString joinPath(const QString &folder, const QString &fragment);

// Windows file names ignore letter case. Returns the path of `name` in
// `folder`: the exact name when it exists, else the first entry whose name
// matches ignoring case, else the exact path (which does not exist).
QString findFileIgnoringCase(const QString &folder, const QString &name);

// The same lookups in one folder, many times over: the folder is listed once,
// at the first name that is not there exactly, into a map from each entry's
// name in folded case to the entry, so that a scene naming a thousand absent
// frames costs one listing, not a thousand.
class FolderNames {
public:
    explicit FolderNames(QString folder);
    // As findFileIgnoringCase(folder, name).
    QString find(const QString &name);

    // For tests: runs every time a folder is listed for a lookup ignoring case.
    static void setListedHook(void (*hook)(const QString &folder));

private:
    QString m_folder;
    bool m_listed = false;
    QHash<QString, QString> m_byFolded; // folded name -> entry, the first in the listing's order
};
// Same for a full path: looks up its file name in its folder.
QString resolvePathIgnoringCase(const QString &path);

// A name that stays inside the folder it is joined to: not empty, no "/",
// "\", ":" or control characters, not "." or "..", no ".." anywhere in it.
// Names read from scene files, lists and packages must pass it.
bool isBareName(const QString &name);

// True when the file lies in `folder` itself: compared as folders, so neither
// a folder below it nor one whose name merely contains its name counts.
bool liesDirectlyIn(const QString &path, const QString &folder);

// True when the path names an existing file that is not a folder.
bool fileExists(const QString &path);

// Replaces a file whole: writes a temporary file beside it and renames it over
// the old one, so a failure never leaves it truncated.
[[nodiscard]] FileResult writeFileAtomically(const QString &path, const QByteArray &bytes);

// Copies a regular file over `target` whole or not at all: the bytes stream
// into a temporary file in the target's folder, which is renamed over the
// target once complete (an existing target keeps its permissions). A target
// that is a link, a folder or anything but a regular file is refused, never
// written through, and so is a source that is no regular file. A failure leaves
// the old target whole and no temporary file; its sentence names both files.
[[nodiscard]] FileResult copyFileAtomically(const QString &source, const QString &target);

// Reads a whole regular file of at most `maxSize` bytes. A folder, a pipe or a
// device, a larger file, a failed open or a short read fail with the reason.
// The checks are made on the open file, and no more is read than the size
// they passed, so a file swapped or grown in between changes nothing.
[[nodiscard]] FileRead readFile(const QString &path, qint64 maxSize);

// Which file a path or a descriptor leads to (its device and inode), and the
// version of it the system gives (its size and modification time).
struct FileStamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0; // since the epoch
    bool sameFile(const FileStamp &other) const { return device == other.device && inode == other.inode; }
    bool operator==(const FileStamp &) const = default;
};
// The stamp of an open file, or of what a path names now (through a link);
// nothing when the system gives none (a path that names nothing).
std::optional<FileStamp> fileStamp(int descriptor);
std::optional<FileStamp> fileStamp(const QString &path);

// A file opened for reading and checked as it is open: a regular file, and
// its size and stamp at the check. The descriptor closes with this object.
class OpenedFile {
public:
    enum class Problem { None, Missing, Folder, NotRegular, System };
    explicit OpenedFile(const QString &path);
    ~OpenedFile();
    OpenedFile(const OpenedFile &) = delete;
    OpenedFile &operator=(const OpenedFile &) = delete;

    bool ok() const { return m_problem == Problem::None; }
    Problem problem() const { return m_problem; }
    // The reason it failed, for a sentence: "the file does not exist", "it is
    // a folder", "it is not a regular file" or the system's own text.
    const QString &reason() const { return m_reason; }
    int descriptor() const { return m_fd; }
    qint64 size() const { return m_size; }
    const FileStamp &stamp() const { return m_stamp; }

    // For tests: runs on every file that passed its check, before it is read,
    // where another program could change it.
    static void setCheckedHook(void (*hook)(const QString &path));

private:
    int m_fd = -1;
    qint64 m_size = 0;
    FileStamp m_stamp;
    Problem m_problem = Problem::None;
    QString m_reason;
};

// Whether an opened file may be read whole: it passed its check and holds at
// most `maxSize` bytes. The sentence names the file, as readFile's does.
[[nodiscard]] FileResult checkFileToRead(const OpenedFile &file, qint64 maxSize, const QString &path);

// Reads `count` bytes of an open file from `offset` (its first bytes by
// default), and nothing past them; fails when the file ends before that (it
// was cut since its check).
[[nodiscard]] FileRead readOpenedFile(const OpenedFile &file, qint64 count, const QString &path, qint64 offset = 0);

