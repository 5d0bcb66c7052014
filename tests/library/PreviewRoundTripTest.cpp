// A scene as the scene writer saves it, previewed: what the writer wrote is
// what the preview shows. And writer-made scene files damaged on the way
// (cut short, bytes flipped, keys doubled) load without harm.

#include "designers/frmFormDesign.h"
#include "core/preview/TalkTable.h"
#include "scene/SaveScene.h"
#include "tests/library/LibraryFixture.h"

#include <QCheckBox>
#include <QLineEdit>

#include <cmath>
#include <random>

namespace {

const QString kSaved = QStringLiteral("Your Scene has been saved.");

class PreviewRoundTripTest : public LibraryTest {
protected:
    // A primary series of 21 frames, 500 x 500, each of one shade, the mouth
    // and blink cut by the designers, the mouth placed at 350, 250; and an
    // alternate picture.
    void SetUp() override
    {
        LibraryTest::SetUp();
        const QString series = tempPath(QStringLiteral("art/"));
        QDir().mkpath(series);
        for (int n = 1; n <= 21; ++n) {
            QImage frame(500, 500, QImage::Format_RGB32);
            frame.fill(QColor((10 * n) % 256, (37 * n) % 256, 128));
            ASSERT_TRUE(frame.save(series + QStringLiteral("Girl%1.bmp").arg(n, 4, 10, QLatin1Char('0')), "BMP"));
        }
        SceneState &s = scene();
        s.PrimaryFirstFramePath = series + QStringLiteral("Girl0001.bmp");
        s.PrimaryFramePrefix = series + QStringLiteral("Girl");
        s.PrimaryFrameExt = QStringLiteral(".bmp");
        ASSERT_TRUE(form<frmFormDesign>().CropPrimaryFrames());
        s.LayerPlacements[LayerMainMouth] = {Value::longValue(350), Value::longValue(250), Value::real(56),
                                             Value::real(41)};
        QImage night(120, 90, QImage::Format_RGB32);
        night.fill(qRgb(10, 10, 40));
        ASSERT_TRUE(night.save(tempPath(QStringLiteral("Night.bmp")), "BMP"));
        s.SceneHasAltImage = FlagOn;
        s.AltImagePath = tempPath(QStringLiteral("Night.bmp"));
    }

