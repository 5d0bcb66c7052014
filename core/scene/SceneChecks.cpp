#include "core/scene/SceneChecks.h"

#include "core/base/Text1252.h"

#include <QFile>

#include <algorithm>

namespace {

// Characters that Windows file names cannot hold; scenes travel to Windows
// machines in share packages, so they are refused here too.
bool refusedInFileName(QChar c)
{
    return c.unicode() < 32 || QStringLiteral("<>:\"/\\|?*").contains(c);
}

// The longest picture name adds "ExtraAlpha32767.jpg" to the scene name, and
// every file is written through a temporary name 7 characters longer; a file
// name holds at most 255 bytes.
constexpr qsizetype kLongestNameBytes = 255 - 19 - 7;

} // namespace

Result<> checkSceneName(const QString &name)
{
    for (QChar c : name)
        if (refusedInFileName(c))
            return Result<>::failure(
                QStringLiteral("A scene name cannot hold the characters < > : \" / \\ | ? * or control characters. "
                               "Please choose another name."));
    if (name.contains(QStringLiteral("..")))
        return Result<>::failure(QStringLiteral("A scene name cannot hold \"..\". Please choose another name."));
    // Readers end a value at ";" and find keys by "="; they tell pictures by their extension.
    if (name.contains(u';') || name.contains(u'='))
        return Result<>::failure(
            QStringLiteral("A scene name cannot hold \";\" or \"=\". Please choose another name."));
    if (name.contains(QStringLiteral(".jpg"), Qt::CaseInsensitive) ||
        name.contains(QStringLiteral(".bmp"), Qt::CaseInsensitive))
        return Result<>::failure(
            QStringLiteral("A scene name cannot hold \".jpg\" or \".bmp\". Please choose another name."));
    if (!fitsWindows1252(name))
        return Result<>::failure(QStringLiteral("A scene name can only hold Western European letters and signs. "
                                                "Please choose another name."));
    if (QFile::encodeName(name).size() > kLongestNameBytes)
        return Result<>::failure(
            QStringLiteral("This scene name is too long for a file name. Please choose a shorter name."));
    return Result<>::success();
}

// Entries whose value is a bare file name that the readers look up in the
// scene's Sounds or Images folder: a folder part would lead them elsewhere.
static bool namesFileInItsFolder(const QString &key)
{
    return key == QLatin1String("Sound1=") || key == QLatin1String("Sound2=") || key == QLatin1String("Sound3=")
        || key == QLatin1String("EMA=");
}

Result<> checkSceneFields(const QList<SceneEntry> &entries)
{
    for (const SceneEntry &entry : entries) {
        if (entry.field.isEmpty())
            continue;
        const QString &v = entry.value;
        if (v.contains(u';') || v.contains(u'=') || v.contains(u'\r') || v.contains(u'\n'))
            return Result<>::failure(
                QStringLiteral("The scene was not saved: %1 holds \";\", \"=\" or a line break, which the scene "
                               "file cannot hold. Please change it and save again.")
                    .arg(entry.field));
        if (namesFileInItsFolder(entry.key) && (v.contains(u'/') || v.contains(u'\\') || v == QStringLiteral("..")))
            return Result<>::failure(
                QStringLiteral("The scene was not saved: %1 must be the name of a file in its folder, without a "
                               "folder in front of it. Please change it and save again.")
                    .arg(entry.field));
        // A drive ("C:x.wav"), a stream ("x.wav:s"), a tab: the companion on Windows could not open the file.
        if (namesFileInItsFolder(entry.key) && std::any_of(v.begin(), v.end(), refusedInFileName))
            return Result<>::failure(
                QStringLiteral("The scene was not saved: %1 cannot hold the characters < > : \" / \\ | ? * or "
                               "control characters, which file names cannot hold. Please change it and save again.")
                    .arg(entry.field));
        if (!fitsWindows1252(v))
            return Result<>::failure(
                QStringLiteral("The scene was not saved: %1 holds characters that the scene file cannot hold "
                               "(only Western European letters and signs). Please change it and save again.")
                    .arg(entry.field));
    }
    return Result<>::success();
}

Result<> checkSourcesChosen(const SceneState &s)
{
    if (s.SceneHasChildAnim == FlagOn && s.ChildAutoCropOn == FlagOn && s.ChildFrameSet.FrameFolder.toText().isEmpty())
        return Result<>::failure(
            QStringLiteral("The scene was not saved: the child animation is to be cut along with the extra "
                           "animation, but no child frames were loaded. Please load the first child frame in "
                           "the Automatic Cropper Loader (Child Animation Properties, LOAD...)."));
    if (s.SceneHasAltImage == FlagOn && s.AltImagePath.toText().isEmpty())
        return Result<>::failure(
            QStringLiteral("The scene was not saved: it is to have an alternate background, but no picture was "
                           "chosen. Please choose one in Alternate Image Load (LOAD...), or untick the alternate "
                           "image in the set-up."));
    return Result<>::success();
}
