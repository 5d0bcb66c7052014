// A scene save is one unit of files. A save over an earlier one whose write
// fails at a picture leaves every file as the earlier save wrote it; one
// whose program is killed after the sync, before or between the renames,
// leaves every file of the scene whole, either as the earlier save wrote it
// or as the new save writes it, and the next start or save makes the scene
// wholly the one or the other and removes what the interrupted one left.

#include "core/base/FileTransaction.h"
#include "designers/frmFormDesign.h"
#include "scene/ExtraAnimProps.h"
#include "scene/SaveScene.h"
#include "tests/core/KillingCalls.h"
#include "tests/support/program/SaveFixture.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QMap>

#include <cerrno>

namespace {

using Disk = QMap<QString, QByteArray>; // every file under a folder, by its path inside

void copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        ASSERT_TRUE(QFile::copy(file, target)) << target.toStdString();
    }
}

// The system's calls, with the n-th write failing for want of space, or the
// disk copied as it stands at the n-th rename: what a crash there would leave.
class InterruptingCalls : public FileCalls {
public:
    int failWriteAt = 0;
    int crashAtRename = 0;
    QString disk, afterCrash;
    int writes = 0, renames = 0;

    qint64 write(int fd, const char *data, qint64 size) override
    {
        if (++writes == failWriteAt) {
            errno = ENOSPC;
            return -1;
        }
        return FileCalls::write(fd, data, size);
    }
    bool rename(const QByteArray &from, const QByteArray &to) override
    {
        if (++renames == crashAtRename)
            copyTree(disk, afterCrash);
        return FileCalls::rename(from, to);
    }
};

class SceneSaveUnitTest : public SaveFixture {
protected:
    void SetUp() override
    {
        SaveFixture::SetUp();
        AnimFrameSet &extra = scene().ExtraFrameSet;
        extra.FirstFramePath = series + QStringLiteral("Fish01.jpg");
        extra.FrameFolder = series;
        extra.FrameBaseName = QStringLiteral("Fish");
        extra.FrameExt = QStringLiteral(".jpg");
        extra.FirstFrame = Value::integer(1);
        extra.LastFrame = Value::integer(4);
        extra.FrameCount = Value::integer(4);
        scene().SceneHasExtraAnim = scene().ExtraPlaced = FlagOn;
        form<ExtraAnimProps>().Text2->setText(QStringLiteral("4"));
        drawSources(0);
    }
    void TearDown() override
    {
        setFileCalls(nullptr);
        SaveFixture::TearDown();
    }

    // The first frames of the main series (BMP) and the extra frames (JPEG),
    // in shades that the version number changes, and the mouth frames cut
    // from them.
    void drawSources(int version)
    {
        for (int n = 1; n <= 7; ++n)
            draw(girl(n), n + 50 * version);
        for (int n = 1; n <= 4; ++n) {
            QImage frame(320, 240, QImage::Format_RGB32);
            for (int y = 0; y < 240; ++y)
                for (int x = 0; x < 320; ++x)
                    frame.setPixel(x, y, qRgb((x + 40 * n) % 256, (y * 3 + version * 60) % 256, (x ^ y) % 256));
            ASSERT_TRUE(frame.save(series + QStringLiteral("Fish%1.jpg").arg(n, 2, 10, QLatin1Char('0')), "JPEG"));
        }
        ASSERT_TRUE(form<frmFormDesign>().CropPrimaryFrames());
        }

    Disk disk() const
    {
        Disk files;
        const QString root = baseFolder();
        QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
            files.insert(path.mid(root.size()), file.readAll());
        }
        return files;
    }
    static QStringList temporaries(const Disk &files)
    {
        QStringList found;
        for (auto it = files.begin(); it != files.end(); ++it)
            if (FileTransaction::isTemporaryName(QFileInfo(it.key()).fileName()))
                found << it.key();
        return found;
    }
    // Every file of the scene is whole: as the earlier save left it, or as the new one writes it.
    static void expectOldOrNew(const Disk &seen, const Disk &old, const Disk &fresh, int *olds, int *news)
    {
        for (auto it = fresh.begin(); it != fresh.end(); ++it) {
            SCOPED_TRACE(it.key().toStdString());
            ASSERT_TRUE(seen.contains(it.key()));
            const QByteArray &bytes = seen[it.key()];
            EXPECT_TRUE(bytes == it.value() || bytes == old.value(it.key()));
            *news += bytes == it.value() && bytes != old.value(it.key());
            *olds += bytes == old.value(it.key()) && bytes != it.value();
        }
    }

    // The program starts again, as after a crash.
    void restart()
    {
        destroyAllForms();
        startProgram();
    }
    // Writes the files back as they were, and nothing else.
    void restore(const Disk &files)
    {
        ASSERT_TRUE(QDir(baseFolder()).removeRecursively());
        for (auto it = files.begin(); it != files.end(); ++it)
            ASSERT_TRUE(writeFile(baseFolder() + it.key(), it.value()));
    }
    // Saves over Beach as a user does, answering Yes to the question.
    void saveOverBeach()
    {
        messages.expect(MsgResult::Yes);
        save(QStringLiteral("Beach"));
    }

    InterruptingCalls calls;
};

