#include "core/base/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString joinPath(const QString &folder, const QString &fragment)
{
    QString joined = folder + fragment;
    joined.replace(u'\\', u'/');
    if (!joined.contains(QStringLiteral("//")))
        return joined;
    QString out;
    out.reserve(joined.size());
    for (QChar c : joined) {
        if (c == u'/' && out.endsWith(u'/'))
            continue;
        out.append(c);
    }
    return out;
}

namespace {
void (*listedHook)(const QString &folder) = nullptr;
}

QString findFileIgnoringCase(const QString &folder, const QString &name)
{
    return FolderNames(folder).find(name);
}

FolderNames::FolderNames(QString folder) : m_folder(std::move(folder))
{
}

QString FolderNames::find(const QString &name)
{
    const QString exact = joinPath(m_folder.endsWith(u'/') ? m_folder : m_folder + u'/', name);
    if (QFileInfo::exists(exact))
        return exact;
    const QDir dir(m_folder);
    if (!m_listed) {
        m_listed = true;
        if (listedHook)
            listedHook(m_folder);
        const QStringList entries =
            dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
        m_byFolded.reserve(entries.size());
        for (const QString &entry : entries) {
            const QString folded = entry.toCaseFolded();
            if (!m_byFolded.contains(folded)) // the first of names alike, as a search finds it
                m_byFolded.insert(folded, entry);
        }
    }
    const auto it = m_byFolded.constFind(name.toCaseFolded());
    return it == m_byFolded.cend() ? exact : dir.filePath(*it);
}

void FolderNames::setListedHook(void (*hook)(const QString &folder))
{
    listedHook = hook;
}

QString resolvePathIgnoringCase(const QString &path)
{
    const QString p = joinPath(path, QString());
    const int slash = p.lastIndexOf(u'/');
    if (slash < 0)
        return findFileIgnoringCase(QStringLiteral("."), p).mid(2);
    return findFileIgnoringCase(p.left(slash + 1), p.mid(slash + 1));
}

bool liesDirectlyIn(const QString &path, const QString &folder)
{
    const QFileInfo file(path);
    const QString parent = file.absolutePath();
    if (QDir::cleanPath(parent) == QDir::cleanPath(QFileInfo(folder).absoluteFilePath()))
        return true;
    // The same folder reached through a link counts too.
    const QString canonicalParent = QFileInfo(parent).canonicalFilePath();
    return !canonicalParent.isEmpty() && canonicalParent == QFileInfo(folder).canonicalFilePath();
}

bool fileExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

FileResult writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    FileResult result;
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = QStringLiteral("Could not write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return result;
    }
    // Flushed and checked before the commit: a commit whose own flush fails
    // (a full disk) still renames, and the file would be replaced by a part.
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        result.error = QStringLiteral("Could not write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        file.cancelWriting();
        return result;
    }
    return FileResult::success();
}

FileResult copyFileAtomically(const QString &source, const QString &target)
{
    FileResult result;
    const auto failed = [&](const QString &reason) {
        result.error = QStringLiteral("Could not copy %1 to %2: %3")
                           .arg(QDir::toNativeSeparators(source), QDir::toNativeSeparators(target), reason);
        return result;
    };
    const QFileInfo from(source);
    if (!from.exists())
        return failed(QStringLiteral("the file does not exist"));
    // A pipe or a device would be read until its writer stops, perhaps never.
    if (!from.isFile())
        return failed(QStringLiteral("it is not a regular file"));
    const QFileInfo to(target);
    if (to.isSymLink())
        return failed(QStringLiteral("the target is a link"));
    if (to.exists() && !to.isFile())
        return failed(QStringLiteral("the target is not a regular file"));
    if (!QFileInfo(to.absolutePath()).isDir())
        return failed(QStringLiteral("the folder %1 does not exist").arg(QDir::toNativeSeparators(to.absolutePath())));

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return failed(in.errorString());
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return failed(out.errorString());
    // The copy takes the size the file had when opened, so a file that keeps
    // growing cannot hold it up for ever.
    qint64 left = in.size();
    while (left > 0) {
        const QByteArray chunk = in.read(qMin<qint64>(left, 1 << 16));
        if (chunk.isEmpty()) {
            const QString reason = in.error() != QFileDevice::NoError
                                       ? in.errorString()
                                       : QStringLiteral("the file became shorter while it was copied");
            out.cancelWriting();
            return failed(reason);
        }
        // A short write (the disk filling up) has no error yet; writing the
        // rest brings out the reason.
        for (qint64 written = 0; written < chunk.size();) {
            const qint64 n = out.write(chunk.constData() + written, chunk.size() - written);
            if (n <= 0) {
                const QString reason = out.errorString();
                out.cancelWriting();
                return failed(reason);
            }
            written += n;
        }
        left -= chunk.size();
    }
    if (!in.read(1).isEmpty()) {
        out.cancelWriting();
        return failed(QStringLiteral("the file grew while it was copied"));
    }
    // As in writeFileAtomically: a commit whose own flush fails still renames.
    if (!out.flush() || !out.commit()) {
        const QString reason = out.errorString();
        out.cancelWriting();
        return failed(reason);
    }
    return FileResult::success();
}

