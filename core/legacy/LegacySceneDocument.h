#pragma once
// The older editor's scene commands on the scene document: what a read scene
// file gives the document, and what the older layout's writer takes from it.
// The editor's own boxes and the canvas's pictures are its window's
// (legacy/LegacySceneCommands.h).

#include "core/legacy/LegacySceneReader.h"
#include "core/legacy/LegacySceneWriter.h"

class SceneDocument;

// Applies a read scene file in the file's row order: the canvas's unit, the
// layers' names and places and their flags, the alternate picture, the
// sounds, the child animation's preloaded frames and the full-background
// names, and every value of the dialogs the file gives. A value the file does
// not give is left as it was. Emits `changed` once at the end, so that the
// frame counts follow the loaded Frames boxes and the dialogs show what was
// loaded.
void applyLegacyScene(SceneDocument &document, const LegacySceneRecord &record);

// Everything the older layout is written from, the canvas's unit included.
// The dialogs' values of a group are given only when the group is written,
// as the set-up's save takes them.
LegacySceneInput legacySceneInput(const SceneDocument &document);
