// A scene save is one unit of files. A save over an earlier one whose write
// fails at a picture leaves every file as the earlier save wrote it; one
// whose program is killed after the sync, before or between the renames,
// leaves every file of the scene whole, either as the earlier save wrote it
// or as the new save writes it, and the next save removes what the
// interrupted one left behind.

#include "core/base/FileTransaction.h"
#include "designers/frmFormDesign.h"
#include "scene/ExtraAnimProps.h"
#include "scene/SaveScene.h"
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

    InterruptingCalls calls;
};

TEST_F(SceneSaveUnitTest, AWriteThatFailsAtAPictureLeavesEveryFileWholeAndNothingBehind)
{
    save(QStringLiteral("Beach"));
    ASSERT_EQ(messages.takeTexts(), QStringList{kSaved});
    const Disk old = disk();
    ASSERT_EQ(old.size(), 14); // scene file, list, background, 7 mouths and 4 extra frames

    drawSources(1);
    calls.failWriteAt = 4; // the scene file, Mouth01, Mouth02, then Mouth03 fails
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
        {"between the renames", 6, 4}, // the scene file (unchanged) and Mouth01 .. Mouth04 in place
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
        // The new files not yet in place, all but the list, and the 13 old ones kept aside.
        EXPECT_EQ(temporaries(afterCrash).size(), 13 - (c.crashAtRename - 1) + 13);

        ASSERT_EQ(saveOver(QStringLiteral("Beach"), QStringLiteral("Beach")), QStringList{kSaved});
        const Disk next = disk();
        EXPECT_TRUE(temporaries(next).isEmpty()) << temporaries(next).join(u' ').toStdString();
        EXPECT_EQ(next, fresh);
    }
}

} // namespace
