// Real archives over a temporary tree, read back by Python's zipfile and
// "unzip -t": what is taken, under which names, with which modes and bytes,
// and what a failure or a cancel leaves behind (nothing).

#include "adapters/zip/cZip.h"
#include "adapters/zip/mZip.h"

#include "tests/sharing/ZipReaders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"
#include "tests/support/TestFiles.h"

namespace {

constexpr int kRegular = 0100000;
const QStringList kSharePatterns{QStringLiteral("*.jpg"), QStringLiteral("*.scn"), QStringLiteral("*.exe")};

class ZipArchiveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(temp.isValid());
        root = temp.filePath(QStringLiteral("ShareTemp"));
        out = temp.filePath(QStringLiteral("zips"));
        ASSERT_TRUE(QDir().mkpath(out));
        put(QStringLiteral("mediadrop.exe"), QByteArray("\x7f" "ELF installer", 14));
        put(QStringLiteral("top.JPG"), "top picture");
        put(QStringLiteral("notes.txt"), "not archived");
        put(QStringLiteral(".hidden.jpg"), "hidden");
        put(QStringLiteral("Files/Scenes/Caf\u00e9.scn"), "BG=Caf\xe9" "BG.jpg;\r\n\r\n");
        put(QStringLiteral("Files/Images/a.jpg"), QByteArray(5000, 'a'));
        put(QStringLiteral("Files/Images/X.JPG"), "upper case");
        put(QStringLiteral("Files/Images/b.bmp"), "BM not archived");
        put(QStringLiteral("Files/Images/sub/c.jpg"), "deeper");
        put(QStringLiteral("Files/.cache/d.jpg"), "in a hidden folder");
        // Neither a pipe nor a link out of the tree is ever archived.
        ASSERT_EQ(mkfifo(QFile::encodeName(root + QStringLiteral("/pipe.jpg")).constData(), 0644), 0);
        put(QStringLiteral("../outside.jpg"), "outside");
        ASSERT_TRUE(QFile::link(temp.filePath(QStringLiteral("outside.jpg")), root + QStringLiteral("/link.jpg")));

        zip.setZipFile(out + QStringLiteral("/B123456789.zip"));
        zip.setBasePath(root);
        for (const QString &pattern : kSharePatterns)
            zip.AddFileSpec(pattern);
        QObject::connect(&zip, &cZip::Progress, [this](int, const QString &m) { progress << m; });
        QObject::connect(&zip, &cZip::Cancel, [this](const QString &name, bool &cancel) {
            serviced << name;
            cancel = name == cancelAt;
        });
    }

    void put(const QString &relative, const QByteArray &bytes) { writeFile(root + u'/' + relative, bytes); }

    QStringList filesIn(const QString &folder) const
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    }

    QTemporaryDir temp;
    QString root, out;
    cZip zip;
    QStringList progress, serviced;
    QString cancelAt;
};

TEST_F(ZipArchiveTest, TheSharePackageSettingsStoreEveryMatchingFileUnderItsPath)
{
    zip.setStoreFolderNames(true);
    zip.setRecurseSubDirs(true);
    zip.Zip();
    ASSERT_TRUE(zip.Success()) << zip.LastError().toStdString();

    const QStringList expected{
        QStringLiteral("Files/Images/X.JPG"), QStringLiteral("Files/Images/a.jpg"),
        QStringLiteral("Files/Images/sub/c.jpg"), QStringLiteral("Files/Scenes/Caf\u00e9.scn"),
        QStringLiteral("mediadrop.exe"), QStringLiteral("top.JPG"),
    };
    const ZipRead read = readZipWithPython(zip.ZipFile());
    ASSERT_TRUE(read.ok) << read.error.toStdString();
    EXPECT_EQ(read.names(), expected);
    for (const ZipEntryRead &e : read.entries) {
        SCOPED_TRACE(e.name.toStdString());
        EXPECT_EQ(e.sha256, fileSha256(root + u'/' + e.name));
        EXPECT_EQ(e.mode, kRegular | (e.name == QLatin1String("mediadrop.exe") ? 0755 : 0644));
        EXPECT_EQ(e.madeBy, 3);
        EXPECT_EQ(e.method, 8);
    }
    EXPECT_TRUE(read.entry(QStringLiteral("Files/Scenes/Caf\u00e9.scn"))->utf8);
    QString unzipSays;
    EXPECT_TRUE(unzipTestPasses(zip.ZipFile(), &unzipSays)) << unzipSays.toStdString();

    // Print and service once per entry, in the archive's order, before Zip returned.
    QStringList adding;
    for (const QString &name : expected)
        adding << QStringLiteral("  adding: ") + QString(name).replace(u'/', u'\\');
    EXPECT_EQ(progress, adding);
    EXPECT_EQ(serviced, expected);
    EXPECT_EQ(filesIn(out), QStringList{QStringLiteral("B123456789.zip")});
}

