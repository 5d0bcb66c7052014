// Loads the library preview's bench scene (bench/PreviewBenchScene.h): an
// extra and a full-background animation of 1000 JPEG frames each, which the
// preview would hold as about 4.8 GB of pixels. Prints, each measurement in a
// process of its own so that its peak memory (VmHWM) is its own:
// - the scene's load per frame, beside a plain loop in the same run that loads
//   each of the same files with QImage and scales it to the size the preview
//   shows it at, and the ratio;
// - the peak memory of the load, against the limit of 1.5 GB;
// - what showing one frame costs the GUI thread, stepped at the animation's
//   interval as its timer steps it (the next frames made ahead meanwhile), and
//   for a frame jumped to, beside the interval.

#include "core/base/Numbers.h"
#include "core/preview/PreviewShow.h"
#include "platform/PictureBox.h"

#include "bench/PreviewBenchScene.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 3;
constexpr int kShown = 100; // frames shown of each animation at its interval
constexpr long kPeakLimitMb = 1536;
const PreviewBenchScene kScene;

QString framePath(const QString &base, const char *layer, int n)
{
    return base + QStringLiteral("Images/") + kScene.name + QLatin1String(layer) + frameNumberText(n) +
           QStringLiteral(".jpg");
}

// As the preview sizes a frame: its own size times 1200 / 800, halves to even.
QSize shownSize(QSize own)
{
    return QSize(int(roundHalfEven(own.width() * 1.5)), int(roundHalfEven(own.height() * 1.5)));
}

// The load of the scene, as a click in "VELM Scenes" starts it.
bool loadJob(PreviewBenchServices &bench, double *ms)
{
    form<VelmNShare>(); // the window first: its making is not the load
    QElapsedTimer clock;
    clock.start();
    const VelmNShare *w = openPreviewBenchScene(kScene.name);
    *ms = clock.nsecsElapsed() / 1e6;
    return w && bench.shown.isEmpty() && w->Player->ImageList12.Count() == kScene.frames + 1 &&
           w->Player->ImageList14.Count() == kScene.frames + 1;
}

// QImage alone: each frame loaded and scaled to its shown size, then dropped.
bool plainJob(const QString &base, double *ms)
{
    QElapsedTimer clock;
    clock.start();
    for (int n = 1; n <= kScene.frames; ++n) {
        for (const auto &[layer, own] : {std::pair{"Extra", kScene.extraFrame}, std::pair{"FullAnim", kScene.background}}) {
            const QImage picture = QImage(framePath(base, layer, n)).scaled(shownSize(own), Qt::IgnoreAspectRatio,
                                                                             Qt::SmoothTransformation);
            if (picture.isNull())
                return false;
        }
    }
    *ms = clock.nsecsElapsed() / 1e6;
    return true;
}

struct ShowCost {
    double median = 0, worst = 0, jumped = 0; // ms of the GUI thread
};

ShowCost showCost(PreviewBox *box, const ImageList &list)
{
    std::vector<double> stepped, jumped;
    QElapsedTimer clock;
    for (int entry = 2; entry < 2 + kShown; ++entry) {
        clock.start();
        if (!ShowListEntry(box, list, QStringLiteral("MSC"), entry))
            return {};
        const qint64 spent = clock.nsecsElapsed();
        stepped.push_back(spent / 1e6);
        // The rest of the interval, as the timer would wait it.
        QThread::usleep(std::max<qint64>(0, kScene.intervalMs * 1000 - spent / 1000));
    }
    for (int entry = 300; entry <= 900; entry += 100) {
        clock.start();
        if (!ShowListEntry(box, list, QStringLiteral("MSC"), entry))
            return {};
        jumped.push_back(clock.nsecsElapsed() / 1e6);
        QThread::usleep(kScene.intervalMs * 1000);
    }
    const double worst = *std::max_element(stepped.begin(), stepped.end());
    return ShowCost{median(stepped), worst, median(jumped)};
}

