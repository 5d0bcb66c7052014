#pragma once
// Replaces a set of files as one unit. Each new file is written to a
// temporary file beside its target. When the unit is committed it writes a
// journal (core/base/SaveJournal.h) of what goes where, keeps every file it
// replaces aside under a temporary name, brings the data of all of them to
// the disk with one sync of the file system, then renames each over its
// target in the order staged and syncs every folder. The journal then says
// the unit is whole and goes, and so do the files kept aside. A rename that
// fails puts back what the renames before it changed: the files kept aside
// return, the files that are new go.
//
// After a crash at any moment every target is either its old whole self or
// its new whole self, and recover() at the next start makes the unit whole:
// a unit stopped before its journal said it was whole is put back as it was
// before its commit, one stopped after is left in place; either way its
// temporary files go. Temporary files that a unit left behind when its
// process died are removed by the next unit that writes in the same folder,
// except the journals and the kept-aside files that may hold the only copy of
// a target's old bytes: those are recover()'s.

#include "core/base/Files.h"
#include "core/base/SaveJournal.h"

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
    // Removes every temporary file that was not renamed over its target, but
    // for a kept-aside file that could not be put back.
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
    // target not go back as it was, partlyCommitted() says so, the error
    // names that file and the file holding its old bytes, and the journal
    // stays so that recover() puts it back later. The unit is empty afterwards.
    FileResult commit();

    // After a commit that failed: true when the disk holds the unit in part
    // (a target could not be put back as it was) or whole but perhaps not for
    // good (a folder could not be synced after the renames; the journal stays,
    // and recover() puts the old files back).
    bool partlyCommitted() const { return m_partlyCommitted; }

    // The targets staged and not yet committed, in order.
    QStringList staged() const;

    // The name of a temporary file of a unit: for tests that look for leftovers.
    static bool isTemporaryName(const QString &fileName);

    // What recover() did.
    struct Recovery {
        int undone = 0;   // units put back as they were before their commit
        int finished = 0; // units whose files were all in place: their temporary files went
    };

    // Makes whole every unit whose process stopped while its files went in
    // place, from the journals in `folders`, which are to hold every folder
    // such a unit writes in (the start, and a save before it writes, call it
    // with theirs). For each: every kept-aside file is renamed back over its
    // target and every new target removed, then every temporary file of the
    // unit and its journal go. A unit whose journal said it was whole keeps
    // its files; only its temporary files go. Units still running, in this
    // process or another, are left alone; so is every file of another kind.
    // Fails, naming the files and the journal, when a file cannot be put back
    // (the journal and the files stay, to be tried again) or a journal is not
    // one a unit writes or names a file outside `folders` (left as it is,
    // never acted on); the other units are made whole all the same.
    [[nodiscard]] static Result<Recovery> recover(const QStringList &folders);

private:
    struct Staged {
        QString target;
        QByteArray targetPath; // encoded for the system calls
        QByteArray tempPath;
        QString folder;
        QByteArray keptPath; // the file it replaces, kept aside during the commit; empty for a new file
        bool keep = false;   // keptPath holds the only copy of the target's old bytes: never removed
    };

    QByteArray newTempPath(const QString &folder, UnitFile::Kind kind);
    static void removeLeftovers(const QString &folder);
    FileResult keepAside(Staged &file);
    FileResult beginJournal(const QString &folder);
    void endJournal(bool remove);
    QString undo(qsizetype renamed);
    void discard(qsizetype from);

    QList<Staged> m_files;
    QStringList m_folders; // every folder written in, cleaned of leftovers once
    quint64 m_serial;
    quint64 m_next = 0;
    bool m_partlyCommitted = false;
    int m_journal = -1; // the journal, open and locked while the commit runs
    QByteArray m_journalPath;
};
