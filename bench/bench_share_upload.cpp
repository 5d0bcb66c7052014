// Uploads a 50 MB package (and its four small side files) through the upload
// sequence to the loopback receiver in count mode, beside curl's POST of the
// same request body ("curl -0 --data-binary") to the same receiver in the same
// run; best of three each. Also the program's peak memory growth over the
// uploads (VmHWM before and after): the package is streamed from disk, and
// the benchmark itself never holds it whole either.

#include "core/sharing/TickSource.h"
#include "core/sharing/UploadRequest.h"
#include "core/sharing/UrlHelper.h"
#include "platform/WindowServices.h"
#include "sharing/UploadSequence.h"

#include "bench/BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr qint64 kPackageSize = 50 * 1000 * 1000;
constexpr int kRuns = 3;

class NoTicks : public TickSource {
public:
    bool on = false;
    void setEnabled(bool enabled) override { on = enabled; }
    bool isEnabled() const override { return on; }
    void setTickHandler(std::function<void()>) override {}
    qint64 now() const override { return 0; }
};

class Quiet : public MessageService {
public:
    QStringList shown;
    MsgResult show(const QString &text, MsgButtons, const QString &, MsgIcon) override
    {
        shown << text;
        return MsgResult::Ok;
    }
};

// The receiver, counting every connection's body.
class Receiver {
public:
    bool start()
    {
        QStringList modes;
        for (int n = 1; n <= 20; ++n)
            modes << QStringLiteral("%1=count").arg(n);
        process.start(QStringLiteral("/usr/bin/python3"),
                      QStringList{QStringLiteral(SCENARA_TEST_PEERS "/upload_receiver.py"), dir.path()} + modes);
        if (!process.waitForStarted(10000))
            return false;
        QByteArray line;
        while (!line.contains('\n'))
            if (!process.waitForReadyRead(10000))
                return false;
            else
                line += process.readAllStandardOutput();
        port = line.trimmed().toUShort();
        return port != 0;
    }
    ~Receiver()
    {
        process.kill();
        process.waitForFinished(10000);
    }
    QTemporaryDir dir;
    QProcess process;
    quint16 port = 0;
};

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Appends the package's bytes in blocks of 1 MB.
bool appendPackage(QFile &f)
{
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (qint64 at = 0; at < kPackageSize; at += block.size()) {
        const qint64 n = std::min<qint64>(block.size(), kPackageSize - at);
        for (qint64 i = 0; i < n; ++i) {
            const qint64 k = at + i;
            block[i] = char((k * 131) ^ (k >> 9));
        }
        if (f.write(block.constData(), n) != n)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Quiet quiet;
    windowServices().messages = &quiet;
    QTemporaryDir temp;
    const QString zips = temp.path();
    {
        QFile zip(zips + QStringLiteral("/P.zip"));
        if (!zip.open(QIODevice::WriteOnly) || !appendPackage(zip))
            return 1;
    }
    for (const char *name : {"P.jpg", "P.txt", "P-2.jpg", "P-cmnt.txt"})
        writeFile(zips + u'/' + QLatin1String(name), "small");

    Receiver receiver;
    if (!receiver.start()) {
        std::fprintf(stderr, "bench_share_upload: the receiver did not start\n");
        return 1;
    }
    const QString url = QStringLiteral("http://127.0.0.1:%1/VSH-APRV/post_dump.php").arg(receiver.port);

    NoTicks ticks;
    UploadSequence sequence(UploadSequence::Wiring{&ticks, nullptr, {}, [] { return QStringLiteral("c"); }, {}});
    // What the sequence reports: every run must end complete.
    int completed = 0;
    QStringList failures;
    QObject::connect(&sequence, &UploadSequence::completed, [&] { ++completed; });
    QObject::connect(&sequence, &UploadSequence::failed,
                     [&](const UploadFailure &failure) { failures << failure.stepLine(); });
    const long hwmBefore = statusKb("VmHWM:");
    double best = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer clock;
        clock.start();
        sequence.start(UploadJob{url, QStringLiteral("P"), zips, QStringLiteral("127.0.0.1")});
        while (sequence.isRunning())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        best = std::min(best, clock.nsecsElapsed() / 1e9);
        if (!failures.isEmpty() || completed != run + 1 || !quiet.shown.isEmpty()) {
            std::fprintf(stderr, "bench_share_upload: run %d did not complete: %s\n", run + 1,
                         qPrintable((failures + quiet.shown).join(u'|')));
            return 1;
        }
    }

    const long hwmAfter = statusKb("VmHWM:");

    // The same request's body for curl, with its boundary in the header.
    const UploadRequestFrame frame = BuildUploadRequestFrame(kPackageSize, ParseUrl(url), QStringLiteral("file"), QStringLiteral("P.zip"),
                                                             QStringLiteral("application/octet-stream"), MakeBoundary(32));
    const qsizetype headEnd = frame.head.indexOf("\r\n\r\n") + 4;
    // Each run's archive came whole: the receiver counted its body.
    const qint64 bodyLength = frame.head.size() - headEnd + kPackageSize + frame.tail.size();
    for (int run = 0; run < kRuns; ++run) {
        QFile record(receiver.dir.filePath(QStringLiteral("%1.json").arg(run * 5 + 1)));
        if (!record.open(QIODevice::ReadOnly)
            || QJsonDocument::fromJson(record.readAll()).object().value(QStringLiteral("body_length")).toInteger() != bodyLength) {
            std::fprintf(stderr, "bench_share_upload: the receiver did not get run %d's archive whole\n", run + 1);
            return 1;
        }
    }
    const QByteArray head = frame.head.left(headEnd);
    const qsizetype typeAt = head.indexOf("Content-Type: ");
    const QByteArray contentType = head.mid(typeAt, head.indexOf("\r\n", typeAt) - typeAt);
    const QString body = temp.path() + QStringLiteral("/body");
    {
        QFile f(body);
        if (!f.open(QIODevice::WriteOnly) || f.write(frame.head.mid(headEnd)) < 0 || !appendPackage(f)
            || f.write(frame.tail) != frame.tail.size())
            return 1;
    }
    double bestCurl = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        QProcess curl;
        QElapsedTimer clock;
        clock.start();
        curl.start(QStringLiteral("curl"), {QStringLiteral("-0"), QStringLiteral("-s"), QStringLiteral("-o"),
                                            QStringLiteral("/dev/null"), QStringLiteral("-H"), QString::fromLatin1(contentType),
                                            QStringLiteral("--data-binary"), QLatin1Char('@') + body, url + u'?'});
        if (!curl.waitForFinished(120000) || curl.exitCode() != 0) {
            std::fprintf(stderr, "bench_share_upload: curl failed\n");
            return 1;
        }
        bestCurl = std::min(bestCurl, clock.nsecsElapsed() / 1e9);
    }
    const double mb = kPackageSize / 1e6;
    std::printf("share upload of a %.0f MB package to the loopback receiver (best of %d)\n", mb, kRuns);
    std::printf("  upload sequence, five requests: %.3f s, %.1f MB/s\n", best, mb / best);
    std::printf("  curl -0 --data-binary, one POST: %.3f s, %.1f MB/s\n", bestCurl, mb / bestCurl);
    const double ratio = (mb / best) / (mb / bestCurl);
    const double growthMb = (hwmAfter - hwmBefore) / 1024.0;
    std::printf("  sequence / curl rate:            %.2f (target >= 0.9: %s)\n", ratio, ratio >= 0.9 ? "met" : "MISSED");
    std::printf("  peak memory growth (VmHWM):      %.1f MB (target < 16: %s)\n", growthMb,
                hwmBefore >= 0 && growthMb < 16 ? "met" : "MISSED");
    return 0;
}
