#include "app/Start.h"
#include "app/Wizard1.h"
#include "core/scene/SceneState.h"
#include "app/Help.h"
#include "core/base/Files.h"
#include "library/VelmNShare.h"
#include "scene/ChildAnimProps.h"
#include "tests/support/program/ScriptedWindows.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

using StartTest = AppTest;

TEST_F(StartTest, LoadSetsFoldersAndStartValues)
{
    startProgram();
    Start &start = form<Start>();
    EXPECT_EQ(start.Caption(), QStringLiteral(" Scenara 5.01"));
    EXPECT_EQ(scene().BaseFolder, documentsFolder() + QStringLiteral("/Velm5Pro/"));
    EXPECT_EQ(scene().WorkFolder.toText(), scene().BaseFolder);
    EXPECT_EQ(scene().ExtraFrameSet.CurrentFrame.kind(), Value::Kind::Integer);
    EXPECT_EQ(scene().ExtraFrameSet.CurrentFrame.toText(), QStringLiteral("1"));
    EXPECT_TRUE(scene().ExtraFrameSet.FirstFramePath.isUnset());
    EXPECT_EQ(scene().ExtraHasAlpha, FlagOff);
    EXPECT_TRUE(scene().LayerPlacements[LayerBrowAnim].LayerWidth.toText().isEmpty());
    // The base folder's own folders are made, so that the choosers open in
    // them and the user finds where sounds go; nothing else is.
    EXPECT_EQ(QDir(scene().BaseFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("Data"), QStringLiteral("Images"), QStringLiteral("Scenes"),
                           QStringLiteral("Sounds")}));
    // What is there already stays as it was.
    const QString sound = scene().BaseFolder + QStringLiteral("Sounds/Rain.wav");
    ASSERT_TRUE(writeFile(sound, QByteArray("RIFF")));
    destroyAllForms();
    startProgram();
    EXPECT_EQ(readFile(sound, 16).value, QByteArray("RIFF"));
}

TEST_F(StartTest, NoDocumentsFolderGivesTheBareFolderName)
{
    env.documents.clear();
    startProgram();
    EXPECT_EQ(scene().BaseFolder, QStringLiteral("/Velm5Pro/"));
    EXPECT_FALSE(QFileInfo::exists(scene().BaseFolder)); // nothing is made from the root of the disk
}

TEST_F(StartTest, NewSceneShowsTheWizardAndEnablesAutoCrop)
{
    startProgram();
    Start &start = form<Start>();
    start.Show();
    EXPECT_EQ(start.Image1->accessibleName(), QStringLiteral("New Scene"));
    EXPECT_EQ(start.Image2->accessibleName(), QStringLiteral("Load Scene"));
    QTest::mouseClick(start.Image1, Qt::LeftButton);
    ASSERT_TRUE(formExists<Wizard1>());
    EXPECT_TRUE(form<Wizard1>().isVisible());
    EXPECT_EQ(form<Wizard1>().Caption(), QStringLiteral("Wizard"));
    EXPECT_TRUE(form<ChildAnimProps>().Check2->isEnabled());
    EXPECT_FALSE(form<ChildAnimProps>().isVisible());
    EXPECT_TRUE(start.isVisible());

    // A second New Scene brings the same wizard forward with its boxes kept.
    form<Wizard1>().Check1->setChecked(true);
    Wizard1 *first = &form<Wizard1>();
    QTest::mouseClick(start.Image1, Qt::LeftButton);
    EXPECT_EQ(&form<Wizard1>(), first);
    EXPECT_TRUE(first->Check1->isChecked());
}

TEST_F(StartTest, LoadSceneShowsTheLibraryWindow)
{
    startProgram();
    form<Start>().Show();
    QTest::mouseClick(form<Start>().Image2, Qt::LeftButton);
    EXPECT_TRUE(form<VelmNShare>().isVisible());
    EXPECT_TRUE(form<Start>().isVisible());
}

TEST_F(StartTest, HelpOpensThePageInAFolderWithABlank)
{
    env.program = tempPath(QStringLiteral("Scene Tool"));
    ASSERT_TRUE(writeFile(env.program + QStringLiteral("/Docs/WizMainCharBlink.html"), QByteArray()));
    startProgram();
    const QString work = scene().WorkFolder.toText();

    QTest::mouseClick(form<Wizard1>().Image3, Qt::LeftButton);
    ASSERT_EQ(urls.opened.size(), 1);
    EXPECT_EQ(urls.opened[0], QUrl::fromLocalFile(env.program + QStringLiteral("/Docs/WizMainCharBlink.html")));
    EXPECT_TRUE(urls.opened[0].toLocalFile().contains(QStringLiteral("Scene Tool/Docs/")));
    EXPECT_EQ(scene().WorkFolder.toText(), work); // where later steps look for files is unchanged
    EXPECT_EQ(messages.takeTexts(), QStringList());
}

TEST_F(StartTest, HelpPageThatCannotBeOpenedIsNamed)
{
    startProgram();
    messages.expect(MsgResult::Ok);
    OpenHelpPage(QStringLiteral("Docs\\Missing.html"));
    EXPECT_TRUE(urls.opened.isEmpty());
    const ShownMessage missing = messages.takeOne();
    EXPECT_TRUE(missing.text.contains(QStringLiteral("Missing.html"))) << missing.text.toStdString();
    EXPECT_EQ(missing.title, QStringLiteral("Scenara5"));

    ASSERT_TRUE(writeFile(env.program + QStringLiteral("/Docs/Missing.html"), QByteArray()));
    urls.succeed = false; // no browser
    messages.expect(MsgResult::Ok);
    OpenHelpPage(QStringLiteral("Docs\\Missing.html"));
    EXPECT_TRUE(messages.takeOne().text.contains(QStringLiteral("Missing.html")));
}

TEST_F(StartTest, EveryHelpPageTheProgramNamesIsShipped)
{
    // The build copies docs/ into Docs/ beside the executables.
    const QDir shipped(QCoreApplication::applicationDirPath() + QStringLiteral("/Docs"));
    for (const char *name : {"ScenaraTutorial1.htm", "WizMainCharMouth.html", "WizMainCharBlink.html",
                             "WizUserCharMouth.html", "WizUserCharBlink.html", "ExtraAnimInfo.html",
                             "ChildAnimInfo.html", "FullAnimInfo.html", "AltImageInfo.html", "TriggerAnimInfo.html",
                             "SmileInfo.html", "BrowInfo.html", "7FrameSetup.html", "AltImage.html", "ChildAnim.html",
                             "ChildAnimLoad.html", "ExtraAnim.html", "FullAnim.html", "Sound.html",
                             "TriggerAnim.html", "Scenara.htm"})
        EXPECT_TRUE(QFile::exists(shipped.filePath(QString::fromUtf8(name)))) << name;
}

TEST_F(StartTest, ClosingTheLauncherRunsNoOtherUnload)
{
    startProgram();
    form<Start>().Show();
    QTest::mouseClick(form<Start>().Image1, Qt::LeftButton);
    form<Wizard1>().Check1->setChecked(true);
    form<Start>().close();
    flushDeletes();
    // The wizard was not reset: its box and flag are as the user left them.
    ASSERT_TRUE(formExists<Wizard1>());
    EXPECT_TRUE(form<Wizard1>().Check1->isChecked());
    EXPECT_EQ(scene().SceneHasMainBlink, FlagOn);
}
