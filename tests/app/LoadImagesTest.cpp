#include "app/Form2.h"
#include "app/LoadImages.h"
#include "app/Wizard1.h"
#include "core/scene/PrimaryFrameSeries.h"
#include "core/scene/SceneState.h"
#include "designers/frmFormDesign.h"
#include "designers/frmFormDesignB.h"
#include "designers/frmFormDesignC.h"
#include "designers/frmFormDesignD.h"
#include "designers/frmFormDesignE.h"
#include "designers/frmFormDesignF.h"
#include "designers/frmFormDesignG.h"
#include "platform/Controls.h"
#include "platform/PictureBox.h"
#include "tests/support/FileWork.h"
#include "tests/support/program/ScriptedWindows.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QPushButton>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class LoadImagesTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        startProgram();
    }

    // Writes frames `from` to `to` of <folder>/<stem>NNNN<ext>; returns frame 1's path.
    QString makeSeries(const QString &folder, const QString &stem, const QString &ext, int from = 1, int to = 7,
                       int width = 20, int height = 10)
    {
        const QString dir = tempPath(folder);
        QDir().mkpath(dir);
        for (int n = from; n <= to; ++n) {
            QImage frame(width, height, QImage::Format_RGB32);
            frame.fill(qRgb(n * 30, 80, 160));
            const QString path = PrimaryFrameName(dir + u'/' + stem, ext, n);
            EXPECT_TRUE(frame.save(path, ext.toLower() == QStringLiteral(".jpg") ? "JPEG" : "BMP")) << path.toStdString();
        }
        return PrimaryFrameName(dir + u'/' + stem, ext, 1);
    }

    LoadImages &loader() { return form<LoadImages>(); }
    void pick(const QString &path)
    {
        files.answers.enqueue(path);
        QTest::mouseClick(loader().Image1, Qt::LeftButton);
    }
    void next() { QTest::mouseClick(loader().Image2, Qt::LeftButton); }
    QString status() { return loader().Text1->text(); }
};

TEST_F(LoadImagesTest, GoodSeriesIsStoredAndOpensTheMouthDesigner)
{
    const QString first = makeSeries("Art", "SceneA-", ".bmp");
    loader().Show();
    pick(first);
    EXPECT_EQ(messages.takeTexts(), QStringList());
    ASSERT_EQ(files.requests.size(), 1);
    EXPECT_EQ(files.requests[0].filter, QStringLiteral("Images Files (*.bmp;*.jpg)|*.bmp;*.jpg"));
    EXPECT_EQ(status(), first);
    EXPECT_EQ(scene().PrimaryFirstFramePath.toText(), first);
    EXPECT_EQ(scene().PrimaryFrameExt.toText(), QStringLiteral(".bmp"));
    EXPECT_TRUE(scene().PrimaryFramePrefix.isUnset()); // written only by NEXT
    EXPECT_EQ(scene().WorkFolder.toText(), baseFolder());

    next();
    EXPECT_EQ(messages.takeTexts(), QStringList());
    EXPECT_EQ(scene().PrimaryFramePrefix.toText(), tempPath("Art/SceneA-"));
    EXPECT_EQ(scene().PrimaryFrameExt.toText(), QStringLiteral(".bmp"));
    EXPECT_EQ(loader().Xpress1.ImageWidth(), 20);
    EXPECT_EQ(form<frmFormDesign>().Picture().size(), QSize(20, 10));
    EXPECT_EQ(form<frmFormDesign>().Picture().pixel(0, 0), qRgb(30, 80, 160));
    EXPECT_TRUE(form<frmFormDesign>().Visible());
    EXPECT_FALSE(loader().Visible());
}

TEST_F(LoadImagesTest, MissingFramesAreReportedInOrder)
{
    const QString first = makeSeries("Art", "SceneA-", ".bmp");
    QFile::remove(tempPath("Art/SceneA-0004.bmp"));
    QFile::remove(tempPath("Art/SceneA-0006.bmp"));
    messages.expect(MsgResult::Ok, 2);
    pick(first);
    EXPECT_EQ(messages.takeTexts(), (QStringList{"File " + tempPath("Art/SceneA-0004.bmp") + " does not exist!",
                                             "File " + tempPath("Art/SceneA-0006.bmp") + " does not exist!"}));
    EXPECT_EQ(status(), "Can't Find: " + tempPath("Art/SceneA-0006.bmp"));
    EXPECT_EQ(scene().PrimaryFrameExt.toText(), QStringLiteral(".bmp"));
    EXPECT_TRUE(loader().FileExists1.toText().isEmpty());
}

