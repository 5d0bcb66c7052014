// A unit of files: every target in place after the commit and none changed
// before it, every target as it was after a commit that fails (or, when it
// cannot be put back, whole and named), and no temporary file left once a
// unit has written in the folder again.

#include "core/base/FileTransaction.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cerrno>
#include <optional>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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
// whole, new, and is named.
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
        EXPECT_EQ(committed.error.contains(QStringLiteral("could not be put back as they were: ") +
                                           path(QStringLiteral("a.jpg"))),
                  c.partly)
            << committed.error.toStdString();
        EXPECT_EQ(bytesOf(QStringLiteral("a.jpg")), QByteArray(c.a));
        EXPECT_EQ(bytesOf(QStringLiteral("b.jpg")), QByteArray("<missing>"));
        EXPECT_EQ(bytesOf(QStringLiteral("c.scn")), QByteArray("old c"));
        struct stat st;
        ASSERT_EQ(::stat(QFile::encodeName(path(QStringLiteral("a.jpg"))).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0640u);
        EXPECT_EQ(st.st_nlink, 1u); // no second name of it is left
        EXPECT_TRUE(temporaries().isEmpty()) << temporaries().join(u' ').toStdString();
    }
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

TEST_F(FileTransactionTest, LeftoversOfUnitsThatDiedAreRemovedByTheNextUnit)
{
    const QString ours = QString::number(::getpid());
    const QStringList dead = {QStringLiteral(".~save-2147483646-1-1"), // a process that is gone
                              QStringLiteral(".~save-") + ours + QStringLiteral("-999999-4")}; // a unit of ours, closed
    QStringList kept = {QStringLiteral(".~save-1-7-1"), // a process still running
                        QStringLiteral(".~save-notes")}; // not a unit's name
    for (const QString &name : dead + kept)
        put(name, "partial");

    put(QStringLiteral("x.jpg"), "old x");
    std::optional<FileTransaction> open;
    open.emplace();
    ASSERT_TRUE(open->stage(path(QStringLiteral("x.jpg")), "not yet in place"));
    kept += temporaries().filter(QStringLiteral(".~save-") + ours + u'-').filter(QRegularExpression(QStringLiteral("-1$")));
    ASSERT_EQ(kept.size(), 3);
    kept.sort();

    {
        FileTransaction next;
        ASSERT_TRUE(next.stage(path(QStringLiteral("a.jpg")), "new a"));
        ASSERT_TRUE(next.commit());
    }
    QStringList left = temporaries();
    left.sort();
    EXPECT_EQ(left, kept);

    // A unit never committed takes its files with it and changes no target.
    open.reset();
    EXPECT_EQ(bytesOf(QStringLiteral("x.jpg")), QByteArray("old x"));
    EXPECT_EQ(temporaries().size(), 2);
}

} // namespace
