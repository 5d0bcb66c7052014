// Loading, cutting and saving numbered frames: names, sizes, pixels, and the
// stop at the first frame that cannot be loaded.

#include "platform/ImageWorkspace.h"
#include "scene/FrameExport.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SceneFrameExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(temp.isValid());
        QDir().mkpath(temp.filePath(QStringLiteral("src")));
        QDir().mkpath(temp.filePath(QStringLiteral("out")));
    }
    // Frame n: its left half red, its right half a shade that tells the frames apart.
    QString frame(const QString &name, int n)
    {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(QColor(0, 0, 20 * n));
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 32; ++x)
                image.setPixelColor(x, y, Qt::red);
        const QString path = temp.filePath(QStringLiteral("src/") + name);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }
    QString out(const QString &name) const { return temp.filePath(QStringLiteral("out/") + name); }

    QTemporaryDir temp;
};

TEST_F(SceneFrameExport, CutsEveryFrameWithOneBox)
{
    FramePlan plan;
    for (int n = 1; n <= 3; ++n)
        plan.frames.append({frame(QStringLiteral("Fish0%1.bmp").arg(n), n), out(QStringLiteral("BExtra0%1.jpg").arg(n))});
    // The series may be named in another letter case than the plan says.
    plan.frames[2].source.replace(QStringLiteral("Fish03.bmp"), QStringLiteral("FISH03.BMP"));

    ImageWorkspace w;
    QString error;
    ASSERT_TRUE(exportFramePlan(w, plan, PixelCrop{24, 8, 16, 20}, &error)) << error.toStdString();
    for (int n = 1; n <= 3; ++n) {
        const QImage saved(out(QStringLiteral("BExtra0%1.jpg").arg(n)), "JPEG");
        ASSERT_EQ(saved.size(), QSize(16, 20)) << n;
        // Left part red, right part the frame's own shade (JPEG is near, not exact).
        EXPECT_GT(saved.pixelColor(2, 10).red(), 200);
        EXPECT_NEAR(saved.pixelColor(13, 10).blue(), 20 * n, 12);
    }
}

TEST_F(SceneFrameExport, StopsAtAMissingFrameAndKeepsWhatWasWritten)
{
    FramePlan plan;
    plan.frames.append({frame(QStringLiteral("T01.bmp"), 1), out(QStringLiteral("BTrigger01.jpg"))});
    plan.frames.append({temp.filePath(QStringLiteral("src/T02.bmp")), out(QStringLiteral("BTrigger02.jpg"))});
    plan.frames.append({frame(QStringLiteral("T03.bmp"), 3), out(QStringLiteral("BTrigger03.jpg"))});
    ImageWorkspace w;
    QString error;
    EXPECT_FALSE(exportFramePlan(w, plan, std::nullopt, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("T02.bmp"))) << error.toStdString();
    EXPECT_TRUE(QFile::exists(out(QStringLiteral("BTrigger01.jpg"))));
    EXPECT_FALSE(QFile::exists(out(QStringLiteral("BTrigger02.jpg"))));
    EXPECT_FALSE(QFile::exists(out(QStringLiteral("BTrigger03.jpg"))));
    EXPECT_EQ(QImage(out(QStringLiteral("BTrigger01.jpg"))).size(), QSize(64, 48)); // uncut
}

TEST_F(SceneFrameExport, PlanErrorsAndHeldFrames)
{
    FramePlan bad;
    bad.error = QStringLiteral("The count is wrong.");
    ImageWorkspace w;
    QString error;
    EXPECT_FALSE(exportFramePlan(w, bad, std::nullopt, &error));
    EXPECT_EQ(error, bad.error);

    ImageWorkspace held[2];
    held[0].SetPicture(QImage(10, 12, QImage::Format_RGB32));
    const QStringList targets = {out(QStringLiteral("BBlink01.jpg")), out(QStringLiteral("BBlink02.jpg"))};
    EXPECT_FALSE(saveHeldFrames({&held[0], &held[1]}, targets, &error)); // the second holds nothing
    EXPECT_TRUE(error.contains(QStringLiteral("BBlink02.jpg"))) << error.toStdString();
    EXPECT_EQ(QImage(targets[0]).size(), QSize(10, 12));
}

} // namespace
