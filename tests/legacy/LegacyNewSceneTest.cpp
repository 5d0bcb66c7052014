// The older editor's New Scene: the editor reset, the template pictures from
// the program's own Images folder, their sizes and places in whole pixels.

#include "core/legacy/LegacyEditRules.h"
#include "core/pictures/ImageWorkspace.h"
#include "tests/legacy/LegacyFixture.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QRgb kBackground = qRgb(0, 200, 0);
const QRgb kMouth = qRgb(200, 0, 0);

class LegacyNewSceneTest : public LegacyTest {
protected:
    // The seven templates; the mouth 100 x 50 pixels, which is 2646 x 1323 HIMETRIC.
    void drawTemplates(const QString &skip = QString())
    {
        const struct {
            const char *file;
            QSize size;
            QRgb colour;
        } pictures[] = {
            {"bg.jpg", QSize(300, 200), kBackground},   {"velmmouth.jpg", QSize(100, 50), kMouth},
            {"velmblink.jpg", QSize(30, 10), kMouth},   {"usermouth.jpg", QSize(20, 11), kMouth},
            {"userblink.jpg", QSize(40, 12), kMouth},   {"miscpart.jpg", QSize(16, 17), kMouth},
            {"trigger.jpg", QSize(12, 13), kMouth},
        };
        for (const auto &p : pictures)
            if (skip != QLatin1String(p.file))
                drawPicture(templatesFolder() + QLatin1String(p.file), p.size, p.colour);
    }

    static bool near(QRgb a, QRgb b)
    {
        return qAbs(qRed(a) - qRed(b)) < 24 && qAbs(qGreen(a) - qGreen(b)) < 24 && qAbs(qBlue(a) - qBlue(b)) < 24;
    }
};

TEST_F(LegacyNewSceneTest, ResetsTheEditorAndPlacesEachTemplateAtItsSize)
{
    drawTemplates();
    Form1 &f = editor();
    SceneState &s = scene();
    for (QCheckBox *box : {f.Check2, f.Check3, f.Check4, f.Check5, f.Check11})
        setCheckValue(box, 1);
    setCheckValue(f.Check6, 1);
    s.LayerPlacements[LayerTriggerAnim] = {Value::real(1), Value::real(2), Value::real(3), Value::real(4)};
    s.LayerPlacements[LayerBrowAnim] = {Value::real(5), Value::real(6), Value::real(7), Value::real(8)};
    s.MainMouthFileName = QStringLiteral("old.jpg");

    f.Command15->click();

    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(f.Option1->isChecked());
    EXPECT_EQ(f.Text3->text(), QString()) << "emptied after the option showed the mouth's name";
    for (QRadioButton *option : {f.Option2, f.Option3, f.Option4, f.Option5, f.Option6})
        EXPECT_FALSE(option->isEnabled()) << option->objectName().toStdString();
    for (QCheckBox *box : {f.Check2, f.Check3, f.Check4, f.Check5, f.Check11})
        EXPECT_EQ(checkValue(box), 0) << box->objectName().toStdString();
    EXPECT_FALSE(f.Check7->isEnabled());
    EXPECT_EQ(checkValue(f.Check1), 1);
    EXPECT_EQ(s.WorkFolder.toText(), env.program + u'/');

    const std::pair<Value SceneState::*, const char *> names[] = {
        {&SceneState::BackgroundFileName, "bg.jpg"},     {&SceneState::MainMouthFileName, "velmmouth.jpg"},
        {&SceneState::MainBlinkFileName, "velmblink.jpg"}, {&SceneState::UserMouthFileName, "usermouth.jpg"},
        {&SceneState::UserBlinkFileName, "userblink.jpg"}, {&SceneState::ExtraFileName, "miscpart.jpg"},
    };
    for (const auto &[member, name] : names)
        EXPECT_EQ((s.*member).toText(), QString::fromUtf8(name));

    // HIMETRIC over 26.454545, rounded down: 20 pixels are 529 HIMETRIC, 19.996.
    const struct {
        CanvasLayer layer;
        double width, height;
    } sizes[] = {{LayerMainMouth, 100, 50}, {LayerMainBlink, 30, 10}, {LayerUserMouth, 19, 11},
                 {LayerUserBlink, 39, 12},  {LayerExtraAnim, 15, 17}};
    for (const auto &sz : sizes) {
        const LayerPlacement &p = s.LayerPlacements[sz.layer];
        EXPECT_EQ(p.LayerWidth.kind(), Value::Kind::Double);
        EXPECT_EQ(p.LayerWidth.toDouble(), sz.width) << sz.layer;
        EXPECT_EQ(p.LayerHeight.toDouble(), sz.height) << sz.layer;
        EXPECT_EQ(p.LayerX.toDouble(), sz.width) << sz.layer;
        EXPECT_EQ(p.LayerY.toDouble(), sz.height) << sz.layer;
    }
    // The trigger template is loaded; its place and size stay, and no name records it.
    EXPECT_EQ(canvas().picImage6->Picture().size(), QSize(12, 13));
    EXPECT_EQ(s.LayerPlacements[LayerTriggerAnim].LayerX.toDouble(), 1);
    EXPECT_EQ(s.LayerPlacements[LayerTriggerAnim].LayerHeight.toDouble(), 4);
    EXPECT_EQ(s.LayerPlacements[LayerBrowAnim].LayerWidth.toDouble(), 7);
    EXPECT_EQ(s.CanvasWidth.toDouble(), 1115);
    EXPECT_EQ(s.CanvasHeight.toDouble(), 816);

    // The canvas shows the template background with the mouth at (100, 50).
    EXPECT_TRUE(near(pixel(99, 49), kBackground));
    EXPECT_TRUE(near(pixel(100, 50), kMouth));
    EXPECT_TRUE(near(pixel(199, 99), kMouth));
    EXPECT_TRUE(near(pixel(200, 100), kBackground));
}

