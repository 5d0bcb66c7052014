// The built program ends on SIGTERM and SIGINT wherever the user is: with
// only the launcher open, and with the library window open previewing a
// scene whose sound plays (the sound device is open then). A logout, a
// shutdown and Ctrl+C in a terminal end it as they end any program.

#include "tests/support/TestFiles.h"
#include "tests/support/WavFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace {

// Start-up of the sanitized program and its scene load on a busy machine; a
// bound, not a measure.
constexpr int StartMs = 60000;
// How long a signalled program may take to end.
constexpr int EndMs = 2000;

QByteArray jpeg(QSize size, QRgb color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "JPEG").write(image);
    return bytes;
}

// A home folder whose documents hold a scene "Beach" of a background, seven
// mouth frames and a sound 1 that plays back to back.
bool writeHome(const QString &home)
{
    const QString base = home + QStringLiteral("/Documents/Velm5Pro/");
    bool ok = writeFile(base + QStringLiteral("Images/BeachBG.jpg"), jpeg(QSize(600, 400), qRgb(20, 60, 120)));
    for (int n = 1; n <= 7; ++n)
        ok = ok
            && writeFile(base + QStringLiteral("Images/BeachMouth0%1.jpg").arg(n), jpeg(QSize(40, 30), qRgb(200, 40, 40)));
    ok = ok && writeFile(base + QStringLiteral("Sounds/tone.wav"), wavBytes(5));
    return ok
        && writeFile(base + QStringLiteral("Scenes/Beach.scn"),
                     "BG=BeachBG.jpg;\r\nKM=BeachMouth01.jpg;\r\nKMh=30;\r\nKMw=40;\r\nKMx=10;\r\nKMy=20;\r\n"
                     "Sound1=tone.wav;\r\n\r\n");
}

TEST(ProgramSignals, TheProgramEndsOnSigtermAndSigintWhereverTheUserIs)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    ASSERT_TRUE(writeHome(home.path()));
    const struct {
        const char *name;
        int signal;
        const char *scene; // nullptr: only the launcher is open
    } rows[] = {
        {"SIGTERM at the launcher", SIGTERM, nullptr},
        {"SIGTERM while a scene's sound plays", SIGTERM, "Beach"},
        {"SIGINT while a scene's sound plays", SIGINT, "Beach"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/.config"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(SCENARA_DRIVEN_PROGRAM),
                      row.scene ? QStringList{QString::fromLatin1(row.scene)} : QStringList{});
        ASSERT_TRUE(program.waitForStarted(StartMs)) << program.errorString().toStdString();
        QByteArray said;
        while (!said.contains('\n') && program.waitForReadyRead(StartMs))
            said += program.readAllStandardOutput();
        ASSERT_EQ(said, "ready\n") << "exit code " << program.exitCode();

        ASSERT_EQ(::kill(pid_t(program.processId()), row.signal), 0);
        const bool ended = program.waitForFinished(EndMs);
        if (!ended) {
            program.kill();
            program.waitForFinished(StartMs);
        }
        EXPECT_TRUE(ended) << "still running " << EndMs << " ms after the signal";
        EXPECT_EQ(program.exitStatus(), QProcess::CrashExit) << "ended by the signal";
    }
}

} // namespace
