// One round of the library preview's timers: the master tick, then one tick
// of every layer timer (smile, blink, brow, user blink, extra and its pause,
// full background and its pause, trigger), on the preview's bench scene
// (bench/PreviewBenchScene.h) with every face layer, the rounds one animation
// interval apart as the timers space them. Beside it, in the same run, a
// plain loop that composes the same pictures (each shown layer's frame over
// its frame 01, the mask colour transparent) with QPainter alone and assigns
// them, as a ratio. Once with the 1000-frame animations, once with 10-frame
// ones: the cost of a round does not grow with the lists' length.

#include "core/preview/PreviewShow.h"
#include "platform/PictureBox.h"

#include "bench/PreviewBenchScene.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <vector>

namespace {

constexpr int kRounds = 100;

struct Round {
    double median = 0, worst = 0; // ms of the GUI thread
    double shown = 0;             // pictures shown a round
};

Round timed(std::vector<double> ms, double shown)
{
    const double worst = *std::max_element(ms.begin(), ms.end());
    return Round{median(ms), worst, shown};
}

// The preview's own round, through its timer handlers.
Round previewRounds(VelmNShare &w, int interval)
{
    int shown = 0;
    setShowRecorder([&shown](const ShownEntry &e) { shown += e.shown; });
    std::vector<double> ms;
    QElapsedTimer clock;
    for (int round = 0; round < kRounds; ++round) {
        clock.start();
        w.Player->Timer1_Timer();
        w.Player->SmileTimer1_Timer();
        w.Player->SmileTimer2_Timer();
        w.Player->Timer2_Timer();
        w.Player->BrowTimer1_Timer();
        w.Player->BrowTimer2_Timer();
        w.Player->Timer4_Timer();
        w.Player->Timer5_Timer();
        w.Player->Timer6_Timer();
        w.Player->Timer7_Timer();
        w.Player->Timer10_Timer();
        w.Player->Timer13_Timer();
        const qint64 spent = clock.nsecsElapsed();
        ms.push_back(spent / 1e6);
        QThread::usleep(std::max<qint64>(0, interval * 1000 - spent / 1000));
    }
    setShowRecorder({});
    return timed(ms, double(shown) / kRounds);
}

// A frame with the mask colour made transparent, as QPainter draws it over another.
QImage keyed(const QImage &frame)
{
    QImage out = frame.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((row[x] | 0xFF000000u) == ImageList::MaskColor)
                row[x] = 0;
    }
    return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// QPainter alone: every layer's next frame drawn over its frame 01, each into
// an image of its own that stands for its box, the frames decoded beforehand.
Round plainRounds(VelmNShare &w, int frames, int interval)
{
    struct Layer {
        QImage base;
        std::vector<QImage> tops;
        QImage shown;
    };
    std::vector<Layer> layers;
    const PreviewPlayer &p = *w.Player;
    const ImageList *lists[] = {&p.ImageList8, &p.ImageList10, &p.ImageList9, &p.ImageList11, &p.ImageList12,
                                &p.ImageList14};
    for (const ImageList *list : lists) {
        Layer layer;
        layer.base = list->Picture(1);
        for (int n = 2; n <= std::min(list->Count(), std::min(frames, 10) + 1); ++n)
            layer.tops.push_back(keyed(list->Picture(n)));
        if (!layer.base.isNull() && !layer.tops.empty())
            layers.push_back(std::move(layer));
    }
    std::vector<double> ms;
    QElapsedTimer clock;
    for (int round = 0; round < kRounds; ++round) {
        clock.start();
        for (Layer &l : layers) {
            QImage out(l.base.size(), QImage::Format_RGB32);
            QPainter p(&out);
            p.drawImage(0, 0, l.base);
            p.drawImage(0, 0, l.tops[size_t(round) % l.tops.size()]);
            p.end();
            l.shown = out;
        }
        const qint64 spent = clock.nsecsElapsed();
        ms.push_back(spent / 1e6);
        QThread::usleep(std::max<qint64>(0, interval * 1000 - spent / 1000));
    }
    return timed(ms, double(layers.size()));
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    QTemporaryDir temp;
    PreviewBenchServices bench(temp.filePath(QStringLiteral("Documents")));
    std::printf("bench_preview_tick: one round = the master tick and one tick of every layer timer, "
                "%d rounds an animation interval apart; GUI thread ms a round (median, worst)\n\n",
                kRounds);
    for (const int frames : {1000, 10}) {
        PreviewBenchScene scene;
        scene.name = QStringLiteral("Bench%1").arg(frames);
        scene.frames = frames;
        scene.faceLayers = true;
        if (!writePreviewBenchScene(bench.baseFolder(), scene)) {
            std::fprintf(stderr, "bench_preview_tick: could not write the scene\n");
            return 1;
        }
        destroyAllForms(); // the window lists the new scene when it is made again
        VelmNShare *w = openPreviewBenchScene(scene.name);
        if (!w || !bench.shown.isEmpty() || w->Player->ImageList14.Count() != frames + 1) {
            std::fprintf(stderr, "bench_preview_tick: the scene did not load: %s\n",
                         qPrintable(bench.shown.join(QStringLiteral(" | "))));
            return 1;
        }
        w->Player->ExtraAnim.PlayExtraMiscA = true;
        const Round preview = previewRounds(*w, scene.intervalMs);
        const Round plain = plainRounds(*w, frames, scene.intervalMs);
        std::printf("%4d-frame extra and full background, %d ms interval:\n", frames, scene.intervalMs);
        std::printf("  preview timers:         %6.3f ms  %6.3f ms   %.1f pictures shown a round\n", preview.median,
                    preview.worst, preview.shown);
        std::printf("  plain QPainter compose: %6.3f ms  %6.3f ms   %.0f pictures a round\n", plain.median,
                    plain.worst, plain.shown);
        std::printf("  preview / plain:        %6.2f\n\n", preview.median / plain.median);
    }
    destroyAllForms();
    return 0;
}
