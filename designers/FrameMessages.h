#pragma once
// The designers' frame loads and cuts that tell the user what went wrong: the
// file that cannot be read, or the rectangle that cuts nothing.

#include <QImage>
#include <QString>

struct PixelCrop;
class ImageWorkspace;

// Loads a frame to show. When it cannot be read the user is told which file,
// and the picture is null.
QImage LoadPictureOrSay(const QString &path);
// Loads a frame into a workspace; false, after telling the user which file
// cannot be read, when it fails.
bool LoadFrameOrSay(ImageWorkspace &workspace, const QString &path);
// Cuts the workspace's frame; false, after asking the user to move or size
// the rectangle, when it has no area or does not lie over the frame.
bool CropFrameOrSay(ImageWorkspace &workspace, const PixelCrop &crop);
