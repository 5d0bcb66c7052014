// The sharing work area: made when missing, its staged folders emptied of
// files while folders, zips and the staging root keep what they hold.

#include "core/sharing/ShareFolders.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace {

class ShareFoldersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(temp.isValid());
        base = temp.path() + QStringLiteral("/Velm5Pro/");
    }
    void put(const QString &relative, const QByteArray &bytes = "x")
    {
        const QString path = base + relative;
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        ASSERT_TRUE(writeFileAtomically(path, bytes));
    }
    QStringList tree(const QString &below) const
    {
        QStringList out;
        const QString root = base + below;
        QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            out << it.next().mid(root.size() + 1);
        out.sort();
        return out;
    }

    QTemporaryDir temp;
    QString base;
};

TEST_F(ShareFoldersTest, PathExistsForFilesAndFoldersWithOrWithoutATrailingSeparator)
{
    put(QStringLiteral("Data/a.txt"));
    ASSERT_TRUE(QFile::link(base + QStringLiteral("Data/gone"), base + QStringLiteral("Data/dangling")));
    const struct {
        const char *name;
        QString path;
        bool exists;
    } rows[] = {
        {"a file", base + "Data/a.txt", true},
        {"a folder", base + "Data", true},
        {"a folder with a slash", base + "Data/", true},
        {"a folder with a backslash", base + "Data\\", true},
        {"a doubled separator", base + "Data//a.txt", true},
        {"a file with a slash", base + "Data/a.txt/", true},
        {"missing", base + "Data/b.txt", false},
        {"a link to nothing", base + "Data/dangling", true},
        {"empty", QString(), false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(PathExists(row.path), row.exists);
    }
}

TEST_F(ShareFoldersTest, OnlyFilesScenesAndImagesCountAsStandardEntries)
{
    const struct {
        const char *name;
        QStringList files, folders;
        bool standard;
    } rows[] = {
        {"empty", {}, {}, true},
        {"a file named Images", {"Images"}, {}, true},
        {"the three names as folders", {}, {"Files", "Scenes", "Images"}, true},
        {"another letter case", {"images"}, {}, false},
        {"a picture", {"a.jpg"}, {}, false},
        {"a hidden file", {".a"}, {}, false},
        {"a subfolder", {}, {"sub"}, false},
    };
    int n = 0;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QString folder = QStringLiteral("case%1/").arg(n++);
        ASSERT_TRUE(QDir().mkpath(base + folder));
        for (const QString &f : row.files)
            put(folder + f);
        for (const QString &d : row.folders)
            ASSERT_TRUE(QDir().mkpath(base + folder + d));
        EXPECT_EQ(FolderHasOnlyStandardEntries(base + folder), row.standard);
        EXPECT_EQ(FolderHasOnlyStandardEntries(base + folder.chopped(1)), row.standard);
    }
}

TEST_F(ShareFoldersTest, EveryFolderIsMadeWhenNothingIsThere)
{
    const FileResult made = PrepareShareFolders(base);
    ASSERT_TRUE(made) << made.error.toStdString();
    EXPECT_EQ(tree(QStringLiteral("Data")),
              (QStringList{"Temp", "Temp/ShareTemp", "Temp/ShareTemp/Files", "Temp/ShareTemp/Files/Images",
                           "Temp/ShareTemp/Files/Scenes", "Temp/ShareTemp/Files/Sounds", "Temp/zips"}));
    // A second run finds everything in place.
    EXPECT_TRUE(PrepareShareFolders(base));
}

