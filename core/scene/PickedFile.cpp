#include "core/scene/PickedFile.h"

#include "core/scene/SceneDocument.h"

PickedFile splitPickedPath(const QString &path)
{
    PickedFile pick;
    pick.path = path;
    pick.nameStart = int(path.lastIndexOf(u'/')) + 2;
    pick.name = path.mid(pick.nameStart - 1);
    pick.folder = path.left(path.size() - pick.name.size());
    return pick;
}

void notePickedFile(SceneState &s, const PickedFile &pick)
{
    s.PickedPath = pick.path;
    s.PickedNameStart = Value::integer(int16_t(qMin(pick.nameStart, 32767)));
    s.PickedName = pick.name;
}

void notePickedFile(const PickedFile &pick)
{
    sceneDocument().editState([&pick](SceneState &s) { notePickedFile(s, pick); });
}

QString setWorkFolderFromBase()
{
    sceneDocument().editState(setWorkFolderToBase);
    return scene().WorkFolder.toText();
}
