// Speech on SDL's dummy device: the time from a speak to its first viseme
// through the scheduler, the same from a click on the library window's
// "VELM SPEAK" (Command4_Click) to the first viseme its mouth is asked to
// show, and the synthesis real-time factor (synthesis time /
// length of the audio made) of the speech engine, beside a plain espeak_Synth
// loop over the same texts whose callback only counts samples. The plain loop
// runs in a child process, since espeak-ng starts only once in a process.

#include "adapters/sound/AudioOutput.h"
#include "adapters/speech/SpeechEngine.h"
#include "core/preview/PreviewShow.h"
#include "library/VelmNShare.h"

#include "bench/BenchSupport.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char *Voice = "gmw/en-US";
constexpr double SampleRate = 22050.0;

struct Text {
    const char *name;
    QByteArray utf8;
    int runs;
};

std::vector<Text> texts()
{
    const QByteArray paragraph = "We are good friends, and we walk along the river every morning before the town "
                                 "wakes up. The water is cold and clear, the birds sing in the old trees, and now "
                                 "and then a boat drifts past with a fisherman who waves at us. ";
    QByteArray words;
    int count = 0;
    while (count < 2000) {
        for (const QByteArray &word : paragraph.split(' ')) {
            if (word.isEmpty() || count == 2000)
                continue;
            words += word + ' ';
            ++count;
        }
    }
    return {{"sentence \"We are good friends.\"", "We are good friends.", 40}, {"2,000 words", words.trimmed(), 3}};
}

struct Measure {
    double seconds = 0; // median synthesis time
    qint64 samples = 0;
    double firstViseme = 0; // median, engine only
};

// The plain loop: every result is written to `fd` as doubles.
long plainSamples = 0;
int countSamples(short *, int count, espeak_EVENT *)
{
    plainSamples += count;
    return 0;
}

void plainLoop(int fd)
{
    if (espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT) <= 0
        || espeak_SetVoiceByName(Voice) != EE_OK)
        _exit(1);
    espeak_SetSynthCallback(countSamples);
    for (const Text &text : texts()) {
        std::vector<double> times;
        for (int run = 0; run < text.runs; ++run) {
            plainSamples = 0;
            QElapsedTimer timer;
            timer.start();
            espeak_Synth(text.utf8.constData(), size_t(text.utf8.size()) + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
                         nullptr, nullptr);
            times.push_back(timer.nsecsElapsed() / 1e9);
        }
        const double result[2] = {median(times), double(plainSamples)};
        if (write(fd, result, sizeof result) != sizeof result)
            _exit(1);
    }
    espeak_Terminate();
    _exit(0);
}

bool runPlainLoop(std::vector<Measure> *plain)
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        close(fds[0]);
        plainLoop(fds[1]);
    }
    close(fds[1]);
    for (size_t i = 0; i < texts().size(); ++i) {
        double result[2];
        if (read(fds[0], result, sizeof result) != sizeof result)
            return false;
        plain->push_back({result[0], qint64(result[1]), 0});
    }
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// One speak through the engine: waits for its first viseme and the end of its synthesis.
bool speakOnce(SpeechEngine &engine, const QByteArray &text, double *firstViseme, double *synthesis, qint64 *samples)
{
    QEventLoop loop;
    QElapsedTimer timer;
    quint64 utterance = 0;
    bool sawViseme = false, synthesized = false;
    const auto c1 = QObject::connect(&engine, &SpeechEngine::viseme, &loop, [&](quint64 u) {
        if (u == utterance && !sawViseme) {
            sawViseme = true;
            *firstViseme = timer.nsecsElapsed() / 1e9;
            if (synthesized)
                loop.quit();
        }
    });
    const auto c2 = QObject::connect(&engine, &SpeechEngine::synthesized, &loop, [&](quint64 u, qint64 count) {
        if (u == utterance) {
            synthesized = true;
            *synthesis = timer.nsecsElapsed() / 1e9;
            *samples = count;
            if (sawViseme)
                loop.quit();
        }
    });
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    timer.start();
    utterance = engine.speak(Voice, QString::fromUtf8(text), QStringLiteral("Velm"));
    loop.exec();
    QObject::disconnect(c1);
    QObject::disconnect(c2);
    engine.purge();
    return sawViseme && synthesized;
}

