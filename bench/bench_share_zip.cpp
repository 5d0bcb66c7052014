// Zips a share package's staging tree whose extra animation has 1000 frames
// of 640 x 480 JPEG, through the zip wrapper as the upload does it, beside
// "zip -r -q" of the same tree at the same level (6) in the same run.

#include "adapters/zip/cZip.h"
#include "sharing/SharePackage.h"

#include "bench/BenchSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kFrames = 1000;
constexpr int kWidth = 640, kHeight = 480;
constexpr int kRuns = 3;

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);

    QTemporaryDir temp;
    if (!temp.isValid()) {
        std::fprintf(stderr, "bench_share_zip: no temporary folder\n");
        return 1;
    }
    const QString base = temp.path() + QStringLiteral("/Velm5Pro/");
    const QString staging = base + QStringLiteral("Data/Temp/ShareTemp/");
    const QString zips = base + QStringLiteral("Data/Temp/zips/");
    for (const char *folder : {"Files/Images", "Files/Scenes"})
        QDir().mkpath(staging + QLatin1String(folder));
    QDir().mkpath(zips);
    QFile::copy(QCoreApplication::applicationFilePath(), staging + QStringLiteral("mediadrop.exe"));
    QFile scene(staging + QStringLiteral("Files/Scenes/Bench.scn"));
    if (!scene.open(QIODevice::WriteOnly))
        return 1;
    scene.write("BG=BenchBG.jpg;\r\n\r\n");
    scene.close();
    qint64 bytes = QFileInfo(staging + QStringLiteral("mediadrop.exe")).size();
    for (int n = 0; n <= kFrames; ++n) {
        const QString name = n == 0 ? QStringLiteral("BenchBG.jpg") : QStringLiteral("BenchExtra%1.jpg").arg(n, 4, 10, QChar(u'0'));
        const QString path = staging + QStringLiteral("Files/Images/") + name;
        fixtureFrame(n).save(path, "JPEG", 90);
        bytes += QFileInfo(path).size();
    }

    cZip zip;
    std::vector<double> ours, theirs;
    for (int run = 0; run < kRuns; ++run) {
        const QString name = QStringLiteral("Bench%1").arg(100000000 + run);
        QElapsedTimer timer;
        timer.start();
        zipSharePackage(zip, base, name);
        ours.push_back(timer.nsecsElapsed() / 1e6);
        if (!zip.Success()) {
            std::printf("bench_share_zip: the zip failed: %s\n", qPrintable(zip.LastError()));
            return 1;
        }

        QProcess infoZip;
        infoZip.setWorkingDirectory(staging);
        QStringList arguments{QStringLiteral("-r"), QStringLiteral("-q"), QStringLiteral("-6"),
                              zips + QStringLiteral("plain%1.zip").arg(run), QStringLiteral("."), QStringLiteral("-i")};
        arguments << sharePackagePatterns();
        timer.restart();
        infoZip.start(QStringLiteral("zip"), arguments);
        if (!infoZip.waitForFinished(600000) || infoZip.exitCode() != 0) {
            std::printf("bench_share_zip: zip failed: %s\n", infoZip.readAllStandardError().constData());
            return 1;
        }
        theirs.push_back(timer.nsecsElapsed() / 1e6);
    }

    const double zipMs = median(ours), plainMs = median(theirs);
    std::printf("bench_share_zip: %d frames of %d x %d JPEG, installer and scene, %.1f MB staged; median of %d runs\n",
                kFrames, kWidth, kHeight, bytes / 1e6, kRuns);
    std::printf("  zip step (cZip over libzip, level 6): %.1f ms\n", zipMs);
    std::printf("  zip -r -q -6 of the same tree:        %.1f ms\n", plainMs);
    std::printf("  ratio zip step / zip:                 %.2f\n", zipMs / plainMs);
    std::printf("  archive sizes: %.2f MB and %.2f MB\n",
                QFileInfo(zip.ZipFile()).size() / 1e6,
                QFileInfo(zips + QStringLiteral("plain%1.zip").arg(kRuns - 1)).size() / 1e6);
    return 0;
}
