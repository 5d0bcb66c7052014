// The upload button's whole build for a scene whose extra animation has 1000
// frames of 640 x 480 JPEG: checks, staging, thumbnail, side files and the zip
// step, with the questions answered by script. The service's address in the
// bench's own settings is a port on loopback where nothing listens, so the
// upload that follows the zip is refused at once and times nothing. The zip
// step is timed on its own beside "zip -r -q" of the same staging tree at the
// same level (6), in the same run.

#include "core/scene/SceneState.h"
#include "core/system/Services.h"
#include "platform/WindowServices.h"
#include "library/VelmNShare.h"
#include "platform/Form.h"
#include "sharing/SharePackage.h"
#include "sharing/UploadSequence.h"

#include "bench/BenchSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kFrames = 1000;
constexpr int kRuns = 3;

// Yes to every question; notes when the zip step starts, and the first box
// after it, which ends it.
class Answers : public MessageService {
public:
    QElapsedTimer clock;
    qint64 zipStart = 0, zipEnd = 0;
    QStringList shown;
    MsgResult show(const QString &text, MsgButtons buttons, const QString &, MsgIcon) override
    {
        shown << text;
        if (text == ShareStartText)
            zipStart = clock.nsecsElapsed();
        else if (zipStart != 0 && zipEnd == 0)
            zipEnd = clock.nsecsElapsed();
        return buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::Ok;
    }
};

// A port on loopback where nothing listens: one the system handed out and
// took back.
quint16 closedLoopbackPort()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost))
        return 0;
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

class Folders : public EnvironmentService {
public:
    QString documents, program, config;
    QString documentsFolder() const override { return documents; }
    QString programFolder() const override { return program; }
    QString configFolder() const override { return config; }
    QString picturesFolder() const override { return documents; }
    double twipsPerPixelX() const override { return 15; }
    double twipsPerPixelY() const override { return 15; }
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    QTemporaryDir temp;
    Answers answers;
    Folders folders;
    folders.documents = temp.path();
    folders.program = QCoreApplication::applicationDirPath(); // mediadrop is built here
    folders.config = temp.path() + QStringLiteral("/config");
    QDir().mkpath(folders.config);
    const quint16 port = closedLoopbackPort();
    if (port == 0) {
        std::fprintf(stderr, "bench_share_build: no loopback port to name\n");
        return 1;
    }
    writeFile(folders.config + QStringLiteral("/sharing.ini"),
              QStringLiteral("[Service]\r\nHost=127.0.0.1:%1\r\n").arg(port).toLatin1());
    windowServices().messages = &answers;
    services().environment = &folders;

    const QString base = temp.path() + QStringLiteral("/Velm5Pro/");
    scene().BaseFolder = base;
    QDir().mkpath(base + QStringLiteral("Images"));
    fixtureFrame(0).save(base + QStringLiteral("Images/ReefBG.jpg"), "JPEG");
    for (int n = 1; n <= 7; ++n)
        fixtureFrame(n).copy(0, 0, 40, 30).save(base + QStringLiteral("Images/ReefMouth0%1.jpg").arg(n), "JPEG");
    for (int n = 1; n <= kFrames; ++n)
        fixtureFrame(n).save(base + QStringLiteral("Images/ReefExtra%1.jpg").arg(n, 2, 10, QLatin1Char('0')), "JPEG", 90);
    writeFile(base + QStringLiteral("Scenes/Reef.scn"),
              "BG=ReefBG.jpg;\r\nKM=ReefMouth01.jpg;\r\nKMh=30;\r\nKMw=40;\r\nKMx=10;\r\nKMy=20;\r\n\r\n");
    writeFile(base + QStringLiteral("Data/myscenes.dat"), "Reef\n\r\r\n");

    VelmNShare &w = form<VelmNShare>();
    w.List1->setCurrentRow(0); // a "Your Scenes" click loads the scene
    for (int n = 1; n <= kFrames; ++n)
        scene().Files.ExtraFrameFiles[n] = QStringLiteral("ReefExtra%1.jpg").arg(n, 2, 10, QLatin1Char('0'));
    w.Text2->setText(QStringLiteral("Bench"));

    std::vector<double> whole, zipStep, zipTool;
    const QString zips = base + QStringLiteral("Data/Temp/zips/");
    for (int run = 0; run < kRuns; ++run) {
        answers.shown.clear();
        answers.zipStart = answers.zipEnd = 0;
        answers.clock.start();
        w.Command7_Click();
        // The click returns once the zip is made and the upload has begun.
        const qint64 end = answers.clock.nsecsElapsed();
        if (answers.zipEnd == 0)
            answers.zipEnd = end;
        const double total = end / 1e9;
        // The refused upload ends in the event loop; the next click needs it ended.
        const QDeadlineTimer deadline(30000);
        while (w.Upload().isRunning() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        QCoreApplication::processEvents();
        if (answers.zipStart == 0 || w.Upload().isRunning()
            || !QFileInfo::exists(zips + w.UploadName + QStringLiteral(".zip"))) {
            std::fprintf(stderr, "bench_share_build: the build stopped: %s\n", qPrintable(answers.shown.join(u'|')));
            return 1;
        }
        whole.push_back(total);
        zipStep.push_back((answers.zipEnd - answers.zipStart) / 1e9);

        const QString out = temp.path() + QStringLiteral("/tool%1.zip").arg(run);
        QProcess zip;
        zip.setWorkingDirectory(base + QStringLiteral("Data/Temp/ShareTemp"));
        QElapsedTimer clock;
        clock.start();
        zip.start(QStringLiteral("zip"), {QStringLiteral("-r"), QStringLiteral("-q"), QStringLiteral("-6"), out,
                                          QStringLiteral("."), QStringLiteral("-i"), QStringLiteral("*.jpg"),
                                          QStringLiteral("*.scn"), QStringLiteral("*.exe"), QStringLiteral("*.wav")});
        if (!zip.waitForFinished(600000) || zip.exitCode() != 0) {
            std::fprintf(stderr, "bench_share_build: zip failed\n");
            return 1;
        }
        zipTool.push_back(clock.nsecsElapsed() / 1e9);
    }
    std::printf("share build, %d extra frames of 640x480 (median of %d)\n", kFrames, kRuns);
    std::printf("  Command7_Click whole build: %.3f s\n", median(whole));
    std::printf("  its zip step:               %.3f s\n", median(zipStep));
    std::printf("  zip -r -q -6 of the tree:   %.3f s\n", median(zipTool));
    std::printf("  zip step / zip:             %.2f\n", median(zipStep) / median(zipTool));
    destroyAllForms();
    return 0;
}
