#include "library/SceneListFile.h"

#include "base/Files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

TEST(SceneList, FirstEntryGoesIntoAMissingFile)
{
    QTemporaryDir dir;
    const QString path = sceneListPath(dir.path() + QStringLiteral("/Velm5Pro/"));
    EXPECT_EQ(path, dir.path() + QStringLiteral("/Velm5Pro/Data/myscenes.dat"));
    bool added = false;
    ASSERT_TRUE(addSceneToList(path, QStringLiteral("Beach"), &added));
    EXPECT_TRUE(added);
    EXPECT_EQ(readFile(path, 1024).bytes, QByteArray("Beach\n\r\r\n"));

    ASSERT_TRUE(addSceneToList(path, QStringLiteral("Caf\u00e9"), &added));
    EXPECT_EQ(readFile(path, 1024).bytes, QByteArray("Beach\n\r\r\nCaf\xe9\n\r\r\n"));
}

TEST(SceneList, ANameIsListedOnceWhateverItsCase)
{
    QByteArray list = appendSceneListEntry({}, QStringLiteral("BeachNight"));
    EXPECT_FALSE(sceneListContains(list, QStringLiteral("Beach"))); // a longer name is another scene
    list = appendSceneListEntry(list, QStringLiteral("Beach"));
    EXPECT_TRUE(sceneListContains(list, QStringLiteral("BEACH")));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("myscenes.dat"));
    ASSERT_TRUE(writeFileAtomically(path, list));
    bool added = true;
    ASSERT_TRUE(addSceneToList(path, QStringLiteral("beach"), &added));
    EXPECT_FALSE(added);
    EXPECT_EQ(readFile(path, 1024).bytes, list);
}

TEST(SceneList, ReaderRoundTripsTheWriter)
{
    QByteArray list;
    for (const char *name : {"Beach", "X", "Night Sky", "Caf\u00e9"})
        list = appendSceneListEntry(list, QString::fromUtf8(name));
    // A one-character name is written but never listed.
    EXPECT_EQ(readSceneList(list),
              (QStringList{QStringLiteral("Beach"), QStringLiteral("Night Sky"), QStringLiteral("Caf\u00e9")}));
    EXPECT_TRUE(readSceneList({}).isEmpty());
    // Reading stops at the first empty piece.
    EXPECT_EQ(readSceneList("Beach\n\r\r\n\r\nLater\n\r\r\n"), QStringList{QStringLiteral("Beach")});
}

TEST(SceneList, UnreadableListIsReportedNotOverwritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("myscenes.dat"));
    QDir().mkpath(path); // a folder where the file should be
    const FileResult listed = addSceneToList(path, QStringLiteral("Beach"));
    EXPECT_FALSE(listed.ok);
    EXPECT_TRUE(listed.error.contains(QStringLiteral("myscenes.dat"))) << qPrintable(listed.error);
}
