#include "tests/sharing/LoopbackPeer.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTest>

#include <csignal>
#include <sys/prctl.h>

bool LoopbackPeer::start(const QString &script, const QStringList &arguments)
{
    process_.setProgram(QStringLiteral("/usr/bin/python3"));
    process_.setArguments(QStringList{QStringLiteral(SCENARA_TEST_PEERS "/") + script} + arguments);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A test that dies (an assertion, a sanitizer report) never reaches stop():
    // the peer ends with it, so that it neither listens on nor holds the test
    // runner's output open.
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process_.start();
    // A peer that imports its mail or HTTP modules can take many seconds to
    // print its port on a machine busy with builds; the wait stays bounded.
    constexpr int startMs = 45000;
    if (!process_.waitForStarted(startMs)) {
        error_ = process_.errorString();
        return false;
    }
    QByteArray line;
    while (!line.contains('\n')) {
        if (!process_.waitForReadyRead(startMs)) {
            error_ = QStringLiteral("the peer printed no port");
            return false;
        }
        line += process_.readAllStandardOutput();
    }
    bool ok = false;
    port_ = quint16(line.trimmed().toUInt(&ok));
    if (!ok || port_ == 0) {
        error_ = QStringLiteral("the peer printed \"%1\"").arg(QString::fromUtf8(line.trimmed()));
        return false;
    }
    return true;
}

void LoopbackPeer::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.kill();
    process_.waitForFinished(10000);
}

bool startUploadReceiver(LoopbackPeer &peer, const QString &folder, const QStringList &modes)
{
    return QDir().mkpath(folder) && peer.start(QStringLiteral("upload_receiver.py"), QStringList{folder} + modes);
}

QJsonObject waitForRecord(const QString &folder, const QString &name, int timeoutMs)
{
    const QString path = QDir(folder).filePath(name);
    if (!QTest::qWaitFor([&] { return QFile::exists(path); }, timeoutMs))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}
