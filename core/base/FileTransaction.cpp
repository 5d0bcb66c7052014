#include "core/base/FileTransaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <limits>
#include <mutex>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QLatin1String kTempPrefix(".~save-");

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

FileCalls &systemCalls()
{
    static FileCalls calls;
    return calls;
}

FileCalls *installedCalls = nullptr;

// The units of this process that are open, by serial: their temporary files
// are no leftovers.
std::mutex openUnitsLock;
QSet<quint64> openUnits;
std::atomic<quint64> nextSerial{1};

bool unitIsOpen(quint64 serial)
{
    const std::lock_guard<std::mutex> lock(openUnitsLock);
    return openUnits.contains(serial);
}

bool processIsAlive(qint64 pid)
{
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

// Writes all of `data` through the calls in use; errno on failure.
int writeAll(int fd, const char *data, qint64 size)
{
    for (qint64 done = 0; done < size;) {
        const qint64 n = fileCalls().write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        done += n;
    }
    return 0;
}

// Opens a folder for syncing; -1 with errno set when it cannot.
int openFolder(const QString &folder)
{
    return ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

} // namespace

qint64 FileCalls::write(int fd, const char *data, qint64 size)
{
    return ::write(fd, data, size_t(size));
}

bool FileCalls::syncFileSystem(int folderFd)
{
    return ::syncfs(folderFd) == 0;
}

bool FileCalls::rename(const QByteArray &from, const QByteArray &to)
{
    return ::rename(from.constData(), to.constData()) == 0;
}

bool FileCalls::link(const QByteArray &from, const QByteArray &to)
{
    return ::link(from.constData(), to.constData()) == 0;
}

FileCalls &fileCalls()
{
    return installedCalls ? *installedCalls : systemCalls();
}

void setFileCalls(FileCalls *calls)
{
    installedCalls = calls;
}

FileTransaction::FileTransaction() : m_serial(nextSerial++)
{
    const std::lock_guard<std::mutex> lock(openUnitsLock);
    openUnits.insert(m_serial);
}

FileTransaction::~FileTransaction()
{
    discard(0);
    const std::lock_guard<std::mutex> lock(openUnitsLock);
    openUnits.remove(m_serial);
}

bool FileTransaction::isTemporaryName(const QString &fileName)
{
    return fileName.startsWith(kTempPrefix);
}

QStringList FileTransaction::staged() const
{
    QStringList targets;
    for (const Staged &file : m_files)
        targets << file.target;
    return targets;
}

void FileTransaction::removeLeftovers(const QString &folder)
{
    // A temporary file is named .~save-<process>-<unit>-<number>. It is left
    // over when its process is gone, or is this one and its unit is closed.
    const QDir dir(folder);
    const QStringList names =
        dir.entryList({kTempPrefix + u'*'}, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString &name : names) {
        const QStringList parts = name.mid(kTempPrefix.size()).split(u'-');
        bool pidOk = false, serialOk = false;
        const qint64 pid = parts.value(0).toLongLong(&pidOk);
        const quint64 serial = parts.value(1).toULongLong(&serialOk);
        if (parts.size() != 3 || !pidOk || !serialOk)
            continue; // not one of ours
        const bool ours = pid == qint64(::getpid());
        if (ours ? unitIsOpen(serial) : processIsAlive(pid))
            continue;
        ::unlink(QFile::encodeName(dir.filePath(name)).constData());
    }
}

void FileTransaction::discard(qsizetype from)
{
    for (qsizetype i = from; i < m_files.size(); ++i) {
        ::unlink(m_files[i].tempPath.constData());
        if (!m_files[i].keptPath.isEmpty())
            ::unlink(m_files[i].keptPath.constData());
    }
    m_files.resize(from);
}

QByteArray FileTransaction::newTempPath(const QString &folder)
{
    return QFile::encodeName(folder + u'/' + kTempPrefix + QString::number(::getpid()) + u'-' +
                             QString::number(m_serial) + u'-' + QString::number(++m_next));
}

namespace {

// Copies the file `from` to the new file `to` with its permissions; errno on failure.
int copyFile(const QByteArray &from, const QByteArray &to)
{
    const int in = ::open(from.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (in < 0)
        return errno;
    struct stat st;
    int error = ::fstat(in, &st) == 0 ? 0 : errno;
    const int out = error ? -1 : ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (!error && out < 0)
        error = errno;
    if (!error && ::fchmod(out, st.st_mode & 07777) != 0)
        error = errno;
    char buffer[64 * 1024];
    while (!error) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : 0;
            break;
        }
        error = writeAll(out, buffer, n);
    }
    ::close(in);
    if (out >= 0 && ::close(out) != 0 && !error)
        error = errno;
    if (error && out >= 0)
        ::unlink(to.constData());
    return error;
}

} // namespace

FileResult FileTransaction::keepAside(Staged &file)
{
    struct stat old;
    if (::lstat(file.targetPath.constData(), &old) != 0) {
        if (errno == ENOENT)
            return FileResult::success(); // a new file: nothing to keep
        return FileResult::failure(
            QStringLiteral("Could not write %1: %2").arg(shown(file.target), systemReason(errno)));
    }
    // A second name for the file costs nothing; a file system without links gets a copy.
    file.keptPath = newTempPath(file.folder);
    if (fileCalls().link(file.targetPath, file.keptPath))
        return FileResult::success();
    if (const int error = copyFile(file.targetPath, file.keptPath); error) {
        file.keptPath.clear();
        return FileResult::failure(QStringLiteral("Could not write %1: the file there could not be kept aside "
                                                  "while the others are written: %2")
                                       .arg(shown(file.target), systemReason(error)));
    }
    return FileResult::success();
}

