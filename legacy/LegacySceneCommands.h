#pragma once
// The older editor's scene commands on the windows: New Scene from the
// program's template pictures, Save Scene in the older layout and Load Scene
// of either layout. Form1's buttons run them.

#include "core/base/Files.h"
#include "core/scene/SceneFileText.h"

#include <QString>
#include <QStringList>

class Form1;
class Form2;
class PictureBox;
struct LegacySceneRecord;

// The largest scene file Load Scene reads: the cap of every scene file.
inline constexpr qint64 LegacySceneFileMaxSize = SceneFileMaxSize;

void NewLegacyScene(Form1 &editor);
void SaveLegacyScene(Form1 &editor);
void LoadLegacyScene(Form1 &editor);

// Gives the scene document a read scene file (applyLegacyScene), which the
// dialogs show as they bind to it, then sets the canvas's unit and pictures
// and the editor's boxes, in the file's row order, so that each box's click
// step runs; redraws the canvas last. Creates no dialog. Returns the reasons
// of the pictures that could not be loaded, one line each.
QStringList ApplyLegacyScene(const LegacySceneRecord &record);

// The canvas's picture stores measure in the document's unit
// (SceneState::LegacyCanvasUnit); the trigger's and the brow's keep theirs.
void ShowCanvasUnit(Form2 &canvas);

// Loads the picture `name` in `folder` (ending in a separator), or the same
// name in another letter case when the exact one is absent, into the store.
// On failure the store keeps its picture and the reason names the file.
FileResult LoadLegacyPicture(PictureBox &store, const QString &folder, const QString &name);
