#include "core/base/FileTransaction.h"

#include "core/base/NameList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <limits>
#include <mutex>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString shown(const QByteArray &path)
{
    return shown(QFile::decodeName(path));
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

// A unit may still be writing: its process runs, or it is an open unit of this one.
bool unitMayRun(const UnitFile &file)
{
    return file.process == qint64(::getpid()) ? unitIsOpen(file.unit) : processIsAlive(file.process);
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

// Brings the entries of every folder to the disk; the first failure as a
// sentence, empty when all went well.
QString syncFolders(const QStringList &folders)
{
    QString failure;
    for (const QString &folder : folders) {
        const int fd = openFolder(folder);
        const bool ok = fd >= 0 && ::fsync(fd) == 0;
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        if (!ok && failure.isEmpty())
            failure = QStringLiteral("Could not write the files in %1 to the disk: %2").arg(shown(folder),
                                                                                          systemReason(error));
    }
    return failure;
}

// The names in `folder` that begin as a unit's files do; read from the folder
// itself, nothing looked up for the others.
QStringList unitFileNames(const QString &folder)
{
    QStringList names;
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return names;
    const QByteArray prefix(UnitFilePrefix.data(), UnitFilePrefix.size());
    while (const dirent *entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, prefix.constData(), size_t(prefix.size())) == 0)
            names << QFile::decodeName(entry->d_name);
    }
    ::closedir(dir);
    return names;
}

