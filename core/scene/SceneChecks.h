#pragma once
// What the scene writer refuses before it writes anything: names and values
// that would leave the scene's folders or break the scene file's readers.

#include "core/base/Result.h"
#include "core/scene/SceneFileText.h"
#include "core/scene/SceneState.h"

#include <QString>

// Refused, with the message for the name box, when the name cannot be used.
// The empty name has its own message in the writer.
Result<> checkSceneName(const QString &name);

// Refused, with a message naming the field, at the first entry whose typed or
// picked value the file cannot hold (";", "=", a line break, a character
// outside the code page).
Result<> checkSceneFields(const QList<SceneEntry> &entries);

// Refused, with its message, when the save would need frames or a picture
// that were never chosen (the child animation cut along with the extra
// animation, the alternate background).
Result<> checkSourcesChosen(const SceneState &s);
