// Loads scenes made to exhaust the library preview, each in a process of its
// own, and prints how long the load kept the window busy and the peak memory
// (VmHWM) of the process, against the bounds the loader keeps to:
// - "Tiny": a 10 x 8 background under every character layer of 40 x 30
//   frames, which the ratio of 120 would blow up to 4800 x 3600;
// - "Photo": no background, every character layer of 4000 x 3000 photos;
// - "School": "MF=32767" with only frame 01, beside 3000 other pictures, and
//   300 child frames named in another letter case;
// - "Heavy": the most a scene within the bounds asks for: a background and
//   alternate image of 5600 x 5600, near the largest the picture readers take
//   (their 128 MB: 32 Mpx), every character layer of frames at the
//   frame bound's size, and four counted sets of 1000 frames of MainPic's
//   size each, as far as the file budget takes them.
// Each load's time is judged against a plain read of the heavy scene's
// pictures in the same run, so that a slower machine moves the bound with it:
// QImage decodes what the load decodes (the background and the alternate
// image, scaled to MainPic, every character frame and the counted sets' frame
// 01, scaled to the size the preview shows them at) and QFile reads the
// counted sets' other frame files as far as the file budget takes whole sets
// (the load keeps those to decode when shown). No scene, hostile or heavy,
// may keep the window busier than that read times kAnswerRatio.

#include "core/pictures/ImageWorkspace.h"
#include "core/preview/PreviewBudget.h"
#include "core/preview/PreviewScene.h"

#include "bench/PreviewBenchScene.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kRuns = 3;
// The answer time the loads keep to, against the plain decode, and the peak memory.
constexpr double kAnswerRatio = 5;
constexpr long kPeakLimitMb = 1536;

// The picture as the program writes a JPEG file.
QByteArray jpeg(const QImage &image)
{
    QByteArray bytes;
    if (!EncodeJpeg(image, &bytes))
        bytes.clear();
    return bytes;
}

bool put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const char *const kCharacterLayers[] = {"Mouth", "Smile", "Blink", "Brow", "UserMouth", "UserBlink"};
const int kCharacterFrames[] = {7, 14, 4, 9, 7, 4};

// The character layers' keys, all at 10, 20, their frames "<scene><layer>01.jpg".
QByteArray characterKeys(const QString &scene)
{
    const QByteArray s = scene.toLatin1();
    return "KM=" + s + "Mouth01.jpg;\r\nKMx=10;\r\nKMy=20;\r\nKS=" + s + "Smile01.jpg;\r\nKBr=" + s +
           "Brow01.jpg;\r\nKB=" + s + "Blink01.jpg;\r\nUM=" + s + "UserMouth01.jpg;\r\nUB=" + s + "UserBlink01.jpg;\r\n";
}

// Frames 01..count of a layer, each a link to the one file `target` in `images`.
bool linkFrames(const QString &images, const QString &layer, int count, const QString &target)
{
    for (int n = 1; n <= count; ++n)
        if (!QFile::link(target, images + layer + frameNumberText(n) + QStringLiteral(".jpg")))
            return false;
    return true;
}

bool writeCharacterFrames(const QString &images, const QString &scene, const QByteArray &bytes)
{
    const QString target = images + scene + QStringLiteral("Frame.jpg");
    if (!put(target, bytes))
        return false;
    for (int l = 0; l < 6; ++l)
        if (!linkFrames(images, scene + QLatin1String(kCharacterLayers[l]), kCharacterFrames[l], target))
            return false;
    return true;
}

