// Test main of the program's tests: a QApplication with the program's
// adapters (tests/support/TestMain.h), and every message box expected by the
// test that made it show (tests/support/program/ScriptedWindows.h).

#include "app/ProgramAdapters.h"
#include "tests/support/program/ScriptedWindows.h"
#include "tests/support/TestMain.h"

#include <QApplication>

int main(int argc, char **argv)
{
    return runTestProgram(argc, argv, [](int &count, char **arguments) -> std::unique_ptr<QGuiApplication> {
        auto app = std::make_unique<QApplication>(count, arguments);
        useProgramAdapters();
        return app;
    }, unexpectedMessageCheck());
}
