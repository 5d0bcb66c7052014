#pragma once
// Writes a layer's frames as JPEG pictures: the pictures a crop designer
// already cut are only saved; numbered source frames are loaded one by one,
// cut with the designer's rectangle and saved. Each stops at its first
// failure, keeping the pictures written before it.
//
// The pictures go into the save's unit of files when one is given (they are
// put in place when the save commits it); without one, the export commits its
// own unit at its end, also after a failure.

#include "core/base/Result.h"
#include "core/scene/CropRectToPixels.h"
#include "core/scene/SceneFrameFiles.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class FileTransaction;
class ImageWorkspace;

// A reader that gives a picture file cut to an area without decoding what the
// cut throws away (adapters/jpeg/PictureCut.h). It gives exactly the pixels
// that LoadPicture and a crop give, and leaves every file it does not read so
// to them. The programs install libjpeg's at their start; without one every
// frame is loaded whole and cut.
class CutPictureReader {
public:
    virtual ~CutPictureReader() = default;
    // The picture of `path` cut to `crop` (whole without one), valid until the
    // next read; null for a file left to LoadPicture.
    virtual const QImage *read(const QString &path, const std::optional<PixelCrop> &crop) = 0;
};
using CutPictureReaderMaker = std::unique_ptr<CutPictureReader> (*)();
void setCutPictureReaderMaker(CutPictureReaderMaker maker);

// Saves workspace N as targets[N - 1]. A failure's reason names the file.
Result<> saveHeldFrames(const QList<ImageWorkspace *> &workspaces, const QStringList &targets,
                        FileTransaction *unit = nullptr);

// Loads every frame of the plan into the workspace, cuts it with `crop` when
// one is given, and saves it; the workspace then holds the last frame. Only
// the part of a source that the crop keeps is decoded where its format allows.
// A failure's reason names the file.
Result<> exportFramePlan(ImageWorkspace &workspace, const FramePlan &plan, const std::optional<PixelCrop> &crop,
                         FileTransaction *unit = nullptr);
