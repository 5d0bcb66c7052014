#pragma once
// The picture lists of the preview's counted frame sets (core/preview/CountedFrames.h).

#include "core/preview/PreviewFrames.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

class ImageList;
class PreviewBox;
class PreviewLoad;

// Loads the frames `names` (01..count, as countedFrameNames gives them) into
// `list`, which the caller has emptied: frame 01 as entry 1 under `key`, frame
// n as entry n + 1 for n = 1..count. With a box,
// the box is placed from frame 01 and shows it. Nothing is added when frame 01
// cannot be loaded, and the frames come back not loaded.
LayerFrames loadCountedList(PreviewLoad &load, const QStringList &names, int count, ImageList &list,
                            const QString &key, PreviewBox *box, std::optional<QSize> sizeFrom = std::nullopt);
