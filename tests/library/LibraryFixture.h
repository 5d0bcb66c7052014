#pragma once
// A started program with a base folder of scene files and frames made by the
// test, the library window opened from "Load Scene" and its lists clicked as
// a user clicks them. The window's timers run on a virtual clock.

#include "app/Start.h"
#include "core/scene/SceneState.h"
#include "core/system/Timer.h"
#include "library/VelmNShare.h"
#include "platform/Form.h"
#include "platform/PictureBox.h"
#include "tests/support/program/ScriptedWindows.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <memory>

// The seven mouth frames' colours, frame 1 first; none is the mask colour.
inline const QRgb MouthColors[7] = {qRgb(200, 40, 40),  qRgb(40, 200, 40),  qRgb(40, 40, 200), qRgb(200, 200, 40),
                                    qRgb(200, 40, 200), qRgb(40, 200, 200), qRgb(250, 140, 20)};

// True when two colours differ by at most `tolerance` in each channel (JPEG
// keeps a flat colour within a step or two).
inline ::testing::AssertionResult colorNear(QRgb got, QRgb wanted, int tolerance = 6)
{
    if (std::abs(qRed(got) - qRed(wanted)) <= tolerance && std::abs(qGreen(got) - qGreen(wanted)) <= tolerance
        && std::abs(qBlue(got) - qBlue(wanted)) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "colour " << qRed(got) << ", " << qGreen(got) << ", " << qBlue(got)
                                         << " wanted " << qRed(wanted) << ", " << qGreen(wanted) << ", "
                                         << qBlue(wanted);
}

class LibraryTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        clock = std::make_unique<VirtualClock>();
        startProgram();
    }
    void TearDown() override
    {
        destroyAllForms();
        flushDeletes();
        clock.reset();
        AppTest::TearDown();
    }

    QString base(const QString &rest = QString()) const { return baseFolder() + rest; }

    void writeScene(const QString &name, const QByteArray &bytes)
    {
        writeFile(base(QStringLiteral("Scenes/") + name + QStringLiteral(".scn")), bytes);
    }
    // A flat picture in Images, written as JPEG at full quality.
    void writePicture(const QString &name, QSize size, QRgb color)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "JPEG");
        writer.setQuality(100);
        ASSERT_TRUE(writer.write(image));
        writeFile(base(QStringLiteral("Images/") + name), bytes);
    }
    // The scene of the usual test: a 600 x 400 background and seven 40 x 30
    // mouth frames, one colour each, at 10, 20 on the background.
    void writeBeach(const QString &name = QStringLiteral("Beach"), const QByteArray &extra = QByteArray())
    {
        writePicture(name + QStringLiteral("BG.jpg"), QSize(600, 400), qRgb(20, 60, 120));
        for (int n = 1; n <= 7; ++n)
            writePicture(name + QStringLiteral("Mouth0%1.jpg").arg(n), QSize(40, 30), MouthColors[n - 1]);
        const QByteArray scene = name.toLatin1();
        writeScene(name, "BG=" + scene + "BG.jpg;\r\nKM=" + scene + "Mouth01.jpg;\r\nKMh=30;\r\nKMw=40;\r\n"
                             "KMx=10;\r\nKMy=20;\r\n" + extra + "\r\n");
    }
    void writeList(const QByteArray &bytes) { writeFile(base(QStringLiteral("Data/myscenes.dat")), bytes); }

    // "Load Scene" on the launcher.
    VelmNShare &openLibrary()
    {
        QTest::mouseClick(form<Start>().Image2, Qt::LeftButton);
        return form<VelmNShare>();
    }
    static QStringList entries(const QListWidget *list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    // A click on the entry `name` of a list, as a user clicks it.
    static void click(QListWidget *list, const QString &name)
    {
        const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << name.toStdString();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
    }
    void closeLibrary()
    {
        form<VelmNShare>().close();
        flushDeletes();
    }

    std::unique_ptr<VirtualClock> clock;
};
