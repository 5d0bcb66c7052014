#pragma once
// The frame files the designers show and cut, and the steps of the "<" and
// ">" buttons over a frame set. Frames of the primary series are named by
// PrimaryFramePath (core/scene/PrimaryFrameSeries.h).

#include "core/scene/PrimaryFrameSeries.h"

#include <QImage>
#include <QString>

#include <optional>

struct AnimFrameSet;

// Frame n of a frame set: its folder, base name, n as the set names it ("00"
// to "09", then 10, 11, ...) and extension.
QString SetFramePath(const AnimFrameSet &set, int n);

// The frame "<" brings up from `current` in a set starting at `first`, or
// nothing when it stays.
std::optional<int> StepBackFrame(int current, int first);
// The frame ">" brings up from `current` in a set ending at `last`, or nothing
// when it stays. `bound`, when given, is the highest frame of 10 and more that
// may be shown (the extra designer's first frame plus its count).
std::optional<int> StepForwardFrame(int current, int last, std::optional<int> bound);
