#pragma once
// A started program with helpers to draw frame series and to act on the
// dialogs as a user does.

#include "platform/Form.h"
#include "tests/support/program/ScriptedWindows.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QTest>

class DialogTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        startProgram();
    }

    // Saves a small picture at path (BMP or JPEG by its extension); makes the folder.
    static void drawPicture(const QString &path)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QImage picture(8, 6, QImage::Format_RGB32);
        picture.fill(QColor(40, 120, 200));
        const bool jpeg = path.endsWith(QStringLiteral(".jpg"), Qt::CaseInsensitive);
        ASSERT_TRUE(picture.save(path, jpeg ? "JPG" : "BMP")) << path.toStdString();
    }

    // Draws frames first to last of base & number & ext into folder, leaving out `skip`.
    static void drawSeries(const QString &folder, const QString &base, int first, int last, const QString &ext,
                           const QList<int> &skip = {})
    {
        for (int n = first; n <= last; ++n)
            if (!skip.contains(n))
                drawPicture(folder + u'/' + base + (n <= 9 ? QStringLiteral("0%1").arg(n) : QString::number(n)) + ext);
    }

    static void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, 4)); }
    // Replaces the box's text by typing, as a user does (the box's checks apply).
    static void type(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else
            QTest::keyClicks(box, text);
    }
    // Closes the window from its window box and lets it be destroyed.
    static void closeFromWindowBox(Form &window)
    {
        window.close();
        flushDeletes();
    }

    void pickNext(const QString &path) { files.answers.enqueue(path); }
};
