#pragma once
// A unit of files stopped as a crash or a power cut stops it: the work runs in
// a child process whose system calls end it at a chosen rename, with no
// destructor and no clean-up run, and the test goes on with the disk it left.

#include "core/base/FileTransaction.h"

#include <cstdio>
#include <functional>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

// The system's calls, but the process ends just before rename number
// `killBefore` or just after rename number `killAfter` (1 for the first).
class KillingCalls : public FileCalls {
public:
    static constexpr int KilledExit = 86;
    static constexpr int DoneExit = 87;

    int killBefore = 0;
    int killAfter = 0;

    bool rename(const QByteArray &from, const QByteArray &to) override
    {
        ++m_renames;
        if (m_renames == killBefore)
            ::_exit(KilledExit);
        const bool renamed = FileCalls::rename(from, to);
        if (m_renames == killAfter)
            ::_exit(KilledExit);
        return renamed;
    }

private:
    int m_renames = 0;
};

// How the work ended in its child process.
enum class KilledRun { Killed, RanToItsEnd, Failed };

// Runs `work` in a child process with `calls` installed.
inline KilledRun runKilled(const std::function<void()> &work, KillingCalls calls)
{
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        return KilledRun::Failed;
    if (child == 0) {
        setFileCalls(&calls);
        work();
        ::_exit(KillingCalls::DoneExit);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return KilledRun::Failed;
    switch (WEXITSTATUS(status)) {
    case KillingCalls::KilledExit:
        return KilledRun::Killed;
    case KillingCalls::DoneExit:
        return KilledRun::RanToItsEnd;
    default:
        return KilledRun::Failed;
    }
}