QString FileTransaction::undo(qsizetype renamed)
{
    QStringList notBack;
    for (qsizetype i = renamed - 1; i >= 0; --i) {
        Staged &file = m_files[i];
        const bool back = file.keptPath.isEmpty() ? ::unlink(file.targetPath.constData()) == 0
                                                  : fileCalls().rename(file.keptPath, file.targetPath);
        if (back)
            file.keptPath.clear();
        else
            notBack << QStringLiteral("%1 (%2)").arg(shown(file.target), systemReason(errno));
    }
    if (notBack.isEmpty())
        return QString();
    m_partlyCommitted = true;
    return QStringLiteral("; these files could not be put back as they were: ") + notBack.join(QStringLiteral(", "));
}

FileResult FileTransaction::stage(const QString &target, const QByteArray &bytes)
{
    FileResult result;
    const auto failed = [&](const QString &reason) {
        result.error = QStringLiteral("Could not write %1: %2").arg(shown(target), reason);
        return result;
    };
    const QFileInfo info(target);
    const QString folder = info.absolutePath();
    if (!m_folders.contains(folder)) {
        if (!QFileInfo(folder).isDir())
            return failed(QStringLiteral("the folder %1 does not exist").arg(shown(folder)));
        removeLeftovers(folder);
        m_folders << folder;
    }

    Staged file{target, QFile::encodeName(info.absoluteFilePath()), QByteArray(), folder, QByteArray()};
    struct stat old;
    const bool exists = ::lstat(file.targetPath.constData(), &old) == 0;
    if (exists) {
        if (S_ISLNK(old.st_mode))
            return failed(QStringLiteral("it is a link"));
        if (S_ISDIR(old.st_mode))
            return failed(QStringLiteral("it is a folder"));
        if (!S_ISREG(old.st_mode))
            return failed(QStringLiteral("it is not a regular file"));
        if (::access(file.targetPath.constData(), W_OK) != 0)
            return failed(QStringLiteral("the file is write-protected"));
    }

    file.tempPath = newTempPath(folder);
    // A replaced file keeps its permissions; until they are set, nobody else may read the new one.
    const int fd = ::open(file.tempPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : 0666);
    if (fd < 0)
        return failed(systemReason(errno));
    int error = 0;
    if (exists && ::fchmod(fd, old.st_mode & 07777) != 0)
        error = errno;
    if (!error)
        error = writeAll(fd, bytes.constData(), bytes.size());
    if (::close(fd) != 0 && !error)
        error = errno;
    if (error) {
        ::unlink(file.tempPath.constData());
        return failed(systemReason(error));
    }

    // The same target staged again: only the later bytes go in place.
    for (qsizetype i = 0; i < m_files.size(); ++i) {
        if (m_files[i].targetPath == file.targetPath) {
            ::unlink(m_files[i].tempPath.constData());
            m_files.removeAt(i);
            break;
        }
    }
    m_files.append(file);
    return FileResult::success();
}

FileResult FileTransaction::commit()
{
    FileResult result;
    m_partlyCommitted = false;
    QStringList folders;
    for (const Staged &file : m_files)
        if (!folders.contains(file.folder))
            folders << file.folder;

    // What the unit replaces is kept until every file is in place, so that a
    // failure on the way can put it back.
    for (Staged &file : m_files) {
        if (const FileResult kept = keepAside(file); !kept) {
            discard(0);
            return kept;
        }
    }

    // One sync for the data of every file, on each file system written to.
    QList<dev_t> synced;
    for (const QString &folder : folders) {
        const int fd = openFolder(folder);
        struct stat st;
        int error = fd < 0 ? errno : 0;
        if (!error && ::fstat(fd, &st) != 0)
            error = errno;
        if (!error && !synced.contains(st.st_dev)) {
            if (fileCalls().syncFileSystem(fd))
                synced << st.st_dev;
            else
                error = errno;
        }
        if (fd >= 0)
            ::close(fd);
        if (error) {
            result.error = QStringLiteral("Could not write the files in %1 to the disk: %2")
                               .arg(shown(folder), systemReason(error));
            discard(0);
            return result;
        }
    }

    for (qsizetype i = 0; i < m_files.size(); ++i) {
        if (!fileCalls().rename(m_files[i].tempPath, m_files[i].targetPath)) {
            result.error = QStringLiteral("Could not write %1: %2").arg(shown(m_files[i].target), systemReason(errno));
            result.error += undo(i);
            break;
        }
    }
    // The files kept aside go, and so do the new files not put in place.
    discard(0);

    // The renames themselves reach the disk.
    for (const QString &folder : folders) {
        const int fd = openFolder(folder);
        const bool ok = fd >= 0 && ::fsync(fd) == 0;
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        if (!ok && result.error.isEmpty()) {
            // Every file is in place, but may not stay there if the system stops now.
            result.error = QStringLiteral("Could not write the files in %1 to the disk: %2")
                               .arg(shown(folder), systemReason(error));
            m_partlyCommitted = true;
        }
    }
    return result.error.isEmpty() ? FileResult::success() : result;
}
