// A unit of files: every target in place after the commit and none changed
// before it, every target as it was after a commit that fails (or, when it
// cannot be put back, whole and named), and no temporary file left once a
// unit has written in the folder again.

#include "core/base/FileTransaction.h"
#include "core/base/NameList.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cerrno>
#include <optional>

#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/core/KillingCalls.h"
#include "tests/support/Printers.h"
#include "tests/support/TestFiles.h"

namespace {

// The system's calls, but the n-th write, the sync, the renames numbered in
// failRenamesAt or every link can fail.
class FaultyCalls : public FileCalls {
public:
    int failWriteAt = 0;
    QList<int> failRenamesAt;
    bool failSync = false;
    bool failLinks = false;
    int writes = 0, syncs = 0, renames = 0;

    qint64 write(int fd, const char *data, qint64 size) override
    {
        if (++writes == failWriteAt) {
            errno = ENOSPC;
            return -1;
        }
        return FileCalls::write(fd, data, size);
    }
    bool syncFileSystem(int folderFd) override
    {
        ++syncs;
        if (failSync) {
            errno = EIO;
            return false;
        }
        return FileCalls::syncFileSystem(folderFd);
    }
    bool rename(const QByteArray &from, const QByteArray &to) override
    {
        if (failRenamesAt.contains(++renames)) {
            errno = EACCES;
            return false;
        }
        return FileCalls::rename(from, to);
    }
    bool link(const QByteArray &from, const QByteArray &to) override
    {
        if (failLinks) {
            errno = EPERM; // as on a file system without links
            return false;
        }
        return FileCalls::link(from, to);
    }
};

class FileTransactionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        setFileCalls(&calls);
    }
    void TearDown() override { setFileCalls(nullptr); }

    QString path(const QString &name) const { return dir.filePath(name); }
    void put(const QString &name, const QByteArray &bytes) { writeFile(path(name), bytes); }
    QByteArray bytesOf(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // The temporary files of units in a folder of the test.
    QStringList temporaries(const QString &folder = QString()) const
    {
        QStringList found;
        const QStringList names = QDir(path(folder)).entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString &name : names)
            if (FileTransaction::isTemporaryName(name))
                found << name;
        return found;
    }
    void putThreeOldFiles()
    {
        put(QStringLiteral("a.jpg"), "old a");
        put(QStringLiteral("b.jpg"), "old b");
        put(QStringLiteral("c.scn"), "old c");
    }
    // a.jpg and c.scn as they were, and no b.jpg: the unit replaces two files and adds one.
    void putTwoOldFiles()
    {
        put(QStringLiteral("a.jpg"), "old a");
        QFile::remove(path(QStringLiteral("b.jpg")));
        put(QStringLiteral("c.scn"), "old c");
    }
    // Runs recover() over the test's folder, which must succeed and leave the
    // three targets holding the bytes given, and no temporary file.
    FileTransaction::Recovery recoverThree(const char *a, const char *b, const char *c)
    {
        const auto recovered = FileTransaction::recover({dir.path()});
        EXPECT_TRUE(recovered) << recovered.error.toStdString();
        EXPECT_EQ(bytesOf(QStringLiteral("a.jpg")), QByteArray(a));
        EXPECT_EQ(bytesOf(QStringLiteral("b.jpg")), QByteArray(b));
        EXPECT_EQ(bytesOf(QStringLiteral("c.scn")), QByteArray(c));
        EXPECT_TRUE(temporaries().isEmpty()) << temporaries().join(u' ').toStdString();
        return recovered.value;
    }
    // Stages the three files as a save does, stopping at the first that fails.
    FileResult stageThreeNewFiles(FileTransaction &unit)
    {
        for (const char *name : {"a.jpg", "b.jpg", "c.scn"}) {
            const FileResult staged = unit.stage(path(QLatin1String(name)), QByteArray("new ") + name[0]);
            if (!staged)
                return staged;
        }
        return FileResult::success();
    }

    QTemporaryDir dir;
    FaultyCalls calls;
};

