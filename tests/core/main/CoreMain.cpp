// Test main of the core's tests: a QGuiApplication, no window and no adapter
// (tests/support/TestMain.h).

#include "tests/support/TestMain.h"

int main(int argc, char **argv)
{
    return runTestProgram(argc, argv, [](int &count, char **arguments) {
        return std::make_unique<QGuiApplication>(count, arguments);
    });
}
