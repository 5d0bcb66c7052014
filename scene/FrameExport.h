#pragma once
// Writes a layer's frames as JPEG pictures: the pictures a crop designer
// already cut are only saved; numbered source frames are loaded one by one,
// cut with the designer's rectangle and saved. Each stops at its first
// failure, keeping the pictures written before it.

#include "designers/CropRectToPixels.h"
#include "scene/SceneFrameFiles.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class ImageWorkspace;

// Saves workspace N as targets[N - 1]. On failure `error` names the file.
bool saveHeldFrames(const QList<ImageWorkspace *> &workspaces, const QStringList &targets, QString *error);

// Loads every frame of the plan into the workspace, cuts it with `crop` when
// one is given, and saves it. On failure `error` names the file.
bool exportFramePlan(ImageWorkspace &workspace, const FramePlan &plan, const std::optional<PixelCrop> &crop,
                     QString *error);
