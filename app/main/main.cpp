#include "app/ProgramAdapters.h"
#include "app/Start.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    useProgramAdapters();
    QApplication::setApplicationName(QStringLiteral("Scenara5"));
    QApplication::setQuitOnLastWindowClosed(false);
    form<Start>().Show();
    const int code = app.exec();
    destroyAllForms();
    return code;
}
