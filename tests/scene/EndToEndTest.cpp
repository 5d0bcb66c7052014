// A scene made from end to end through the windows, as a user makes it: New
// Scene, the wizard, the extra animation's dialog and its set, the series,
// every crop, every layer positioned on the canvas, the sounds, a name, save.
// Then the exact scene file, every picture with its name, size and pixels, the
// background copy and the list entry; a second scene of the same run, which
// starts with an empty name and asks before it takes the first one's; a
// refused name; a source frame removed before the save.

#include "app/Form1.h"
#include "app/Form2.h"
#include "app/LoadImages.h"
#include "app/Start.h"
#include "app/Wizard1.h"
#include "core/pictures/ImageWorkspace.h"
#include "designers/frmFormDesign.h"
#include "designers/frmFormDesignB.h"
#include "designers/frmFormDesignC.h"
#include "designers/frmFormDesignE.h"
#include "designers/ShowBlink.h"
#include "designers/ShowMouth.h"
#include "designers/ShowUserMouth.h"
#include "platform/Controls.h"
#include "platform/PictureBox.h"
#include "scene/ExtraAnimProps.h"
#include "scene/SaveScene.h"
#include "scene/Sound.h"
#include "tests/core/SceneBytes.h"
#include "tests/designers/DesignerFixture.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kSaved = QStringLiteral("Your Scene has been saved.");

// Moves of the road: a crop rectangle's top-left corner in designer pixels and
// a layer's drag on the canvas. Empty moves leave everything where it is.
struct Road {
    QPoint mouthCrop, blinkCrop, userMouthCrop, extraCrop; // new top-left corners; (0, 0) keeps it
    QPoint mouthDrag, blinkDrag, userMouthDrag, extraDrag;
    bool arrows = false; // the mouth one pixel right, the extra one down
};

class EndToEndTest : public DesignerTest {
protected:
    void SetUp() override
    {
        DesignerTest::SetUp();
        for (int n = 1; n <= 7; ++n)
            saveFrame(girl(n), n);
        for (int n = 1; n <= 3; ++n)
            saveFrame(fish(n), 10 + n);
        for (const char *sound : {"Rain.wav", "Bird.wav"})
            ASSERT_TRUE(writeFile(baseFolder() + QStringLiteral("Sounds/") + QLatin1String(sound), QByteArray()));
        form<Start>().Show();
    }

    QString girl(int n) const { return seriesFolder + QStringLiteral("/Girl%1.bmp").arg(n, 4, 10, QLatin1Char('0')); }
    QString fish(int n) const { return seriesFolder + QStringLiteral("/Fish0%1.bmp").arg(n); }
    QString base(const QString &rest) const { return baseFolder() + rest; }

