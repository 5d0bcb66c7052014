// The scene list where the user's Data folder is not as the program left it:
// every failure is reported with the file's name, at once, and the old list
// is never replaced by one that lacks its entries.

#include "library/SceneListFile.h"

#include "base/Files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "tests/support/Printers.h"

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
    void writeList(const QByteArray &bytes)
    {
        QFile f(list);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // The add fails within a moment and names the list file.
    void expectAddFails()
    {
        QElapsedTimer clock;
        clock.start();
        bool added = true;
        QString error;
        EXPECT_FALSE(addSceneToList(list, QStringLiteral("Beach"), &added, &error));
        EXPECT_LT(clock.elapsed(), 1000);
        EXPECT_FALSE(added);
        EXPECT_TRUE(error.contains(QStringLiteral("myscenes.dat"))) << error.toStdString();
    }

    QTemporaryDir dir;
    QString base, list;
};

TEST_F(SceneListInputTest, AListThatIsAPipeIsReportedAndLeftAsItIs)
{
    // A pipe would be read for ever; it stays a pipe.
    ASSERT_EQ(mkfifo(QFile::encodeName(list).constData(), 0600), 0);
    expectAddFails();
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(list).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(SceneListInputTest, ADataFolderThatIsAFileIsReported)
{
    ASSERT_TRUE(QDir(base + QStringLiteral("Data")).removeRecursively());
    QFile data(base + QStringLiteral("Data"));
    ASSERT_TRUE(data.open(QIODevice::WriteOnly));
    data.write("notes");
    data.close();
    expectAddFails();
    QByteArray bytes;
    ASSERT_TRUE(readWholeFile(data.fileName(), &bytes));
    EXPECT_EQ(bytes, QByteArray("notes"));
}

TEST_F(SceneListInputTest, AReadOnlyDataFolderIsReportedAndKeepsTheList)
{
    writeList("Old\n\r\r\n");
    const QString data = base + QStringLiteral("Data");
    ASSERT_TRUE(QFile::setPermissions(data, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QFile probe(data + QStringLiteral("/probe"));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        QFile::setPermissions(data, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        GTEST_SKIP() << "this process writes into folders whatever their permissions";
    }
    expectAddFails();
    QFile::setPermissions(data, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QByteArray bytes;
    ASSERT_TRUE(readWholeFile(list, &bytes));
    EXPECT_EQ(bytes, QByteArray("Old\n\r\r\n"));
    EXPECT_EQ(QDir(data).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("myscenes.dat")});
}

} // namespace