// One "VELM SPEAK" in the library window: the time until the lip sync shows
// its first viseme in the main mouth.
bool clickOnce(VelmNShare &window, SpeechEngine &engine, double *firstViseme)
{
    QEventLoop loop;
    QElapsedTimer timer;
    bool sawViseme = false;
    setShowRecorder([&](const ShownEntry &e) {
        if (e.box == QLatin1String("VelmMouth") && !sawViseme) {
            sawViseme = true;
            *firstViseme = timer.nsecsElapsed() / 1e9;
            loop.quit();
        }
    });
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    timer.start();
    window.Command4_Click();
    if (!sawViseme)
        loop.exec();
    setShowRecorder(nullptr);
    engine.purge();
    return sawViseme;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    std::vector<Measure> plain;
    if (!runPlainLoop(&plain)) {
        std::fprintf(stderr, "bench_speech: the plain espeak-ng loop failed\n");
        return 1;
    }

    // The library window reads and writes nothing of the user's.
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toUtf8());
    BenchApplication app(argc, argv);
    SpeechEngine &engine = speechEngine();
    if (!engine.isRunning()) {
        std::fprintf(stderr, "bench_speech: espeak-ng did not start\n");
        return 1;
    }
    std::printf("bench_speech: voice %s, audio device %s (SDL driver %s)\n", Voice,
                audioOutput().isOpen() ? "open" : "absent, wall clock", qgetenv("SDL_AUDIODRIVER").constData());
    double warm1, warm2;
    qint64 warm3;
    speakOnce(engine, "Hello.", &warm1, &warm2, &warm3); // selects the voice once
    const std::vector<Text> all = texts();
    for (size_t i = 0; i < all.size(); ++i) {
        std::vector<double> first, synthesis;
        qint64 samples = 0;
        for (int run = 0; run < all[i].runs; ++run) {
            double f = 0, s = 0;
            if (!speakOnce(engine, all[i].utf8, &f, &s, &samples)) {
                std::fprintf(stderr, "bench_speech: no viseme or no end of synthesis for the %s\n", all[i].name);
                return 1;
            }
            first.push_back(f);
            synthesis.push_back(s);
        }
        const double audio = samples / SampleRate;
        const double engineFactor = median(synthesis) / audio;
        const double plainFactor = plain[i].seconds / (plain[i].samples / SampleRate);
        std::printf("  %s: %.2f s of audio (plain loop %.2f s), median of %d runs\n", all[i].name, audio,
                    plain[i].samples / SampleRate, all[i].runs);
        std::printf("    speak to first viseme:         %8.2f ms\n", median(first) * 1e3);
        std::printf("    synthesis, speech engine:      %8.2f ms  real-time factor %.5f\n", median(synthesis) * 1e3,
                    engineFactor);
        std::printf("    synthesis, plain espeak_Synth: %8.2f ms  real-time factor %.5f\n", plain[i].seconds * 1e3,
                    plainFactor);
        std::printf("    ratio engine / plain:          %8.2f\n", engineFactor / plainFactor);
    }

    // The library window with the first voice of the same identifier chosen for the main character.
    VelmNShare &window = form<VelmNShare>();
    const QList<SpeechVoiceInfo> &voices = engine.voices();
    const auto voice = std::find_if(voices.begin(), voices.end(), [](const SpeechVoiceInfo &v) { return v.identifier == Voice; });
    if (voice == voices.end()) {
        std::fprintf(stderr, "bench_speech: no voice %s\n", Voice);
        return 1;
    }
    window.Setts.KSapiVers = 5;
    window.Setts.KSapi5Voice = int32_t(voice - voices.begin());
    window.Text1->setText(QString::fromUtf8(all.front().utf8));
    std::vector<double> first;
    for (int run = 0; run < all.front().runs; ++run) {
        double f = 0;
        if (!clickOnce(window, engine, &f)) {
            std::fprintf(stderr, "bench_speech: \"VELM SPEAK\" showed no viseme\n");
            return 1;
        }
        first.push_back(f);
    }
    std::printf("  library window, %s, median of %d runs\n", all.front().name, all.front().runs);
    std::printf("    VELM SPEAK to first viseme:    %8.2f ms\n", median(first) * 1e3);
    destroyAllForms();
    return 0;
}
