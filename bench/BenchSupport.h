#pragma once
// What the benchmarks share: how they start, the frames they draw, how they
// sum up runs and judge them by their targets.

#include "app/ProgramAdapters.h"

#include <QApplication>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QProcess>

#include <algorithm>
#include <vector>

namespace bench_detail {
// Set before the application is made: the offscreen platform and SDL's dummy
// sound device, unless the caller names others in QT_QPA_PLATFORM and
// SDL_AUDIODRIVER, so that a benchmark shows nothing and plays nothing.
struct QuietUnlessSet {
    QuietUnlessSet()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
            qputenv("SDL_AUDIODRIVER", "dummy");
    }
};
} // namespace bench_detail

// How every benchmark starts: a QApplication on the offscreen platform and
// SDL's dummy sound device (unless the environment names others) with the
// program's adapters, as scenara5 starts. A benchmark that measures in
// processes of its own starts itself again with "--job" and the job's
// arguments (runInOwnProcess below).
class BenchApplication : private bench_detail::QuietUnlessSet, public QApplication {
public:
    BenchApplication(int &argc, char **argv) : QApplication(argc, argv) { useProgramAdapters(); }

    // True when this process runs one job for its parent; `args` are its arguments.
    bool isJob(QStringList *args) const
    {
        const QStringList all = arguments();
        if (all.value(1) != QLatin1String("--job"))
            return false;
        *args = all.mid(2);
        return true;
    }
};

// Runs a job of this benchmark in a process of its own (see BenchApplication):
// the fields it printed on one line, split at spaces; none when it failed.
inline QList<QByteArray> runInOwnProcess(const QStringList &args)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--job")} + args);
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return {};
    return child.readAllStandardOutput().trimmed().split(' ');
}

// The targets a benchmark judges its figures by: each verdict as it prints it,
// and the exit status, 1 when any target was missed.
class BenchTargets {
public:
    const char *judge(bool met)
    {
        m_allMet = m_allMet && met;
        return met ? "met" : "MISSED";
    }
    int exitCode() const { return m_allMet ? 0 : 1; }

private:
    bool m_allMet = true;
};

// A 640 x 480 frame of its own colours with a busy patch that moves with n,
// so that frames neither compress to nothing nor repeat.
inline QImage fixtureFrame(int n)
{
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(QColor(n % 256, (n * 7) % 256, 90));
    for (int y = 100; y < 300; ++y)
        for (int x = 200 + n % 50; x < 300 + n % 50; ++x)
            image.setPixelColor(x, y, QColor((x * n) % 256, y % 256, (x + y) % 256));
    return image;
}

// A width x height frame of gradients with noise that moves with n, so that
// the JPEG coder has real work and no two frames are alike.
inline QImage photoFrame(int width, int height, int n)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 state = quint32(n) * 2654435761u + 1;
    for (int y = 0; y < height; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const int noise = int(state >> 27) - 16;
            row[x] = qRgb(std::clamp((x + n) * 255 / width + noise, 0, 255),
                          std::clamp(y * 255 / height - noise, 0, 255), std::clamp(((x + y + 3 * n) & 255) + noise, 0, 255));
        }
    }
    return image;
}

// Kilobytes of a field of /proc/self/status ("VmHWM:", "VmRSS:"); -1 when unread.
inline long statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines)
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLong();
    return -1;
}

// The middle value; 0 for none.
inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}
