// The libFuzzer entry of one target, chosen by SCENARA_FUZZ_TARGET at build time.

#include "fuzz/FuzzTargets.h"

#include <QApplication>
#include <QtGlobal>

// The decoders' notes on damaged pictures would flood the fuzzer's output.
static void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

// What the libraries under the windows keep for the life of the process,
// made on first use (fonts, the audio and desktop libraries' own data), is
// no leak of an input.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n"
           "leak:libglib-2.0.so\n"
           "leak:libSDL2-2.0.so\n"
           "leak:_dl_map_object_deps\n";
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qInstallMessageHandler(quiet);
    // The scene load target opens the library window: offscreen, with sounds
    // on SDL's silent device.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_AUDIODRIVER", "dummy");
    // Never destroyed: what Qt keeps for the process (its fonts) stays
    // reachable at the exit's leak check, as it would in the program.
    static QApplication *app = new QApplication(*argc, *argv);
    Q_UNUSED(app);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    SCENARA_FUZZ_TARGET(data, size);
    return 0;
}
