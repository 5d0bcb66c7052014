#pragma once
// A started program with a primary series drawn and its mouth frames cut, and
// helpers to pick frame sets and to save a scene as a user does.

#include "app/SceneState.h"
#include "designers/frmFormDesign.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "scene/ExtraAnimProps.h"
#include "scene/SaveScene.h"
#include "tests/support/ScriptedServices.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

inline const QString kSaved = QStringLiteral("Your Scene has been saved.");

class SceneSaveTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        startProgram();
        series = tempPath(QStringLiteral("art/"));
        QDir().mkpath(series);
        for (int n = 1; n <= 21; ++n)
            draw(series + QStringLiteral("Girl%1.bmp").arg(n, 4, 10, QLatin1Char('0')), n);
        SceneState &s = scene();
        s.PrimaryFirstFramePath = series + QStringLiteral("Girl0001.bmp");
        s.PrimaryFramePrefix = series + QStringLiteral("Girl");
        s.PrimaryFrameExt = QStringLiteral(".bmp");
        ASSERT_TRUE(form<frmFormDesign>().CropPrimaryFrames());
        s.LayerPlacements[LayerMainMouth] = {Value::longValue(350), Value::longValue(250), Value::real(56),
                                             Value::real(41)};
    }

    // Frame n: a shade of its own, so that frames can be told apart.
    static void draw(const QString &path, int n, QSize size = QSize(500, 500))
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor((10 * n) % 256, (37 * n) % 256, 128));
        ASSERT_TRUE(image.save(path, "BMP")) << path.toStdString();
    }

    // Draws frames base & first .. first + count - 1 (shade 100 + n) and fills
    // the set as its loader does.
    void pickSet(AnimFrameSet &set, const QString &base, int first, int count, int shade = 100)
    {
        for (int n = first; n < first + count; ++n)
            draw(series + base + QStringLiteral("%1.bmp").arg(n, 2, 10, QLatin1Char('0')), shade + n);
        set.FirstFramePath = series + base + QStringLiteral("%1.bmp").arg(first, 2, 10, QLatin1Char('0'));
        set.FrameFolder = series;
        set.FrameBaseName = base;
        set.FrameExt = QStringLiteral(".bmp");
        set.FirstFrame = Value::integer(int16_t(first));
        set.LastFrame = Value::integer(int16_t(first + count - 1));
        set.FrameCount = Value::integer(int16_t(count));
    }

    // An extra animation set picked at base & first, `count` frames, placed.
    void extraSet(const QString &base, int first, int count)
    {
        SceneState &s = scene();
        pickSet(s.ExtraFrameSet, base, first, count);
        s.SceneHasExtraAnim = s.ExtraPlaced = FlagOn;
        form<ExtraAnimProps>().Text2->setText(QString::number(count));
    }

    // A desktop scene whose extra animation (Fish01-02) has alpha frames
    // (Alpha01-02) and an alpha background of 300 x 200, the extra box placed
    // from (10, 20), 50.5 x 30.5.
    void alphaDesk()
    {
        SceneState &s = scene();
        extraSet(QStringLiteral("Fish"), 1, 2);
        s.SceneIsDesktop = s.ExtraHasAlpha = FlagOn;
        pickSet(s.AlphaFrameSet, QStringLiteral("Alpha"), 1, 2, 200);
        draw(tempPath(QStringLiteral("Desk.bmp")), 9, QSize(300, 200));
        s.AlphaBackgroundPath = tempPath(QStringLiteral("Desk.bmp"));
        s.LayerPlacements[LayerExtraAnim] = {Value::longValue(10), Value::longValue(20), Value::real(50.5),
                                             Value::real(30.5)};
    }

    // Types the name and presses OK, as a user does.
    void save(const QString &name)
    {
        SaveScene &w = form<SaveScene>();
        w.Show();
        w.Text1->setText(name);
        QTest::mouseClick(w.Image1, Qt::LeftButton);
    }

    QString base(const QString &rest = QString()) const { return baseFolder() + rest; }
    QByteArray bytesOf(const QString &path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QString series;
};
