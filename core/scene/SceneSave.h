#pragma once
// The scene save: from the scene document and the base folder, Scenes/<name>.scn,
// every layer's frames as JPEG pictures in Images, the background and
// alternate pictures, and the name added to the user's scene list.
//
// What can be known to fail without reading a picture (the name, the values,
// sources never chosen, links, another scene's pictures, the list file, the
// folders) is refused before anything is written. Then every file of the save
// is one unit: written beside its target and put in place together, every
// picture first, then the scene file, the list entry last. A step that fails
// (a source picture missing, unreadable or too small for its cut among them)
// ends the save and nothing of it is put in place; a failure while the files
// are put in place puts back what was replaced and removes what is new, and
// the folders the save made go too. The source pictures are read once, by the
// export: a check of them all beforehand would cost every save a second read
// to spare a failing one the pictures written before its failure, which the
// unit removes anyway. The full-background group is the one step that fails
// on its own: the save goes on without its pictures.

#include "core/base/FileTransaction.h"
#include "core/base/Result.h"

#include <QString>

class SceneDocument;

struct SceneSaved {
    bool fullAnimFailed = false; // the full-background frames could not all be written
};

struct SceneSaveFailure {
    enum Stage {
        Refused,  // nothing was written; the reason says why, and that the scene was not saved
        NotSaved, // a picture or a file failed; the base folder is as it was before the save
        Stopped,  // a failure that could not all be undone: files of the save stay, the reason names them
    };
    Stage stage = Refused;
    QString reason; // a sentence naming the value or the file
    bool fullAnimFailed = false;
};

// Saves the scene as `name` under `baseFolder`. The scene text goes into the
// state's SceneText; the extra and trigger sets' CurrentFrame are set to 0.
// The empty name is refused without a reason: the window says it.
[[nodiscard]] Result<SceneSaved, SceneSaveFailure> saveScene(SceneDocument &document, const QString &name,
                                                             const QString &baseFolder);

// The name of the scene that a save as `name` under `baseFolder` would
// replace: the scene file Scenes/<name>.scn, found as the file lookups find
// it, in any letter case, and given as it is spelled on disk. Empty when
// there is none, or when the name is one the save refuses.
QString existingSceneName(const QString &baseFolder, const QString &name);

// Makes whole every save under `baseFolder` that was cut off while its files
// went in place (FileTransaction::recover over Scenes, Images and Data): the
// scene it was replacing comes back whole. The start calls it, and so does
// every save before it looks at the disk; a save is refused while it fails.
[[nodiscard]] Result<FileTransaction::Recovery> recoverSaves(const QString &baseFolder);
