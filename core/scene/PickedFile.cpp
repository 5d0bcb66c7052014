#include "core/scene/PickedFile.h"

#include "core/scene/SceneState.h"

PickedFile splitPickedPath(const QString &path)
{
    PickedFile pick;
    pick.path = path;
    pick.nameStart = int(path.lastIndexOf(u'/')) + 2;
    pick.name = path.mid(pick.nameStart - 1);
    pick.folder = path.left(path.size() - pick.name.size());
    return pick;
}

void notePickedFile(const PickedFile &pick)
{
    SceneState &s = scene();
    s.PickedPath = pick.path;
    s.PickedNameStart = Value::integer(int16_t(qMin(pick.nameStart, 32767)));
    s.PickedName = pick.name;
}

QString setWorkFolderFromBase()
{
    QString work = scene().BaseFolder;
    if (!work.endsWith(u'/'))
        work += u'/';
    scene().WorkFolder = work;
    return work;
}
