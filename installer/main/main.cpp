// The media installer: one window that installs the share package lying
// beside the program into the companion's folders.
#include "core/install/Version.h"
#include "installer/Form1.h"
#include "platform/WindowServices.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("mediadrop"));
    QApplication::setApplicationVersion(QString::fromLatin1(installer::ProductVersion));
    setProgramTitle(QStringLiteral("mediadrop"));
    form<installer::Form1>().Show();
    const int code = app.exec();
    destroyAllForms();
    return code;
}
