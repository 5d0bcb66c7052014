#include "app/ProgramLaunch.h"

#include "app/ProgramAdapters.h"
#include "app/Start.h"

#include <QApplication>

void launchProgram()
{
    useProgramAdapters();
    QApplication::setApplicationName(QStringLiteral("Scenara5"));
    QApplication::setQuitOnLastWindowClosed(false);
    form<Start>().Show();
}
