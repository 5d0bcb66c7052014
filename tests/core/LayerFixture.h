#pragma once
// Scenes with every character layer, for the tests of the smile, blink, brow
// and user character layers: frames written as BMP, each one solid colour
// with a light-grey (mask colour) corner, so that an entry's colour tells
// which frame it holds and the corner shows frame 01 through; scenes written
// by the scene writer's rules; and a trace of every picture the preview
// shows, with the virtual time it was shown at. `Base` writes the scenes and
// runs the clock (tests/core/SceneFolderFixture.h): the player's tests load
// them into a player of their own (tests/core/PlayerFixture.h), the library
// window's tests click them in the window (tests/library/LayerWindowFixture.h).

#include "core/pictures/ImageList.h"
#include "core/preview/PreviewShow.h"
#include "core/scene/SceneFileText.h"
#include "tests/core/SceneFolderFixture.h"

#include <QVector>

// The layers of a character scene, as the scene writer names their frames.
enum class Layer { Mouth, Smile, Blink, Brow, UserMouth, UserBlink };

inline QString layerName(Layer layer)
{
    switch (layer) {
    case Layer::Mouth: return QStringLiteral("Mouth");
    case Layer::Smile: return QStringLiteral("Smile");
    case Layer::Blink: return QStringLiteral("Blink");
    case Layer::Brow: return QStringLiteral("Brow");
    case Layer::UserMouth: return QStringLiteral("UserMouth");
    case Layer::UserBlink: return QStringLiteral("UserBlink");
    }
    return {};
}

inline int frameCount(Layer layer)
{
    switch (layer) {
    case Layer::Mouth:
    case Layer::UserMouth: return 7;
    case Layer::Smile: return 14;
    case Layer::Brow: return 9;
    case Layer::Blink:
    case Layer::UserBlink: return 4;
    }
    return 0;
}

// Frame n's colour: distinct across layers and frames, never the mask colour.
inline QRgb frameColor(Layer layer, int n)
{
    switch (layer) {
    case Layer::Mouth: return MouthColors[n - 1];
    case Layer::Smile: return qRgb(250, 15 * n, 0);
    case Layer::Blink: return qRgb(0, 50 * n, 250);
    case Layer::Brow: return qRgb(25 * n, 250, 0);
    case Layer::UserMouth: return qRgb(120, 30 * n, 60);
    case Layer::UserBlink: return qRgb(0, 250, 50 * n);
    }
    return 0;
}

// Where a picture shows its own colour, and where an entry shows frame 01
// through: frame 01's grey corner is 2 x 2 pixels, every other frame's 4 x 4.
inline const QPoint FrameOneShowsThrough(3, 3);

// The scene's layers, each with its frames' own size.
struct CharacterScene {
    QString name = QStringLiteral("Garden");
    QSize background{1200, 857}; // ratio 1; 600 x 400 gives ratio 2
    bool smile = false, blink = false, brow = false, userMouth = false, userBlink = false;
    bool mainMouth = true;
    QSize mouthSize{40, 30}, smileSize{40, 30}, blinkSize{60, 20}, browSize{60, 20}, userMouthSize{36, 24},
        userBlinkSize{44, 16};
};

struct Shown {
    qint64 time = 0; // the virtual time it was shown at
    ShownEntry entry;
    bool operator==(const Shown &) const = default;
};

inline void PrintTo(const Shown &s, std::ostream *os)
{
    *os << s.time << " ms " << s.entry.box.toStdString() << " " << s.entry.key.toStdString() << " "
        << s.entry.entry << (s.entry.shown ? "" : " (not shown)");
}

template <class Base>
class LayerFixture : public Base {
protected:
    void SetUp() override
    {
        Base::SetUp();
        setShowRecorder([this](const ShownEntry &e) { trace.append({this->clock->Now(), e}); });
    }
    void TearDown() override
    {
        setShowRecorder({});
        Base::TearDown();
    }

