#pragma once
// Paths and whole-file access.

#include <QByteArray>
#include <QString>

// Joins a folder and a fixed fragment. Backslashes become "/", and a doubled
// separator where the two meet (or inside the fragment) counts as one.
QString joinPath(const QString &folder, const QString &fragment);

// Windows file names ignore letter case. Returns the path of `name` in
// `folder`: the exact name when it exists, else the first entry whose name
// matches ignoring case, else the exact path (which does not exist).
QString findFileIgnoringCase(const QString &folder, const QString &name);
// Same for a full path: looks up its file name in its folder.
QString resolvePathIgnoringCase(const QString &path);

// True when the path names an existing file that is not a folder.
bool fileExists(const QString &path);

// Replaces a file whole: writes a temporary file beside it and renames it over
// the old one, so a failure never leaves it truncated. On failure returns
// false and sets `error` to a sentence that names the file.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// Reads a whole file; returns false when it cannot be read or is no regular file.
bool readWholeFile(const QString &path, QByteArray *bytes);
