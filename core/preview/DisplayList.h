#pragma once
// Building a layer's display list at load: each entry is one frame of the
// layer's source list drawn over the source's keyed frame 01, so that every
// animation step and every viseme is a single lookup.

#include <span>

class ImageList;
class QString;

// Appends one composite to `display` for each frame number of `frames`, in
// order: source.Overlay(key, frame), the first appended under `firstKey` (an
// empty key for none). Composites of the same frame share one picture.
// Returns how many were appended; it stops at the first that cannot be (the
// source lacks its key or that frame).
int appendComposites(const ImageList &source, const QString &key, std::span<const int> frames, ImageList &display,
                     const QString &firstKey);

// How many pictures appendComposites makes of `frames`: one a frame number,
// however often it comes.
int compositeCount(std::span<const int> frames);