    // One frame as BMP: colour `color`, its top-left corner the mask colour.
    void writeFrame(const QString &name, QSize size, QRgb color, int corner)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        for (int y = 0; y < corner; ++y)
            for (int x = 0; x < corner; ++x)
                image.setPixel(x, y, ImageList::MaskColor);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(image.save(&buffer, "BMP"));
        writeFile(this->base(QStringLiteral("Images/") + name), bytes);
    }
    static QString frameName(const QString &scene, Layer layer, int n)
    {
        return scene + layerName(layer) + QStringLiteral("%1.bmp").arg(n, 2, 10, QLatin1Char('0'));
    }
    void writeLayer(const QString &scene, Layer layer, QSize size)
    {
        for (int n = 1; n <= frameCount(layer); ++n)
            writeFrame(frameName(scene, layer, n), size, frameColor(layer, n), n == 1 ? 2 : 4);
    }
    void removeFrame(const QString &scene, Layer layer, int n)
    {
        ASSERT_TRUE(QFile::remove(this->base(QStringLiteral("Images/") + frameName(scene, layer, n))));
    }

    // A layer's box at x, y on the background.
    static void place(LayerPlacement &p, int x, int y)
    {
        p.LayerX = Value::integer(int16_t(x));
        p.LayerY = Value::integer(int16_t(y));
        p.LayerWidth = p.LayerHeight = Value::integer(10);
    }
    // The scene writer's settings for the layers of `c`, with the main mouth
    // at 10, 20, the blink at 30, 40, the user's mouth at 50, 60 and the
    // user's blink at 70, 80.
    static SceneSettings settingsOf(const CharacterScene &c)
    {
        SceneSettings s;
        s.name = c.name;
        s.hasSmile = c.smile;
        s.hasMainBlink = c.blink;
        s.hasBrow = c.brow;
        s.hasUser = c.userMouth;
        s.hasUserBlink = c.userBlink;
        place(s.mainMouth, 10, 20);
        place(s.mainBlink, 30, 40);
        place(s.brow, 90, 90);
        place(s.userMouth, 50, 60);
        place(s.userBlink, 70, 80);
        return s;
    }
    // The scene's text as the scene writer writes it, its numbered frames
    // named ".bmp".
    static QString sceneTextOf(const SceneSettings &s, bool mainMouth = true)
    {
        QList<SceneEntry> entries = sceneEntries(s);
        for (SceneEntry &e : entries)
            if (e.key != QLatin1String("BG="))
                e.value.replace(QStringLiteral("01.jpg"), QStringLiteral("01.bmp"));
        if (!mainMouth)
            entries.removeIf([](const SceneEntry &e) { return e.key.startsWith(QLatin1String("KM")); });
        return sceneText(entries);
    }
    static QString sceneTextOf(const CharacterScene &c) { return sceneTextOf(settingsOf(c), c.mainMouth); }
    // The background and the frames of every layer of `c`.
    void writeCharacterFrames(const CharacterScene &c)
    {
        this->writePicture(c.name + QStringLiteral("BG.jpg"), c.background, qRgb(20, 60, 120));
        writeLayer(c.name, Layer::Mouth, c.mouthSize);
        const struct {
            bool on;
            Layer layer;
            QSize size;
        } layers[] = {{c.smile, Layer::Smile, c.smileSize},
                      {c.blink, Layer::Blink, c.blinkSize},
                      {c.brow, Layer::Brow, c.browSize},
                      {c.userMouth, Layer::UserMouth, c.userMouthSize},
                      {c.userBlink, Layer::UserBlink, c.userBlinkSize}};
        for (const auto &l : layers)
            if (l.on)
                writeLayer(c.name, l.layer, l.size);
    }
    // The scene file and all its frames.
    void writeCharacterScene(const CharacterScene &c)
    {
        writeCharacterFrames(c);
        this->writeScene(c.name, sceneFileBytes(sceneTextOf(c)));
    }

    // Entry e of a display list holds `frame` of `layer` over frame 01.
    static ::testing::AssertionResult holds(const ImageList &list, int e, Layer layer, int frame)
    {
        const QImage p = list.Picture(e);
        if (p.isNull())
            return ::testing::AssertionFailure() << "no entry " << e;
        const QPoint middle(p.width() / 2, p.height() / 2);
        if (p.pixel(middle) != frameColor(layer, frame))
            return ::testing::AssertionFailure() << "entry " << e << " is not frame " << frame << ": "
                                                 << colorNear(p.pixel(middle), frameColor(layer, frame)).message();
        if (p.pixel(FrameOneShowsThrough) != frameColor(layer, 1))
            return ::testing::AssertionFailure() << "entry " << e << " does not show frame 01 through";
        if (p.pixel(0, 0) != ImageList::MaskColor)
            return ::testing::AssertionFailure() << "entry " << e << " lost frame 01's corner";
        return ::testing::AssertionSuccess();
    }

    // The trace's entries for one box, in order.
    QVector<int> entriesIn(const QString &box) const
    {
        QVector<int> out;
        for (const Shown &s : trace)
            if (s.entry.box == box)
                out << s.entry.entry;
        return out;
    }
    // A trace of entries of one box and list, shown one `interval` apart from `start`.
    static QVector<Shown> steps(const QString &box, const QString &key, qint64 start, qint64 interval,
                                const QVector<int> &entries)
    {
        QVector<Shown> out;
        for (int i = 0; i < entries.size(); ++i)
            out.append({start + i * interval, ShownEntry{box, key, entries[i], true}});
        return out;
    }

    // Moves the virtual clock on by `ms` with the random draws `draws` scripted:
    // exactly these are taken, in this order.
    void advance(qint64 ms, const QVector<float> &draws = {})
    {
        ScriptedRandom &random = this->random;
        random.strict = true;
        const int before = random.taken;
        for (const float r : draws)
            random.values.enqueue(r);
        this->clock->Advance(ms);
        EXPECT_EQ(random.taken - before, draws.size()) << "draws up to " << this->clock->Now() << " ms";
        random.values.clear();
    }

    QVector<Shown> trace;
};