TEST_F(FileTransactionTest, CommitPutsEveryFileInPlaceAfterOneSync)
{
    put(QStringLiteral("a.jpg"), "old a");
    ASSERT_EQ(::chmod(QFile::encodeName(path(QStringLiteral("a.jpg"))).constData(), 0640), 0);
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("Scenes"))));
    FileTransaction unit;
    ASSERT_TRUE(unit.stage(path(QStringLiteral("a.jpg")), "new a"));
    ASSERT_TRUE(unit.stage(path(QStringLiteral("b.jpg")), "new b"));
    ASSERT_TRUE(unit.stage(path(QStringLiteral("Scenes/c.scn")), "new c"));
    ASSERT_TRUE(unit.stage(path(QStringLiteral("a.jpg")), "newer a")); // the later bytes count
    EXPECT_EQ(unit.staged(), QStringList({path(QStringLiteral("b.jpg")), path(QStringLiteral("Scenes/c.scn")),
                                          path(QStringLiteral("a.jpg"))}));

    // Nothing is in place before the commit.
    EXPECT_EQ(bytesOf(QStringLiteral("a.jpg")), QByteArray("old a"));
    EXPECT_EQ(bytesOf(QStringLiteral("b.jpg")), QByteArray("<missing>"));
    EXPECT_EQ(temporaries().size(), 2);

    const FileResult committed = unit.commit();
    ASSERT_TRUE(committed) << committed.error.toStdString();
    EXPECT_EQ(bytesOf(QStringLiteral("a.jpg")), QByteArray("newer a"));
    EXPECT_EQ(bytesOf(QStringLiteral("b.jpg")), QByteArray("new b"));
    EXPECT_EQ(bytesOf(QStringLiteral("Scenes/c.scn")), QByteArray("new c"));
    EXPECT_EQ(calls.syncs, 1); // one file system, one sync
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(path(QStringLiteral("a.jpg"))).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u); // a replaced file keeps its permissions
    EXPECT_TRUE(temporaries().isEmpty());
    EXPECT_TRUE(temporaries(QStringLiteral("Scenes")).isEmpty());
    EXPECT_TRUE(unit.staged().isEmpty());
}

TEST_F(FileTransactionTest, TargetsThatAreNoFileAreRefusedAndNothingIsWrittenThrough)
{
    QTemporaryDir outside;
    const QString elsewhere = outside.filePath(QStringLiteral("elsewhere.jpg"));
    ASSERT_TRUE(writeFile(elsewhere, "not to be touched"));
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("folder.jpg"))));
    ASSERT_TRUE(QFile::link(elsewhere, path(QStringLiteral("link.jpg"))));
    ASSERT_EQ(mkfifo(QFile::encodeName(path(QStringLiteral("pipe.jpg"))).constData(), 0600), 0);
    const struct {
        const char *name;
        const char *reason;
    } cases[] = {
        {"folder.jpg", "it is a folder"},
        {"link.jpg", "it is a link"},
        {"pipe.jpg", "it is not a regular file"},
        {"missing/a.jpg", "does not exist"},
    };
    FileTransaction unit;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const FileResult staged = unit.stage(path(QLatin1String(c.name)), "new");
        EXPECT_FALSE(staged);
        EXPECT_TRUE(staged.error.startsWith(QStringLiteral("Could not write ") + path(QLatin1String(c.name))))
            << staged.error.toStdString();
        EXPECT_TRUE(staged.error.contains(QLatin1String(c.reason))) << staged.error.toStdString();
    }
    EXPECT_TRUE(unit.commit());
    EXPECT_TRUE(temporaries().isEmpty());
    QFile file(elsewhere);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("not to be touched"));
}

