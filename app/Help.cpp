#include "app/Help.h"

#include "core/base/Files.h"
#include "core/system/Services.h"
#include "platform/WindowServices.h"

#include <QDir>
#include <QUrl>

void OpenHelpPage(const QString &page)
{
    // WorkFolder is left alone: later steps keep looking for scene files where
    // they did.
    const QString folder = services().environment->programFolder();
    OpenHelpFile(joinPath(folder + u'/', page));
}

void OpenHelpFile(const QString &path)
{
    // The page is opened as a file address, so a folder with blanks in its
    // name works.
    if (!fileExists(path) || !windowServices().urls->open(QUrl::fromLocalFile(path)))
        MsgBox(QStringLiteral("The help page %1 could not be opened.").arg(QDir::toNativeSeparators(path)));
}
