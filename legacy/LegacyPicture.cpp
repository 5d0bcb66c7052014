#include "legacy/LegacySceneCommands.h"

#include "core/pictures/ImageWorkspace.h"
#include "platform/PictureBox.h"

FileResult LoadLegacyPicture(PictureBox &store, const QString &folder, const QString &name)
{
    QString error;
    const QImage picture = LoadPicture(findFileIgnoringCase(folder, name), &error);
    if (picture.isNull())
        return FileResult::failure(error);
    store.SetPicture(picture);
    return FileResult::success();
}