TEST_F(FileTransactionTest, AFailureAtAnyStepLeavesEveryTargetWhole)
{
    const struct {
        const char *name;
        int failWriteAt, failRenameAt;
        bool failSync;
        const char *a, *b, *c; // what each target holds afterwards
        const char *error;     // a part of the first error
    } cases[] = {
        // The second file cannot be written: a commit of what was staged still puts the first in place.
        {"second write", 2, 0, false, "new a", "old b", "old c", "b.jpg: No space left on device"},
        {"sync", 0, 0, true, "old a", "old b", "old c", "Input/output error"},
        // A rename that fails puts back the files renamed before it.
        {"second rename", 0, 2, false, "old a", "old b", "old c", "b.jpg: Permission denied"},
        {"last rename", 0, 3, false, "old a", "old b", "old c", "c.scn: Permission denied"},
        // The journal cannot say the unit is whole: every file goes back.
        {"the journal's word", 0, 4, false, "old a", "old b", "old c", "to the disk: Permission denied"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        putThreeOldFiles();
        calls = FaultyCalls();
        calls.failWriteAt = c.failWriteAt;
        if (c.failRenameAt)
            calls.failRenamesAt = {c.failRenameAt};
        calls.failSync = c.failSync;
        QString error;
        {
            FileTransaction unit;
            const FileResult staged = stageThreeNewFiles(unit);
            // What was staged before a failure still goes in place.
            const FileResult committed = unit.commit();
            error = staged ? committed.error : staged.error;
            EXPECT_TRUE(!staged || !committed);
            EXPECT_FALSE(unit.partlyCommitted());
        }
        EXPECT_TRUE(error.contains(QLatin1String(c.error))) << error.toStdString();
        EXPECT_EQ(bytesOf(QStringLiteral("a.jpg")), QByteArray(c.a));
        EXPECT_EQ(bytesOf(QStringLiteral("b.jpg")), QByteArray(c.b));
        EXPECT_EQ(bytesOf(QStringLiteral("c.scn")), QByteArray(c.c));
        EXPECT_TRUE(temporaries().isEmpty()) << temporaries().join(u' ').toStdString();
    }
}

// A commit that fails at its last rename, over files that were there and a
// file that is new: the replaced files come back with their bytes and
// permissions, the new one goes. Where the file system has no links, the
// replaced files are kept as copies. A file that cannot be put back stays
// whole, new, and is named with the file that keeps its old bytes, which
// stays with the journal until recover() puts it back.
TEST_F(FileTransactionTest, ACommitThatFailsPutsBackWhatItReplacedAndRemovesWhatIsNew)
{
    const struct {
        const char *name;
        bool failLinks;
        QList<int> failRenamesAt; // 1 to 3: the unit's renames; 4: the one putting back a.jpg
        const char *a;            // what a.jpg holds afterwards
        bool partly;
    } cases[] = {
        {"with links", false, {3}, "old a", false},
        {"without links", true, {3}, "old a", false},
        {"a file that cannot be put back", false, {3, 4}, "new a", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        put(QStringLiteral("a.jpg"), "old a");
        ASSERT_EQ(::chmod(QFile::encodeName(path(QStringLiteral("a.jpg"))).constData(), 0640), 0);
        QFile::remove(path(QStringLiteral("b.jpg")));
        put(QStringLiteral("c.scn"), "old c");
        calls = FaultyCalls();
        calls.failLinks = c.failLinks;
        calls.failRenamesAt = c.failRenamesAt;
        FileTransaction unit;
        ASSERT_TRUE(stageThreeNewFiles(unit));
        const FileResult committed = unit.commit();
        ASSERT_FALSE(committed);
        EXPECT_TRUE(committed.error.startsWith(QStringLiteral("Could not write %1: Permission denied")
                                                   .arg(path(QStringLiteral("c.scn")))))
            << committed.error.toStdString();
        EXPECT_EQ(unit.partlyCommitted(), c.partly);
        EXPECT_EQ(bytesOf(QStringLiteral("a.jpg")), QByteArray(c.a));
        EXPECT_EQ(bytesOf(QStringLiteral("b.jpg")), QByteArray("<missing>"));
        EXPECT_EQ(bytesOf(QStringLiteral("c.scn")), QByteArray("old c"));
        if (c.partly) {
            // The old bytes of a.jpg are kept, and named; the journal stays.
            const QStringList left = temporaries().filter(QStringLiteral(".old"));
            ASSERT_EQ(left.size(), 1) << temporaries().join(u' ').toStdString();
            EXPECT_EQ(bytesOf(left.first()), QByteArray("old a"));
            EXPECT_EQ(committed.error,
                      QStringLiteral("Could not write %1: Permission denied; these files could not be put back as "
                                     "they were:\n%2 (Permission denied); what it held before is kept in %3")
                          .arg(path(QStringLiteral("c.scn")), path(QStringLiteral("a.jpg")), path(left.first())));
            EXPECT_EQ(temporaries().filter(QStringLiteral(".journal")).size(), 1);
            EXPECT_EQ(temporaries().size(), 2);
            calls = FaultyCalls();
            EXPECT_EQ(recoverThree("old a", "<missing>", "old c").undone, 1);
        }
        struct stat st;
        ASSERT_EQ(::stat(QFile::encodeName(path(QStringLiteral("a.jpg"))).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0640u);
        EXPECT_EQ(st.st_nlink, 1u); // no second name of it is left
        EXPECT_TRUE(temporaries().isEmpty()) << temporaries().join(u' ').toStdString();
    }
}

// However many files do not go back, the message stays within a screen, and
// every one of their old bytes is kept until recover() puts them back.
TEST_F(FileTransactionTest, FilesThatDoNotGoBackAreNamedWithinBoundsAndKept)
{
    constexpr int files = 14;
    FileTransaction unit;
    for (int n = 1; n <= files; ++n) {
        put(QStringLiteral("f%1.jpg").arg(n), "old " + QByteArray::number(n));
        ASSERT_TRUE(unit.stage(path(QStringLiteral("f%1.jpg").arg(n)), "new " + QByteArray::number(n)));
    }
    // The last rename fails, and so does every put-back after it.
    for (int n = files; n < 2 * files; ++n)
        calls.failRenamesAt << n;
    const FileResult committed = unit.commit();
    ASSERT_FALSE(committed);
    EXPECT_TRUE(unit.partlyCommitted());
    const QStringList lines = committed.error.split(u'\n');
    ASSERT_EQ(lines.size(), 1 + NameListShown + 1) << committed.error.toStdString();
    EXPECT_EQ(lines.last(), QStringLiteral("and 3 more"));
    EXPECT_EQ(temporaries().filter(QStringLiteral(".old")).size(), files - 1);
    for (int n = 1; n < files; ++n)
        EXPECT_EQ(bytesOf(QStringLiteral("f%1.jpg").arg(n)), "new " + QByteArray::number(n));

    calls = FaultyCalls();
    ASSERT_TRUE(FileTransaction::recover({dir.path()}));
    for (int n = 1; n <= files; ++n)
        EXPECT_EQ(bytesOf(QStringLiteral("f%1.jpg").arg(n)), "old " + QByteArray::number(n));
    EXPECT_TRUE(temporaries().isEmpty()) << temporaries().join(u' ').toStdString();
}

TEST_F(FileTransactionTest, AFailedWriteNamesTheFileAndItsReason)
{
    putThreeOldFiles();
    calls.failWriteAt = 2;
    FileTransaction unit;
    ASSERT_TRUE(unit.stage(path(QStringLiteral("a.jpg")), "new a"));
    const FileResult staged = unit.stage(path(QStringLiteral("b.jpg")), "new b");
    EXPECT_FALSE(staged);
    EXPECT_EQ(staged.error, QStringLiteral("Could not write %1: No space left on device").arg(path(QStringLiteral("b.jpg"))));
    EXPECT_EQ(temporaries().size(), 1); // only the first file's
}

// A unit's staged files are left over once its process is gone or, in this
// process, once the unit is closed; the next unit in the folder removes them.
// A kept-aside file goes only while another name still holds its bytes: alone
// it may be the only copy of a file's old bytes. Journals, and names of any
// other form, stay.
TEST_F(FileTransactionTest, LeftoversOfUnitsThatDiedAreRemovedByTheNextUnit)
{
    const QString ours = QString::number(::getpid());
    put(QStringLiteral("linked.jpg"), "bytes with a second name");
    ASSERT_TRUE(::link(QFile::encodeName(path(QStringLiteral("linked.jpg"))).constData(),
                       QFile::encodeName(path(QStringLiteral(".~save-2147483646-1-3.old"))).constData()) == 0);
    const QStringList dead = {QStringLiteral(".~save-2147483646-1-1.new"), // a process that is gone
                              QStringLiteral(".~save-") + ours + QStringLiteral("-999999-4.new")}; // a unit of ours, closed
    QStringList kept = {QStringLiteral(".~save-1-7-1.new"),          // a process still running
                        QStringLiteral(".~save-notes"),              // not a unit's name
                        QStringLiteral(".~save-2147483646-1-2"),     // an earlier form of the names
                        QStringLiteral(".~save-2147483646-1-4.old"), // the only copy of some old bytes
                        QStringLiteral(".~save-2147483646-1.journal")};
    for (const QString &name : dead + kept)
        put(name, "partial");

    put(QStringLiteral("x.jpg"), "old x");
    std::optional<FileTransaction> open;
    open.emplace();
    ASSERT_TRUE(open->stage(path(QStringLiteral("x.jpg")), "not yet in place"));
    kept += temporaries().filter(QRegularExpression(QStringLiteral("^\\.~save-") + ours + QStringLiteral("-\\d+-1\\.new$")));
    ASSERT_EQ(kept.size(), 6);
    kept.sort();

    {
        FileTransaction next;
        ASSERT_TRUE(next.stage(path(QStringLiteral("a.jpg")), "new a"));
        ASSERT_TRUE(next.commit());
    }
    QStringList left = temporaries();
    left.sort();
    EXPECT_EQ(left, kept);
    EXPECT_EQ(bytesOf(QStringLiteral("linked.jpg")), QByteArray("bytes with a second name"));

    // A unit never committed takes its files with it and changes no target.
    open.reset();
    EXPECT_EQ(bytesOf(QStringLiteral("x.jpg")), QByteArray("old x"));
    EXPECT_EQ(temporaries().size(), 5);
}

// A unit stopped as a crash stops it, before any one of its renames: the next
// start's recover() leaves every target as it was before the commit. Stopped
// after its last rename, once its journal said it was whole: every target as
// the commit makes it. Either way no temporary file stays.
TEST_F(FileTransactionTest, AUnitStoppedAtAnyRenameIsMadeWholeByRecover)
{
    const auto commitThree = [this] {
        FileTransaction unit;
        if (stageThreeNewFiles(unit))
            (void)unit.commit();
    };
    int renames = 0;
    for (int k = 1; renames == 0; ++k) {
        SCOPED_TRACE(k);
        putTwoOldFiles();
        const auto before = snapshot(dir.path());
        KillingCalls killing;
        killing.killBefore = k;
        const KilledRun run = runKilled(commitThree, killing);
        ASSERT_NE(run, KilledRun::Failed);
        if (run == KilledRun::RanToItsEnd) {
            renames = k - 1;
            break;
        }
        EXPECT_FALSE(temporaries().isEmpty());
        EXPECT_EQ(recoverThree("old a", "<missing>", "old c").undone, 1);
        EXPECT_EQ(snapshot(dir.path()), before);
    }
    EXPECT_EQ(renames, 4); // the three files, then the journal's word that the unit is whole

    putTwoOldFiles();
    KillingCalls killing;
    killing.killAfter = renames;
    ASSERT_EQ(runKilled(commitThree, killing), KilledRun::Killed);
    EXPECT_EQ(temporaries().size(), 3); // the journal and the two files kept aside
    EXPECT_EQ(recoverThree("new a", "new b", "new c").finished, 1);
}

// A file that does not go back while recover() undoes a unit stays as it is,
// with the file holding its old bytes and the journal, all named; the next
// recover() puts it back. A unit that still runs holds its journal locked and
// is left alone.
TEST_F(FileTransactionTest, WhatRecoverCannotPutBackStaysNamedForTheNextTry)
{
    putTwoOldFiles();
    KillingCalls killing;
    killing.killBefore = 3; // a.jpg and b.jpg are in place
    ASSERT_EQ(runKilled(
                  [this] {
                      FileTransaction unit;
                      if (stageThreeNewFiles(unit))
                          (void)unit.commit();
                  },
                  killing),
              KilledRun::Killed);
    const QStringList journals = temporaries().filter(QStringLiteral(".journal"));
    ASSERT_EQ(journals.size(), 1);

    // Its journal locked, as a unit that runs holds it: nothing is put back.
    {
        const int fd = ::open(QFile::encodeName(path(journals.first())).constData(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::flock(fd, LOCK_EX), 0);
        const auto recovered = FileTransaction::recover({dir.path()});
        ::close(fd);
        ASSERT_TRUE(recovered) << recovered.error.toStdString();
        EXPECT_EQ(recovered.value.undone, 0);
        EXPECT_EQ(bytesOf(QStringLiteral("a.jpg")), QByteArray("new a"));
        EXPECT_EQ(bytesOf(QStringLiteral("b.jpg")), QByteArray("new b"));
        EXPECT_TRUE(QFile::exists(path(journals.first())));
    }

    calls.failRenamesAt = {1}; // a.jpg's, the one rename the undo needs
    const auto refused = FileTransaction::recover({dir.path()});
    ASSERT_FALSE(refused);
    const QStringList kept = temporaries().filter(QStringLiteral(".old"));
    ASSERT_EQ(kept.size(), 1) << temporaries().join(u' ').toStdString();
    EXPECT_EQ(refused.error,
              QStringLiteral("A save that was cut off could not be undone. These files are left as they are:\n"
                             "%1: not put back (Permission denied); what it held before is in %2\n"
                             "%3: kept, to undo that save at the next start")
                  .arg(path(QStringLiteral("a.jpg")), kept.first(), path(journals.first())));
    EXPECT_EQ(bytesOf(QStringLiteral("a.jpg")), QByteArray("new a"));
    EXPECT_EQ(bytesOf(kept.first()), QByteArray("old a"));
    EXPECT_TRUE(QFile::exists(path(journals.first())));

    calls = FaultyCalls();
    EXPECT_EQ(recoverThree("old a", "<missing>", "old c").undone, 1);
}

// A journal comes from the disk: one that names a file outside the folders
// recover() is given, a file of another unit or a unit's file as a target, or
// that is not what a unit writes, is never acted on. It is left as it is,
// with every file it names, and named.
TEST_F(FileTransactionTest, AJournalThatIsNotOneAUnitWritesIsLeftAsItIs)
{
    QTemporaryDir outside;
    const QString elsewhere = outside.filePath(QStringLiteral("elsewhere.jpg"));
    ASSERT_TRUE(writeFile(elsewhere, "not to be touched"));
    put(QStringLiteral("a.jpg"), "new a");
    put(QStringLiteral(".~save-2147483646-5-1.old"), "old a");
    const QByteArray head = "scenara-save-journal 1\n", end = "end\n";
    const QByteArray a = QFile::encodeName(path(QStringLiteral("a.jpg")));
    const QByteArray kept = QFile::encodeName(path(QStringLiteral(".~save-2147483646-5-1.old")));
    const struct {
        const char *name;
        QByteArray journal;
        const char *why;
    } cases[] = {
        {"a target elsewhere", head + "new " + QFile::encodeName(elsewhere) + " .~save-2147483646-5-2.new\n" + end,
         "line 2 names a file outside the folders"},
        {"a way out of the folder", head + "new " + QFile::encodeName(dir.path()) + "/../" +
             QFile::encodeName(QFileInfo(dir.path()).fileName()) + "/a.jpg .~save-2147483646-5-2.new\n" + end,
         "line 2 names a file outside the folders"},
        {"another unit's kept file", head + "old " + a + " .~save-2147483646-5-2.new .~save-2147483646-6-1.old\n" + end,
         "line 2 names a file of another save"},
        {"a unit's file as its target", head + "new " + kept + " .~save-2147483646-5-2.new\n" + end,
         "line 2 names a file of a save as its target"},
        {"a line of no journal", head + "rm " + a + "\n" + end, "line 2 is not one of a journal"},
        {"no journal at all", "#!/bin/sh\nrm -rf ~\n", "it is not a journal of saved files"},
        {"too large", head + QByteArray(JournalMaxSize, 'x') + "\n", "it is larger than 16777216 bytes"},
    };
    const QString journal = path(QStringLiteral(".~save-2147483646-5.journal"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeFile(journal, c.journal));
        const auto before = snapshot(dir.path());
        const auto recovered = FileTransaction::recover({dir.path()});
        ASSERT_FALSE(recovered);
        EXPECT_TRUE(recovered.error.contains(QStringLiteral("\n%1: left as it is: %2").arg(journal, QLatin1String(c.why))))
            << recovered.error.toStdString() << "\n" << journal.toStdString();
        EXPECT_EQ(snapshot(dir.path()), before);
        QFile file(elsewhere);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("not to be touched"));
    }
}

} // namespace
