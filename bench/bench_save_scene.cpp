// Saves a scene whose extra animation has 1000 frames of 640 x 480 from a BMP
// series, and times it per frame beside a plain loop that loads, cuts and
// saves the same frames with QImage alone.

#include "app/SceneState.h"
#include "designers/frmFormDesign.h"
#include "designers/frmFormDesignE.h"
#include "platform/Form.h"
#include "platform/ImageWorkspace.h"
#include "platform/Services.h"
#include "scene/FrameSetFiles.h"
#include "scene/SaveScene.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kFrames = 1000;
constexpr int kWidth = 640, kHeight = 480;

// Messages are printed instead of shown, so that the run never waits.
class PrintedMessages : public MessageService {
public:
    QStringList shown;
    MsgResult show(const QString &text, MsgButtons, const QString &, MsgIcon) override
    {
        shown << text;
        return MsgResult::Ok;
    }
};

class Folders : public EnvironmentService {
public:
    QString documents;
    QString documentsFolder() const override { return documents; }
    QString programFolder() const override { return QCoreApplication::applicationDirPath(); }
    QString configFolder() const override { return documents + QStringLiteral("/config"); }
    double twipsPerPixelX() const override { return 15; }
    double twipsPerPixelY() const override { return 15; }
};

QImage fixtureFrame(int n)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(QColor(n % 256, (n * 7) % 256, 90));
    for (int y = 100; y < 300; ++y)
        for (int x = 200 + n % 50; x < 300 + n % 50; ++x)
            image.setPixelColor(x, y, Qt::white);
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir temp;
    if (!temp.isValid()) {
        std::fprintf(stderr, "bench_save_scene: no temporary folder\n");
        return 1;
    }
    PrintedMessages messages;
    Folders folders;
    folders.documents = temp.filePath(QStringLiteral("Documents"));
    Services real = realServices();
    services() = Services{&messages, real.files, real.urls, &folders, real.random};

    const QString series = temp.filePath(QStringLiteral("series/"));
    QDir().mkpath(series);
    for (int n = 1; n <= kFrames; ++n)
        fixtureFrame(n).save(series + frameFileName(QStringLiteral("Walk"), n, QStringLiteral(".bmp")), "BMP");

    SceneState &s = scene();
    s.BaseFolder = folders.documents + QStringLiteral("/Velm5Pro/");
    s.PrimaryFirstFramePath = series + QStringLiteral("Walk01.bmp");
    s.SceneHasExtraAnim = s.ExtraPlaced = FlagOn;
    s.ExtraFrameSet.FirstFramePath = s.PrimaryFirstFramePath;
    s.ExtraFrameSet.FrameFolder = series;
    s.ExtraFrameSet.FrameBaseName = QStringLiteral("Walk");
    s.ExtraFrameSet.FrameExt = QStringLiteral(".bmp");
    s.ExtraFrameSet.FirstFrame = Value::integer(1);
    s.ExtraFrameSet.LastFrame = Value::integer(kFrames);
    s.ExtraFrameSet.FrameCount = Value::integer(kFrames);
    s.LayerPlacements[LayerMainMouth] = {Value::longValue(350), Value::longValue(250), Value::real(56),
                                         Value::real(41)};
    s.LayerPlacements[LayerExtraAnim] = {Value::longValue(10), Value::longValue(20), Value::real(200),
                                         Value::real(200)};

    // The mouth frames as the mouth designer's NEXT leaves them.
    frmFormDesign &mouth = form<frmFormDesign>();
    for (int n = 1; n <= 7; ++n)
        mouth.Xpress(n).SetPicture(fixtureFrame(n).copy(342, 446 - 300, 56, 41));
    frmFormDesignE &extra = form<frmFormDesignE>();
    const PixelCrop crop = CropRectToPixels(controlTwips(extra.Shape1), NegativeOrigin::RaiseToZero);

    SaveScene &save = form<SaveScene>();
    save.Text1->setText(QStringLiteral("Bench"));
    QElapsedTimer timer;
    timer.start();
    save.Image1_Click();
    const double sceneMs = timer.nsecsElapsed() / 1e6;
    const bool saved = messages.shown == QStringList{QStringLiteral("Your Scene has been saved.")};

    // The same frames with QImage alone: load, cut, save as JPEG at the same quality.
    const QString plain = temp.filePath(QStringLiteral("plain/"));
    QDir().mkpath(plain);
    timer.restart();
    for (int n = 1; n <= kFrames; ++n) {
        QImageReader reader(series + frameFileName(QStringLiteral("Walk"), n, QStringLiteral(".bmp")));
        const QImage cut = reader.read().copy(crop.x, crop.y, crop.width, crop.height);
        QImageWriter writer(plain + QStringLiteral("Extra%1.jpg").arg(n), "JPEG");
        writer.setQuality(JpegQuality);
        writer.write(cut);
    }
    const double plainMs = timer.nsecsElapsed() / 1e6;

    std::printf("bench_save_scene: %d extra frames of %d x %d from BMP, cut %d x %d\n", kFrames, kWidth, kHeight,
                crop.width, crop.height);
    std::printf("  scene save (whole save, per extra frame): %.3f ms\n", sceneMs / kFrames);
    std::printf("  plain QImage load-crop-save loop:         %.3f ms\n", plainMs / kFrames);
    std::printf("  ratio save / plain:                       %.2f\n", sceneMs / plainMs);
    if (!saved) {
        std::printf("  the save did not end as expected: %s\n", qPrintable(messages.shown.join(QStringLiteral(" | "))));
        destroyAllForms();
        return 1;
    }
    destroyAllForms();
    return 0;
}
