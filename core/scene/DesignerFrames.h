#pragma once
// The frame files the designers show and cut, and the steps of the "<" and
// ">" buttons over a frame set. Frames of the primary series are named by
// PrimaryFramePath (core/scene/PrimaryFrameSeries.h).

#include "core/scene/PrimaryFrameSeries.h"

#include <QImage>
#include <QString>

#include <optional>

struct AnimFrameSet;
struct PixelCrop;
class ImageWorkspace;

// Frame n of a frame set: its folder, base name, n as the set names it ("00"
// to "09", then 10, 11, ...) and extension.
QString SetFramePath(const AnimFrameSet &set, int n);

// Loads a frame to show. When it cannot be read the user is told which file,
// and the picture is null.
QImage LoadPictureOrSay(const QString &path);
// Loads a frame into a workspace; false, after telling the user which file
// cannot be read, when it fails.
bool LoadFrameOrSay(ImageWorkspace &workspace, const QString &path);
// Cuts the workspace's frame; false, after asking the user to move or size
// the rectangle, when it has no area or does not lie over the frame.
bool CropFrameOrSay(ImageWorkspace &workspace, const PixelCrop &crop);

// The frame "<" brings up from `current` in a set starting at `first`, or
// nothing when it stays.
std::optional<int> StepBackFrame(int current, int first);
// The frame ">" brings up from `current` in a set ending at `last`, or nothing
// when it stays. `bound`, when given, is the highest frame of 10 and more that
// may be shown (the extra designer's first frame plus its count).
std::optional<int> StepForwardFrame(int current, int last, std::optional<int> bound);
