// The sound dialog and the dormant desktop-scene dialog.

#include "core/scene/SceneState.h"
#include "platform/Controls.h"
#include "scene/AltImageLoad.h"
#include "scene/DesktopProps.h"
#include "scene/FullAnimProps.h"
#include "scene/SaveScene.h"
#include "scene/Sound.h"
#include "tests/scene/DialogFixture.h"

#include <QCheckBox>
#include <QPushButton>

#include <functional>

namespace {
using SoundDesktopTest = DialogTest;
}

TEST_F(SoundDesktopTest, SoundPicksMustLieInTheSoundsFolderItself)
{
    Sound &sound = form<Sound>();
    sound.Show();
    const QString base = baseFolder();
    struct Case {
        QString picked;
        bool accepted;
    };
    const QString notInSounds = QStringLiteral("Sound must be in the Sounds folder: ") + base + QStringLiteral("Sounds/");
    const Case cases[] = {
        {base + QStringLiteral("Sounds/Rain.wav"), true},
        {base + QStringLiteral("MySoundsBackup/Thunder.wav"), false},
        {base + QStringLiteral("Sounds/Old/Thunder.wav"), false},
        {base + QStringLiteral("sounds/Thunder.wav"), false},
        {tempPath(QStringLiteral("Elsewhere/Thunder.wav")), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.picked.toStdString());
        ASSERT_TRUE(writeFile(c.picked, QByteArray()));
        pickNext(c.picked);
        if (!c.accepted)
            messages.expect(MsgResult::Ok);
        click(sound.Image1);
        EXPECT_EQ(messages.takeTexts(), c.accepted ? QStringList() : QStringList{notInSounds});
        // Only the file name is kept; a refused pick leaves the box as it was.
        EXPECT_EQ(sound.Text4->text(), QStringLiteral("Rain.wav"));
    }
    const FileChooserRequest &request = files.requests.first();
    EXPECT_EQ(request.initDir, base + QStringLiteral("Sounds/"));
    EXPECT_EQ(request.filter, QStringLiteral("Sound Files (*.wav)|*.wav"));
    EXPECT_EQ(scene().WorkFolder.toText(), base);
    EXPECT_EQ(scene().PickedName.toText(), QStringLiteral("Rain.wav"));

    // Each LOAD fills its own box; a cancel changes nothing and says nothing.
    const QString wind = base + QStringLiteral("Sounds/Wind.wav");
    pickNext(wind);
    click(sound.Image2);
    pickNext(wind);
    click(sound.Image3);
    click(sound.Image1);
    EXPECT_EQ(messages.takeTexts(), QStringList());
    EXPECT_EQ(sound.Text4->text(), QStringLiteral("Rain.wav"));
    EXPECT_EQ(sound.Text6->text(), QStringLiteral("Wind.wav"));
    EXPECT_EQ(sound.Text7->text(), QStringLiteral("Wind.wav"));
}

