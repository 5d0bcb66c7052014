#include "tests/support/FileWork.h"

#include <QFile>

#include <sys/inotify.h>
#include <unistd.h>

namespace {

// The "rchar" line of /proc/self/io: bytes passed to read calls so far.
qint64 processBytesRead()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = io.readAll().split('\n');
    for (const QByteArray &line : lines)
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    return -1;
}

} // namespace

FileWork::FileWork(const QStringList &folders) : m_folders(folders)
{
    m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd >= 0)
        for (const QString &folder : folders)
            if (inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_CLOSE_NOWRITE) >= 0)
                ++m_watched;
    // Taken after the watch is set up, so that its own reads do not count.
    m_bytesAtStart = processBytesRead();
}

FileWork::~FileWork()
{
    if (m_fd >= 0)
        close(m_fd);
}

void FileWork::collect()
{
    if (m_fd < 0)
        return;
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = read(m_fd, buffer, sizeof buffer);
        if (got <= 0)
            return;
        for (ssize_t at = 0; at < got;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            if ((event->mask & IN_CLOSE_NOWRITE) && !(event->mask & IN_ISDIR) && event->len > 0)
                ++m_opens[QFile::decodeName(event->name)];
            at += ssize_t(sizeof(inotify_event)) + event->len;
        }
    }
}

int FileWork::opened(const QString &name)
{
    collect();
    return m_opens.value(name);
}

QStringList FileWork::openedFiles()
{
    collect();
    QStringList names;
    for (auto it = m_opens.cbegin(); it != m_opens.cend(); ++it)
        for (int i = 0; i < it.value(); ++i)
            names << it.key();
    names.sort();
    return names;
}

qint64 FileWork::bytesRead() const
{
    return processBytesRead() - m_bytesAtStart;
}
