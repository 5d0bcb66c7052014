#pragma once
// The file that a dialog's chooser returned, split the way the dialogs use it,
// and the checks on where it lies.

#include <QString>

#include <optional>

struct PickedFile {
    QString path;      // as chosen
    int nameStart = 1; // position of the file name's first character in path, from 1
    QString name;      // the file name
    QString folder;    // path less the name: ends in "/" (empty for a bare name)
};

PickedFile splitPickedPath(const QString &path);

struct SceneState;

// Records the pick in the shared scratch values PickedPath, PickedNameStart and PickedName.
void notePickedFile(SceneState &s, const PickedFile &pick);
// The same in the scene document, which says `changed`.
void notePickedFile(const PickedFile &pick);

// Sets the document's WorkFolder to BaseFolder with a trailing separator and returns it.
QString setWorkFolderFromBase();
