#pragma once
// Replaces a set of files as one unit. Each new file is written to a
// temporary file beside its target; when the unit is committed, every file it
// replaces is kept aside under a temporary name, the data of all of them
// reaches the disk with one sync of the file system, then each is renamed
// over its target in the order staged and every folder is synced. A rename
// that fails puts back what the renames before it changed: the files kept
// aside return, the files that are new go. After a crash at any moment every
// target is either its old whole self or its new whole self. Temporary files
// that a unit left behind when its process died are removed by the next unit
// that writes in the same folder.

#include "core/base/Files.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <sys/types.h>

// The system calls through which a unit changes the disk. Tests install
// their own to make one fail, or to look at the disk between two of them.
class FileCalls {
public:
    virtual ~FileCalls() = default;
    // Like write(2): the bytes written, or -1 with errno set.
    virtual qint64 write(int fd, const char *data, qint64 size);
    // Writes everything the file system holds for the open folder `folderFd`
    // to the disk; false with errno set.
    virtual bool syncFileSystem(int folderFd);
    // Like rename(2): false with errno set.
    virtual bool rename(const QByteArray &from, const QByteArray &to);
    // Like link(2): false with errno set.
    virtual bool link(const QByteArray &from, const QByteArray &to);
};

// The calls in use; the system's unless a test installed others.
FileCalls &fileCalls();
// Installs `calls` (nullptr: the system's again).
void setFileCalls(FileCalls *calls);

class FileTransaction {
public:
    FileTransaction();
    // Removes every temporary file that was not renamed over its target.
    ~FileTransaction();
    FileTransaction(const FileTransaction &) = delete;
    FileTransaction &operator=(const FileTransaction &) = delete;

    // Writes `bytes` to a temporary file beside `target`, to be put in place
    // by commit(). A target staged again gets the later bytes. A target that
    // is a folder, a link or anything but a regular file, or a write-protected
    // file, is refused, and so is a target whose folder does not exist.
    FileResult stage(const QString &target, const QByteArray &bytes);

    // Puts every staged file in place. When it fails, every target is as it
    // was before the commit (the files renamed before the failure are put
    // back, the new ones removed), and the error names the file; should a
    // target not go back as it was, partlyCommitted() says so and the error
    // names that file too. The unit is empty afterwards.
    FileResult commit();

    // After a commit that failed: true when the disk holds the unit in part
    // (a target could not be put back as it was) or whole but perhaps not for
    // good (a folder could not be synced after the renames).
    bool partlyCommitted() const { return m_partlyCommitted; }

    // The targets staged and not yet committed, in order.
    QStringList staged() const;

    // The name of a temporary file of a unit: for tests that look for leftovers.
    static bool isTemporaryName(const QString &fileName);

private:
    struct Staged {
        QString target;
        QByteArray targetPath; // encoded for the system calls
        QByteArray tempPath;
        QString folder;
        QByteArray keptPath; // the file it replaces, kept aside during the commit; empty for a new file
    };

    QByteArray newTempPath(const QString &folder);
    void removeLeftovers(const QString &folder);
    FileResult keepAside(Staged &file);
    QString undo(qsizetype renamed);
    void discard(qsizetype from);

    QList<Staged> m_files;
    QStringList m_folders; // every folder written in, cleaned of leftovers once
    quint64 m_serial;
    quint64 m_next = 0;
    bool m_partlyCommitted = false;
};
