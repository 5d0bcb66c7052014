#pragma once
// The older editor's scene commands on the scene document: what a read scene
// file gives the document, and what the older layout's writer takes from it.
// The editor's own boxes, the canvas's pictures and the dialogs' name boxes
// are its window's (legacy/LegacySceneCommands.h).

#include "core/legacy/LegacySceneReader.h"
#include "core/legacy/LegacySceneWriter.h"

class SceneDocument;

// Applies a read scene file in the file's row order: the layers' names and
// places and their flags, the alternate picture, the sounds, the child and
// full-background names, and every value of the dialogs the file gives. A
// value the file does not give is left as it was. Emits `changed` once at the
// end, so that the dialogs show what was loaded.
void applyLegacyScene(SceneDocument &document, const LegacySceneRecord &record);

// Everything the older layout is written from; `twips` when the canvas
// measures in twips. The dialogs' values of a group are given only when the
// group is written, as the set-up's save takes them.
LegacySceneInput legacySceneInput(const SceneDocument &document, bool twips);
