#pragma once
// The body of every test main: the offscreen platform, a temporary HOME, Qt
// warnings failing the test, then every test. `makeApp` makes the application
// object: a QApplication for the program's tests, a QGuiApplication for the
// core's, which have no windows. `check`, when given, is one more listener of
// every test (the program's: that no message box went unexpected); the test
// program owns it from then on.

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

int runTestProgram(int argc, char **argv, const std::function<std::unique_ptr<QGuiApplication>(int &, char **)> &makeApp,
                   ::testing::TestEventListener *check = nullptr);