bool writeScenes(const QString &base)
{
    const QString images = base + QStringLiteral("Images/"), scenes = base + QStringLiteral("Scenes/");
    if (!QDir().mkpath(images) || !QDir().mkpath(scenes))
        return false;
    bool ok = true;
    // Tiny
    ok = ok && put(images + QStringLiteral("TinyBG.jpg"), jpeg(photoFrame(10, 8, 1)));
    ok = ok && writeCharacterFrames(images, QStringLiteral("Tiny"), jpeg(photoFrame(40, 30, 2)));
    ok = ok && put(scenes + QStringLiteral("Tiny.scn"), "BG=TinyBG.jpg;\r\n" + characterKeys(QStringLiteral("Tiny")));
    // Photo
    const QByteArray photo = jpeg(photoFrame(4000, 3000, 3));
    ok = ok && writeCharacterFrames(images, QStringLiteral("Photo"), photo);
    ok = ok && put(scenes + QStringLiteral("Photo.scn"), characterKeys(QStringLiteral("Photo")));
    // School
    ok = ok && put(images + QStringLiteral("Fish01.jpg"), jpeg(photoFrame(40, 30, 4)));
    const QByteArray kick = jpeg(photoFrame(20, 20, 5));
    for (int n = 1; n <= 300 && ok; ++n)
        ok = put(images + QStringLiteral("KICK%1.JPG").arg(frameNumberText(n)), kick);
    for (int n = 0; n < 3000 && ok; ++n)
        ok = put(images + QStringLiteral("Other%1.jpg").arg(n), QByteArray());
    ok = ok && put(scenes + QStringLiteral("School.scn"),
                   "BG=TinyBG.jpg;\r\nMP=Fish01.jpg;\r\nMPx=5;\r\nMPy=5;\r\nMF=32767;\r\nEMA=Kick01.jpg;\r\nEMAF=300;\r\n");
    // Heaviest
    // The largest background the picture readers take, and the same as the alternate image.
    const QByteArray largestPhoto = jpeg(photoFrame(5600, 5600, 8));
    ok = ok && put(images + QStringLiteral("HeavyBG.jpg"), largestPhoto) &&
         put(images + QStringLiteral("HeavyAlt.jpg"), largestPhoto);
    const QSize largest = largestPreviewFrame(QSize(1200, 857));
    const QByteArray frame = jpeg(photoFrame(largest.width(), largest.height(), 6));
    ok = ok && writeCharacterFrames(images, QStringLiteral("Heavy"), frame);
    // The counted sets' frames of MainPic's size, their files within reach of the file budget.
    ok = ok && put(images + QStringLiteral("HeavySet.jpg"), jpeg(photoFrame(1200, 857, 7)));
    for (const char *set : {"Extra", "Child", "Full", "Trig"})
        ok = ok && linkFrames(images, QStringLiteral("Heavy") + QLatin1String(set), MaxCountedFrames,
                              images + QStringLiteral("HeavySet.jpg"));
    ok = ok && put(scenes + QStringLiteral("Heavy.scn"),
                   "BG=HeavyBG.jpg;\r\nNI=HeavyAlt.jpg;\r\n" + characterKeys(QStringLiteral("Heavy")) +
                       "MP=HeavyExtra01.jpg;\r\nMPx=0;\r\nMPy=0;\r\nMF=1000;\r\nEMA=HeavyChild01.jpg;\r\nEMAF=1000;\r\n"
                       "MainAnimName=HeavyFull01.jpg;\r\nMainAnimF=1000;\r\nTP=HeavyTrig01.jpg;\r\nTPx=0;\r\nTPy=0;\r\n"
                       "TF=1000;\r\n");
    return ok;
}

// The plain read of the heavy scene's pictures: each decoded or read once, and dropped.
int plainJob(const QString &documents)
{
    const QString images = PreviewBenchServices(documents).baseFolder() + QStringLiteral("Images/Heavy");
    const auto frame = [&images](QLatin1String layer, int n) {
        return images + layer + frameNumberText(n) + QStringLiteral(".jpg");
    };
    const QSize mainPic(1200, 857);
    const std::optional<double> ratio = PreviewRatio(mainPic.width(), 5600);
    const std::optional<QSize> frameShown = previewFrameSize(largestPreviewFrame(mainPic), ratio);
    const std::optional<QSize> setShown = previewFrameSize(mainPic, ratio);
    if (!frameShown || !setShown)
        return 1;
    QList<std::pair<QString, QSize>> decoded{{images + QStringLiteral("BG.jpg"), mainPic},
                                             {images + QStringLiteral("Alt.jpg"), mainPic}};
    QStringList read;
    for (int l = 0; l < 6; ++l)
        for (int n = 1; n <= kCharacterFrames[l]; ++n)
            decoded.append({frame(QLatin1String(kCharacterLayers[l]), n), *frameShown});
    qint64 fileBytes = 0;
    for (const char *set : {"Extra", "Child", "Full", "Trig"}) {
        decoded.append({frame(QLatin1String(set), 1), *setShown});
        QStringList files;
        qint64 bytes = 0;
        for (int n = 2; n <= MaxCountedFrames; ++n) {
            files << frame(QLatin1String(set), n);
            bytes += QFileInfo(files.last()).size();
        }
        if (fileBytes + bytes <= PreviewFileBudgetBytes) {
            fileBytes += bytes;
            read << files;
        }
    }
    QElapsedTimer clock;
    clock.start();
    for (const auto &[path, shown] : decoded) {
        if (QImage(path).scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).isNull()) {
            std::fprintf(stderr, "bench_preview_bounds: QImage could not load %s\n", qPrintable(path));
            return 1;
        }
    }
    for (const QString &path : read) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || file.readAll().isEmpty()) {
            std::fprintf(stderr, "bench_preview_bounds: could not read %s\n", qPrintable(path));
            return 1;
        }
    }
    std::printf("%.1f %ld %.1f\n", clock.nsecsElapsed() / 1e6, statusKb("VmHWM:"), 0.0);
    return 0;
}

