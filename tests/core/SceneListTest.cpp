#include "core/scene/SceneListFile.h"

#include "core/base/Files.h"

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
    EXPECT_EQ(readFile(path, 1024).value, QByteArray("Beach\n\r\r\n"));

    ASSERT_TRUE(addSceneToList(path, QStringLiteral("Caf\u00e9"), &added));
    EXPECT_EQ(readFile(path, 1024).value, QByteArray("Beach\n\r\r\nCaf\xe9\n\r\r\n"));
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
    EXPECT_EQ(readFile(path, 1024).value, list);
}

TEST(SceneList, ReaderRoundTripsTheWriter)
{
    QByteArray list;
    for (const char *name : {"Beach", "X", "Night Sky", "Caf\u00e9"})
        list = appendSceneListEntry(list, QString::fromUtf8(name));
    EXPECT_EQ(readSceneList(list), (QStringList{QStringLiteral("Beach"), QStringLiteral("X"),
                                                QStringLiteral("Night Sky"), QStringLiteral("Caf\u00e9")}));
    EXPECT_TRUE(readSceneList({}).isEmpty());
}

TEST(SceneList, ReaderKeepsEveryNameWhateverTheLineEnds)
{
    const struct {
        const char *label;
        QByteArray bytes;
        QStringList names;
    } rows[] = {
        {"one-character name", "Ab\n\r\r\nC\n\r\r\nDune\n\r\r\n", {"Ab", "C", "Dune"}},
        {"an empty entry between", "Beach\n\r\r\n\r\nLater\n\r\r\n", {"Beach", "Later"}},
        {"plain CR LF", "Garden\r\nSea\r\n", {"Garden", "Sea"}},
        {"no line end after the last", "Garden\nSea", {"Garden", "Sea"}},
        {"line ends only", "\r\n\n\r", {}},
    };
    for (const auto &row : rows)
        EXPECT_EQ(readSceneList(row.bytes), row.names) << row.label;
}

// A list another program wrote with plain CR LF endings: the library reads
// the names its own way, and the writer finds each of them all the same, so
// saving a listed scene never lists it twice.
TEST(SceneList, WhatTheLibraryListsTheWriterFinds)
{
    const QString hostile = QStringLiteral(SCENARA_FUZZ_CORPUS "/scene_list/scenelist-crlf-accent.dat");
    const FileRead read = readFile(hostile, 100);
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    ASSERT_EQ(read.value, QByteArray("\xe7one\r\ntwo\r\n"));
    const QStringList listed = readSceneList(read.value);
    ASSERT_FALSE(listed.isEmpty());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("myscenes.dat"));
    ASSERT_TRUE(writeFileAtomically(path, read.value));
    for (const QString &name : listed) {
        EXPECT_TRUE(sceneListContains(read.value, name)) << name.toStdString();
        bool added = true;
        ASSERT_TRUE(addSceneToList(path, name, &added));
        EXPECT_FALSE(added) << name.toStdString();
    }
    const FileRead after = readFile(path, 100);
    ASSERT_TRUE(after.ok());
    EXPECT_EQ(after.value, read.value);
}

// A last name without its line end, as an editor may leave it: the new name
// goes on a line of its own instead of lengthening that name.
TEST(SceneList, ANewNameIsNeverGluedOntoTheLastOne)
{
    EXPECT_EQ(appendSceneListEntry("Beach", QStringLiteral("Night")), QByteArray("Beach\n\r\r\nNight\n\r\r\n"));
    EXPECT_EQ(appendSceneListEntry("Beach\r\n", QStringLiteral("Night")), QByteArray("Beach\r\nNight\n\r\r\n"));
    const QByteArray glued = appendSceneListEntry("Beach", QStringLiteral("Night"));
    EXPECT_TRUE(sceneListContains(glued, QStringLiteral("Beach")));
    EXPECT_TRUE(sceneListContains(glued, QStringLiteral("Night")));
    EXPECT_EQ(readSceneList(glued), (QStringList{QStringLiteral("Beach"), QStringLiteral("Night")}));
}

TEST(SceneList, UnreadableListIsReportedNotOverwritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("myscenes.dat"));
    QDir().mkpath(path); // a folder where the file should be
    const FileResult listed = addSceneToList(path, QStringLiteral("Beach"));
    EXPECT_FALSE(listed.ok());
    EXPECT_TRUE(listed.error.contains(QStringLiteral("myscenes.dat"))) << qPrintable(listed.error);
}
