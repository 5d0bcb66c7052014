// Test main: Qt on the offscreen platform, HOME pointed at a temporary folder
// so that nothing touches the real documents folder.

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>

#include <gtest/gtest.h>

// The offscreen platform cannot raise windows and has no system-wide mouse
// or keyboard grab (a window's own grab works, a combo box's open list grabs
// both); those notes say nothing about the program.
static QtMessageHandler previousHandler = nullptr;

static void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QStringLiteral("does not support raise()"))
        || message.contains(QStringLiteral("does not support grabbing the mouse"))
        || message.contains(QStringLiteral("does not support grabbing the keyboard")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
    else
        fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_AUDIODRIVER", "dummy"); // speech and sounds play on SDL's silent device
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toUtf8());
    previousHandler = qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
