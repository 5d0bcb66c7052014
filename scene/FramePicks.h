#pragma once
// The layer dialogs' picks through the file chooser, and the message boxes
// that refuse or report them; the naming rules they apply are in
// core/scene/FrameSetFiles.h and core/scene/PickedFile.h.

#include "core/scene/FrameSetFiles.h"
#include "core/scene/PickedFile.h"

#include <QString>
#include <QStringList>

#include <optional>

class CommonDialog;

// The dialogs' pick: WorkFolder from BaseFolder, then the chooser with the
// filter, opening where it was last used in the run, else in `subfolder` of
// WorkFolder when one is given, else in the pictures folder. Nothing when the
// user cancelled.
std::optional<PickedFile> choosePickedFile(CommonDialog &cdl, const QString &filter,
                                           const QString &subfolder = QString());

// One message per missing frame for the first few; the rest in one message
// that says how many more are missing.
void reportMissingFrames(const QStringList &missing);

// The steps of a LOAD button: the Frames box's text as a 16-bit count
// (refused below `minimumCount`), the chooser, the numbering of the pick and
// its last frame, and the test of every frame. Shows the count and numbering
// messages and returns nothing on them, or when nothing was chosen; in that
// case nothing but WorkFolder has changed. Missing frames are returned, not
// yet reported.
std::optional<FrameSetPick> pickFrameSet(CommonDialog &cdl, const QString &countText,
                                         std::optional<int> minimumCount);
