// Uploads a 50 MB package (and its four small side files) through the upload
// sequence to the loopback receiver in count mode, beside curl's POST of the
// same request body ("curl -0 --data-binary") to the same receiver in the same
// run; best of three each.

#include "core/sharing/TickSource.h"
#include "core/sharing/UploadRequest.h"
#include "core/sharing/UrlHelper.h"
#include "sharing/UploadSequence.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Quiet quiet;
    services().messages = &quiet;
    QTemporaryDir temp;
    QByteArray package(kPackageSize, '\0');
    for (qint64 i = 0; i < kPackageSize; ++i)
        package[i] = char((i * 131) ^ (i >> 9));
    const QString zips = temp.path();
    if (!writeFile(zips + QStringLiteral("/P.zip"), package))
        return 1;
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
    double best = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer clock;
        clock.start();
        sequence.start(UploadJob{url, QStringLiteral("P"), zips, QStringLiteral("127.0.0.1")});
        while (sequence.isRunning())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        best = std::min(best, clock.nsecsElapsed() / 1e9);
        if (quiet.shown.last().startsWith(QLatin1String("Upload failed")) || quiet.shown.size() != run + 1) {
            std::fprintf(stderr, "bench_share_upload: %s\n", qPrintable(quiet.shown.join(u'|')));
            return 1;
        }
    }

    // The same request's body for curl, with its boundary in the header.
    const QByteArray request = BuildUploadRequest(package, ParseUrl(url), QStringLiteral("file"),
                                                  QStringLiteral("P.zip"), QStringLiteral("application/octet-stream"));
    const qsizetype headEnd = request.indexOf("\r\n\r\n") + 4;
    const QByteArray head = request.left(headEnd);
    const qsizetype typeAt = head.indexOf("Content-Type: ");
    const QByteArray contentType = head.mid(typeAt, head.indexOf("\r\n", typeAt) - typeAt);
    const QString body = temp.path() + QStringLiteral("/body");
    if (!writeFile(body, request.mid(headEnd)))
        return 1;
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
    std::printf("  sequence / curl rate:            %.2f\n", (mb / best) / (mb / bestCurl));
    return 0;
}