bool isBareName(const QString &name)
{
    if (name.isEmpty() || name == QStringLiteral(".") || name.contains(QStringLiteral("..")))
        return false;
    for (QChar c : name) {
        if (c == u'/' || c == u'\\' || c == u':' || c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

namespace {

void (*checkedHook)(const QString &path) = nullptr;

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

namespace {

FileStamp stampOf(const struct stat &st)
{
    return {quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_size),
            qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

}

std::optional<FileStamp> fileStamp(int descriptor)
{
    struct stat st {};
    if (::fstat(descriptor, &st) != 0)
        return std::nullopt;
    return stampOf(st);
}

std::optional<FileStamp> fileStamp(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return stampOf(st);
}

OpenedFile::OpenedFile(const QString &path)
{
    // Without O_NONBLOCK, opening a pipe waits until a writer opens it, perhaps for ever.
    const QByteArray name = QFile::encodeName(path);
    do
        m_fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0) {
        const int error = errno;
        m_problem = error == ENOENT ? Problem::Missing : Problem::System;
        m_reason = error == ENOENT ? QStringLiteral("the file does not exist") : systemReason(error);
        return;
    }
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) {
        m_problem = Problem::System;
        m_reason = systemReason(errno);
    } else if (S_ISDIR(st.st_mode)) {
        m_problem = Problem::Folder;
        m_reason = QStringLiteral("it is a folder");
    } else if (!S_ISREG(st.st_mode)) {
        // A pipe or a device would be read until its writer stops, perhaps never.
        m_problem = Problem::NotRegular;
        m_reason = QStringLiteral("it is not a regular file");
    } else {
        // A regular file is read with ordinary, waiting reads.
        const int flags = ::fcntl(m_fd, F_GETFL);
        if (flags == -1 || ::fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK) == -1) {
            m_problem = Problem::System;
            m_reason = systemReason(errno);
        } else {
            m_size = qint64(st.st_size);
            m_stamp = stampOf(st);
        }
    }
    if (!ok()) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    if (checkedHook)
        checkedHook(path);
}

OpenedFile::~OpenedFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void OpenedFile::setCheckedHook(void (*hook)(const QString &path))
{
    checkedHook = hook;
}

FileRead readOpenedFile(const OpenedFile &file, qint64 count, const QString &path, qint64 offset)
{
    FileRead result;
    QByteArray bytes(count, Qt::Uninitialized);
    qint64 done = 0;
    while (done < count) {
        const ssize_t n = ::pread(file.descriptor(), bytes.data() + done, size_t(count - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result.error =
                QStringLiteral("Could not read %1: %2").arg(QDir::toNativeSeparators(path), systemReason(errno));
            return result;
        }
        if (n == 0) {
            result.error = QStringLiteral("Could not read %1: it became shorter while it was read")
                               .arg(QDir::toNativeSeparators(path));
            return result;
        }
        done += n;
    }
    return FileRead::success(std::move(bytes));
}

FileResult checkFileToRead(const OpenedFile &file, qint64 maxSize, const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    FileResult result;
    if (!file.ok()) {
        const QString reason =
            file.problem() == OpenedFile::Problem::Folder ? QStringLiteral("it is not a regular file") : file.reason();
        result.error = QStringLiteral("Could not read %1: %2").arg(shown, reason);
        return result;
    }
    if (file.size() > maxSize) {
        result.error = QStringLiteral("Could not read %1: it is larger than %2 bytes").arg(shown).arg(maxSize);
        return result;
    }
    return FileResult::success();
}

FileRead readFile(const QString &path, qint64 maxSize)
{
    const OpenedFile file(path);
    if (FileResult checked = checkFileToRead(file, maxSize, path); !checked)
        return FileRead::failure(checked.error);
    // No more than the size that passed the check: bytes added since are not read.
    return readOpenedFile(file, file.size(), path);
}
