// A peer never outlives the test that started it, even one that dies without
// stopping it: a peer left behind would hold the test runner's output open.

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <unistd.h>

#include "tests/sharing/LoopbackPeer.h"

namespace {

// Running, as opposed to gone or a zombie that only waits to be reaped.
bool isRunning(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray fields = stat.read(4096);
    const qsizetype close = fields.lastIndexOf(')');
    return close >= 0 && fields.size() > close + 2 && fields.at(close + 2) != 'Z';
}

// The folder of one run of the test, named by the test program's pid: the
// dying child (run again from the start by the death test) finds it through
// its parent's pid.
QString runFolder(qint64 testPid)
{
    return QDir::tempPath() + QStringLiteral("/scenara-peer-death-%1").arg(testPid);
}

TEST(LoopbackPeerDeathTest, APeerEndsWithATestThatDies)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const QString folder = runFolder(::getpid());
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_DEATH(
        {
            const QString parentFolder = runFolder(::getppid());
            LoopbackPeer peer;
            if (!startUploadReceiver(peer, parentFolder + QStringLiteral("/upload"), {}))
                std::_Exit(3);
            QFile out(parentFolder + QStringLiteral("/peer.pid"));
            if (!out.open(QIODevice::WriteOnly) || out.write(QByteArray::number(peer.processId())) <= 0)
                std::_Exit(4);
            out.close();
            // Dies as a failed assertion would: no destructor runs.
            std::abort();
        },
        "");
    QFile in(folder + QStringLiteral("/peer.pid"));
    const bool started = in.open(QIODevice::ReadOnly);
    const qint64 pid = started ? in.readAll().toLongLong() : 0;
    QDir(folder).removeRecursively();
    ASSERT_GT(pid, 0) << "the peer did not start";
    // The kill comes from the system as the test dies; give it a bounded moment.
    for (int i = 0; i < 200 && isRunning(pid); ++i)
        ::usleep(25000);
    EXPECT_FALSE(isRunning(pid)) << "peer " << pid << " outlived its test";
    if (isRunning(pid))
        ::kill(pid_t(pid), SIGKILL);
}

} // namespace