// True when both paths are names of one file.
bool sameFile(const QByteArray &a, const QByteArray &b)
{
    struct stat sa, sb;
    return ::lstat(a.constData(), &sa) == 0 && ::lstat(b.constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

QByteArray fileName(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

QByteArray folderOf(const QByteArray &path)
{
    return path.left(path.lastIndexOf('/'));
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
    endJournal(true);
    const std::lock_guard<std::mutex> lock(openUnitsLock);
    openUnits.remove(m_serial);
}

bool FileTransaction::isTemporaryName(const QString &fileName)
{
    return fileName.startsWith(UnitFilePrefix);
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
    // A unit's file is left over when its process is gone, or is this one and
    // the unit is closed. Its staged files go. A kept-aside file goes only
    // while another name still holds its bytes (its target, before the unit
    // renamed over it): else it may be the only copy of the target's old
    // bytes, and is recover()'s to put back or remove, as are the journals.
    // A file of any other name is left alone, an earlier form of these names
    // among them.
    const QStringList names = unitFileNames(folder);
    for (const QString &name : names) {
        const std::optional<UnitFile> file = parseUnitFileName(name);
        if (!file || unitMayRun(*file))
            continue;
        const QByteArray path = QFile::encodeName(folder + u'/' + name);
        struct stat st;
        if (file->kind == UnitFile::Staged ||
            (file->kind == UnitFile::Kept && ::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode) &&
             st.st_nlink > 1))
            ::unlink(path.constData());
    }
}

void FileTransaction::discard(qsizetype from)
{
    for (qsizetype i = from; i < m_files.size(); ++i) {
        ::unlink(m_files[i].tempPath.constData());
        if (!m_files[i].keptPath.isEmpty() && !m_files[i].keep)
            ::unlink(m_files[i].keptPath.constData());
    }
    m_files.resize(from);
}

QByteArray FileTransaction::newTempPath(const QString &folder, UnitFile::Kind kind)
{
    return QFile::encodeName(folder + u'/' + UnitFile{kind, qint64(::getpid()), m_serial, ++m_next}.name());
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
    // A second name for the file costs nothing; a file system without links gets a copy.
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

FileResult FileTransaction::beginJournal(const QString &folder)
{
    QList<JournalEntry> entries;
    for (const Staged &file : std::as_const(m_files))
        entries << JournalEntry{file.targetPath, fileName(file.tempPath), fileName(file.keptPath)};
    const QByteArray bytes = journalBytes(entries);
    const auto failed = [&](const QString &reason) {
        return FileResult::failure(QStringLiteral("Could not write the files in %1: %2").arg(shown(folder), reason));
    };
    if (bytes.size() > JournalMaxSize)
        return failed(QStringLiteral("%1 files are more than one save holds").arg(m_files.size()));
    const QByteArray path =
        QFile::encodeName(folder + u'/' + UnitFile{UnitFile::Journal, qint64(::getpid()), m_serial, 0}.name());
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return failed(systemReason(errno));
    // The lock says the unit runs, for as long as the journal is open.
    (void)::flock(fd, LOCK_EX | LOCK_NB);
    if (const int error = writeAll(fd, bytes.constData(), bytes.size()); error) {
        ::unlink(path.constData());
        ::close(fd);
        return failed(systemReason(error));
    }
    m_journal = fd;
    m_journalPath = path;
    return FileResult::success();
}

void FileTransaction::endJournal(bool remove)
{
    if (m_journal < 0)
        return;
    // Removed before its lock goes, so that no recover() takes the unit for one that died.
    if (remove)
        ::unlink(m_journalPath.constData());
    ::close(m_journal);
    m_journal = -1;
    m_journalPath.clear();
}

QString FileTransaction::undo(qsizetype renamed)
{
    QStringList notBack;
    for (qsizetype i = renamed - 1; i >= 0; --i) {
        Staged &file = m_files[i];
        if (file.keptPath.isEmpty()) {
            if (::unlink(file.targetPath.constData()) != 0 && errno != ENOENT)
                notBack << QStringLiteral("%1 (%2)").arg(shown(file.target), systemReason(errno));
        } else if (fileCalls().rename(file.keptPath, file.targetPath)) {
            file.keptPath.clear();
        } else {
            // The old bytes stay where they are, the only copy of them.
            file.keep = true;
            notBack << QStringLiteral("%1 (%2); what it held before is kept in %3")
                           .arg(shown(file.target), systemReason(errno), shown(file.keptPath));
        }
    }
    if (notBack.isEmpty())
        return QString();
    m_partlyCommitted = true;
    return QStringLiteral("; these files could not be put back as they were:\n") + nameListText(notBack);
}

FileResult FileTransaction::stage(const QString &target, const QByteArray &bytes)
{
    FileResult result;
    const auto failed = [&](const QString &reason) {
        result.error = QStringLiteral("Could not write %1: %2").arg(shown(target), reason);
        return result;
    };
    const QFileInfo info(target);
    const QString folder = QDir::cleanPath(info.absolutePath());
    if (!m_folders.contains(folder)) {
        if (!QFileInfo(folder).isDir())
            return failed(QStringLiteral("the folder %1 does not exist").arg(shown(folder)));
        removeLeftovers(folder);
        m_folders << folder;
    }

    Staged file{target, QFile::encodeName(folder + u'/' + info.fileName()), QByteArray(), folder, QByteArray()};
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

    file.tempPath = newTempPath(folder, UnitFile::Staged);
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
    m_partlyCommitted = false;
    if (m_files.isEmpty())
        return FileResult::success();
    QStringList folders;
    for (const Staged &file : m_files)
        if (!folders.contains(file.folder))
            folders << file.folder;
    // Before the first rename, nothing has changed: the unit's files go, and so does its journal.
    const auto failedBefore = [&](const QString &error) {
        discard(0);
        endJournal(true);
        return FileResult::failure(error);
    };

    // What the unit replaces is kept until every file is in place, so that a
    // failure on the way can put it back; the journal names it first, so that
    // no kept file is ever without it.
    for (Staged &file : m_files) {
        struct stat old;
        if (::lstat(file.targetPath.constData(), &old) == 0)
            file.keptPath = newTempPath(file.folder, UnitFile::Kept);
        else if (errno != ENOENT)
            return failedBefore(QStringLiteral("Could not write %1: %2").arg(shown(file.target), systemReason(errno)));
    }
    if (const FileResult begun = beginJournal(folders.first()); !begun)
        return failedBefore(begun.error);
    for (Staged &file : m_files) {
        if (file.keptPath.isEmpty())
            continue;
        if (const FileResult kept = keepAside(file); !kept)
            return failedBefore(kept.error);
    }

    // One sync for the data of every file and the journal, on each file system written to.
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
        if (error)
            return failedBefore(QStringLiteral("Could not write the files in %1 to the disk: %2")
                                    .arg(shown(folder), systemReason(error)));
    }

    QString error;
    qsizetype renamed = 0;
    for (; renamed < m_files.size(); ++renamed) {
        const Staged &file = m_files[renamed];
        if (!fileCalls().rename(file.tempPath, file.targetPath)) {
            error = QStringLiteral("Could not write %1: %2").arg(shown(file.target), systemReason(errno));
            break;
        }
    }
    if (error.isEmpty()) {
        // Every file is in place, but may not stay so while a sync fails: the
        // journal and the old files stay for recover(), which puts the old
        // files back unless the journal says the unit is whole.
        const auto notForGood = [&](const QString &unsynced) {
            for (Staged &file : m_files)
                file.keep = !file.keptPath.isEmpty();
            m_partlyCommitted = true;
            discard(0);
            endJournal(false);
            return FileResult::failure(unsynced);
        };
        // The renames themselves reach the disk.
        if (const QString unsynced = syncFolders(folders); !unsynced.isEmpty())
            return notForGood(unsynced);
        // The journal says the unit is whole: from here on a crash keeps the new files.
        const QByteArray done = folderOf(m_journalPath) + '/' +
                                QFile::encodeName(UnitFile{UnitFile::Done, qint64(::getpid()), m_serial, 0}.name());
        if (fileCalls().rename(m_journalPath, done)) {
            m_journalPath = done;
            if (const QString unsynced = syncFolders({folders.first()}); !unsynced.isEmpty())
                return notForGood(unsynced);
            discard(0);
            endJournal(true);
            return FileResult::success();
        }
        error = QStringLiteral("Could not write the files in %1 to the disk: %2")
                    .arg(shown(folders.first()), systemReason(errno));
    }

    // What was renamed goes back. The journal goes once that is on the disk;
    // it stays while a file holds what the unit wrote.
    error += undo(renamed);
    const bool back = syncFolders(folders).isEmpty() && !m_partlyCommitted;
    discard(0);
    endJournal(back);
    return FileResult::failure(error);
}

namespace {

// Makes whole the unit of the journal `name` in `folder` when its process
// stopped: see FileTransaction::recover. What is left as it is goes into
// `problems`, one line a file.
void recoverUnit(const QString &folder, const UnitFile &unit, const QStringList &folders,
                 FileTransaction::Recovery *report, QStringList *problems)
{
    const QString journalPath = folder + u'/' + unit.name();
    const QByteArray path = QFile::encodeName(journalPath);
    const auto leftAsItIs = [&](const QString &why) {
        *problems << QStringLiteral("%1: left as it is: %2").arg(shown(journalPath), why);
    };
    struct stat st;
    if (::lstat(path.constData(), &st) != 0) {
        if (errno != ENOENT)
            leftAsItIs(systemReason(errno));
        return;
    }
    if (S_ISLNK(st.st_mode)) {
        leftAsItIs(systemReason(ELOOP));
        return;
    }
    const OpenedFile opened(journalPath);
    if (opened.problem() == OpenedFile::Problem::Missing)
        return;
    if (!opened.ok()) {
        leftAsItIs(opened.problem() == OpenedFile::Problem::Folder ? QStringLiteral("it is not a regular file")
                                                                   : opened.reason());
        return;
    }
    // A running unit holds its journal locked; where the file system has no
    // locks, its process tells. A journal gone or replaced once locked was
    // made whole by another process meanwhile.
    const bool locked = ::flock(opened.descriptor(), LOCK_EX | LOCK_NB) == 0;
    const bool heldByAnother = !locked && errno == EWOULDBLOCK;
    if (heldByAnother || (!locked && unitMayRun(unit)))
        return;
    if (const std::optional<FileStamp> now = fileStamp(journalPath); !now || !now->sameFile(opened.stamp()))
        return;
    // Read to one byte past the cap, which the reader refuses by its size.
    const FileRead bytes = readOpenedFile(opened, std::min(opened.size(), JournalMaxSize + 1), journalPath);
    if (!bytes) {
        leftAsItIs(bytes.error);
        return;
    }
    const Result<JournalRead> journal = readJournal(bytes.value, unit.process, unit.unit, folders);
    if (!journal) {
        leftAsItIs(journal.error);
        return;
    }

    // A journal cut off while it was written was so before the first rename:
    // every target is as it was.
    QStringList notBack;
    if (unit.kind == UnitFile::Journal && journal.value.whole) {
        QStringList touched;
        for (qsizetype i = journal.value.entries.size() - 1; i >= 0; --i) {
            const JournalEntry &entry = journal.value.entries[i];
            const QByteArray target = entry.target;
            if (!touched.contains(QFile::decodeName(folderOf(target))))
                touched << QFile::decodeName(folderOf(target));
            if (entry.kept.isEmpty()) {
                if (::unlink(target.constData()) != 0 && errno != ENOENT)
                    notBack << QStringLiteral("%1: not removed (%2)").arg(shown(target), systemReason(errno));
                continue;
            }
            const QByteArray kept = folderOf(target) + '/' + entry.kept;
            struct stat keptStat;
            if (::lstat(kept.constData(), &keptStat) != 0)
                continue; // back already, or never kept aside
            if (sameFile(kept, target)) {
                ::unlink(kept.constData()); // the target was never replaced
                continue;
            }
            if (!fileCalls().rename(kept, target))
                notBack << QStringLiteral("%1: not put back (%2); what it held before is in %3")
                               .arg(shown(target), systemReason(errno), QFile::decodeName(entry.kept));
        }
        if (notBack.isEmpty())
            if (const QString unsynced = syncFolders(touched); !unsynced.isEmpty())
                notBack << unsynced;
    }
    if (!notBack.isEmpty()) {
        *problems << notBack
                  << QStringLiteral("%1: kept, to undo that save at the next start").arg(shown(journalPath));
        return;
    }

    // Every temporary file of the unit goes, and then its journal.
    const QString prefix = UnitFile::filesPrefix(unit.process, unit.unit);
    for (const QString &f : folders)
        for (const QString &name : unitFileNames(f))
            if (name.startsWith(prefix))
                ::unlink(QFile::encodeName(f + u'/' + name).constData());
    ::unlink(path.constData());
    (void)syncFolders({folder});
    ++(unit.kind == UnitFile::Done ? report->finished : report->undone);
}

} // namespace

Result<FileTransaction::Recovery> FileTransaction::recover(const QStringList &folders)
{
    QStringList cleaned;
    for (const QString &folder : folders) {
        const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
        if (QFileInfo(path).isDir() && !cleaned.contains(path))
            cleaned << path;
    }
    Recovery report;
    QStringList problems;
    for (const QString &folder : std::as_const(cleaned)) {
        for (const QString &name : unitFileNames(folder)) {
            const std::optional<UnitFile> file = parseUnitFileName(name);
            if (file && (file->kind == UnitFile::Journal || file->kind == UnitFile::Done))
                recoverUnit(folder, *file, cleaned, &report, &problems);
        }
    }
    for (const QString &folder : std::as_const(cleaned))
        removeLeftovers(folder);
    if (problems.isEmpty())
        return Result<Recovery>::success(report);
    return Result<Recovery>::failure(
        QStringLiteral("A save that was cut off could not be undone. These files are left as they are:\n") +
        nameListText(problems));
}