TEST_F(LoadImagesTest, NameRules)
{
    struct Case {
        const char *name;
        QString folder, stem, ext;
        QString picked;  // "" = the series' first frame
        QString message; // "" = none
        QString statusText;
        QString seriesExt;
    } cases[] = {
        {"jpeg series", "Jpg", "Shot", ".jpg", "", "", "", ".jpg"},
        {"upper case extension as written", "Upper", "SceneA-", ".BMP", "", "", "", ".BMP"},
        {"jpg folder, bmp frames", "shots.jpg/in", "F", ".bmp", "", "", "", ".bmp"},
        {"bmp folder, jpg frames", "old.bmp", "F", ".jpg", "", "", "", ".jpg"},
        {"not a picture", "Png", "F", ".bmp", tempPath("Png/F0001.png"), NotBmpOrJpgText, NotBmpOrJpgText, ""},
        {"0001 only in the folder", "0001", "F", ".bmp", tempPath("0001/F0002.bmp"), NamingMessage, NamingStatus,
         ""},
        {"0001 not before the extension", "Mid", "F", ".bmp", tempPath("Mid/F0001x.bmp"), NamingMessage,
         NamingStatus, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        scene().PrimaryFrameExt = Value();
        const QString first = makeSeries(c.folder, c.stem, c.ext);
        const QString picked = c.picked.isEmpty() ? first : c.picked;
        if (!c.message.isEmpty())
            messages.expect(MsgResult::Ok);
        pick(picked);
        EXPECT_EQ(messages.takeTexts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(status(), c.statusText.isEmpty() ? picked : c.statusText);
        EXPECT_EQ(scene().PrimaryFirstFramePath.toText(), picked);
        EXPECT_EQ(scene().PrimaryFrameExt.toText(), c.seriesExt);
    }
}

TEST_F(LoadImagesTest, FramesInAnotherLetterCaseAreFound)
{
    makeSeries("Mixed", "SceneA-", ".bmp", 2, 7);
    const QString first = makeSeries("Mixed", "SceneA-", ".BMP", 1, 1);
    pick(first);
    EXPECT_EQ(messages.takeTexts(), QStringList());
    next();
    scene().PrimaryFrameExt = ".BMP";
    EXPECT_EQ(PrimaryFramePath(3), tempPath("Mixed/SceneA-0003.bmp"));
}

TEST_F(LoadImagesTest, LongStatusWrapsInsideTheBox)
{
    // A path as long as a user's picture folders make it: the box shows all of
    // "Can't Find: " and the frame's name, wrapped, with nothing to scroll.
    const QString first = makeSeries("Pictures/Scenes for Velm/Kitchen", "KitchenScene-", ".bmp");
    QFile::remove(tempPath("Pictures/Scenes for Velm/Kitchen/KitchenScene-0007.bmp"));
    loader().Show();
    messages.expect(MsgResult::Ok);
    pick(first);
    EXPECT_EQ(messages.takeTexts(),
              QStringList{"File " + tempPath("Pictures/Scenes for Velm/Kitchen/KitchenScene-0007.bmp") +
                          " does not exist!"});
    QCoreApplication::processEvents();
    StatusBox *box = loader().Text1;
    ASSERT_TRUE(status().startsWith("Can't Find: ") && status().endsWith("KitchenScene-0007.bmp"));
    EXPECT_GT(box->document()->firstBlock().layout()->lineCount(), 1);
    EXPECT_EQ(box->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(box->horizontalScrollBar()->maximum(), 0);
    EXPECT_LE(box->geometry().bottom(), loader().Image3->geometry().top());
}

TEST_F(LoadImagesTest, FolderNamedLikeAFrameIsNoFrame)
{
    const QString first = makeSeries("Art", "SceneA-", ".bmp");
    QFile::remove(tempPath("Art/SceneA-0003.bmp"));
    QDir().mkpath(tempPath("Art/SceneA-0003.bmp"));
    EXPECT_FALSE(loader().FileExists(tempPath("Art/SceneA-0003.bmp")));
    EXPECT_TRUE(loader().FileExists1.isUnset()); // a folder leaves it as it was
    messages.expect(MsgResult::Ok);
    pick(first);
    EXPECT_EQ(messages.takeTexts(), QStringList{"File " + tempPath("Art/SceneA-0003.bmp") + " does not exist!"});
    EXPECT_EQ(status(), "Can't Find: " + tempPath("Art/SceneA-0003.bmp"));
}

TEST_F(LoadImagesTest, CancelChecksThePreviousPickAgain)
{
    messages.expect(MsgResult::Ok);
    pick(QString()); // the first LOAD... cancelled
    EXPECT_EQ(messages.takeTexts(), QStringList{NotBmpOrJpgText});
    EXPECT_EQ(status(), NotBmpOrJpgText);

    const QString first = makeSeries("Art", "SceneA-", ".bmp");
    pick(first);
    QFile::remove(tempPath("Art/SceneA-0007.bmp"));
    messages.expect(MsgResult::Ok);
    pick(QString());
    EXPECT_EQ(messages.takeTexts(), QStringList{"File " + tempPath("Art/SceneA-0007.bmp") + " does not exist!"});
    EXPECT_EQ(loader().cdl.FileName, first);
}

TEST_F(LoadImagesTest, NextIsRefusedUntilTheSeriesIsComplete)
{
    loader().Show();
    messages.expect(MsgResult::Ok);
    next();
    EXPECT_EQ(messages.takeTexts(), QStringList{"Please load your first image of the 7-Frame Setup"});
    EXPECT_TRUE(loader().Visible());

    // A pick that failed its check, then a frame deleted after a good pick,
    // then a frame 0001 that is no picture: NEXT says why and stays.
    messages.expect(MsgResult::Ok, 2);
    pick(tempPath("Art/photo.png"));
    EXPECT_EQ(messages.takeTexts(), QStringList{NotBmpOrJpgText});
    next();
    EXPECT_EQ(messages.takeTexts(), QStringList{NotBmpOrJpgText});

    const QString first = makeSeries("Art", "SceneA-", ".bmp");
    pick(first);
    QFile::remove(tempPath("Art/SceneA-0005.bmp"));
    messages.expect(MsgResult::Ok);
    next();
    EXPECT_EQ(messages.takeTexts(), QStringList{"File " + tempPath("Art/SceneA-0005.bmp") + " does not exist!"});

    // Frame 0001 itself gone since LOAD...
    makeSeries("Art", "SceneA-", ".bmp", 5, 5);
    ASSERT_TRUE(QFile::rename(first, tempPath("Art/kept.bmp")));
    messages.expect(MsgResult::Ok);
    next();
    EXPECT_EQ(messages.takeTexts(), QStringList{"File " + first + " does not exist!"});
    EXPECT_EQ(status(), "Can't Find: " + first);
    ASSERT_TRUE(QFile::rename(tempPath("Art/kept.bmp"), first));

    ASSERT_TRUE(writeFile(first, "not a picture"));
    messages.expect(MsgResult::Ok);
    next();
    EXPECT_TRUE(messages.takeOne().text.contains(QStringLiteral("SceneA-0001.bmp")));

    EXPECT_TRUE(loader().Visible());
    EXPECT_FALSE(formExists<frmFormDesign>() && form<frmFormDesign>().Visible());
}

// With "Has Smile Animation" or "Has Brow Animation" ticked in the wizard,
// NEXT also looks for the frames they take, 0008 to 0021 and 0005 to 0013,
// and names every one missing in one message; the loader then stays.
TEST_F(LoadImagesTest, NextLooksForTheSmileAndBrowFrames)
{
    const QString smileTakes = QStringLiteral("The smile animation takes frames 0008 to 0021 of the series.");
    const QString browTakes = QStringLiteral("The brow animation takes frames 0005 to 0013 of the series.");
    const QString bothTake =
        QStringLiteral("The smile animation takes frames 0008 to 0021 of the series, the brow animation frames "
                       "0005 to 0013.");
    const struct {
        const char *label;
        bool smile, brow;
        int last;          // the series has frames 0001 to this one
        QList<int> gone;   // and not these
        QList<int> missing; // the frames named
        QString takes;
    } cases[] = {
        {"smile over seven frames", true, false, 7, {}, {8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21},
         smileTakes},
        {"brow over ten frames", false, true, 10, {}, {11, 12, 13}, browTakes},
        {"both, each frame named once", true, true, 21, {9, 13, 21}, {9, 13, 21}, bothTake},
        {"brow, frames after 0013 not needed", false, true, 13, {}, {}, QString()},
        {"smile, every frame there", true, false, 21, {}, {}, QString()},
        {"neither over seven frames", false, false, 7, {}, {}, QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        // A new scene: the wizard closed, then New Scene's wizard ticked as the case says.
        form<Wizard1>().close();
        flushDeletes();
        destroyAllForms();
        Wizard1 &wizard = form<Wizard1>();
        wizard.Show();
        if (c.smile)
            QTest::mouseClick(wizard.Check9, Qt::LeftButton, {}, QPoint(4, 4));
        if (c.brow)
            QTest::mouseClick(wizard.Check10, Qt::LeftButton, {}, QPoint(4, 4));
        ASSERT_EQ(checkValue(wizard.Check9) == 1, c.smile);
        ASSERT_EQ(checkValue(wizard.Check10) == 1, c.brow);
        QTest::mouseClick(wizard.Image2, Qt::LeftButton);
        ASSERT_TRUE(loader().Visible());

        const QString folder = QStringLiteral("Series-%1").arg(&c - cases);
        const QString first = makeSeries(folder, "F", ".bmp", 1, c.last);
        for (int frame : c.gone)
            ASSERT_TRUE(QFile::remove(PrimaryFrameName(tempPath(folder + QStringLiteral("/F")), ".bmp", frame)));
        pick(first);
        EXPECT_EQ(messages.takeTexts(), QStringList()); // LOAD... looks for frames 0002 to 0007 only
        if (!c.missing.isEmpty())
            messages.expect(MsgResult::Ok);
        next();
        if (c.missing.isEmpty()) {
            EXPECT_EQ(messages.takeTexts(), QStringList());
            EXPECT_TRUE(form<frmFormDesign>().Visible());
            EXPECT_FALSE(loader().Visible());
            continue;
        }
        QStringList paths;
        for (int frame : c.missing)
            paths << PrimaryFrameName(tempPath(folder + QStringLiteral("/F")), ".bmp", frame);
        EXPECT_EQ(messages.takeTexts(),
                  QStringList{c.takes + QStringLiteral(" These frames do not exist:\n") + paths.join(u'\n')});
        EXPECT_EQ(status(), "Can't Find: " + paths.last());
        EXPECT_TRUE(loader().Visible());
        EXPECT_FALSE(formExists<frmFormDesign>() && form<frmFormDesign>().Visible());
    }
}

TEST_F(LoadImagesTest, WideSeriesRelayoutsTheCanvas)
{
    struct Case {
        const char *name;
        int width;
        QSize picBox;
    } cases[] = {{"wider than 1200 pixels", 1201, QSize(1115, 816)}, {"1200 pixels wide", 1200, QSize(1200, 857)}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        destroyAllForms();
        const QString first = makeSeries(QStringLiteral("W%1").arg(c.width), "F", ".jpg", 1, 7, c.width, 20);
        pick(first);
        next();
        ASSERT_EQ(messages.takeTexts(), QStringList());
        Form2 &canvas = form<Form2>();
        EXPECT_EQ(canvas.PicBox->size(), c.picBox);
        EXPECT_EQ(canvas.Picture1->pos(), c.width == 1200 ? QPoint(173, 860) : QPoint(-2, 501));
        EXPECT_EQ(canvas.size(), c.width == 1200 ? QSize(1206, 962) : QSize(1123, 825));
        EXPECT_FALSE(canvas.Visible());
        // Every designer is made ready for the wide frames; only the first is shown.
        const bool wide = c.width == 1200;
        for (Form *designer : {(Form *)&form<frmFormDesign>(), (Form *)&form<frmFormDesignB>(),
                               (Form *)&form<frmFormDesignC>(), (Form *)&form<frmFormDesignD>(),
                               (Form *)&form<frmFormDesignE>(), (Form *)&form<frmFormDesignF>(),
                               (Form *)&form<frmFormDesignG>()}) {
            SCOPED_TRACE(designer->metaObject()->className());
            if (wide) {
                EXPECT_EQ(designer->ClientTwips(), QSizeF(18090, 14430));
                const QRectF strip = controlTwips(designer->findChild<QWidget *>(QStringLiteral("Picture1")));
                EXPECT_EQ(strip.topLeft(), QPointF(4065, 12870));
            } else {
                EXPECT_NE(designer->ClientTwips(), QSizeF(18090, 14430));
            }
            EXPECT_EQ(designer->Visible(), designer == &form<frmFormDesign>());
        }
    }
}

TEST_F(LoadImagesTest, BackHelpAndClose)
{
    ASSERT_TRUE(writeFile(env.program + "/Docs/7FrameSetup.html", QByteArray()));
    loader().Show();
    QTest::mouseClick(loader().Image4, Qt::LeftButton);
    ASSERT_EQ(urls.opened.size(), 1);
    EXPECT_EQ(urls.opened[0], QUrl::fromLocalFile(env.program + "/Docs/7FrameSetup.html"));

    QTest::mouseClick(loader().Image3, Qt::LeftButton);
    EXPECT_TRUE(form<Wizard1>().Visible());
    EXPECT_FALSE(loader().Visible());

    form<Wizard1>().Hide();
    loader().Show();
    loader().Text1->setText("kept?");
    loader().close();
    flushDeletes();
    EXPECT_TRUE(form<Wizard1>().Visible());
    EXPECT_FALSE(formExists<LoadImages>());
    EXPECT_TRUE(loader().Text1->text().isEmpty());
}

// A series among thousands of other files, with blanks and letters beyond
// ASCII in its names and a frame in another letter case: checked, opened and
// cut without opening any other file of the folder, each frame read once.
TEST_F(LoadImagesTest, ASeriesAmongThousandsOfFilesWithBlanksAndAccents)
{
    const QString folder = QStringLiteral("Meine Bilder \u00e9t\u00e9");
    const QString first = makeSeries(folder, QStringLiteral("Szene Nr "), ".BMP", 1, 7, 700, 500);
    // Other files of the folder: links to one empty file, which are quick to make.
    const QByteArray others = QFile::encodeName(tempPath(folder + QStringLiteral("/other")));
    const int fd = creat(others.constData(), 0600);
    ASSERT_GE(fd, 0);
    close(fd);
    for (int n = 0; n < 5000; ++n)
        ASSERT_EQ(link(others.constData(), (others + QByteArray::number(n) + ".bmp").constData()), 0);
    ASSERT_TRUE(QFile::rename(tempPath(folder + QStringLiteral("/Szene Nr 0003.BMP")),
                              tempPath(folder + QStringLiteral("/SZENE NR 0003.bmp"))));
    FileWork work({tempPath(folder)});
    ASSERT_TRUE(work.watching());
    pick(first);
    next();
    EXPECT_EQ(messages.takeTexts(), QStringList());
    EXPECT_TRUE(form<frmFormDesign>().Visible());
    EXPECT_TRUE(form<frmFormDesign>().CropPrimaryFrames());
    QStringList expected;
    for (int n = 1; n <= 7; ++n)
        expected << (n == 3 ? QStringLiteral("SZENE NR %1.bmp") : QStringLiteral("Szene Nr %1.BMP"))
                        .arg(n, 4, 10, QLatin1Char('0'));
    expected.sort();
    EXPECT_EQ(work.openedFiles(), expected);
}

// A link whose file is gone is no frame.
TEST_F(LoadImagesTest, ADanglingLinkIsAMissingFrame)
{
    const QString first = makeSeries("Art", "SceneA-", ".bmp");
    const QString fourth = tempPath("Art/SceneA-0004.bmp");
    ASSERT_TRUE(QFile::remove(fourth));
    ASSERT_TRUE(QFile::link(tempPath("Art/gone.bmp"), fourth));
    messages.expect(MsgResult::Ok);
    pick(first);
    EXPECT_EQ(messages.takeTexts(), QStringList{"File " + fourth + " does not exist!"});
    EXPECT_EQ(status(), "Can't Find: " + fourth);
}

// The check at LOAD... only asks that the frames exist; NEXT reads frame 0001
// and refuses one that is no whole picture, at once, and stays.
TEST_F(LoadImagesTest, AFirstFrameThatIsNoWholePictureIsRefusedAtNext)
{
    const QString first = makeSeries("Art", "SceneA-", ".bmp");
    loader().Show();
    QFile frame(first);
    ASSERT_TRUE(frame.open(QIODevice::ReadOnly));
    const QByteArray whole = frame.readAll();
    frame.close();
    const struct {
        const char *name;
        QByteArray bytes;
        const char *why;
    } cases[] = {{"empty", QByteArray(), "empty"},
                 {"cut short", whole.left(whole.size() - 20), "ends before its picture does"},
                 {"a pipe", QByteArray(), "not a regular file"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(first);
        if (QByteArray(c.name) == "a pipe") {
            ASSERT_EQ(mkfifo(QFile::encodeName(first).constData(), 0600), 0);
        } else {
            ASSERT_TRUE(writeFile(first, c.bytes));
        }
        pick(first);
        EXPECT_EQ(messages.takeTexts(), QStringList());
        messages.expect(MsgResult::Ok);
        next();
        const QString said = messages.takeOne().text;
        EXPECT_TRUE(said.contains(first + QStringLiteral(": "))) << said.toStdString();
        EXPECT_TRUE(said.contains(QString::fromUtf8(c.why))) << said.toStdString();
        EXPECT_TRUE(loader().Visible());
        EXPECT_FALSE(formExists<frmFormDesign>() && form<frmFormDesign>().Visible());
    }
}

} // namespace
