#include "core/base/Files.h"
#include "core/base/Text1252.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QFileInfo>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "tests/support/FileSizeLimit.h"
#include "tests/support/Printers.h"
#include "tests/support/TestFiles.h"

TEST(Files, JoinCountsADoubledSeparatorAsOne)
{
    EXPECT_EQ(joinPath(QStringLiteral("/home/u/Documents/Velm5Pro/"), QStringLiteral("/Scenes/")),
              QStringLiteral("/home/u/Documents/Velm5Pro/Scenes/"));
    EXPECT_EQ(joinPath(QStringLiteral("/b/Velm5Pro/"), QStringLiteral("Images\\")), QStringLiteral("/b/Velm5Pro/Images/"));
    EXPECT_EQ(joinPath(QStringLiteral("/b/"), QStringLiteral("/Data/myscenes.dat")), QStringLiteral("/b/Data/myscenes.dat"));
    EXPECT_EQ(joinPath(QStringLiteral("/b"), QStringLiteral("Docs\\Page.html")), QStringLiteral("/bDocs/Page.html"));
}

TEST(Files, FindsANameIgnoringCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(writeFile(dir.filePath(QStringLiteral("Frame0001.BMP")), QByteArray()));
    EXPECT_EQ(findFileIgnoringCase(dir.path(), QStringLiteral("Frame0001.BMP")), dir.filePath(QStringLiteral("Frame0001.BMP")));
    EXPECT_EQ(findFileIgnoringCase(dir.path(), QStringLiteral("frame0001.bmp")), dir.filePath(QStringLiteral("Frame0001.BMP")));
    EXPECT_FALSE(fileExists(findFileIgnoringCase(dir.path(), QStringLiteral("frame0002.bmp"))));
    EXPECT_EQ(resolvePathIgnoringCase(dir.filePath(QStringLiteral("FRAME0001.bmp"))), dir.filePath(QStringLiteral("Frame0001.BMP")));
    EXPECT_TRUE(fileExists(dir.filePath(QStringLiteral("Frame0001.BMP"))));
    EXPECT_FALSE(fileExists(dir.path()));
}

TEST(Files, AtomicWriteReplacesWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.scn"));
    ASSERT_TRUE(writeFileAtomically(path, "first"));
    ASSERT_TRUE(writeFileAtomically(path, "second"));
    EXPECT_EQ(readFile(path, 1024).value, QByteArray("second"));

    const FileResult failed = writeFileAtomically(dir.filePath(QStringLiteral("missing/a.scn")), "x");
    EXPECT_FALSE(failed.ok());
    EXPECT_TRUE(failed.error.contains(QStringLiteral("a.scn"))) << qPrintable(failed.error);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.scn")});
}