// Renames that all fail, as on a disk that refuses them.
class RefusedRenames : public FileCalls {
public:
    bool rename(const QByteArray &, const QByteArray &) override
    {
        errno = EACCES;
        return false;
    }
};

TEST_F(SceneSaveUnitTest, AWriteThatFailsAtAPictureLeavesEveryFileWholeAndNothingBehind)
{
    save(QStringLiteral("Beach"));
    ASSERT_EQ(messages.takeTexts(), QStringList{kSaved});
    const Disk old = disk();
    ASSERT_EQ(old.size(), 14); // scene file, list, background, 7 mouths and 4 extra frames

    drawSources(1);
    calls.failWriteAt = 3; // Mouth01, Mouth02, then Mouth03 fails
    setFileCalls(&calls);
    const QStringList failed = saveOver(QStringLiteral("Beach"), QStringLiteral("Beach"));
    ASSERT_EQ(failed.size(), 1);
    EXPECT_TRUE(failed.first().contains(QStringLiteral("BeachMouth03.jpg: No space left on device")))
        << failed.first().toStdString();
    EXPECT_TRUE(form<SaveScene>().Visible());
    EXPECT_EQ(disk(), old);

    setFileCalls(nullptr);
    ASSERT_EQ(saveOver(QStringLiteral("Beach"), QStringLiteral("Beach")), QStringList{kSaved});
    const Disk fresh = disk();
    EXPECT_EQ(fresh.keys(), old.keys());
    int olds = 0, news = 0;
    expectOldOrNew(fresh, old, fresh, &olds, &news);
    EXPECT_EQ(news, 12); // all but the scene file, whose text is the same, and the list
}

TEST_F(SceneSaveUnitTest, AKillAfterTheSyncLeavesEveryFileWholeAndTheNextSaveCleansUp)
{
    const struct {
        const char *name;
        int crashAtRename; // the kill comes just before this rename
        int news;          // files already in place then, not the same as before
    } cases[] = {
        {"before the first rename", 1, 0},
        {"between the renames", 6, 5}, // Mouth01 .. Mouth05 in place
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(baseFolder()).removeRecursively();
        drawSources(0);
        setFileCalls(nullptr);
        save(QStringLiteral("Beach"));
        ASSERT_EQ(messages.takeTexts(), QStringList{kSaved});
        const Disk old = disk();

        // The save runs to its end; the disk is copied as the kill would have left it.
        drawSources(1);
        calls = InterruptingCalls();
        calls.crashAtRename = c.crashAtRename;
        calls.disk = baseFolder();
        calls.afterCrash = tempPath(QStringLiteral("after-crash-%1/").arg(c.crashAtRename));
        setFileCalls(&calls);
        ASSERT_EQ(saveOver(QStringLiteral("Beach"), QStringLiteral("Beach")), QStringList{kSaved});
        const Disk fresh = disk();
        EXPECT_TRUE(temporaries(fresh).isEmpty());
        setFileCalls(nullptr);

        // The program starts again on the disk the kill left.
        ASSERT_TRUE(QDir(baseFolder()).removeRecursively());
        copyTree(calls.afterCrash, baseFolder());
        const Disk afterCrash = disk();
        int olds = 0, news = 0;
        expectOldOrNew(afterCrash, old, fresh, &olds, &news);
        EXPECT_EQ(news, c.news);
        // The new files not yet in place, all but the list, the 13 old ones kept aside, and the journal.
        EXPECT_EQ(temporaries(afterCrash).size(), 13 - (c.crashAtRename - 1) + 13 + 1);

        ASSERT_EQ(saveOver(QStringLiteral("Beach"), QStringLiteral("Beach")), QStringList{kSaved});
        const Disk next = disk();
        EXPECT_TRUE(temporaries(next).isEmpty()) << temporaries(next).join(u' ').toStdString();
        EXPECT_EQ(next, fresh);
    }
}