// Each chooser opens in the folder it was last used in, also after its
// window was closed and opened again; before that in its own folder, else in
// the pictures folder, never in the program's.
TEST_F(SoundDesktopTest, ChoosersOpenWhereTheyWereLastUsed)
{
    const QString base = baseFolder();
    const QString elsewhere = tempPath(QStringLiteral("Elsewhere"));
    struct Case {
        const char *name;
        std::function<Form &()> window;
        std::function<QAbstractButton *()> load;
        QString firstFolder;
        QString picked; // in `elsewhere`
        bool refused;   // the pick gives a message
    };
    const Case cases[] = {
        {"sound", [] () -> Form & { return form<Sound>(); }, [] { return form<Sound>().Image1; },
         base + QStringLiteral("Sounds/"), QStringLiteral("Rain.wav"), true},
        {"alternate picture", [] () -> Form & { return form<AltImageLoad>(); }, [] { return form<AltImageLoad>().Image1; },
         base + QStringLiteral("Images/"), QStringLiteral("Night.jpg"), false},
        {"full-background frames", [] () -> Form & { return form<FullAnimProps>(); },
         [] { return form<FullAnimProps>().Image1; }, env.pictures, QStringLiteral("Sky01.jpg"), false},
        {"alpha background", [] () -> Form & { return form<DesktopProps>(); },
         [] { return form<DesktopProps>().Command1; }, env.pictures, QStringLiteral("Desk.jpg"), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = elsewhere + u'/' + QString::fromLatin1(c.name);
        const QString picked = folder + u'/' + c.picked;
        ASSERT_TRUE(writeFile(picked, QByteArray("RIFF")));
        c.window().Show();
        click(c.load()); // cancelled
        pickNext(picked);
        if (c.refused)
            messages.expect(MsgResult::Ok);
        click(c.load());
        messages.take();
        click(c.load());
        closeFromWindowBox(c.window());
        c.window().Show();
        click(c.load());
        ASSERT_EQ(files.requests.size(), 4);
        EXPECT_EQ(files.requests[0].initDir, c.firstFolder);
        EXPECT_EQ(files.requests[1].initDir, c.firstFolder);
        EXPECT_EQ(files.requests[2].initDir, folder);
        EXPECT_EQ(files.requests[3].initDir, folder);
        files.requests.clear();
    }
    // The base folder's own folders are there from the start.
    for (const char *sub : {"Scenes", "Images", "Sounds", "Data"})
        EXPECT_TRUE(QFileInfo(base + QLatin1String(sub)).isDir()) << sub;
}

TEST_F(SoundDesktopTest, SoundOkLeadsToTheSaveWindowAndKeepsTheBoxes)
{
    Sound *sound = &form<Sound>();
    sound->Show();
    EXPECT_EQ(sound->Caption(), QStringLiteral("Sound FX"));
    struct Box {
        QLineEdit *Sound::*box;
        const char *start, *typed;
    };
    const Box boxes[] = {
        {&Sound::Text4, "", "a.wav"}, {&Sound::Text5, "0", "5"},  {&Sound::Text1, "1", "2"},
        {&Sound::Text6, "", "b.wav"}, {&Sound::Text2, "30", "7"}, {&Sound::Text7, "", "c.wav"},
        {&Sound::Text3, "30", "9"},
    };
    for (const Box &b : boxes) {
        EXPECT_EQ((sound->*b.box)->text(), QString::fromUtf8(b.start));
        EXPECT_FALSE((sound->*b.box)->accessibleName().isEmpty());
        type(sound->*b.box, QString::fromUtf8(b.typed));
    }
    click(sound->Check1);
    click(sound->Check2);
    click(sound->Image4);
    EXPECT_FALSE(sound->Visible());
    ASSERT_TRUE(formExists<SaveScene>());
    EXPECT_TRUE(form<SaveScene>().Visible());
    for (const Box &b : boxes)
        EXPECT_EQ((form<Sound>().*b.box)->text(), QString::fromUtf8(b.typed));
    EXPECT_EQ(checkValue(sound->Check1), 1);
    EXPECT_EQ(checkValue(sound->Check2), 1);

    // Closed from its window box: the next showing starts over, and no save window follows.
    form<SaveScene>().Hide();
    sound->Show();
    closeFromWindowBox(*sound);
    EXPECT_FALSE(form<SaveScene>().Visible());
    sound = &form<Sound>();
    for (const Box &b : boxes)
        EXPECT_EQ((sound->*b.box)->text(), QString::fromUtf8(b.start));
    EXPECT_EQ(checkValue(sound->Check1), 0);
    EXPECT_EQ(checkValue(sound->Check2), 0);
}

TEST_F(SoundDesktopTest, DesktopDialogChoosesTheAlphaBackground)
{
    DesktopProps *desktop = &form<DesktopProps>();
    EXPECT_EQ(desktop->Caption(), QStringLiteral("Form3"));
    EXPECT_EQ(desktop->Text1->text(), QStringLiteral("Text1"));
    EXPECT_EQ(desktop->Command1->text(), QStringLiteral("Load Alpha Background"));
    desktop->Show();
    const QString picked = tempPath(QStringLiteral("Pics/Desk.jpg"));
    drawPicture(picked);
    pickNext(picked);
    click(desktop->Command1);
    EXPECT_EQ(scene().AlphaBackgroundPath, picked);
    EXPECT_EQ(desktop->Text1->text(), QStringLiteral("Desk.jpg"));
    EXPECT_EQ(scene().PickedName.toText(), QStringLiteral("Desk.jpg"));
    EXPECT_EQ(scene().WorkFolder.toText(), baseFolder());
    EXPECT_EQ(files.requests.last().initDir, env.pictures); // no folder of its own

    // A cancel keeps the chosen picture; a close forgets the box, not the path.
    click(desktop->Command1);
    EXPECT_EQ(scene().AlphaBackgroundPath, picked);
    EXPECT_EQ(desktop->Text1->text(), QStringLiteral("Desk.jpg"));
    closeFromWindowBox(*desktop);
    EXPECT_EQ(form<DesktopProps>().Text1->text(), QStringLiteral("Text1"));
    EXPECT_EQ(scene().AlphaBackgroundPath, picked);
}

TEST_F(SoundDesktopTest, DesktopCutTakesAFixedAreaOnlyForADesktopSceneWithAlphaFrames)
{
    DesktopProps &desktop = form<DesktopProps>();
    desktop.Show();
    const QString picked = tempPath(QStringLiteral("Pics/Desk.jpg"));
    QDir().mkpath(tempPath(QStringLiteral("Pics")));
    QImage big(500, 700, QImage::Format_RGB32);
    big.fill(Qt::darkGreen);
    ASSERT_TRUE(big.save(picked, "JPG"));
    QDir().mkpath(baseFolder() + QStringLiteral("Images"));
    pickNext(picked);
    click(desktop.Command1);
    const QString out = baseFolder() + QStringLiteral("Images/Desk.jpgAlphaBG.jpg");

    for (const auto &[alpha, desk] : {std::pair{FlagOff, FlagOn}, std::pair{FlagOn, FlagOff}}) {
        scene().ExtraHasAlpha = alpha;
        scene().SceneIsDesktop = desk;
        click(desktop.Command2);
        EXPECT_FALSE(QFileInfo::exists(out));
    }
    scene().ExtraHasAlpha = scene().SceneIsDesktop = FlagOn;
    click(desktop.Command2);
    EXPECT_EQ(messages.takeTexts(), QStringList());
    const QImage cut(out);
    EXPECT_EQ(cut.size(), QSize(138, 333));

    // The box names the file; it may not lead out of the Images folder.
    desktop.Text1->setText(QStringLiteral("../Desk"));
    messages.expect(MsgResult::Ok);
    click(desktop.Command2);
    EXPECT_EQ(messages.takeTexts(),
              QStringList{QStringLiteral("The alpha background name ../Desk must be a plain file name.")});
    EXPECT_FALSE(QFileInfo::exists(baseFolder() + QStringLiteral("DeskAlphaBG.jpg")));
    // A picture that cannot be read is said, not saved.
    desktop.Text1->setText(QStringLiteral("Gone"));
    scene().AlphaBackgroundPath = tempPath(QStringLiteral("Pics/Gone.jpg"));
    messages.expect(MsgResult::Ok);
    click(desktop.Command2);
    EXPECT_EQ(messages.takeTexts(), QStringList{QStringLiteral("Could not load the picture ") +
                                                scene().AlphaBackgroundPath +
                                                QStringLiteral(": the file does not exist.")});
    EXPECT_FALSE(QFileInfo::exists(baseFolder() + QStringLiteral("Images/GoneAlphaBG.jpg")));
}