TEST_F(ZipArchiveTest, RecursionAndFolderNamesChooseTheEntries)
{
    const struct {
        const char *name;
        bool recurse, folderNames, directories, hidden;
        QStringList patterns;
        QStringList entries;
    } rows[] = {
        {"root only", false, true, false, false, {}, {"mediadrop.exe", "top.JPG"}},
        {"root only, no folder names", false, false, false, false, {}, {"mediadrop.exe", "top.JPG"}},
        {"every depth, file names only", true, false, false, false, {},
         {"Caf\u00e9.scn", "X.JPG", "a.jpg", "c.jpg", "mediadrop.exe", "top.JPG"}},
        {"folder entries", true, true, true, false, {},
         {"Files/", "Files/Images/", "Files/Images/X.JPG", "Files/Images/a.jpg", "Files/Images/sub/",
          "Files/Images/sub/c.jpg", "Files/Scenes/", "Files/Scenes/Caf\u00e9.scn", "mediadrop.exe", "top.JPG"}},
        {"hidden files and folders", true, true, false, true, {},
         {".hidden.jpg", "Files/.cache/d.jpg", "Files/Images/X.JPG", "Files/Images/a.jpg",
          "Files/Images/sub/c.jpg", "Files/Scenes/Caf\u00e9.scn", "mediadrop.exe", "top.JPG"}},
        {"a pattern with a folder", true, true, false, false, {"Files\\Images\\*.jpg"},
         {"Files/Images/X.JPG", "Files/Images/a.jpg"}},
        {"question marks and case", true, true, false, false, {"?.JpG", "*.BMP"},
         {"Files/Images/X.JPG", "Files/Images/a.jpg", "Files/Images/b.bmp", "Files/Images/sub/c.jpg"}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        progress.clear();
        serviced.clear();
        zip.setZipFile(out + QStringLiteral("/") + QLatin1String(row.name) + QStringLiteral(".zip"));
        zip.setRecurseSubDirs(row.recurse);
        zip.setStoreFolderNames(row.folderNames);
        zip.setStoreDirectories(row.directories);
        zip.setIncludeSystemAndHiddenFiles(row.hidden);
        zip.ClearFileSpecs();
        for (const QString &p : row.patterns.isEmpty() ? kSharePatterns : row.patterns)
            zip.AddFileSpec(p);
        zip.Zip();
        ASSERT_TRUE(zip.Success()) << zip.LastError().toStdString();
        const ZipRead read = readZipWithPython(zip.ZipFile());
        ASSERT_TRUE(read.ok) << read.error.toStdString();
        EXPECT_EQ(read.names(), row.entries);
        for (const ZipEntryRead &e : read.entries) {
            if (e.name.endsWith(u'/')) {
                EXPECT_EQ(e.mode, 040755) << e.name.toStdString();
                EXPECT_TRUE(QFileInfo(root + u'/' + e.name).isDir());
            }
        }
        EXPECT_EQ(serviced, row.entries);
        EXPECT_TRUE(unzipTestPasses(zip.ZipFile()));
    }
}

TEST_F(ZipArchiveTest, FailuresAndCancelsLeaveNoArchive)
{
    const struct {
        const char *name;
        QString zipFile;
        QStringList patterns;
        void (cZip::*option)(bool); // an option this library does not carry out
        QString cancelAt;
        int result;
        QString reasonNames; // a text the reason must hold
    } rows[] = {
        {"no match", out + QStringLiteral("/none.zip"), {QStringLiteral("*.gif")}, nullptr, QString(), ZE_NONE,
         QStringLiteral("*.gif")},
        {"unwritable archive", root + QStringLiteral("/mediadrop.exe/x.zip"), {}, nullptr, QString(), ZE_OPEN,
         QStringLiteral("x.zip")},
        {"missing folder", out + QStringLiteral("/missing/x.zip"), {}, nullptr, QString(), ZE_CREAT,
         QStringLiteral("missing")},
        {"encryption asked for", out + QStringLiteral("/secret.zip"), {}, &cZip::setEncrypt, QString(), ZE_PARMS,
         QStringLiteral("encryption")},
        {"update by date asked for", out + QStringLiteral("/newer.zip"), {}, &cZip::setUpdateOnlyIfNewer, QString(),
         ZE_PARMS, QStringLiteral("updating by date")},
        {"freshen asked for", out + QStringLiteral("/fresh.zip"), {}, &cZip::setFreshenFiles, QString(), ZE_PARMS,
         QStringLiteral("updating by date")},
        {"line ends asked for", out + QStringLiteral("/lf.zip"), {}, &cZip::setConvertCRLFToLF, QString(), ZE_PARMS,
         QStringLiteral("line-end conversion")},
        {"cancelled at the second entry", out + QStringLiteral("/cancelled.zip"), {}, nullptr,
         QStringLiteral("Files/Images/a.jpg"), ZE_ABORT, QStringLiteral("cancelled")},
        {"cancelled at the last entry", out + QStringLiteral("/cancelled.zip"), {}, nullptr, QStringLiteral("top.JPG"),
         ZE_ABORT, QStringLiteral("cancelled")},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        serviced.clear();
        zip.setZipFile(row.zipFile);
        zip.setStoreFolderNames(true);
        zip.setRecurseSubDirs(true);
        for (void (cZip::*setter)(bool) : {&cZip::setEncrypt, &cZip::setUpdateOnlyIfNewer, &cZip::setFreshenFiles,
                                           &cZip::setConvertCRLFToLF})
            (zip.*setter)(false);
        if (row.option)
            (zip.*row.option)(true);
        cancelAt = row.cancelAt;
        zip.ClearFileSpecs();
        for (const QString &p : row.patterns.isEmpty() ? kSharePatterns : row.patterns)
            zip.AddFileSpec(p);
        zip.Zip();
        EXPECT_FALSE(zip.Success());
        EXPECT_EQ(zip.LastResult(), row.result);
        EXPECT_TRUE(zip.LastError().contains(row.reasonNames)) << zip.LastError().toStdString();
        EXPECT_EQ(filesIn(out), QStringList());
        if (!row.cancelAt.isEmpty()) {
            EXPECT_EQ(serviced.last(), row.cancelAt);
        }
    }
}

TEST_F(ZipArchiveTest, AnArchiveThatExistsIsUpdated)
{
    zip.setStoreFolderNames(true);
    zip.setRecurseSubDirs(true);
    zip.Zip();
    ASSERT_TRUE(zip.Success()) << zip.LastError().toStdString();
    put(QStringLiteral("Files/Images/a.jpg"), "changed");
    put(QStringLiteral("Files/Images/new.jpg"), "new");
    ASSERT_TRUE(QFile::remove(root + QStringLiteral("/top.JPG")));
    zip.Zip();
    ASSERT_TRUE(zip.Success()) << zip.LastError().toStdString();
    const ZipRead read = readZipWithPython(zip.ZipFile());
    ASSERT_TRUE(read.ok) << read.error.toStdString();
    // Entries keep their places, a new one comes after them, and one whose file is gone stays.
    EXPECT_EQ(read.names(), (QStringList{"Files/Images/X.JPG", "Files/Images/a.jpg", "Files/Images/sub/c.jpg",
                                         "Files/Scenes/Caf\u00e9.scn", "mediadrop.exe", "top.JPG",
                                         "Files/Images/new.jpg"}));
    EXPECT_EQ(read.entry(QStringLiteral("Files/Images/a.jpg"))->sha256, fileSha256(root + "/Files/Images/a.jpg"));
}

TEST_F(ZipArchiveTest, DeleteRemovesMatchingEntriesAndSuccessKeepsReportingTheLastZip)
{
    zip.setStoreFolderNames(true);
    zip.setRecurseSubDirs(true);
    zip.Zip();
    ASSERT_TRUE(zip.Success());

    // A delete that matches nothing fails on its own; Success is the Zip's.
    zip.ClearFileSpecs();
    zip.AddFileSpec(QStringLiteral("*.gif"));
    zip.Delete();
    EXPECT_TRUE(zip.Success());
    EXPECT_EQ(zip.LastResult(), 0);
    EXPECT_EQ(zip.Options().fDeleteEntries, 0);

    // A Zip that fails, then a delete that works: Success stays false.
    zip.Zip();
    EXPECT_FALSE(zip.Success());
    zip.ClearFileSpecs();
    zip.AddFileSpec(QStringLiteral("*.JPG"));
    zip.Delete();
    EXPECT_FALSE(zip.Success());
    EXPECT_EQ(zip.LastResult(), ZE_NONE);
    const ZipRead read = readZipWithPython(zip.ZipFile());
    ASSERT_TRUE(read.ok) << read.error.toStdString();
    EXPECT_EQ(read.names(), (QStringList{"Files/Scenes/Caf\u00e9.scn", "mediadrop.exe"}));
    EXPECT_TRUE(unzipTestPasses(zip.ZipFile()));
}

TEST_F(ZipArchiveTest, TheCommentComesFromTheCommentRequest)
{
    zip.setAddComment(true);
    QObject::connect(&zip, &cZip::CommentRequest, [](QString &comment, bool &) {
        comment = QStringLiteral("  Beach scene  ");
    });
    zip.Zip();
    ASSERT_TRUE(zip.Success()) << zip.LastError().toStdString();
    const ZipRead read = readZipWithPython(zip.ZipFile());
    ASSERT_TRUE(read.ok) << read.error.toStdString();
    EXPECT_EQ(read.comment, QByteArray("Beach scene"));

    // An empty answer cancels the archive.
    zip.setZipFile(out + QStringLiteral("/second.zip"));
    QObject::disconnect(&zip, &cZip::CommentRequest, nullptr, nullptr);
    zip.Zip();
    EXPECT_EQ(zip.LastResult(), ZE_ABORT);
    EXPECT_EQ(filesIn(out), QStringList{QStringLiteral("B123456789.zip")});
}

TEST_F(ZipArchiveTest, TheNameListTakes1022PatternsAndRefusesMore)
{
    zip.ClearFileSpecs();
    for (int i = 0; i < MaxZipPatterns - 1; ++i)
        zip.AddFileSpec(QStringLiteral("*.no%1").arg(i));
    zip.AddFileSpec(QStringLiteral("*.exe"));
    zip.Zip();
    ASSERT_TRUE(zip.Success()) << zip.LastError().toStdString();
    const ZipRead read = readZipWithPython(zip.ZipFile());
    EXPECT_EQ(read.names(), QStringList{QStringLiteral("mediadrop.exe")});

    zip.setZipFile(out + QStringLiteral("/more.zip"));
    zip.AddFileSpec(QStringLiteral("*.jpg"));
    EXPECT_EQ(zip.FileSpecCount(), 1023);
    zip.Zip();
    EXPECT_EQ(zip.LastResult(), ZE_PARMS);
    EXPECT_TRUE(zip.LastError().contains(QStringLiteral("1022"))) << zip.LastError().toStdString();
    EXPECT_FALSE(QFile::exists(zip.ZipFile()));
}

TEST_F(ZipArchiveTest, AZipAskedForWhileOneRunsIsRefusedAndTheFirstGoesOn)
{
    cZip inner;
    inner.setZipFile(out + QStringLiteral("/inner.zip"));
    inner.setBasePath(root);
    inner.AddFileSpec(QStringLiteral("*.exe"));
    QObject::connect(&zip, &cZip::Progress, [&inner](int, const QString &) { inner.Zip(); });
    zip.Zip();
    EXPECT_TRUE(zip.Success()) << zip.LastError().toStdString();
    EXPECT_EQ(inner.LastResult(), ZE_LOGIC);
    EXPECT_FALSE(inner.Success());
    EXPECT_EQ(filesIn(out), QStringList{QStringLiteral("B123456789.zip")});
    // Once it has ended, the next run goes ahead.
    inner.Zip();
    EXPECT_TRUE(inner.Success()) << inner.LastError().toStdString();
}

} // namespace