    static void tick(QCheckBox *box)
    {
        if (checkValue(box) != 1)
            click(box);
    }
    static void type(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    // Drags the designer's rectangle so that its top-left corner lands at `corner`.
    static void dragRectangle(CropDesigner &d, QPoint corner)
    {
        if (corner.isNull())
            return;
        const QPoint grab = d.Shape1->geometry().center();
        const QPoint to = grab + corner - d.Shape1->geometry().topLeft();
        QTest::mousePress(&d, Qt::LeftButton, {}, grab);
        QTest::mouseMove(&d, to);
        QTest::mouseRelease(&d, Qt::LeftButton, {}, to);
        ASSERT_EQ(d.Shape1->geometry().topLeft(), corner);
    }
    static void dragLayer(QPoint by)
    {
        if (by.isNull())
            return;
        QWidget *box = form<Form2>().PicBox;
        const QPoint from(400, 300);
        QTest::mousePress(box, Qt::LeftButton, {}, from);
        QTest::mouseMove(box, from + by);
        QTest::mouseRelease(box, Qt::LeftButton, {}, from + by);
    }

    // New Scene to the save window, ticking blink, user character and extra
    // animation; the extra dialog and the series are filled on the first road.
    void walk(const Road &r)
    {
        click(form<Start>().Image1);
        Wizard1 &wizard = form<Wizard1>();
        ASSERT_TRUE(wizard.Visible());
        tick(wizard.Check1);
        tick(wizard.Check2);
        if (checkValue(wizard.Check3) != 1) {
            click(wizard.Check3);
            ExtraAnimProps &extra = form<ExtraAnimProps>();
            ASSERT_TRUE(extra.Visible());
            type(extra.Text2, QStringLiteral("3"));
            files.answers.enqueue(fish(1));
            click(extra.Image1);
            click(extra.Image2);
        }
        click(wizard.Image2);

        LoadImages &loader = form<LoadImages>();
        ASSERT_TRUE(loader.Visible());
        if (loader.cdl.FileName.isEmpty()) {
            files.answers.enqueue(girl(1));
            click(loader.Image1);
        }
        click(loader.Image2);

        frmFormDesign &mouth = form<frmFormDesign>();
        ASSERT_TRUE(mouth.Visible());
        dragRectangle(mouth, r.mouthCrop);
        click(mouth.Image2);
        click(form<ShowMouth>().Image3);
        frmFormDesignB &blink = form<frmFormDesignB>();
        ASSERT_TRUE(blink.Visible());
        dragRectangle(blink, r.blinkCrop);
        click(blink.Image2);
        click(form<ShowBlink>().Image3);
        frmFormDesignC &user = form<frmFormDesignC>();
        ASSERT_TRUE(user.Visible());
        dragRectangle(user, r.userMouthCrop);
        click(user.Image2);
        click(form<ShowUserMouth>().Image3);
        frmFormDesignE &extra = form<frmFormDesignE>();
        ASSERT_TRUE(extra.Visible());
        dragRectangle(extra, r.extraCrop);
        messages.expect(MsgResult::Ok);
        click(extra.Image2);

        Form2 &canvas = form<Form2>();
        ASSERT_TRUE(canvas.Visible());
        dragLayer(r.mouthDrag);
        if (r.arrows)
            click(canvas.Image2);
        messages.expect(MsgResult::Ok, 3);
        click(canvas.Image1); // main blink
        dragLayer(r.blinkDrag);
        click(canvas.Image1); // user mouth
        dragLayer(r.userMouthDrag);
        click(canvas.Image1); // extra animation
        dragLayer(r.extraDrag);
        if (r.arrows)
            click(canvas.Image5);
        click(canvas.Image1); // the end: the sound dialog
        EXPECT_EQ(messages.takeTexts(),
                  (QStringList{QStringLiteral("We will now position the Main Character Mouth frames over the background."),
                               QStringLiteral("We will now position the Main Character Blink frames."),
                               QStringLiteral("We will now position the User Character Mouth frames."),
                               QStringLiteral("We will now position the EXTRA ANIMATION frames.")}));

        Sound &sound = form<Sound>();
        ASSERT_TRUE(sound.Visible());
        if (sound.Text4->text().isEmpty()) {
            files.answers.enqueue(base(QStringLiteral("Sounds/Rain.wav")));
            click(sound.Image1);
            tick(sound.Check1);
            files.answers.enqueue(base(QStringLiteral("Sounds/Bird.wav")));
            click(sound.Image2);
        }
        click(sound.Image4);
        ASSERT_TRUE(form<SaveScene>().Visible());
    }

    void save(const QString &name)
    {
        SaveScene &w = form<SaveScene>();
        type(w.Text1, name);
        click(w.Image1);
    }

    QByteArray bytesOf(const QString &path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    // Every picture of the scene with its source and the area cut from it.
    struct Picture {
        QString name;
        QString source;
        QRect area;
    };
    void expectPictures(const QString &scene, const QList<Picture> &pictures)
    {
        QStringList names;
        for (const Picture &p : pictures) {
            names << scene + p.name;
            EXPECT_TRUE(isSavedCutOf(base(QStringLiteral("Images/") + scene + p.name), p.source, p.area));
        }
        QStringList written = QDir(base(QStringLiteral("Images"))).entryList({scene + QStringLiteral("*")}, QDir::Files);
        names.sort();
        written.sort();
        EXPECT_EQ(written, names);
    }
    QList<Picture> picturesOf(QPoint mouth, QPoint blink, QPoint user, QPoint extra) const
    {
        QList<Picture> out{{QStringLiteral("BG.jpg"), girl(1), QRect(0, 0, FrameWidth, FrameHeight)}};
        for (int n = 1; n <= 7; ++n)
            out.append({QStringLiteral("Mouth0%1.jpg").arg(n), girl(n), QRect(mouth, QSize(56, 41))});
        for (int n = 1; n <= 4; ++n)
            out.append({QStringLiteral("Blink0%1.jpg").arg(n), girl(n), QRect(blink, QSize(56, 41))});
        for (int n = 1; n <= 7; ++n)
            out.append({QStringLiteral("UserMouth0%1.jpg").arg(n), girl(n), QRect(user, QSize(56, 41))});
        for (int n = 1; n <= 3; ++n)
            out.append({QStringLiteral("Extra0%1.jpg").arg(n), fish(n), QRect(extra, QSize(68, 47))});
        return out;
    }
};

TEST_F(EndToEndTest, TwoScenesThroughTheWindows)
{
    Road first;
    first.mouthCrop = QPoint(362, 346);
    first.blinkCrop = QPoint(320, 320);
    first.userMouthCrop = QPoint(400, 400);
    first.extraCrop = QPoint(300, 300);
    first.mouthDrag = QPoint(30, 10);
    first.blinkDrag = QPoint(-20, -40);
    first.userMouthDrag = QPoint(100, 50);
    first.extraDrag = QPoint(-300, -200);
    first.arrows = true;
    walk(first);
    ASSERT_FALSE(HasFatalFailure());

    // A name that would leave the Scenes folder: refused, nothing written.
    messages.expect(MsgResult::Ok);
    save(QStringLiteral("../Beach"));
    EXPECT_TRUE(messages.takeOne().text.startsWith(QStringLiteral("A scene name cannot hold the characters")));
    EXPECT_TRUE(form<SaveScene>().Visible());
    for (const char *folder : {"Scenes", "Images", "Data"}) // made empty at start
        EXPECT_TRUE(QDir(baseFolder() + QLatin1String(folder)).isEmpty()) << folder;
    EXPECT_FALSE(QFile::exists(documentsFolder() + QStringLiteral("/Beach.scn")));

    messages.expect(MsgResult::Ok);
    save(QStringLiteral("Beach"));
    EXPECT_EQ(messages.takeTexts(), QStringList{kSaved});
    EXPECT_FALSE(form<SaveScene>().Visible());

    const QByteArray beach = beachSceneBytes();
    EXPECT_EQ(bytesOf(base(QStringLiteral("Scenes/Beach.scn"))), beach);
    expectPictures(QStringLiteral("Beach"), picturesOf(first.mouthCrop, first.blinkCrop, first.userMouthCrop,
                                                       first.extraCrop));
    EXPECT_EQ(bytesOf(base(QStringLiteral("Data/myscenes.dat"))), QByteArray("Beach\n\r\r\n"));

    // A second scene of the same run: the dialogs, the series and the
    // rectangles carry over; every layer is positioned afresh, none moved.
    walk(Road{});
    ASSERT_FALSE(HasFatalFailure());
    // Its name box starts empty; the first scene's name is asked about, and No keeps it.
    EXPECT_EQ(form<SaveScene>().Text1->text(), QString());
    const auto before = snapshot(baseFolder());
    messages.expect(MsgResult::No);
    save(QStringLiteral("beach"));
    const ShownMessage asked = messages.takeOne();
    EXPECT_EQ(asked.text,
              QStringLiteral("A scene named \"Beach\" already exists. Do you want to replace it with this scene?"));
    EXPECT_EQ(asked.buttons, MsgButtons::YesNo);
    EXPECT_EQ(snapshot(baseFolder()), before);
    EXPECT_TRUE(form<SaveScene>().Visible());

    messages.expect(MsgResult::Ok);
    save(QStringLiteral("Park"));
    EXPECT_EQ(messages.takeTexts(), QStringList{kSaved});
    EXPECT_EQ(bytesOf(base(QStringLiteral("Scenes/Park.scn"))),
              fileOf({"BG=ParkBG.jpg;", "KM=ParkMouth01.jpg;", "KMh=41.0137464091709;", "KMw=56.0206195192546;",
                      "KMx=350;", "KMy=250;", "KB=ParkBlink01.jpg;", "KBh=41.0137464091709;", "KBw=56.0206195192546;",
                      "KBx=350;", "KBy=250;", "UM=ParkUserMouth01.jpg;", "UMh=41.0137464091709;",
                      "UMw=56.0206195192546;", "UMx=350;", "UMy=250;", "MP=ParkExtra01.jpg;",
                      "MPh=47.0240557907913;", "MPw=68.0034375945608;", "MPx=350;", "MPy=250;", "MR=100;", "MF=3;",
                      "MD=3;", "MS=100;", "MPL=Loop;", "MPLT=End;", "Sound1=Rain.wav;", "Sound1R=0;",
                      "Sound1LoopDelay=1;", "Sound1Loop=True;", "Sound1PauseForTalk=False;", "Sound2=Bird.wav;",
                      "Sound2R=30;"}));
    expectPictures(QStringLiteral("Park"), picturesOf(first.mouthCrop, first.blinkCrop, first.userMouthCrop,
                                                      first.extraCrop));
    EXPECT_EQ(bytesOf(base(QStringLiteral("Scenes/Beach.scn"))), beach);
    EXPECT_EQ(bytesOf(base(QStringLiteral("Data/myscenes.dat"))), QByteArray("Beach\n\r\r\nPark\n\r\r\n"));
}

TEST_F(EndToEndTest, ASourceFrameRemovedBeforeTheSaveIsReported)
{
    walk(Road{});
    ASSERT_FALSE(HasFatalFailure());
    const QImage kept(fish(2));
    ASSERT_TRUE(QFile::remove(fish(2)));
    const auto before = snapshot(baseFolder());
    messages.expect(MsgResult::Ok);
    save(QStringLiteral("Lake"));
    EXPECT_EQ(messages.takeOne().text,
              QStringLiteral("Could not load the picture %1: the file does not exist.\n\nThe scene has not been "
                             "saved. Please fix this and save again.")
                  .arg(fish(2)));
    EXPECT_TRUE(form<SaveScene>().Visible());
    EXPECT_EQ(snapshot(baseFolder()), before);

    // Put back, the same window saves the scene whole.
    ASSERT_TRUE(kept.save(fish(2), "BMP"));
    messages.expect(MsgResult::Ok);
    click(form<SaveScene>().Image1);
    EXPECT_EQ(messages.takeTexts(), QStringList{kSaved});
    EXPECT_TRUE(QFile::exists(base(QStringLiteral("Images/LakeExtra03.jpg"))));
    EXPECT_EQ(bytesOf(base(QStringLiteral("Data/myscenes.dat"))), QByteArray("Lake\n\r\r\n"));
}

} // namespace
