#include "core/scene/SceneFrameFiles.h"

#include "core/base/Files.h"
#include "core/base/Numbers.h"
#include "core/scene/PrimaryFrameSeries.h"

#include <cmath>
#include <functional>

QString saveRootFolder(const QString &baseFolder)
{
    QString root = joinPath(baseFolder, QString());
    if (!root.endsWith(u'/'))
        root += u'/';
    return root;
}

QString scenePicturePath(const QString &root, const QString &scene, const QString &suffix)
{
    return joinPath(root, QStringLiteral("Images/") + scene + suffix);
}

QString sceneFramePath(const QString &root, const QString &scene, const QString &word, int position)
{
    return scenePicturePath(root, scene, word + frameNumberText(position) + QStringLiteral(".jpg"));
}

QString sceneFilePath(const QString &root, const QString &scene)
{
    return joinPath(root, QStringLiteral("/Scenes/") + scene + QStringLiteral(".scn"));
}

QString animFrameSource(const AnimFrameSet &set, int n, const QString &ext)
{
    return joinPath(set.FrameFolder.toText(), frameFileName(set.FrameBaseName.toText(), n, ext));
}

std::optional<int16_t> wholeNumber16(const Value &v)
{
    if (v.isUnset())
        return int16_t(0);
    if (v.isText())
        return toInt16(v.toText());
    const double r = std::nearbyint(v.toDouble());
    if (!(r >= -32768 && r <= 32767))
        return std::nullopt;
    return int16_t(r);
}

QStringList heldFrameTargets(const QString &root, const QString &scene, const QString &word, int k)
{
    QStringList targets;
    for (int n = 1; n <= k; ++n)
        targets << sceneFramePath(root, scene, word, n);
    return targets;
}

namespace {

QString countError(const char *what, const Value &v)
{
    return QStringLiteral("The %1 (\"%2\") is not a whole number from -32768 to 32767.")
        .arg(QLatin1String(what), v.toText());
}

// Positions 1 .. count, position i read from source frame first + i - 1.
FramePlan numbered(int count, int first, const std::function<QString(int)> &source, const QString &root,
                   const QString &scene, const QString &word)
{
    FramePlan plan;
    if (count < 1)
        return plan;
    plan.frames.reserve(count);
    // The number and ".jpg" hold no separator, so the joined prefix serves every frame.
    const QString prefix = scenePicturePath(root, scene, word);
    for (int i = 1; i <= count; ++i)
        plan.frames.append({source(first + i - 1), prefix + frameNumberText(i) + QStringLiteral(".jpg")});
    return plan;
}

FramePlan failed(const QString &error)
{
    FramePlan plan;
    plan.error = error;
    return plan;
}

// FirstFrame .. FirstFrame + count - 1 of `numbers`, files named by `files`.
FramePlan fromFirstFrame(const AnimFrameSet &numbers, const Value &count, const AnimFrameSet &files,
                         const char *countName, const char *firstName, const QString &root, const QString &scene,
                         const QString &word)
{
    const auto n = wholeNumber16(count);
    if (!n)
        return failed(countError(countName, count));
    const auto first = wholeNumber16(numbers.FirstFrame);
    if (!first)
        return failed(countError(firstName, numbers.FirstFrame));
    const QString folder = files.FrameFolder.toText(), base = files.FrameBaseName.toText();
    const QString ext = files.FrameExt.toText();
    return numbered(*n, *first, [&](int k) { return joinPath(folder, frameFileName(base, k, ext)); }, root, scene,
                    word);
}

} // namespace

FramePlan extraFramePlan(const SceneState &s, const QString &root, const QString &scene)
{
    return fromFirstFrame(s.ExtraFrameSet, s.ExtraFrameSet.FrameCount, s.ExtraFrameSet,
                          "extra animation's frame count", "extra animation's first frame", root, scene,
                          QStringLiteral("Extra"));
}

FramePlan alphaFramePlan(const SceneState &s, const QString &root, const QString &scene)
{
    return fromFirstFrame(s.ExtraFrameSet, s.ExtraFrameSet.FrameCount, s.AlphaFrameSet,
                          "extra animation's frame count", "extra animation's first frame", root, scene,
                          QStringLiteral("ExtraAlpha"));
}

// The frames of `range` of the primary series.
static FramePlan primaryFrames(const SceneState &s, PrimaryFrameRange range, const QString &root,
                               const QString &scene, const QString &word)
{
    const QString prefix = s.PrimaryFramePrefix.toText(), ext = s.PrimaryFrameExt.toText();
    return numbered(range.last - range.first + 1, range.first,
                    [&](int p) { return PrimaryFrameName(prefix, ext, p); }, root, scene, word);
}

FramePlan smileFramePlan(const SceneState &s, const QString &root, const QString &scene)
{
    return primaryFrames(s, SmileFrames, root, scene, QStringLiteral("Smile"));
}

FramePlan browFramePlan(const SceneState &s, const QString &root, const QString &scene)
{
    return primaryFrames(s, BrowFrames, root, scene, QStringLiteral("Brow"));
}

FramePlan childFramePlan(const SceneState &s, const QString &root, const QString &scene)
{
    const AnimFrameSet &set = s.ChildFrameSet;
    const auto first = wholeNumber16(set.FirstFrame);
    if (!first)
        return failed(countError("child animation's first frame", set.FirstFrame));
    const auto last = wholeNumber16(set.LastFrame);
    if (!last)
        return failed(countError("child animation's last frame", set.LastFrame));
    const int count = *last - *first + 1;
    if (count < -32768 || count > 32767)
        return failed(countError("child animation's frame count", Value::longValue(count)));
    const QString ext = set.FrameExt.toText();
    return numbered(count, *first, [&](int n) { return animFrameSource(set, n, ext); }, root, scene,
                    QStringLiteral("Child"));
}

FramePlan fullAnimFramePlan(const SceneState &s, const QString &framesBox, const QString &root,
                            const QString &scene)
{
    const auto count = toInt16(framesBox);
    if (!count)
        return failed(countError("full background animation's frame count", Value(framesBox)));
    const AnimFrameSet &set = s.FullAnimFrameSet;
    const QString ext = QStringLiteral(".") + set.FrameExt.toText();
    // The series is read from frame 01, whatever frame was picked.
    return numbered(*count, 1, [&](int n) { return animFrameSource(set, n, ext); }, root, scene,
                    QStringLiteral("FullAnim"));
}

FramePlan triggerFramePlan(const SceneState &s, const QString &root, const QString &scene)
{
    // Read from the recorded first frame, the frame the loader checked and the designer cut.
    return fromFirstFrame(s.TriggerFrameSet, s.TriggerFrameSet.FrameCount, s.TriggerFrameSet,
                          "trigger animation's frame count", "trigger animation's first frame", root, scene,
                          QStringLiteral("Trigger"));
}
