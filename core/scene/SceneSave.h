#pragma once
// The scene save: from the scene document and the base folder, Scenes/<name>.scn,
// every layer's frames as JPEG pictures in Images, the background and
// alternate pictures, and the name added to the user's scene list.
//
// Everything that can be known to fail (the name, the values, sources never
// chosen, links, another scene's pictures, the folders) is refused before
// anything is written. Then every file of the save is one unit: written
// beside its target and put in place together; a step that fails ends the
// save, and what was written before it is still put in place. The
// full-background group is the one step that fails on its own: the save
// goes on without its pictures.

#include "core/base/Result.h"

#include <QString>

class SceneDocument;

struct SceneSaved {
    bool fullAnimFailed = false; // the full-background frames could not all be written
};

struct SceneSaveFailure {
    enum Stage {
        Refused, // nothing was written
        Stopped, // a step failed after the save began to write
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
