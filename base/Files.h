#pragma once
// Paths and whole-file access.

#include <QByteArray>
#include <QString>

// What a file operation that can fail gives back: ok, or a sentence that names
// the file and gives the system's reason.
struct [[nodiscard]] FileResult {
    bool ok = false;
    QString error;
    explicit operator bool() const { return ok; }
};

// A whole-file read: the bytes, or the reason it failed.
struct [[nodiscard]] FileRead {
    bool ok = false;
    QByteArray bytes;
    QString error;
    explicit operator bool() const { return ok; }
};

// Joins a folder and a fixed fragment. Backslashes become "/", and a doubled
// separator where the two meet (or inside the fragment) counts as one.
QString joinPath(const QString &folder, const QString &fragment);

// Windows file names ignore letter case. Returns the path of `name` in
// `folder`: the exact name when it exists, else the first entry whose name
// matches ignoring case, else the exact path (which does not exist).
QString findFileIgnoringCase(const QString &folder, const QString &name);
// Same for a full path: looks up its file name in its folder.
QString resolvePathIgnoringCase(const QString &path);

// A name that stays inside the folder it is joined to: not empty, no "/",
// "\", ":" or control characters, not "." or "..", no ".." anywhere in it.
// Names read from scene files, lists and packages must pass it.
bool isBareName(const QString &name);

// True when the path names an existing file that is not a folder.
bool fileExists(const QString &path);

// Replaces a file whole: writes a temporary file beside it and renames it over
// the old one, so a failure never leaves it truncated.
[[nodiscard]] FileResult writeFileAtomically(const QString &path, const QByteArray &bytes);

// Reads a whole regular file of at most `maxSize` bytes. A folder, a pipe or a
// device, a larger file, a failed open or a short read fail with the reason.
[[nodiscard]] FileRead readFile(const QString &path, qint64 maxSize);
