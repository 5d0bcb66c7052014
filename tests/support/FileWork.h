#pragma once
// Counts the work done on files while it watches, so that a test bounds the
// work itself rather than the time it takes: how often each file of some
// folders was opened to be read (from the kernel's inotify notes, which see
// every opener; a file opened for writing is not counted), and how many bytes
// this process read from anywhere.

#include <QHash>
#include <QString>
#include <QStringList>

class FileWork {
public:
    // Watches the given folders (not their subfolders) from now on.
    explicit FileWork(const QStringList &folders);
    ~FileWork();
    FileWork(const FileWork &) = delete;
    FileWork &operator=(const FileWork &) = delete;

    bool watching() const { return m_fd >= 0 && m_watched == m_folders.size(); }
    // Times a file of a watched folder, by name, was opened to be read and
    // closed again since the watch began.
    int opened(const QString &name);
    // The names of the files so opened, sorted, a name once for each time.
    QStringList openedFiles();
    // Bytes this process has read from files, pipes and devices since the watch began.
    qint64 bytesRead() const;

private:
    void collect();

    int m_fd = -1;
    int m_watched = 0;
    QStringList m_folders;
    QHash<QString, int> m_opens;
    qint64 m_bytesAtStart = 0;
};
