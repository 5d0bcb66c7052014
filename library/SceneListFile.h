#pragma once
// The user's own scene list, Data/myscenes.dat under the base folder: one scene
// name per entry, each entry the name followed by LF, CR, CR, LF, in
// Windows-1252. The scene writer and the library window share these rules.

#include <QByteArray>
#include <QString>
#include <QStringList>

QString sceneListPath(const QString &baseFolder);

// The names the library window lists: pieces between successive CR LF pairs of
// CR LF + contents (the first piece less its last two characters), every CR and
// LF removed, pieces of two or more characters kept, up to the first empty piece.
QStringList readSceneList(const QByteArray &contents);

// True when an entry equal to `name`, letter case ignored, is already listed:
// a line of the file, or a name that readSceneList gives.
bool sceneListContains(const QByteArray &contents, const QString &name);

// The contents with `name` added as a new entry (old contents, name, LF, CR, CR, LF).
// Contents whose last name has no line end get LF, CR, CR, LF before it.
QByteArray appendSceneListEntry(const QByteArray &contents, const QString &name);

// Adds `name` to the list file unless it is already listed; rewrites the file
// through a temporary file. Returns false with `error` set when the file cannot
// be read or written; `added` tells whether an entry was written.
bool addSceneToList(const QString &listPath, const QString &name, bool *added = nullptr, QString *error = nullptr);
