#include "core/system/ChooserFolders.h"

#include "core/system/Services.h"

#include <QFileInfo>

namespace {

bool isFolder(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace

QString ChooserFolders::startFolder(const QString &chooser, const QString &own) const
{
    if (const QString last = m_lastFolders.value(chooser); isFolder(last))
        return last;
    if (isFolder(own))
        return own;
    return services().environment->picturesFolder();
}

void ChooserFolders::noteChosen(const QString &chooser, const QString &path)
{
    if (path.isEmpty())
        return;
    m_lastFolders.insert(chooser, QFileInfo(path).absolutePath());
}

ChooserFolders &chooserFolders()
{
    static ChooserFolders folders;
    return folders;
}
