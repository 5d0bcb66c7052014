#include "base/Files.h"
#include "base/Text1252.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

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
    QFile f(dir.filePath(QStringLiteral("Frame0001.BMP")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
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
    QByteArray bytes;
    ASSERT_TRUE(readWholeFile(path, &bytes));
    EXPECT_EQ(bytes, QByteArray("second"));

    QString error;
    EXPECT_FALSE(writeFileAtomically(dir.filePath(QStringLiteral("missing/a.scn")), "x", &error));
    EXPECT_TRUE(error.contains(QStringLiteral("a.scn")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.scn")});
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