    void save(const QString &name)
    {
        SaveScene &w = form<SaveScene>();
        w.Show();
        w.Text1->setText(name);
        messages.answers.enqueue(MsgResult::Ok);
        QTest::mouseClick(w.Image1, Qt::LeftButton);
        ASSERT_EQ(messages.texts(), QStringList{kSaved});
        messages.shown.clear();
        w.Hide();
    }
    QByteArray bytesOf(const QString &path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static int keyNumber(const QByteArray &sceneFile, const QByteArray &key)
    {
        const int at = sceneFile.indexOf("\n" + key + "=");
        EXPECT_GE(at, 0) << key.constData();
        const int from = at + key.size() + 2;
        return sceneFile.mid(from, sceneFile.indexOf(';', from) - from).toInt();
    }
};

TEST_F(PreviewRoundTripTest, ASavedSceneLoadsAsWritten)
{
    save(QStringLiteral("Beach"));
    const QByteArray file = bytesOf(base(QStringLiteral("Scenes/Beach.scn")));
    const int x = keyNumber(file, "KMx"), y = keyNumber(file, "KMy");
    const QSize frame = QImage(base(QStringLiteral("Images/BeachMouth01.jpg"))).size();
    const QSize background = QImage(base(QStringLiteral("Images/BeachBG.jpg"))).size();
    ASSERT_FALSE(frame.isEmpty());
    ASSERT_GT(background.width(), 0);

    VelmNShare &w = openLibrary();
    ASSERT_EQ(entries(w.List1), QStringList{"Beach"});
    click(w.List1, QStringLiteral("Beach"));
    EXPECT_TRUE(messages.shown.isEmpty());

    // Display pixels per background pixel; a frame's HIMETRIC size at 96 dpi
    // over 26.4444, times that, less one pixel.
    const double ratio = 1200.0 / background.width();
    auto boxSide = [&](int pixels) { return int(std::nearbyint(std::floor(pixels * 2540.0 / 96 + 0.5) / 26.4444 * ratio - 1)); };
    EXPECT_EQ(w.MainPic->Picture().size(), QSize(1200, 857));
    EXPECT_TRUE(w.VelmMouth->isVisibleTo(&w));
    EXPECT_EQ(w.VelmMouth->geometry(), QRect(int(std::nearbyint(x * ratio)), int(std::nearbyint(y * ratio)),
                                             boxSide(frame.width()), boxSide(frame.height())));
    const QSize shown(int(std::nearbyint(frame.width() * ratio)), int(std::nearbyint(frame.height() * ratio)));
    ASSERT_EQ(w.ImageList2.Count(), 7);
    ASSERT_EQ(w.ImageList8.Count(), TalkMouthCount);
    for (int n = 1; n <= 7; ++n)
        EXPECT_EQ(w.ImageList2.Picture(n).size(), shown) << n;
    for (int e = 1; e <= TalkMouthCount; ++e)
        EXPECT_EQ(w.ImageList8.Picture(e).size(), shown) << e;
    for (int n = 1; n <= 7; ++n) {
        const QString name = scene().Files.MainMouthFrameFiles[n];
        EXPECT_EQ(name, QStringLiteral("BeachMouth0%1.jpg").arg(n));
        EXPECT_TRUE(QFile::exists(base(QStringLiteral("Images/")) + name)) << name.toStdString();
    }
    EXPECT_EQ(w.MainPicFileName, QStringLiteral("BeachBG.jpg"));
    EXPECT_EQ(w.NudyFilename, QStringLiteral("BeachAlternate.jpg"));
    EXPECT_TRUE(QFile::exists(base(QStringLiteral("Images/BeachAlternate.jpg"))));
    EXPECT_TRUE(w.Check1->isEnabled());
}

TEST_F(PreviewRoundTripTest, DamagedSceneFilesLoadWithoutHarm)
{
    save(QStringLiteral("Beach"));
    const QString path = base(QStringLiteral("Scenes/Beach.scn"));
    const QByteArray good = bytesOf(path);
    const QList<QByteArray> lines = good.split('\n');
    VelmNShare &w = openLibrary();
    click(w.List1, QStringLiteral("Beach"));

    std::mt19937 random(20240611);
    auto below = [&](int n) { return int(random() % unsigned(std::max(n, 1))); };
    for (int round = 0; round < 60; ++round) {
        QByteArray damaged = good;
        QString how;
        switch (round % 3) {
        case 0:
            damaged.truncate(below(good.size()));
            how = QStringLiteral("cut at %1").arg(damaged.size());
            break;
        case 1:
            for (int flips = 1 + below(6); flips > 0; --flips) {
                const int at = below(damaged.size());
                damaged[at] = char(damaged[at] ^ char(1 + below(255)));
            }
            how = QStringLiteral("flipped");
            break;
        default: {
            // A line copied in front of the file, its number changed.
            QByteArray line = lines[below(lines.size())];
            line.replace(QByteArray("350"), QByteArray::number(below(100000) - 50000));
            damaged = line + '\n' + damaged;
            how = QStringLiteral("doubled ") + QString::fromLatin1(line.trimmed());
        }
        }
        ASSERT_TRUE(writeFile(path, damaged));
        click(w.List1, QStringLiteral("Beach"));
        SCOPED_TRACE(how.toStdString());
        ASSERT_TRUE(messages.shown.isEmpty());
        // Either the mouth shows with its 22 talk mouths, or it is hidden.
        if (w.VelmMouth->isVisibleTo(&w)) {
            EXPECT_EQ(w.ImageList8.Count(), TalkMouthCount);
            EXPECT_EQ(w.ImageList2.Count(), 7);
        }
    }
}

} // namespace
