// The whole-or-nothing copy: a target is replaced by the source's exact bytes,
// or left as it was with no temporary file beside it, and never written
// through a link.

#include "core/base/Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "tests/support/FileSizeLimit.h"
#include "tests/support/Printers.h"
#include "tests/support/TestFiles.h"

namespace {

QByteArray patternedBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xFF);
    return bytes;
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

// Every entry of a folder, hidden ones included, so that a temporary file left behind shows.
QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

class FileCopy : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("to"))));
        ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("outside"))));
    }
    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(FileCopy, ReplacesTheTargetWithTheSourceBytes)
{
    const QByteArray large = patternedBytes(300 * 1024 + 17); // several chunks and a part
    writeFile(path(QStringLiteral("large.jpg")), large);
    writeFile(path(QStringLiteral("empty.scn")), QByteArray());

    const FileResult first = copyFileAtomically(path(QStringLiteral("large.jpg")), path(QStringLiteral("to/large.jpg")));
    ASSERT_TRUE(first) << first.error.toStdString();
    EXPECT_EQ(bytesOf(path(QStringLiteral("to/large.jpg"))), large);

    // An existing target is overwritten and keeps its permissions.
    writeFile(path(QStringLiteral("to/empty.scn")), "an older and longer scene");
    ASSERT_EQ(chmod(QFile::encodeName(path(QStringLiteral("to/empty.scn"))).constData(), 0640), 0);
    const FileResult second = copyFileAtomically(path(QStringLiteral("empty.scn")), path(QStringLiteral("to/empty.scn")));
    ASSERT_TRUE(second) << second.error.toStdString();
    EXPECT_EQ(bytesOf(path(QStringLiteral("to/empty.scn"))), QByteArray());
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(path(QStringLiteral("to/empty.scn"))).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    EXPECT_EQ(entries(path(QStringLiteral("to"))), (QStringList{QStringLiteral("empty.scn"), QStringLiteral("large.jpg")}));
}

TEST_F(FileCopy, RefusesWhatItCannotCopyAndLeavesTheTargetAlone)
{
    writeFile(path(QStringLiteral("a.jpg")), "new picture");
    writeFile(path(QStringLiteral("outside/secret.txt")), "outside");
    ASSERT_EQ(mkfifo(QFile::encodeName(path(QStringLiteral("pipe.jpg"))).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("folder.jpg"))));
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("to/sub.jpg"))));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("outside/secret.txt")), path(QStringLiteral("to/link.jpg"))));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("outside/none.txt")), path(QStringLiteral("to/dangling.jpg"))));
    writeFile(path(QStringLiteral("to/old.jpg")), "old picture");
    const QStringList before = entries(path(QStringLiteral("to")));

    const struct {
        const char *name;
        const char *source;
        const char *target;
        const char *why;
    } cases[] = {
        {"missing source", "none.jpg", "to/old.jpg", "the file does not exist"},
        {"source a folder", "folder.jpg", "to/old.jpg", "not a regular file"},
        {"source a pipe", "pipe.jpg", "to/old.jpg", "not a regular file"},
        {"target a link to a file outside", "a.jpg", "to/link.jpg", "the target is a link"},
        {"target a dangling link", "a.jpg", "to/dangling.jpg", "the target is a link"},
        {"target a folder", "a.jpg", "to/sub.jpg", "not a regular file"},
        {"target folder missing", "a.jpg", "to/Images/a.jpg", "the folder"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString source = path(QString::fromUtf8(c.source)), target = path(QString::fromUtf8(c.target));
        const FileResult copied = copyFileAtomically(source, target);
        EXPECT_FALSE(copied);
        EXPECT_TRUE(copied.error.startsWith(QStringLiteral("Could not copy %1 to %2: ").arg(source, target)))
            << copied.error.toStdString();
        EXPECT_TRUE(copied.error.contains(QString::fromUtf8(c.why))) << copied.error.toStdString();
        EXPECT_EQ(entries(path(QStringLiteral("to"))), before);
        EXPECT_EQ(bytesOf(path(QStringLiteral("to/old.jpg"))), QByteArray("old picture"));
        EXPECT_EQ(bytesOf(path(QStringLiteral("outside/secret.txt"))), QByteArray("outside"));
        EXPECT_EQ(entries(path(QStringLiteral("outside"))), QStringList{QStringLiteral("secret.txt")});
    }
}

// A disk that fills up midway.
TEST_F(FileCopy, ACopyThatFailsMidwayLeavesTheOldFileWhole)
{
    const QByteArray large = patternedBytes(256 * 1024);
    writeFile(path(QStringLiteral("large.jpg")), large);
    writeFile(path(QStringLiteral("to/large.jpg")), "the old picture");

    const FileResult copied = [&] {
        const FileSizeLimit diskFull(100 * 1024);
        return copyFileAtomically(path(QStringLiteral("large.jpg")), path(QStringLiteral("to/large.jpg")));
    }();

    EXPECT_FALSE(copied);
    EXPECT_TRUE(copied.error.endsWith(QStringLiteral("to/large.jpg: File too large"))) << copied.error.toStdString();
    EXPECT_EQ(bytesOf(path(QStringLiteral("to/large.jpg"))), QByteArray("the old picture"));
    EXPECT_EQ(entries(path(QStringLiteral("to"))), QStringList{QStringLiteral("large.jpg")});
}