// A disk that takes no more bytes: the write fails with the system's reason
// and the old file stays whole.
TEST(Files, AtomicWriteOnAFullDiskKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("myscenes.dat"));
    ASSERT_TRUE(writeFileAtomically(path, "Old\n\r\r\n"));
    FileResult written;
    {
        FileSizeLimit full(0);
        written = writeFileAtomically(path, "Old\n\r\r\nBeach\n\r\r\n");
    }
    EXPECT_FALSE(written.ok());
    EXPECT_TRUE(written.error.contains(QStringLiteral("myscenes.dat: File too large"))) << qPrintable(written.error);
    EXPECT_EQ(readFile(path, 1024).value, QByteArray("Old\n\r\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("myscenes.dat")});
}

TEST(Text1252, RoundTripsTheCodePage)
{
    const QString text = QStringLiteral("Caf\u00e9 \u20ac \u201cq\u201d \u00ff");
    const QByteArray bytes = toWindows1252(text);
    EXPECT_EQ(bytes, QByteArray("Caf\xe9 \x80 \x93q\x94 \xff"));
    EXPECT_EQ(fromWindows1252(bytes), text);
    EXPECT_TRUE(fitsWindows1252(text));
    EXPECT_FALSE(fitsWindows1252(QStringLiteral("\u4e2d")));
}

TEST(Files, BareNamesStayInTheirFolder)
{
    struct Row {
        const char *label;
        QString name;
        bool bare;
    };
    const Row rows[] = {
        {"parent", QStringLiteral("../x"), false},
        {"backslash climb", QStringLiteral("a\\..\\..\\x"), false},
        {"absolute", QStringLiteral("/etc/x"), false},
        {"drive", QStringLiteral("C:x"), false},
        {"dot dot", QStringLiteral(".."), false},
        {"dot", QStringLiteral("."), false},
        {"empty", QString(), false},
        {"control character", QStringLiteral("a\nb.jpg"), false},
        {"frame", QStringLiteral("Mouth01.jpg"), true},
        {"blanks", QStringLiteral("My Scene.scn"), true},
        {"accent", QStringLiteral("Caf\u00e9.jpg"), true},
    };
    for (const Row &row : rows)
        EXPECT_EQ(isBareName(row.name), row.bare) << row.label;
}

TEST(Files, ReadFileGivesTheReasonAndKeepsToItsLimit)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.dat"));
    ASSERT_TRUE(writeFileAtomically(path, "12345"));

    const FileRead whole = readFile(path, 5);
    ASSERT_TRUE(whole.ok()) << qPrintable(whole.error);
    EXPECT_EQ(whole.value, QByteArray("12345"));

    // A generous limit costs nothing: the file is read as large as it is.
    EXPECT_EQ(readFile(path, qint64(1) << 40).value, QByteArray("12345"));

    const FileRead tooLarge = readFile(path, 4);
    EXPECT_FALSE(tooLarge.ok());
    EXPECT_TRUE(tooLarge.value.isEmpty());
    EXPECT_TRUE(tooLarge.error.contains(QStringLiteral("list.dat"))) << qPrintable(tooLarge.error);

    const FileRead missing = readFile(dir.filePath(QStringLiteral("gone.dat")), 100);
    EXPECT_FALSE(missing.ok());
    EXPECT_TRUE(missing.error.contains(QStringLiteral("gone.dat"))) << qPrintable(missing.error);

    const FileRead folder = readFile(dir.path(), 100);
    EXPECT_FALSE(folder.ok());
    EXPECT_TRUE(folder.error.contains(QStringLiteral("not a regular file"))) << qPrintable(folder.error);

    // A pipe with no writer: opening it for an ordinary read would wait for ever.
    const QString pipe = dir.filePath(QStringLiteral("pipe.dat"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const FileRead fifo = readFile(pipe, 100);
    EXPECT_FALSE(fifo.ok());
    EXPECT_TRUE(fifo.error.contains(QStringLiteral("not a regular file"))) << qPrintable(fifo.error);
}

// Another program changes the file between the check and the read: what grew
// is not read, what shrank is reported.
TEST(Files, ReadFileReadsWhatPassedItsCheck)
{
    QTemporaryDir dir;
    static QString path;
    static QByteArray change;
    path = dir.filePath(QStringLiteral("list.dat"));
    ASSERT_TRUE(writeFileAtomically(path, "12345"));
    OpenedFile::setCheckedHook([](const QString &checked) {
        if (checked != path)
            return;
        QFile f(checked);
        if (change.isEmpty())
            EXPECT_TRUE(f.resize(2));
        else if (f.open(QIODevice::Append))
            f.write(change);
    });

    change = QByteArray(3 << 20, 'x');
    const FileRead grown = readFile(path, 5);
    ASSERT_TRUE(grown.ok()) << qPrintable(grown.error);
    EXPECT_EQ(grown.value, QByteArray("12345"));
    EXPECT_EQ(QFileInfo(path).size(), 5 + (3 << 20));

    ASSERT_TRUE(writeFileAtomically(path, "12345"));
    change.clear();
    const FileRead shrunk = readFile(path, 5);
    EXPECT_FALSE(shrunk.ok());
    EXPECT_TRUE(shrunk.error.contains(QStringLiteral("list.dat"))) << qPrintable(shrunk.error);
    OpenedFile::setCheckedHook(nullptr);
}

TEST(Files, ReadFileSizesItsBufferByTheFileNotByTheLimit)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("U.zip"));
    QByteArray bytes;
    for (int i = 0; i < 200000; ++i)
        bytes.append(char(i * 7));
    ASSERT_TRUE(writeFileAtomically(path, bytes));
    // A limit far beyond any memory: a buffer of the limit's size could not be made.
    const FileRead read = readFile(path, qint64(1) << 50);
    ASSERT_TRUE(read.ok()) << qPrintable(read.error);
    EXPECT_TRUE(read.value == bytes);
    EXPECT_TRUE(readFile(path, 200000).ok());
    EXPECT_FALSE(readFile(path, 199999).ok());
}
