#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzTargets.h"

#include "core/base/Files.h"
#include "core/preview/PreviewBudget.h"
#include "core/preview/PreviewPlayer.h"
#include "core/scene/SceneState.h"
#include "core/system/Services.h"
#include "core/system/Timer.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QImageWriter>
#include <QTemporaryDir>

#include <algorithm>

namespace {

// Ticks of the master tick's 100 ms that the preview runs after the load.
constexpr int Ticks = 20;
// The most files one input makes, and the largest side of a picture it draws.
constexpr int MostFiles = 16;
constexpr int LargestDrawn = 1024;

class Folders : public EnvironmentService {
public:
    QString documents, config;
    QString documentsFolder() const override { return documents; }
    QString programFolder() const override { return QCoreApplication::applicationDirPath(); }
    QString configFolder() const override { return config; }
    QString picturesFolder() const override { return documents; }
    double twipsPerPixelX() const override { return 15; }
    double twipsPerPixelY() const override { return 15; }
};

// The same draws for the same input.
class SeededRandom : public RandomService {
public:
    explicit SeededRandom(quint32 seed) : m_state(seed | 1) {}
    float next() override
    {
        m_state = m_state * 1664525u + 1013904223u;
        return float(m_state >> 8) / float(1 << 24);
    }

private:
    quint32 m_state;
};

// The input's bytes, read from the front.
class Reader {
public:
    Reader(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
    bool atEnd() const { return m_at >= m_size; }
    int byte() { return atEnd() ? 0 : m_data[m_at++]; }
    QByteArray bytes(size_t n)
    {
        n = std::min(n, m_size - m_at);
        QByteArray out(reinterpret_cast<const char *>(m_data + m_at), qsizetype(n));
        m_at += n;
        return out;
    }
    QByteArray upTo(uint8_t end)
    {
        const size_t from = m_at;
        while (m_at < m_size && m_data[m_at] != end)
            ++m_at;
        QByteArray out(reinterpret_cast<const char *>(m_data + from), qsizetype(m_at - from));
        if (m_at < m_size)
            ++m_at;
        return out;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_at = 0;
};

// A picture drawn from a few bytes: width, height, a scale of 1 to 4, the
// format ('J' JPEG, else BMP) and a colour; the mask colour in one corner.
QByteArray drawnPicture(const QByteArray &recipe)
{
    auto at = [&](int i) { return i < recipe.size() ? quint8(recipe[i]) : quint8(0); };
    const int scale = 1 + at(2) % 4;
    const int width = std::min(LargestDrawn, (1 + at(0)) * scale);
    const int height = std::min(LargestDrawn, (1 + at(1)) * scale);
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(at(4), at(5), at(6)));
    for (int y = 0; y < std::min(height, 2); ++y)
        for (int x = 0; x < std::min(width, 2); ++x)
            image.setPixel(x, y, 0xFFC0C0C0);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, at(3) == 'J' ? "JPEG" : "BMP");
    return writer.write(image) ? bytes : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

void fuzzSceneLoad(const uint8_t *data, size_t size)
{
    Reader in(data, size);
    const QByteArray sceneBytes = in.upTo(0);

    QTemporaryDir temp;
    FUZZ_CHECK(temp.isValid());
    Folders folders;
    folders.documents = temp.filePath(QStringLiteral("Documents"));
    folders.config = temp.filePath(QStringLiteral("Config"));
    const QString base = folders.documents + QStringLiteral("/Velm5Pro/");
    for (const char *folder : {"Scenes", "Images", "Sounds", "Data"})
        FUZZ_CHECK(QDir().mkpath(base + QLatin1String(folder)));
    FUZZ_CHECK(QDir().mkpath(folders.config));
    FUZZ_CHECK(writeBytes(base + QStringLiteral("Scenes/Fuzz.scn"), sceneBytes));

    // Files: a kind ('I' a picture file's bytes, 'P' a drawn picture, 'S' a
    // sound file), a name of up to 255 bytes, two bytes of length, the bytes.
    for (int n = 0; n < MostFiles && !in.atEnd(); ++n) {
        const int kind = in.byte();
        const QString name = QString::fromLatin1(in.bytes(size_t(in.byte())));
        const int length = in.byte() | in.byte() << 8;
        QByteArray bytes = in.bytes(size_t(length));
        if (!isBareName(name))
            continue;
        if (kind == 'P')
            bytes = drawnPicture(bytes);
        const QString folder = kind == 'S' ? QStringLiteral("Sounds/") : QStringLiteral("Images/");
        writeBytes(base + folder + name, bytes);
    }

    SeededRandom random(quint32(qHash(sceneBytes)));
    const Services before = services();
    services() = Services{&folders, &random};
    resetSceneState();
    scene().BaseFolder = base;
    {
        // The player alone, as the library window loads a clicked scene into it.
        VirtualClock clock;
        PreviewPlayer player;
        const PreviewOpened opened = player.load(QStringLiteral("Fuzz"));
        for (int tick = 0; tick < Ticks; ++tick)
            clock.Advance(100);

        // Within the budget, whatever the scene: the lists and the boxes' pictures,
        // with one picture more than it counts for each box and the work image.
        // Every picture held is one of the bound's size or less.
        const QSize largest = largestPreviewFrame(player.MainPic->size());
        const PreviewBudget bound(largest, PreviewBudgetBytes, PreviewFileBudgetBytes);
        qint64 held = 0;
        for (const QImage &picture : player.HeldPictures()) {
            FUZZ_CHECK(bound.fitsFrame(picture.size()));
            held += picture.sizeInBytes();
        }
        FUZZ_CHECK(held <= PreviewBudgetBytes + 8 * pictureBytes(largest));
        // The scene file is there and readable: the load reports no message.
        FUZZ_CHECK(opened.message.isEmpty());
        player.stop();
    }
    resetSceneState();
    services() = before;
}
