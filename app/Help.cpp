#include "app/Help.h"

#include "base/Files.h"
#include "platform/Services.h"

#include <QDir>
#include <QUrl>

void OpenHelpPage(const QString &page)
{
    // The page is opened as a file address, so a program folder with blanks in
    // its name works. WorkFolder is left alone: later steps keep looking for
    // scene files where they did.
    const QString folder = services().environment->programFolder();
    const QString path = joinPath(folder + u'/', page);
    if (!fileExists(path) || !services().urls->open(QUrl::fromLocalFile(path)))
        MsgBox(QStringLiteral("The help page %1 could not be opened.").arg(QDir::toNativeSeparators(path)));
}
