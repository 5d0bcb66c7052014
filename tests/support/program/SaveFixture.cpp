#include "tests/support/program/SaveFixture.h"

#include "designers/frmFormDesign.h"
#include "platform/Form.h"
#include "scene/ExtraAnimProps.h"
#include "scene/SaveScene.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

void SaveFixture::SetUp()
{
    AppTest::SetUp();
    startProgram();
    series = tempPath(QStringLiteral("art/"));
    QDir().mkpath(series);
    for (int n = 1; n <= 21; ++n)
        draw(girl(n), n);
    SceneState &s = scene();
    s.PrimaryFirstFramePath = girl(1);
    s.PrimaryFramePrefix = series + QStringLiteral("Girl");
    s.PrimaryFrameExt = QStringLiteral(".bmp");
    ASSERT_TRUE(form<frmFormDesign>().CropPrimaryFrames());
    s.LayerPlacements[LayerMainMouth] = {Value::longValue(350), Value::longValue(250), Value::real(56),
                                         Value::real(41)};
}

QString SaveFixture::girl(int n) const
{
    return series + QStringLiteral("Girl%1.bmp").arg(n, 4, 10, QLatin1Char('0'));
}

void SaveFixture::draw(const QString &path, int tag, QSize size)
{
    ASSERT_TRUE(taggedFrame(tag, size).save(path, "BMP")) << path.toStdString();
}

QString SaveFixture::setFrame(const QString &base, int n) const
{
    return series + base + QStringLiteral("%1.bmp").arg(n, 2, 10, QLatin1Char('0'));
}

void SaveFixture::pickSet(AnimFrameSet &set, const QString &base, int first, int count, int tagOffset)
{
    for (int n = first; n < first + count; ++n)
        draw(setFrame(base, n), (tagOffset + n) % 21);
    set.FirstFramePath = setFrame(base, first);
    set.FrameFolder = series;
    set.FrameBaseName = base;
    set.FrameExt = QStringLiteral(".bmp");
    set.FirstFrame = Value::integer(int16_t(first));
    set.LastFrame = Value::integer(int16_t(first + count - 1));
    set.FrameCount = Value::integer(int16_t(count));
}

void SaveFixture::extraSet(const QString &base, int first, int count)
{
    SceneState &s = scene();
    pickSet(s.ExtraFrameSet, base, first, count);
    s.SceneHasExtraAnim = s.ExtraPlaced = FlagOn;
    form<ExtraAnimProps>().Text2->setText(QString::number(count));
}

void SaveFixture::alphaDesk()
{
    SceneState &s = scene();
    extraSet(QStringLiteral("Fish"), 1, 2);
    s.SceneIsDesktop = s.ExtraHasAlpha = FlagOn;
    pickSet(s.AlphaFrameSet, QStringLiteral("Alpha"), 1, 2, 10);
    draw(tempPath(QStringLiteral("Desk.bmp")), 9, QSize(300, 200));
    s.AlphaBackgroundPath = tempPath(QStringLiteral("Desk.bmp"));
    s.LayerPlacements[LayerExtraAnim] = {Value::longValue(10), Value::longValue(20), Value::real(50.5),
                                         Value::real(30.5)};
}

void SaveFixture::save(const QString &name)
{
    messages.expect(MsgResult::Ok);
    SaveScene &w = form<SaveScene>();
    w.Show();
    w.Text1->setText(name);
    QTest::mouseClick(w.Image1, Qt::LeftButton);
}

QStringList SaveFixture::saveOver(const QString &name, const QString &existing)
{
    messages.expect(MsgResult::Yes);
    save(name);
    const QVector<ShownMessage> shown = messages.take();
    if (shown.isEmpty()) {
        ADD_FAILURE() << "the save asked nothing";
        return {};
    }
    EXPECT_EQ(shown.first().text, replaceQuestion(existing));
    EXPECT_EQ(shown.first().buttons, MsgButtons::YesNo);
    QStringList after;
    for (qsizetype i = 1; i < shown.size(); ++i)
        after << shown[i].text;
    return after;
}

QByteArray SaveFixture::bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
