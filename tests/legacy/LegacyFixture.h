#pragma once
// A started program with the older editor's window at hand, pictures drawn
// where the editor looks for them and scene files written byte for byte.

#include "app/Form1.h"
#include "app/Form2.h"
#include "platform/Controls.h"
#include "platform/PictureBox.h"
#include "tests/support/program/ScriptedWindows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPushButton>

class LegacyTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        startProgram();
        // The controller measures the layers when it loads; load it before a test places them.
        form<Form1>();
    }
    void TearDown() override
    {
        EXPECT_TRUE(messages.answers.isEmpty()) << "a message box that was expected did not come";
        EXPECT_TRUE(files.answers.isEmpty()) << "a file dialog that was expected did not open";
        AppTest::TearDown();
    }

    Form1 &editor() { return form<Form1>(); }
    Form2 &canvas() { return form<Form2>(); }

    QString imagesFolder() const { return baseFolder() + QStringLiteral("Images/"); }
    QString scenesFolder() const { return baseFolder() + QStringLiteral("Scenes/"); }
    QString templatesFolder() const { return env.program + QStringLiteral("/Images/"); }

    // A picture of one colour, saved as BMP or JPEG by its extension; makes the folder.
    static void drawPicture(const QString &path, QSize size, QRgb colour = qRgb(40, 120, 200))
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(colour);
        const bool jpeg = path.endsWith(QStringLiteral(".jpg"), Qt::CaseInsensitive);
        ASSERT_TRUE(picture.save(path, jpeg ? "JPG" : "BMP")) << path.toStdString();
    }

    // Writes a scene file into Scenes and returns its path.
    QString writeScene(const QString &name, const QByteArray &bytes)
    {
        const QString path = scenesFolder() + name;
        writeFile(path, bytes);
        return path;
    }

    static QByteArray readBytes(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // "Load Scene..." with the file chosen in its dialog.
    void loadScene(const QString &path)
    {
        files.answers.enqueue(path);
        editor().Command11->click();
    }

    // "Save Scene..." with the path typed into its dialog.
    void saveScene(const QString &path)
    {
        files.answers.enqueue(path);
        editor().Command10->click();
    }

    // The colour of a canvas pixel.
    QRgb pixel(int x, int y) { return canvas().PicBox->Image().pixel(x, y); }
};
