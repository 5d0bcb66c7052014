#pragma once
// What the scene writer refuses before it writes anything: names and values
// that would leave the scene's folders or break the scene file's readers.

#include "core/scene/SceneFileText.h"
#include "core/scene/SceneState.h"

#include <QString>

// The message for the name box when the name cannot be used, else "". The
// empty name has its own message in the writer.
QString sceneNameProblem(const QString &name);

// The message for the first entry whose typed or picked value the file cannot
// hold (";", "=", a line break, a character outside the code page), naming the
// field; else "".
QString sceneFieldProblem(const QList<SceneEntry> &entries);

// The message when the save would need frames or a picture that were never
// chosen (the child animation cut along with the extra animation, the
// alternate background), else "".
QString missingSourceProblem(const SceneState &s);