TEST_F(ShareFoldersTest, StagedFoldersLoseTheirFilesAndKeepTheirFolders)
{
    put(QStringLiteral("outside.jpg"), "outside");
    put(QStringLiteral("Data/Temp/zips/A123456789.zip"));
    put(QStringLiteral("Data/Temp/zips/A123456789-cmnt.txt"));
    put(QStringLiteral("Data/Temp/ShareTemp/mediadrop.exe"));
    put(QStringLiteral("Data/Temp/ShareTemp/Files/Scenes/A.scn"));
    put(QStringLiteral("Data/Temp/ShareTemp/Files/Images/AMouth01.jpg"));
    put(QStringLiteral("Data/Temp/ShareTemp/Files/Images/.hidden"));
    put(QStringLiteral("Data/Temp/ShareTemp/Files/Images/Images"));
    put(QStringLiteral("Data/Temp/ShareTemp/Files/Images/sub/kept.jpg"));
    put(QStringLiteral("Data/Temp/ShareTemp/Files/Sounds/rain.wav"));
    ASSERT_TRUE(QFile::link(base + QStringLiteral("outside.jpg"),
                            base + QStringLiteral("Data/Temp/ShareTemp/Files/Images/link.jpg")));
    ASSERT_TRUE(QFile::link(base + QStringLiteral("gone.jpg"),
                            base + QStringLiteral("Data/Temp/ShareTemp/Files/Images/dangling.jpg")));
    ASSERT_EQ(mkfifo(QFile::encodeName(base + QStringLiteral("Data/Temp/ShareTemp/Files/Scenes/pipe")).constData(),
                     0644),
              0);

    const FileResult prepared = PrepareShareFolders(base);
    ASSERT_TRUE(prepared) << prepared.error.toStdString();
    EXPECT_EQ(tree(QStringLiteral("Data")),
              (QStringList{"Temp", "Temp/ShareTemp", "Temp/ShareTemp/Files", "Temp/ShareTemp/Files/Images",
                           "Temp/ShareTemp/Files/Images/sub", "Temp/ShareTemp/Files/Images/sub/kept.jpg",
                           "Temp/ShareTemp/Files/Scenes", "Temp/ShareTemp/Files/Sounds",
                           "Temp/ShareTemp/mediadrop.exe", "Temp/zips", "Temp/zips/A123456789-cmnt.txt",
                           "Temp/zips/A123456789.zip"}));
    // A link is removed, never what it points at.
    EXPECT_TRUE(QFile::exists(base + QStringLiteral("outside.jpg")));
}

TEST_F(ShareFoldersTest, AFileNamedImagesAloneStaysInItsFolder)
{
    put(QStringLiteral("Data/Temp/ShareTemp/Files/Images/Images"));
    put(QStringLiteral("Data/Temp/ShareTemp/Files/Scenes/Files"));
    ASSERT_TRUE(PrepareShareFolders(base));
    EXPECT_TRUE(QFile::exists(base + QStringLiteral("Data/Temp/ShareTemp/Files/Images/Images")));
    EXPECT_TRUE(QFile::exists(base + QStringLiteral("Data/Temp/ShareTemp/Files/Scenes/Files")));
}

TEST_F(ShareFoldersTest, AFileInTheWayOfAFolderIsReported)
{
    put(QStringLiteral("Data/Temp/ShareTemp/Files"), "a file where a folder belongs");
    const FileResult prepared = PrepareShareFolders(base);
    EXPECT_FALSE(prepared);
    EXPECT_TRUE(prepared.error.contains(base + QStringLiteral("Data/Temp/ShareTemp/Files"))) << prepared.error.toStdString();
    EXPECT_FALSE(QDir(base + QStringLiteral("Data/Temp/ShareTemp/Files/Scenes")).exists());
}

TEST_F(ShareFoldersTest, AStagingFolderThatIsALinkIsRefusedAndNothingIsDeletedThroughIt)
{
    const struct {
        const char *name;
        const char *link; // below Data/Temp/ShareTemp/, or "" for ShareTemp itself
        const char *target; // the user's files, below the link's target
    } rows[] = {
        {"the pictures' folder", "Files/Images", ""},
        {"the scenes' folder", "Files/Scenes", ""},
        {"the sounds' folder", "Files/Sounds", ""},
        {"the folder of the three", "Files", "Images/"},
        {"the staging root", "", "Files/Images/"},
    };
    int n = 0;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(QDir(base + QStringLiteral("Data")).removeRecursively());
        const QString target = QStringLiteral("Pictures%1").arg(n++);
        const QString mine = target + u'/' + QLatin1String(row.target);
        put(mine + QStringLiteral("Holiday.jpg"), "the user's picture");
        put(mine + QStringLiteral("Scene.scn"), "the user's scene");
        const QString link = base + QStringLiteral("Data/Temp/ShareTemp/") + QLatin1String(row.link);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(QDir::cleanPath(link)).path()));
        ASSERT_TRUE(QFile::link(base + target, QDir::cleanPath(link)));
        const QStringList before = tree(target);

        const FileResult prepared = PrepareShareFolders(base);
        EXPECT_FALSE(prepared);
        EXPECT_TRUE(prepared.error.contains(QDir::cleanPath(link)) && prepared.error.contains(QStringLiteral("link")))
            << prepared.error.toStdString();
        EXPECT_EQ(tree(target), before) << "nothing deleted or made through the link";
        EXPECT_TRUE(QFile::exists(base + mine + QStringLiteral("Holiday.jpg")));
    }
}

} // namespace
