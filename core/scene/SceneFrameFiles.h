#pragma once
// The names of a scene's exported pictures in Images (<scene>BG.jpg,
// <scene>Mouth01.jpg, <scene>Extra10.jpg, ...) and the plans of the frame
// exports: which source file becomes which numbered picture.

#include "core/scene/SceneState.h"
#include "core/scene/FrameSetFiles.h" // frameNumberText, frameFileName

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// The writer's root folder: the base folder with a trailing separator.
QString saveRootFolder(const QString &baseFolder);

// root & "Images/" & scene & suffix, for instance suffix "BG.jpg".
QString scenePicturePath(const QString &root, const QString &scene, const QString &suffix);
// root & "Images/" & scene & word & number(position) & ".jpg".
QString sceneFramePath(const QString &root, const QString &scene, const QString &word, int position);
// root & "/Scenes/" & scene & ".scn".
QString sceneFilePath(const QString &root, const QString &scene);

// Frame n of a picked set: folder & base & number(n) & ext.
QString animFrameSource(const AnimFrameSet &set, int n, const QString &ext);

// A count or frame number as a 16-bit whole number: unset is 0, a number or a
// text that reads as one is rounded half to even; an empty text, a text that is
// not a number or a value outside -32768..32767 gives nothing.
std::optional<int16_t> wholeNumber16(const Value &v);

struct FrameCopy {
    QString source; // the file to load
    QString target; // the picture to write
};

// The frames of one export in order; `error` says why none can be planned (a
// count that is not a 16-bit whole number). A count below 1 plans nothing.
struct FramePlan {
    QList<FrameCopy> frames;
    QString error;
};

// Where the picture the designers already cut goes: word 01 .. k.
QStringList heldFrameTargets(const QString &root, const QString &scene, const QString &word, int k);

// ExtraFrameSet frames FirstFrame .. FirstFrame + FrameCount - 1 -> Extra01..
FramePlan extraFramePlan(const SceneState &s, const QString &root, const QString &scene);
// The same numbers from AlphaFrameSet -> ExtraAlpha01..
FramePlan alphaFramePlan(const SceneState &s, const QString &root, const QString &scene);
// Series frames 0008-0021 -> Smile01-14.
FramePlan smileFramePlan(const SceneState &s, const QString &root, const QString &scene);
// Series frames 0005-0013 -> Brow01-09.
FramePlan browFramePlan(const SceneState &s, const QString &root, const QString &scene);
// ChildFrameSet frames FirstFrame .. LastFrame -> Child01..
FramePlan childFramePlan(const SceneState &s, const QString &root, const QString &scene);
// FullAnimFrameSet frames 01 .. the Frames box -> FullAnim01..
FramePlan fullAnimFramePlan(const SceneState &s, const QString &framesBox, const QString &root,
                            const QString &scene);
// TriggerFrameSet frames FirstFrame .. FirstFrame + FrameCount - 1 -> Trigger01..
FramePlan triggerFramePlan(const SceneState &s, const QString &root, const QString &scene);