TEST_F(LegacyNewSceneTest, AMissingTemplateIsNamedAndTheStepsBeforeItStay)
{
    drawTemplates(QStringLiteral("usermouth.jpg"));
    Form1 &f = editor();
    SceneState &s = scene();
    setCheckValue(f.Check3, 1);
    messages.answers.enqueue(MsgResult::Ok);
    f.Command15->click();

    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].text.contains(
        QDir::toNativeSeparators(templatesFolder() + QStringLiteral("usermouth.jpg"))))
        << messages.shown[0].text.toStdString();
    EXPECT_EQ(checkValue(f.Check3), 0);
    EXPECT_FALSE(f.Option5->isEnabled());
    EXPECT_EQ(s.WorkFolder.toText(), env.program + u'/');
    EXPECT_EQ(canvas().picImage2->Picture().size(), QSize(30, 10)) << "loaded before the missing one";
    EXPECT_TRUE(canvas().picImage3->Picture().isNull());
    EXPECT_TRUE(s.BackgroundFileName.isUnset()) << "the names are set after every template is in";
}

TEST_F(LegacyNewSceneTest, AProgramFolderAtTheRootGetsNoSecondSeparator)
{
    env.program = QStringLiteral("/");
    messages.answers.enqueue(MsgResult::Ok);
    editor().Command15->click();
    EXPECT_EQ(scene().WorkFolder.toText(), QStringLiteral("/"));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("/Images/bg.jpg")));
    EXPECT_FALSE(messages.shown[0].text.contains(QStringLiteral("//")));
}

TEST_F(LegacyNewSceneTest, ANewSceneMeasuresInPixelsAfterASceneInTwips)
{
    drawTemplates();
    scene().LegacyCanvasUnit = CanvasUnit::Twips;
    for (PictureBox *box : {canvas().PicBox, canvas().picBackground, canvas().picImage, canvas().picImage5})
        box->SetScaleMode(1);
    editor().Command15->click();
    EXPECT_EQ(scene().LegacyCanvasUnit, CanvasUnit::Pixels);
    for (PictureBox *box : {canvas().PicBox, canvas().picBackground, canvas().picImage, canvas().picImage5})
        EXPECT_EQ(box->ScaleMode(), 3) << box->objectName().toStdString();
    EXPECT_EQ(scene().CanvasWidth.toDouble(), 1115);
    EXPECT_TRUE(near(pixel(100, 50), kMouth));
}

TEST(LegacyTemplates, TheBuildPutsEveryTemplateBesideTheProgram)
{
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/Images/");
    for (const LegacyTemplate &t : LegacyTemplates) {
        const Result<QImage> picture = LoadPicture(folder + QLatin1String(t.file));
        EXPECT_FALSE(picture.value.isNull()) << picture.error.toStdString();
    }
}

} // namespace