// A save over an older scene of the same name, killed as a crash or a power
// cut kills it, before any one of its renames: when the program starts again
// the older scene is back byte for byte and nothing of the save is left.
// Killed after its last rename: the new scene, byte for byte, and nothing
// left either. The start shows nothing.
TEST_F(SceneSaveUnitTest, ASaveKilledAtAnyRenameLeavesTheOldSceneOrTheNewOneAtTheNextStart)
{
    save(QStringLiteral("Beach"));
    ASSERT_EQ(messages.takeTexts(), QStringList{kSaved});
    const Disk old = disk();
    int renames = 0;
    for (int k = 1; renames == 0; ++k) {
        SCOPED_TRACE(k);
        drawSources(1);
        KillingCalls killing;
        killing.killBefore = k;
        const KilledRun run = runKilled([this] { saveOverBeach(); }, killing);
        ASSERT_NE(run, KilledRun::Failed);
        if (run == KilledRun::RanToItsEnd) {
            renames = k - 1;
            break;
        }
        EXPECT_EQ(temporaries(disk()).filter(QStringLiteral(".journal")).size(), 1);
        restart();
        EXPECT_EQ(disk(), old);
    }
    EXPECT_EQ(renames, 14); // the 13 files of the scene, then the journal's word that the save is whole
    // The save that ran to its end: the same files, every picture new.
    const Disk fresh = disk();
    EXPECT_EQ(fresh.keys(), old.keys());
    for (auto it = fresh.begin(); it != fresh.end(); ++it) {
        if (it.key().endsWith(QStringLiteral(".jpg"))) {
            EXPECT_NE(it.value(), old.value(it.key())) << it.key().toStdString();
        }
    }

    restore(old);
    drawSources(1);
    KillingCalls killing;
    killing.killAfter = renames;
    ASSERT_EQ(runKilled([this] { saveOverBeach(); }, killing), KilledRun::Killed);
    EXPECT_EQ(temporaries(disk()).size(), 13 + 1); // the old files kept aside, and the journal
    restart();
    EXPECT_EQ(disk(), fresh);
}

// A file that the start cannot put back stays as the cut-off save left it,
// and so do the file holding its old bytes and the save's journal: the start
// says which, a save is refused while they stay, and the next start puts the
// older scene back.
TEST_F(SceneSaveUnitTest, WhatTheStartCannotPutBackIsNamedAndTriedAgain)
{
    save(QStringLiteral("Beach"));
    ASSERT_EQ(messages.takeTexts(), QStringList{kSaved});
    const Disk old = disk();
    drawSources(1);
    KillingCalls killing;
    killing.killBefore = 4; // Mouth01 to Mouth03 are in place
    ASSERT_EQ(runKilled([this] { saveOverBeach(); }, killing), KilledRun::Killed);

    RefusedRenames refused;
    setFileCalls(&refused);
    messages.expect(MsgResult::Ok);
    restart();
    const ShownMessage said = messages.takeOne();
    EXPECT_EQ(said.icon, MsgIcon::Exclamation);
    EXPECT_TRUE(said.text.startsWith(
        QStringLiteral("A save that was cut off could not be undone. These files are left as they are:\n")))
        << said.text.toStdString();
    const Disk left = disk();
    QStringList keptNames;
    for (const QString &path : temporaries(left))
        if (path.endsWith(QStringLiteral(".old")))
            keptNames << path;
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        const QString mouth = QStringLiteral("Images/BeachMouth0%1.jpg").arg(n);
        EXPECT_NE(left.value(mouth), old.value(mouth));
        // Its old bytes are in a file the message names beside it.
        QString keptName;
        for (const QString &kept : keptNames)
            if (left.value(kept) == old.value(mouth))
                keptName = QFileInfo(kept).fileName();
        ASSERT_FALSE(keptName.isEmpty());
        EXPECT_TRUE(said.text.contains(QStringLiteral("%1: not put back (Permission denied); what it held before is in %2\n")
                                           .arg(base(mouth), keptName)))
            << said.text.toStdString();
    }
    const QStringList journals = temporaries(left).filter(QStringLiteral(".journal"));
    ASSERT_EQ(journals.size(), 1);
    EXPECT_TRUE(said.text.endsWith(QStringLiteral("\n%1: kept, to undo that save at the next start")
                                       .arg(base(journals.first()))))
        << said.text.toStdString();

    // A save would write over what the journal puts back: it is refused, and changes nothing.
    drawSources(1);
    const QStringList refusedSave = saveOver(QStringLiteral("Beach"), QStringLiteral("Beach"));
    ASSERT_EQ(refusedSave.size(), 1);
    EXPECT_TRUE(refusedSave.first().startsWith(
        QStringLiteral("The scene was not saved: A save that was cut off could not be undone.")))
        << refusedSave.first().toStdString();
    EXPECT_EQ(disk(), left);

    setFileCalls(nullptr);
    restart();
    EXPECT_EQ(disk(), old);
}

} // namespace
