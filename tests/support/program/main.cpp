// Test main of the program's tests: a QApplication with the program's
// adapters (tests/support/TestMain.h), and every window destroyed around
// each AppTest.

#include "app/ProgramAdapters.h"
#include "platform/Form.h"
#include "tests/support/ScriptedServices.h"
#include "tests/support/TestMain.h"

#include <QApplication>

int main(int argc, char **argv)
{
    setCloseTestWindows(destroyAllForms);
    return runTestProgram(argc, argv, [](int &count, char **arguments) -> std::unique_ptr<QGuiApplication> {
        auto app = std::make_unique<QApplication>(count, arguments);
        useProgramAdapters();
        return app;
    });
}
