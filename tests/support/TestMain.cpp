// What every test main does: Qt on the offscreen platform, HOME pointed at a
// temporary folder so that nothing touches the real documents folder. A Qt warning or critical
// message fails the test that logged it, unless it is one of the few notes
// below that say nothing about the program, or a test allowed its category
// (tests/support/QtNotes.h). The program's tests add their own check, that
// every message box was expected (tests/support/program/ScriptedWindows.h).

#include "tests/support/TestMain.h"

#include "tests/support/QtNotes.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <atomic>
#include <cstdio>

#include <gtest/gtest.h>

// Under the address sanitizer, freed memory is overwritten, so that a use
// after free inside a library the sanitizer does not watch (Qt's own code
// resuming a signal whose sender was deleted under it) fails instead of
// reading what the quarantine kept intact. The environment's ASAN_OPTIONS
// still come on top.
extern "C" const char *__asan_default_options();
extern "C" const char *__asan_default_options()
{
    return "max_free_fill_size=4096";
}

namespace {

struct AllowedNote {
    const char *contains;
    const char *why;
};

// Every entry says why the note is harmless.
const AllowedNote allowedNotes[] = {
    {"does not support raise()",
     "the offscreen platform cannot raise windows; every window's Show asks it to"},
    {"does not support grabbing the mouse",
     "the offscreen platform has no system-wide mouse grab; a window's own grab, which the crop engine uses, works"},
    {"does not support grabbing the keyboard",
     "the offscreen platform has no keyboard grab; a combo box's open list asks for one"},
};

std::atomic<int> notesOutsideTests{0};

bool allowed(const QString &message)
{
    for (const AllowedNote &note : allowedNotes)
        if (message.contains(QLatin1String(note.contains)))
            return true;
    return false;
}

void failingHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (allowed(message) || AllowedQtNotes::allowed(context.category))
        return;
    const QString line = qFormatLogMessage(type, context, message);
    fprintf(stderr, "%s\n", qPrintable(line));
    if (type != QtWarningMsg && type != QtCriticalMsg && type != QtFatalMsg)
        return;
    if (::testing::UnitTest::GetInstance()->current_test_info())
        ADD_FAILURE() << "Qt logged a warning during the test: " << message.toStdString();
    else
        ++notesOutsideTests;
}

} // namespace

// LeakSanitizer's exit check, as every test program runs it. It does not scan
// thread-local storage: with GCC 12's checker and this C library, reading the
// main thread's dynamic TLS blocks crashes the check ("Tracer caught signal
// 11") in tests whose libraries happen to lay their TLS out that way. What only
// TLS then holds is the libraries' per-thread data (GLib's, SDL's, and the
// dynamic loader's for a library opened at run time), suppressed by its owner.
extern "C" const char *__lsan_default_options()
{
    return "use_tls=0";
}
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libglib-2.0.so\n"
           "leak:libSDL2-2.0.so\n"
           "leak:_dl_map_object_deps\n";
}

int runTestProgram(int argc, char **argv, const std::function<std::unique_ptr<QGuiApplication>(int &, char **)> &makeApp,
                   ::testing::TestEventListener *check)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_AUDIODRIVER", "dummy"); // speech and sounds play on SDL's silent device
    QTemporaryDir home;
    QTemporaryDir runtime; // made private to this user, as the runtime folder must be
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    qInstallMessageHandler(failingHandler);
    int result = 0;
    {
        const std::unique_ptr<QGuiApplication> app = makeApp(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        // Appended after the printer, so it runs before the printer reports the test's end.
        if (check)
            ::testing::UnitTest::GetInstance()->listeners().Append(check);
        result = RUN_ALL_TESTS();
    }
    if (notesOutsideTests > 0) {
        fprintf(stderr, "Qt logged %d warning(s) outside any test.\n", int(notesOutsideTests));
        return 1;
    }
    return result;
}