int runJob(const QStringList &args)
{
    PreviewBenchServices bench(args.value(1));
    const QString &job = args.value(0);
    double ms = 0;
    bool ok = false;
    if (job == QLatin1String("load")) {
        ok = loadJob(bench, &ms);
    } else if (job == QLatin1String("plain")) {
        ok = plainJob(bench.baseFolder(), &ms);
    } else if (job == QLatin1String("show")) {
        ok = loadJob(bench, &ms);
        VelmNShare &w = form<VelmNShare>();
        const ShowCost extra = ok ? showCost(w.Player->MiscPic, w.Player->ImageList12) : ShowCost();
        const ShowCost full = ok ? showCost(w.Player->MainPic, w.Player->ImageList14) : ShowCost();
        ok = ok && extra.median > 0 && full.median > 0;
        if (ok)
            std::printf("%.3f %.3f %.3f %.3f %.3f %.3f ", extra.median, extra.worst, extra.jumped, full.median,
                        full.worst, full.jumped);
    }
    if (!ok) {
        std::fprintf(stderr, "bench_preview_load: the %s job failed %s\n", qPrintable(job),
                     qPrintable(bench.shown.join(QStringLiteral(" | "))));
        destroyAllForms();
        return 1;
    }
    std::printf("%.3f %ld\n", ms, statusKb("VmHWM:"));
    destroyAllForms();
    return 0;
}

struct Measured {
    double msPerFrame = 0, peakMb = 0;
};

bool measure(const QString &job, const QString &documents, Measured *out)
{
    std::vector<double> ms, peak;
    for (int run = 0; run < kRuns; ++run) {
        const QList<QByteArray> fields = runInOwnProcess({job, documents});
        if (fields.size() != 2)
            return false;
        ms.push_back(fields[0].toDouble() / (2 * kScene.frames));
        peak.push_back(fields[1].toDouble() / 1024);
    }
    *out = Measured{median(ms), median(peak)};
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    if (QStringList job; app.isJob(&job))
        return runJob(job);

    QTemporaryDir temp;
    const QString documents = temp.filePath(QStringLiteral("Documents"));
    QElapsedTimer clock;
    clock.start();
    if (!temp.isValid() || !writePreviewBenchScene(PreviewBenchServices(documents).baseFolder(), kScene)) {
        std::fprintf(stderr, "bench_preview_load: could not write the scene\n");
        return 1;
    }
    std::printf("bench_preview_load: %d extra frames of %d x %d and %d full-background frames of %d x %d, JPEG "
                "(written in %.1f s);\nmedian of %d runs, each in its own process\n\n",
                kScene.frames, kScene.extraFrame.width(), kScene.extraFrame.height(), kScene.frames,
                kScene.background.width(), kScene.background.height(), clock.nsecsElapsed() / 1e9, kRuns);

    BenchTargets targets;
    Measured load, plain;
    if (!measure(QStringLiteral("load"), documents, &load) || !measure(QStringLiteral("plain"), documents, &plain)) {
        std::printf("bench_preview_load: a measurement failed\n");
        return 1;
    }
    std::printf("  scene load:                      %7.3f ms a frame   peak %7.1f MB (limit %ld: %s)\n",
                load.msPerFrame, load.peakMb, kPeakLimitMb, targets.judge(load.peakMb < kPeakLimitMb));
    std::printf("  plain QImage load and scale:     %7.3f ms a frame   peak %7.1f MB\n", plain.msPerFrame,
                plain.peakMb);
    std::printf("  load / plain:                    %7.2f\n\n", load.msPerFrame / plain.msPerFrame);

    const QList<QByteArray> shown = runInOwnProcess({QStringLiteral("show"), documents});
    if (shown.size() != 8) {
        std::printf("bench_preview_load: the show measurement failed\n");
        return 1;
    }
    std::printf("one shown frame, GUI thread, %d frames stepped at the %d ms interval (median, worst), "
                "and a frame jumped to (median):\n",
                kShown, kScene.intervalMs);
    std::printf("  extra, 480 x 360 in MiscPic:            %6.2f ms  %6.2f ms   jumped %6.2f ms\n",
                shown[0].toDouble(), shown[1].toDouble(), shown[2].toDouble());
    std::printf("  full background, 1200 x 856 in MainPic: %6.2f ms  %6.2f ms   jumped %6.2f ms\n",
                shown[3].toDouble(), shown[4].toDouble(), shown[5].toDouble());
    std::printf("  peak memory after showing them:         %7.1f MB (limit %ld: %s)\n", shown[7].toDouble() / 1024,
                kPeakLimitMb, targets.judge(shown[7].toDouble() / 1024 < kPeakLimitMb));
    return targets.exitCode();
}
