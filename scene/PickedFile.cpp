#include "scene/PickedFile.h"

#include "app/SceneState.h"
#include "platform/CommonDialog.h"

#include <QDir>
#include <QFileInfo>

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

std::optional<PickedFile> choosePickedFile(CommonDialog &cdl, const QString &filter, const QString &subfolder)
{
    const QString work = setWorkFolderFromBase();
    if (!subfolder.isEmpty())
        cdl.InitDir = work + subfolder;
    cdl.Filter = filter;
    cdl.ShowOpen();
    if (cdl.FileName.isEmpty())
        return std::nullopt;
    return splitPickedPath(cdl.FileName);
}

bool liesDirectlyIn(const QString &path, const QString &folder)
{
    const QFileInfo file(path);
    const QString parent = file.absolutePath();
    if (QDir::cleanPath(parent) == QDir::cleanPath(QFileInfo(folder).absoluteFilePath()))
        return true;
    // The same folder reached through a link counts too.
    const QString canonicalParent = QFileInfo(parent).canonicalFilePath();
    return !canonicalParent.isEmpty() && canonicalParent == QFileInfo(folder).canonicalFilePath();
}
