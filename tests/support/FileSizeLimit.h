#pragma once
// While it lives, this process cannot make a file larger than `bytes`: a write
// past it fails with "File too large", as on a full disk or an exhausted quota.
// Unlike folder permissions it holds for root too. Keep it around the one call
// under test: it holds for every file the process writes, logs included.

#include <csignal>

#include <sys/resource.h>

#include <gtest/gtest.h>

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        // The kernel signals a write past the limit; ignored, the write fails instead.
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &m_before), 0);
        rlimit limit = m_before;
        limit.rlim_cur = bytes;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_before);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_before{};
    void (*m_handler)(int) = SIG_DFL;
};
