#pragma once
// The user's own scene list, Data/myscenes.dat under the base folder: one scene
// name per entry, each entry the name followed by LF, CR, CR, LF, in
// Windows-1252. The scene writer and the library window share these rules.

#include "core/base/Files.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

QString sceneListPath(const QString &baseFolder);

// The largest list file read: some 18,000 names of the longest length a scene
// name may have. A larger file is no list this program wrote.
inline constexpr qint64 MaxSceneListSize = 4 * 1024 * 1024;

// The names the library window lists: the pieces between runs of CR and LF,
// every one that is not empty, in file order. Entries written with other line
// ends, and those after an empty entry, are read whole.
QStringList readSceneList(const QByteArray &contents);

// The scenes in the Scenes folder: every file whose name ends in ".scn" in any
// letter case, without that ending, sorted ignoring case. Folders, pipes and
// devices, and names that are no bare file names, are left out.
QStringList sceneFileNames(const QString &scenesFolder);

// True when an entry equal to `name`, letter case ignored, is already listed.
bool sceneListContains(const QByteArray &contents, const QString &name);

// The contents with `name` added as a new entry (old contents, name, LF, CR, CR, LF).
// Contents whose last name has no line end get LF, CR, CR, LF before it.
QByteArray appendSceneListEntry(const QByteArray &contents, const QString &name);

// The list file's contents with `name` added, or nothing when it is already
// listed; a missing file is an empty list. Fails with the reason when the file
// cannot be read.
[[nodiscard]] Result<std::optional<QByteArray>> sceneListWithName(const QString &listPath, const QString &name);

// Adds `name` to the list file unless it is already listed; rewrites the file
// through a temporary file. Fails with the reason when the file cannot be read
// or written; `added` tells whether an entry was written.
[[nodiscard]] FileResult addSceneToList(const QString &listPath, const QString &name, bool *added = nullptr);
