#pragma once
// A started program with generated frame series whose every pixel tells where
// it stands and which frame it belongs to (tests/support/TaggedFrames.h), and
// helpers to act on the designers as a user does: clicks and drags through the
// window system, so that mouse grabs and the widget under the cursor count as
// they do for a real mouse.

#define QTEST_QPA_MOUSE_HANDLING

#include "core/scene/SceneState.h"
#include "platform/Form.h"
#include "tests/support/program/ScriptedWindows.h"
#include "tests/support/TaggedFrames.h"

#include <QAbstractButton>
#include <QDir>
#include <QImage>
#include <QTest>

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