// One load, as a click in "VELM Scenes" starts it: the time until the window is free again.
int loadJob(const QString &scene, const QString &documents)
{
    PreviewBenchServices bench(documents);
    form<VelmNShare>();
    QElapsedTimer clock;
    clock.start();
    const VelmNShare *w = openPreviewBenchScene(scene);
    const double ms = clock.nsecsElapsed() / 1e6;
    if (!w || !bench.shown.isEmpty()) {
        std::fprintf(stderr, "bench_preview_bounds: %s did not load %s\n", qPrintable(scene),
                     qPrintable(bench.shown.join(QStringLiteral(" | "))));
        return 1;
    }
    qint64 held = 0;
    for (const QImage &picture : w->HeldPictures())
        held += picture.sizeInBytes();
    std::printf("%.1f %ld %.1f\n", ms, statusKb("VmHWM:"), held / 1048576.0);
    destroyAllForms();
    return 0;
}

struct Measured {
    double ms = 0, peakMb = 0, heldMb = 0;
};

// The median of kRuns jobs, each in a process of its own.
bool measure(const QString &job, const QString &documents, Measured *out)
{
    std::vector<double> ms, peak, held;
    for (int run = 0; run < kRuns; ++run) {
        const QList<QByteArray> fields = runInOwnProcess({job, documents});
        if (fields.size() != 3)
            return false;
        ms.push_back(fields[0].toDouble());
        peak.push_back(fields[1].toDouble() / 1024);
        held.push_back(fields[2].toDouble());
    }
    *out = Measured{median(ms), median(peak), median(held)};
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    if (QStringList job; app.isJob(&job))
        return job.value(0) == QLatin1String("plain") ? plainJob(job.value(1)) : loadJob(job.value(0), job.value(1));

    QTemporaryDir temp;
    const QString documents = temp.filePath(QStringLiteral("Documents"));
    QElapsedTimer written;
    written.start();
    if (!temp.isValid() || !writeScenes(PreviewBenchServices(documents).baseFolder())) {
        std::fprintf(stderr, "bench_preview_bounds: could not write the scenes\n");
        return 1;
    }
    std::printf("bench_preview_bounds: scenes made to exhaust the preview (written in %.1f s); median of %d "
                "runs, each in its own process\n\n",
                written.nsecsElapsed() / 1e9, kRuns);
    Measured plain;
    if (!measure(QStringLiteral("plain"), documents, &plain)) {
        std::fprintf(stderr, "bench_preview_bounds: the plain decode failed\n");
        return 1;
    }
    const double limitMs = kAnswerRatio * plain.ms;
    std::printf("  plain read of Heavy's pictures %8.1f ms   peak %7.1f MB\n"
                "  answer limit: %.0f x the plain read = %.0f ms\n\n",
                plain.ms, plain.peakMb, kAnswerRatio, limitMs);
    BenchTargets targets;
    for (const char *scene : {"Tiny", "Photo", "School", "Heavy"}) {
        Measured load;
        if (!measure(QLatin1String(scene), documents, &load))
            return 1;
        std::printf("  %-8s load %8.1f ms (%.2f x plain: %s)   peak %7.1f MB (limit %ld: %s)   "
                    "decoded pictures held %7.1f MB\n",
                    scene, load.ms, load.ms / plain.ms, targets.judge(load.ms < limitMs), load.peakMb, kPeakLimitMb,
                    targets.judge(load.peakMb < kPeakLimitMb), load.heldMb);
    }
    return targets.exitCode();
}
