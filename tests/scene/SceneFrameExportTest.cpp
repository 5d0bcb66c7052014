// Loading, cutting and saving numbered frames: names, sizes, pixels, and the
// stop at the first frame that cannot be loaded.

#include "adapters/jpeg/PictureCut.h"
#include "core/pictures/ImageWorkspace.h"
#include "core/scene/FrameExport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

// The outcome as a flag, its reason in `error`.
bool took(const Result<> &outcome, QString &error)
{
    error = outcome.error;
    return outcome.ok();
}

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
    ASSERT_TRUE(took(exportFramePlan(w, plan, PixelCrop{24, 8, 16, 20}), error)) << error.toStdString();
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
    EXPECT_FALSE(took(exportFramePlan(w, plan, std::nullopt), error));
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
    EXPECT_FALSE(took(exportFramePlan(w, bad, std::nullopt), error));
    EXPECT_EQ(error, bad.error);

    ImageWorkspace held[2];
    held[0].SetPicture(QImage(10, 12, QImage::Format_RGB32));
    const QStringList targets = {out(QStringLiteral("BBlink01.jpg")), out(QStringLiteral("BBlink02.jpg"))};
    EXPECT_FALSE(took(saveHeldFrames({&held[0], &held[1]}, targets), error)); // the second holds nothing
    EXPECT_TRUE(error.contains(QStringLiteral("BBlink02.jpg"))) << error.toStdString();
    EXPECT_EQ(QImage(targets[0]).size(), QSize(10, 12));
}

// The frames as the export wrote them before frames were cut while read:
// each source loaded whole, cut, and written by Qt's JPEG writer.
QByteArray savedTheWholeLoadWay(const QString &source, const std::optional<PixelCrop> &crop)
{
    ImageWorkspace w;
    if (!w.LoadImageFile(source) || (crop && !w.CropImage(crop->x, crop->y, crop->width, crop->height)))
        return QByteArray("<refused>");
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPEG");
    writer.setQuality(JpegQuality);
    return writer.write(w.Picture()) ? bytes : QByteArray("<not written>");
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Gradients with noise: the encoder has real work in every block.
QImage photoLike(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 state = 11;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const int noise = int(state >> 28) - 8;
            image.setPixel(x, y, qRgb(std::clamp(x + noise, 0, 255), std::clamp(2 * y - noise, 0, 255), (x * y) % 256));
        }
    }
    return image;
}

TEST_F(SceneFrameExport, FramesAreTheBytesTheWholeLoadGave)
{
    const QImage photo = photoLike(250, 190);
    QImage indexed = photo.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    QImage dense = photo;
    dense.setDotsPerMeterX(2835); // 72 dots an inch: the JPEG files say so too
    dense.setDotsPerMeterY(5000);
    QImage grey = photo.convertToFormat(QImage::Format_Grayscale8);
    const struct {
        const char *name;
        QImage picture;
        const char *format;
        bool progressive;
    } sources[] = {
        {"src/a.bmp", photo, "BMP", false},       {"src/b.bmp", indexed, "BMP", false},
        {"src/c.bmp", dense, "BMP", false},       {"src/d.jpg", photo, "JPEG", false},
        {"src/e.jpg", dense, "JPEG", true},       {"src/f.jpg", grey, "JPEG", false},
    };
    const std::optional<PixelCrop> crops[] = {std::nullopt, PixelCrop{37, 21, 68, 47}, PixelCrop{0, 0, 1, 1},
                                              PixelCrop{200, 150, 480, 360}};
    for (const auto &source : sources) {
        const QString path = temp.filePath(QLatin1String(source.name));
        QImageWriter writer(path, source.format);
        writer.setProgressiveScanWrite(source.progressive);
        ASSERT_TRUE(writer.write(source.picture));
        for (const auto &crop : crops) {
            SCOPED_TRACE(QStringLiteral("%1 cut at %2").arg(QLatin1String(source.name), crop ? QString::number(crop->x) : QStringLiteral("none")).toStdString());
            PictureCutter cutter;
            ASSERT_TRUE(cutter.read(path, crop ? std::optional<PictureArea>(PictureArea{crop->x, crop->y, crop->x + crop->width, crop->y + crop->height}) : std::nullopt));
            FramePlan plan;
            plan.frames.append({path, out(QStringLiteral("cut.jpg"))});
            ImageWorkspace w;
            QString error;
            ASSERT_TRUE(took(exportFramePlan(w, plan, crop), error)) << error.toStdString();
            EXPECT_EQ(bytesOf(out(QStringLiteral("cut.jpg"))), savedTheWholeLoadWay(path, crop));
            // The workspace keeps the last frame, as it did.
            EXPECT_EQ(w.Picture().size(), cutter.picture().size());
            EXPECT_TRUE(w.Picture() == cutter.picture());
        }
    }
}

// The files that readers once got wrong, through the export: whole pictures
// are saved as the whole load saved them; the cutter takes none of the
// damaged ones, and the loader refuses them by name.
TEST_F(SceneFrameExport, HostileInputsGiveTheirVerdicts)
{
    // The whole load of the damaged JPEG below says what the decoder skipped.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.jpeg.warning=false"));
    const QString data = QStringLiteral(SCENARA_FUZZ_CORPUS "/picture_load/");
    const QString cutShort = QStringLiteral("ends before its picture does");
    const struct {
        const char *name;
        QString refusal; // empty: the picture is whole
    } cases[] = {
        {"whole.jpg", QString()},
        {"whole24.bmp", QString()},
        {"bmp8-whole.bmp", QString()},
        {"wholerle8.bmp", QString()},
        {"jpeg-garbage-whole.jpg", QString()},
        {"bmp8-offbits0-whole.bmp", QString()},
        {"bmp-infosize0-whole.bmp", QString()},
        {"jpeg-plain-truncated.jpg", cutShort},
        {"jpeg-garbage-truncated.jpg", cutShort},
        {"bmp24-truncated.bmp", cutShort},
        {"bmp8-offbits0-truncated.bmp", cutShort},
        {"bmp-infosize0-truncated.bmp", cutShort},
        {"bmprle8-truncated.bmp", cutShort},
        {"bmp-row-overflow-54bytes.bmp", QStringLiteral("Could not load the picture")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString source = data + QLatin1String(c.name);
        ASSERT_TRUE(QFile::exists(source));
        for (const auto &crop : {std::optional<PixelCrop>(), std::optional<PixelCrop>(PixelCrop{1, 1, 3, 2})}) {
            const QString target = out(QStringLiteral("hostile.jpg"));
            QFile::remove(target);
            FramePlan plan;
            plan.frames.append({source, target});
            ImageWorkspace w;
            QString error;
            const bool saved = took(exportFramePlan(w, plan, crop), error);
            if (c.refusal.isEmpty()) {
                ASSERT_TRUE(saved) << error.toStdString();
                EXPECT_EQ(bytesOf(target), savedTheWholeLoadWay(source, crop));
                continue;
            }
            PictureCutter cutter;
            EXPECT_FALSE(cutter.read(source, PictureArea{1, 1, 4, 3}));
            EXPECT_FALSE(saved);
            EXPECT_TRUE(error.contains(c.refusal)) << error.toStdString();
            EXPECT_TRUE(error.contains(QLatin1String(c.name))) << error.toStdString();
            EXPECT_FALSE(QFile::exists(target));
        }
    }
    QLoggingCategory::setFilterRules(QString());
}

} // namespace
