// The scene list where the user's Data folder is not as the program left it:
// every failure is reported with the file's name, without opening what is no
// list, and the old list is never replaced by one that lacks its entries.

#include "core/scene/SceneListFile.h"

#include "core/base/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

#include <sys/stat.h>

#include "tests/support/FileSizeLimit.h"
#include "tests/support/FileWork.h"
#include "tests/support/Printers.h"
#include "tests/support/TestFiles.h"

namespace {

class SceneListInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        base = dir.path() + QStringLiteral("/Velm5Pro/");
        list = sceneListPath(base);
        ASSERT_TRUE(QDir().mkpath(base + QStringLiteral("Data")));
    }
    void writeList(const QByteArray &bytes) { writeFile(list, bytes); }
    // The add fails and names the list file. It opens only the files in
    // `opened`, each once, and reads no more than `readAtMost` bytes of them.
    // With `diskFull` no file can grow.
    void expectAddFails(const QStringList &opened, qint64 readAtMost, bool diskFull = false)
    {
        FileWork work({base, base + QStringLiteral("Data")});
        ASSERT_TRUE(work.watching());
        bool added = true;
        std::optional<FileSizeLimit> full;
        if (diskFull)
            full.emplace(0);
        const FileResult listed = addSceneToList(list, QStringLiteral("Beach"), &added);
        full.reset();
        EXPECT_FALSE(listed.ok());
        EXPECT_FALSE(added);
        EXPECT_TRUE(listed.error.contains(QStringLiteral("myscenes.dat"))) << listed.error.toStdString();
        EXPECT_EQ(work.openedFiles(), opened);
        // Besides the test's own look at the count and the watch's notes.
        EXPECT_LE(work.bytesRead(), readAtMost + 2048);
    }

    QTemporaryDir dir;
    QString base, list;
};

TEST_F(SceneListInputTest, AListThatIsAPipeIsReportedAndLeftAsItIs)
{
    // A pipe would be read for ever: it is looked at, never read, and stays a pipe.
    ASSERT_EQ(mkfifo(QFile::encodeName(list).constData(), 0600), 0);
    expectAddFails({QStringLiteral("myscenes.dat")}, 0);
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(list).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(SceneListInputTest, ADataFolderThatIsAFileIsReported)
{
    ASSERT_TRUE(QDir(base + QStringLiteral("Data")).removeRecursively());
    const QString data = base + QStringLiteral("Data");
    ASSERT_TRUE(writeFile(data, "notes"));
    expectAddFails({}, 0);
    EXPECT_EQ(readFile(data, 1024).value, QByteArray("notes"));
}

// A disk that takes no more bytes (full, or over its quota): the list is read
// once, the new one fails to be written, and the old one stays whole.
TEST_F(SceneListInputTest, AListThatCannotBeWrittenIsReportedAndKept)
{
    writeList("Old\n\r\r\n");
    expectAddFails({QStringLiteral("myscenes.dat")}, QFileInfo(list).size(), true);
    EXPECT_EQ(readFile(list, 1024).value, QByteArray("Old\n\r\r\n"));
    EXPECT_EQ(QDir(base + QStringLiteral("Data")).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("myscenes.dat")});
}

} // namespace
