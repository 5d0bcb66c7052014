#include "core/scene/DesignerFrames.h"

#include "core/base/Files.h"
#include "core/scene/FrameSetFiles.h"
#include "core/scene/SceneState.h"

QString SetFramePath(const AnimFrameSet &set, int n)
{
    const QString name = frameFileName(set.FrameBaseName.toText(), n, set.FrameExt.toText());
    return resolvePathIgnoringCase(joinPath(set.FrameFolder.toText(), name));
}

std::optional<int> StepBackFrame(int current, int first)
{
    if (current <= first || current - 1 < 0)
        return std::nullopt;
    return current - 1;
}

std::optional<int> StepForwardFrame(int current, int last, std::optional<int> bound)
{
    if (current >= last)
        return std::nullopt;
    const int next = current + 1;
    if (next >= 10 && bound && next > *bound)
        return std::nullopt;
    return next;
}
