#pragma once
// The body of every test main: the offscreen platform, a temporary HOME, Qt
// warnings and unexpected message boxes failing the test, then every test.
// `makeApp` makes the application object: a QApplication for the program's
// tests, a QGuiApplication for the core's, which have no windows.

#include <QGuiApplication>

#include <functional>
#include <memory>

int runTestProgram(int argc, char **argv, const std::function<std::unique_ptr<QGuiApplication>(int &, char **)> &makeApp);
