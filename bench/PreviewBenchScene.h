#pragma once
// The library preview's bench scene, for the benchmarks of its loads and
// ticks: a background of 800 x 571 (the 1200-pixel-wide preview shows it at a
// ratio of 1.5), an extra animation of 320 x 240 frames and a full-background
// animation of 800 x 571 frames that fill the preview, each `frames` long, as
// JPEG at the program's quality, with photo-like content. On request the main
// mouth is joined by the smile, the main blink and brow, and the user
// character's mouth and blink. The scene is written as the scene writer
// writes it, and opened in the library window as a click in "VELM Scenes" does.

#include "core/scene/SceneState.h"
#include "library/VelmNShare.h"
#include "platform/Form.h"
#include "core/pictures/ImageWorkspace.h"
#include "core/system/Services.h"
#include "platform/WindowServices.h"
#include "core/scene/FrameSetFiles.h"
#include "core/scene/SceneFileText.h"

#include "bench/BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QListWidget>

struct PreviewBenchScene {
    QString name = QStringLiteral("Bench");
    int frames = 1000;       // of the extra and the full background each
    int intervalMs = 80;     // both animations' interval ("MS=", "MainAnimS=")
    bool faceLayers = false; // smile, main blink and brow, user mouth and blink
    QSize background{800, 571}, extraFrame{320, 240};
};

// The frames of one layer of the bench scene: "<scene><layer>01.jpg" and on.
inline bool writeBenchFrames(const QString &images, const QString &scene, const char *layer, int count, QSize size)
{
    for (int n = 1; n <= count; ++n) {
        const QString path = images + scene + QLatin1String(layer) + frameNumberText(n) + QStringLiteral(".jpg");
        QImageWriter writer(path, "JPEG");
        writer.setQuality(JpegQuality);
        if (!writer.write(photoFrame(size.width(), size.height(), n)))
            return false;
    }
    return true;
}

// Writes the scene's file into <baseFolder>Scenes/ and its pictures into
// <baseFolder>Images/; false when one cannot be written.
inline bool writePreviewBenchScene(const QString &baseFolder, const PreviewBenchScene &b)
{
    const QString images = baseFolder + QStringLiteral("Images/");
    if (!QDir().mkpath(images) || !QDir().mkpath(baseFolder + QStringLiteral("Scenes")))
        return false;
    SceneSettings s;
    s.name = b.name;
    s.hasExtraAnim = s.hasFullAnim = true;
    s.hasSmile = s.hasMainBlink = s.hasBrow = s.hasUser = s.hasUserBlink = b.faceLayers;
    auto place = [](LayerPlacement &p, int x, int y, QSize size) {
        p.LayerX = Value::integer(int16_t(x));
        p.LayerY = Value::integer(int16_t(y));
        p.LayerWidth = Value::integer(int16_t(size.width()));
        p.LayerHeight = Value::integer(int16_t(size.height()));
    };
    const QSize mouth(56, 41), blink(120, 30), user(48, 36);
    place(s.mainMouth, 350, 250, mouth);
    place(s.mainBlink, 320, 180, blink);
    place(s.brow, 320, 150, blink);
    place(s.userMouth, 600, 300, user);
    place(s.userBlink, 590, 240, blink);
    place(s.extra, 40, 60, b.extraFrame);
    const QString frames = QString::number(b.frames), interval = QString::number(b.intervalMs);
    s.extraAnim.frames = s.fullAnim.frames = frames;
    s.extraAnim.speed = s.fullAnim.speed = interval;
    s.extraAnim.random = s.fullAnim.random = QStringLiteral("0");
    s.extraAnim.delay = s.fullAnim.delay = QStringLiteral("0");
    s.extraAnim.loop = s.fullAnim.loop = true;

    const QString &n = b.name;
    QImageWriter background(images + n + QStringLiteral("BG.jpg"), "JPEG");
    background.setQuality(JpegQuality);
    if (!background.write(photoFrame(b.background.width(), b.background.height(), 0)))
        return false;
    struct Layer {
        bool on;
        const char *name;
        int count;
        QSize size;
    };
    const Layer layers[] = {
        {true, "Mouth", 7, mouth},        {b.faceLayers, "Smile", 14, mouth},
        {b.faceLayers, "Blink", 4, blink}, {b.faceLayers, "Brow", 9, blink},
        {b.faceLayers, "UserMouth", 7, user}, {b.faceLayers, "UserBlink", 4, blink},
        {true, "Extra", b.frames, b.extraFrame},  {true, "FullAnim", b.frames, b.background},
    };
    for (const Layer &l : layers)
        if (l.on && !writeBenchFrames(images, n, l.name, l.count, l.size))
            return false;
    QFile file(baseFolder + QStringLiteral("Scenes/") + n + QStringLiteral(".scn"));
    const QByteArray bytes = sceneFileBytes(sceneText(sceneEntries(s)));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What the library window needs of the program's services in a bench: the
// documents folder that holds the base folder, and messages printed, never
// waited for.
class PreviewBenchServices : public MessageService, public EnvironmentService {
public:
    explicit PreviewBenchServices(const QString &documents) : m_documents(documents)
    {
        QDir().mkpath(configFolder());
        services().environment = this;
        windowServices().messages = this;
        scene().BaseFolder = baseFolder();
    }
    QString baseFolder() const { return m_documents + QStringLiteral("/Velm5Pro/"); }

    QStringList shown;
    MsgResult show(const QString &text, MsgButtons, const QString &, MsgIcon) override
    {
        shown << text;
        return MsgResult::Ok;
    }
    QString documentsFolder() const override { return m_documents; }
    QString programFolder() const override { return QCoreApplication::applicationDirPath(); }
    QString configFolder() const override { return m_documents + QStringLiteral("/config"); }
    QString picturesFolder() const override { return m_documents; }
    double twipsPerPixelX() const override { return 15; }
    double twipsPerPixelY() const override { return 15; }

private:
    QString m_documents;
};

// Opens the library window and loads the scene as a click on its name in
// "VELM Scenes" does; null when the window does not list it.
inline VelmNShare *openPreviewBenchScene(const QString &name)
{
    VelmNShare &w = form<VelmNShare>();
    const QList<QListWidgetItem *> found = w.List2->findItems(name, Qt::MatchExactly);
    if (found.isEmpty())
        return nullptr;
    w.List2->setCurrentItem(found.first());
    w.List2_Click();
    return &w;
}
