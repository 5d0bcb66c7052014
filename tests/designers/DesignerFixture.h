#pragma once
// A started program with generated frame series whose every pixel tells where
// it stands and which frame it belongs to, and helpers to act on the designers
// as a user does: clicks and drags through the window system, so that mouse
// grabs and the widget under the cursor count as they do for a real mouse.

#define QTEST_QPA_MOUSE_HANDLING

#include "app/SceneState.h"
#include "platform/Form.h"
#include "tests/support/ScriptedServices.h"

#include <QAbstractButton>
#include <QDir>
#include <QImage>
#include <QTest>

// What a generated pixel says.
struct PixelTag {
    int x, y, frame;
    bool operator==(const PixelTag &) const = default;
};

// Pixels of frame `frame`: red and green the low bits of x and y, blue the
// frame number with the high bits of x and y.
inline QRgb tagColor(int x, int y, int frame)
{
    return qRgb(x % 256, y % 256, frame * 12 + (x / 256) * 3 + y / 256);
}

inline PixelTag readTag(QRgb c)
{
    const int b = qBlue(c);
    return {qRed(c) + (b % 12 / 3) * 256, qGreen(c) + (b % 3) * 256, b / 12};
}

inline std::ostream &operator<<(std::ostream &out, const PixelTag &t)
{
    return out << "(" << t.x << ", " << t.y << ", frame " << t.frame << ")";
}

// Frames are 800 x 600 pixels, numbered up to 20.
constexpr int FrameWidth = 800, FrameHeight = 600;

inline QImage taggedFrame(int frame)
{
    QImage picture(FrameWidth, FrameHeight, QImage::Format_RGB32);
    for (int y = 0; y < FrameHeight; ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < FrameWidth; ++x)
            line[x] = tagColor(x, y, frame);
    }
    return picture;
}

// True when `cut` is exactly the area (x, y, width, height) of frame `frame`.
inline ::testing::AssertionResult isCutOf(const QImage &cut, int x, int y, int width, int height, int frame)
{
    if (cut.size() != QSize(width, height))
        return ::testing::AssertionFailure() << "size " << cut.width() << " x " << cut.height() << ", wanted "
                                             << width << " x " << height;
    for (int py = 0; py < height; ++py)
        for (int px = 0; px < width; ++px) {
            const PixelTag got = readTag(cut.pixel(px, py)), wanted{x + px, y + py, frame};
            if (!(got == wanted))
                return ::testing::AssertionFailure() << "pixel " << px << ", " << py << " is " << got << ", wanted "
                                                     << wanted;
        }
    return ::testing::AssertionSuccess();
}

class DesignerTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        startProgram();
        seriesFolder = tempPath(QStringLiteral("Art"));
        QDir().mkpath(seriesFolder);
    }

    // Frames 0001 to `last` of the primary series, stored as the loader stores them.
    void makePrimarySeries(int last = 7, const QString &ext = QStringLiteral(".bmp"))
    {
        for (int n = 1; n <= last; ++n)
            saveFrame(primaryFrame(n, ext), n);
        scene().PrimaryFramePrefix = seriesFolder + QStringLiteral("/Scene-");
        scene().PrimaryFrameExt = ext;
    }
    QString primaryFrame(int n, const QString &ext = QStringLiteral(".bmp")) const
    {
        return seriesFolder + QStringLiteral("/Scene-%1").arg(n, 4, 10, QLatin1Char('0')) + ext;
    }

    // An animation frame set base & NN & ".bmp" from `first` to `last`, as its
    // dialog records it; frame n's pixels carry n.
    void makeFrameSet(AnimFrameSet &set, const QString &base, int first, int last)
    {
        for (int n = first; n <= last; ++n)
            saveFrame(setFrame(base, n), n);
        set.FirstFramePath = setFrame(base, first);
        set.FrameFolder = seriesFolder + u'/';
        set.FrameBaseName = base;
        set.FrameExt = QStringLiteral(".bmp");
        set.FirstFrame = Value::integer(int16_t(first));
        set.LastFrame = Value::integer(int16_t(last));
        set.CurrentFrame = Value::integer(int16_t(first));
        set.FrameCount = Value::integer(int16_t(last - first + 1));
    }
    QString setFrame(const QString &base, int n) const
    {
        return seriesFolder + u'/' + base + (n <= 9 ? QStringLiteral("0%1").arg(n) : QString::number(n)) +
               QStringLiteral(".bmp");
    }

    static void saveFrame(const QString &path, int frame)
    {
        ASSERT_TRUE(taggedFrame(frame).save(path, path.endsWith(QStringLiteral(".jpg")) ? "JPG" : "BMP"));
    }

    // A user clicks only what is on screen.
    static void click(QAbstractButton *button)
    {
        ASSERT_TRUE(button->isVisible()) << button->objectName().toStdString() << " is not on screen";
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, 4));
    }

    // Shows a window at a place of its own on the screen, so that screen and
    // window coordinates differ.
    static void showAt(Form &window, QPoint place = QPoint(40, 30))
    {
        window.move(place);
        window.Show();
    }

    static void closeFromWindowBox(Form &window)
    {
        window.close();
        flushDeletes();
    }

    QString seriesFolder;
};
