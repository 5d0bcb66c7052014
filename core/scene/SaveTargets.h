#pragma once
// What the scene writer refuses before it writes anything, because of what is
// already on disk: a picture of another scene that the save would replace, and
// a file to be written that is a link (writing through it would replace the
// file it leads to).
//
// Picture names are the scene name plus a word ("Mouth01.jpg", "UserMouth01.jpg",
// "BG.jpg", "AlphaBG.jpg", ...), so the pictures of "BeachUser" and those of
// "Beach" can share a name (BeachUserMouth01.jpg).

#include "core/base/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A picture, or a numbered series of pictures, that a scene file names: the
// file name its key gives (the first frame) and how many frames follow from it,
// numbered as the frame export numbers them.
struct NamedPictures {
    QString first;
    int count = 1;
};

// The pictures a scene file names, read as the preview reads its keys
// (SceneKeyValue): the first occurrence of the key's text with "=", the value
// up to the next ";". A set's frame count is read as the preview reads it, but
// up to 32767, so that frames past the preview's last are covered too.
QList<NamedPictures> picturesNamedBy(const QByteArray &sceneFile);

// True when `fileName` is one of the pictures.
bool namesPicture(const NamedPictures &pictures, const QString &fileName);

// Refused, with its message, when one of `pictureNames` (bare names in
// Images) would replace a picture that a scene file in `scenesFolder` other
// than the scene's own names. Pictures that the scene's own file names are its own to
// replace. A scene file that cannot be read names nothing.
Result<> checkPictureCollisions(const QString &scenesFolder, const QString &scene, const QStringList &pictureNames);

// Refused, with its message, at the first of `paths` that is a link, also one
// that leads nowhere. A link on the way to the file (a folder that is a link)
// is the user's own choice and is followed.
Result<> checkNoLinkedFiles(const QStringList &paths);
