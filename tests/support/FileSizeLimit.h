#pragma once
// A disk that fills up, for as long as the object lives: files of this process
// cannot grow past `bytes`, and a write beyond fails with "File too large"
// instead of ending the process. Unlike permissions it also holds for root.

#include <csignal>
#include <sys/resource.h>

#include <gtest/gtest.h>

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &m_saved), 0);
        rlimit lowered = m_saved;
        lowered.rlim_cur = bytes;
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &lowered), 0);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_saved {};
    void (*m_previousHandler)(int) = nullptr;
};
