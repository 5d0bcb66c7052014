#pragma once
// Writes a layer's frames as JPEG pictures: the pictures a crop designer
// already cut are only saved; numbered source frames are loaded one by one,
// cut with the designer's rectangle and saved. Each stops at its first
// failure, keeping the pictures written before it.
//
// The pictures go into the save's unit of files when one is given (they are
// put in place when the save commits it); without one, the export commits its
// own unit at its end, also after a failure.

#include "core/scene/CropRectToPixels.h"
#include "core/scene/SceneFrameFiles.h"

#include <QList>
#include "core/base/Result.h"

#include <QString>
#include <QStringList>

#include <optional>

class FileTransaction;
class ImageWorkspace;

// Saves workspace N as targets[N - 1]. A failure's reason names the file.
Result<> saveHeldFrames(const QList<ImageWorkspace *> &workspaces, const QStringList &targets,
                        FileTransaction *unit = nullptr);

// Loads every frame of the plan into the workspace, cuts it with `crop` when
// one is given, and saves it; the workspace then holds the last frame. Only
// the part of a source that the crop keeps is decoded where its format allows.
// A failure's reason names the file.
Result<> exportFramePlan(ImageWorkspace &workspace, const FramePlan &plan, const std::optional<PixelCrop> &crop,
                         FileTransaction *unit = nullptr);
