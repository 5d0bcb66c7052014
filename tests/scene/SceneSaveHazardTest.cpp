// What the save refuses because of what is already on disk: pictures of
// another scene that share a name with its own, and files that are links.
// A refused save tells the user once, changes nothing on disk and keeps its
// window open.

#include "core/scene/SaveTargets.h"
#include "designers/frmFormDesignC.h"
#include "scene/SaveScene.h"
#include "tests/support/program/SaveFixture.h"

#include <QMap>

namespace {

class SceneSaveHazardTest : public SaveFixture {
public:
    // The scene set-ups the tables name. The user character's mouth, cut and placed:
    void addUserMouth()
    {
        SceneState &s = scene();
        s.SceneHasUser = s.UserMouthPlaced = FlagOn;
        ASSERT_TRUE(form<frmFormDesignC>().CropPrimaryFrames());
        s.LayerPlacements[LayerUserMouth] = {Value::longValue(20), Value::longValue(30), Value::real(40),
                                             Value::real(30)};
    }
    void addAlphaDesk() { alphaDesk(); }
    // Back to the main mouth alone.
    void plain()
    {
        SceneState &s = scene();
        s.SceneHasUser = s.UserMouthPlaced = FlagOff;
        s.SceneIsDesktop = s.ExtraHasAlpha = s.SceneHasExtraAnim = s.ExtraPlaced = FlagOff;
    }

protected:
    // Saves with the one message answered, and returns what it said.
    QString saveAnswered(const QString &name)
    {
        save(name);
        return messages.takeOne().text;
    }
    // The save is refused with a message holding every one of `words`; the
    // disk is as it was and the window stays open.
    void expectRefused(const QString &name, const QStringList &words)
    {
        SCOPED_TRACE(name.toStdString());
        const auto before = snapshot(temp.path());
        const QString said = saveAnswered(name);
        for (const QString &word : words)
            EXPECT_TRUE(said.contains(word)) << said.toStdString() << "\nlacks: " << word.toStdString();
        EXPECT_TRUE(form<SaveScene>().Visible());
        EXPECT_EQ(snapshot(temp.path()), before);
    }
};

// Picture names are the scene name plus a word, so "BeachUser" + "Mouth01.jpg"
// is "Beach" + "UserMouth01.jpg": whichever of the two is saved second would
// replace the other's pictures, and its scene file would show the wrong ones.
TEST_F(SceneSaveHazardTest, ASaveThatWouldReplaceAnotherScenesPicturesIsRefused)
{
    struct Row {
        const char *label;
        void (SceneSaveHazardTest::*first)();
        const char *firstName;
        void (SceneSaveHazardTest::*second)();
        const char *secondName;
        const char *picture;
    } rows[] = {
        {"user mouth of the shorter name", &SceneSaveHazardTest::addUserMouth, "Beach", &SceneSaveHazardTest::plain,
         "BeachUser", "BeachUserMouth01.jpg"},
        {"alpha background of the shorter name", &SceneSaveHazardTest::addAlphaDesk, "Sea",
         &SceneSaveHazardTest::plain, "SeaAlpha", "SeaAlphaBG.jpg"},
        {"the shorter name saved second", &SceneSaveHazardTest::plain, "NightUser",
         &SceneSaveHazardTest::addUserMouth, "Night", "NightUserMouth01.jpg"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.label);
        plain();
        (this->*row.first)();
        ASSERT_EQ(saveAnswered(QString::fromUtf8(row.firstName)), kSaved);
        plain();
        (this->*row.second)();
        const QString first = QString::fromUtf8(row.firstName), second = QString::fromUtf8(row.secondName);
        expectRefused(second, {QStringLiteral("\"%1\"").arg(first), QStringLiteral("\"%1\"").arg(second),
                               QString::fromUtf8(row.picture)});
        EXPECT_FALSE(QFile::exists(base(QStringLiteral("Scenes/%1.scn").arg(second))));
    }
}

TEST_F(SceneSaveHazardTest, ASceneStillReplacesItsOwnPicturesAndOthersAreLeftAlone)
{
    addUserMouth();
    ASSERT_EQ(saveAnswered(QStringLiteral("Beach")), kSaved);
    // The same scene again, and a name whose pictures share no name with it.
    ASSERT_EQ(saveOver(QStringLiteral("Beach"), QStringLiteral("Beach")), QStringList{kSaved});
    plain();
    ASSERT_EQ(saveAnswered(QStringLiteral("Beach2")), kSaved);
    ASSERT_EQ(saveAnswered(QStringLiteral("BEACHUSER")), kSaved); // another file on this system
    // A copy of the scene file names the same pictures; they are still the scene's own.
    ASSERT_TRUE(QFile::copy(base(QStringLiteral("Scenes/Beach.scn")), base(QStringLiteral("Scenes/Copy.scn"))));
    addUserMouth();
    EXPECT_EQ(saveOver(QStringLiteral("Beach"), QStringLiteral("Beach")), QStringList{kSaved});
}

// A link where a file goes would be written through, replacing the file it
// leads to (or making one where a dangling link points). A link to a folder is
// the user's own choice and is followed.
TEST_F(SceneSaveHazardTest, AFileThatIsALinkIsRefusedByNameAndNothingIsWrittenThroughIt)
{
    const QString outside = writeTempFile(QStringLiteral("outside.txt"), "keep me");
    for (const char *folder : {"Scenes", "Images", "Data"})
        ASSERT_TRUE(QDir().mkpath(base(QLatin1String(folder))));

    const struct {
        const char *label;
        const char *file;
        QString target;
    } rows[] = {
        {"scene file", "Scenes/Beach.scn", outside},
        {"picture", "Images/BeachMouth04.jpg", outside},
        {"background leading nowhere", "Images/BeachBG.jpg", tempPath(QStringLiteral("nowhere.jpg"))},
        {"scene list", "Data/myscenes.dat", outside},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.label);
        const QString link = base(QLatin1String(row.file));
        ASSERT_TRUE(QFile::link(row.target, link));
        expectRefused(QStringLiteral("Beach"), {QDir::toNativeSeparators(link), QStringLiteral("link")});
        EXPECT_FALSE(QFile::exists(tempPath(QStringLiteral("nowhere.jpg"))));
        ASSERT_TRUE(QFile::remove(link));
    }
    EXPECT_EQ(snapshot(base()),
              (QMap<QString, QByteArray>{
                  {"Data", "<folder>"}, {"Images", "<folder>"}, {"Scenes", "<folder>"}, {"Sounds", "<folder>"}}));
    QFile check(outside);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("keep me"));
}

TEST_F(SceneSaveHazardTest, FoldersThatAreLinksAreFollowed)
{
    const QString pictures = tempPath(QStringLiteral("pictures"));
    ASSERT_TRUE(QDir().mkpath(pictures));
    ASSERT_TRUE(QDir(base(QStringLiteral("Images"))).removeRecursively()); // the empty one of the start
    ASSERT_TRUE(QFile::link(pictures, base(QStringLiteral("Images"))));
    EXPECT_EQ(saveAnswered(QStringLiteral("Beach")), kSaved);
    EXPECT_EQ(QImage(pictures + QStringLiteral("/BeachMouth07.jpg")).size(), QSize(56, 41));
    EXPECT_TRUE(QFile::exists(pictures + QStringLiteral("/BeachBG.jpg")));
}

struct NamedRow {
    const char *name;
    bool named; // the scene file names this picture
};

void expectNamed(const QByteArray &sceneFile, std::initializer_list<NamedRow> rows)
{
    const QList<NamedPictures> named = picturesNamedBy(sceneFile);
    for (const NamedRow &row : rows) {
        const QString name = QString::fromUtf8(row.name);
        const bool found =
            std::any_of(named.begin(), named.end(), [&](const NamedPictures &p) { return namesPicture(p, name); });
        EXPECT_EQ(found, row.named) << row.name;
    }
}

// The pictures a scene file names: the first frame its key gives, and the
// numbered frames that follow it.
TEST(SaveTargets, PicturesNamedByASceneFile)
{
    expectNamed("BG=BeachBG.jpg;\r\nKM=BeachMouth01.jpg;\r\nMP=BeachExtra01.jpg;\r\nMPABG=BeachAlphaBG.jpg;"
                "\r\nMF=12;\r\nTP=BeachTrigger01.jpg;\r\nTF=abc;\r\nNI=Night.jpg;\r\nUB=NoSemicolon.jpg",
                {
                    {"BeachBG.jpg", true},          {"BeachMouth01.jpg", true},    {"BeachMouth07.jpg", true},
                    {"BeachMouth08.jpg", false},    {"BeachMouth7.jpg", false},    {"BeachExtra09.jpg", true},
                    {"BeachExtra10.jpg", true},     {"BeachExtra12.jpg", true},    {"BeachExtra13.jpg", false},
                    {"BeachExtra010.jpg", false},   {"BeachExtra00.jpg", false},   {"BeachAlphaBG.jpg", true},
                    {"BeachTrigger01.jpg", true},   {"BeachTrigger02.jpg", false}, {"Night.jpg", true},
                    {"NoSemicolon.jpg", false},     {"beachbg.jpg", false},        {"BeachUserMouth01.jpg", false},
                });
}

// A set's frame count is read as the preview reads it, so that every frame the
// preview shows of another scene is that scene's; beyond the preview's last
// frame up to the most a set is saved with.
TEST(SaveTargets, FrameCountsAsThePreviewReadsThem)
{
    expectNamed("MP=A01.jpg;\r\nMF=2,5;\r\nTP=T01.jpg;\r\nTF=40000;\r\nEMA=C01.jpg;\r\nEMAF=-3;\r\n"
                "MainAnimName=F01.bmp;\r\nMainAnimF= 1.5 ;",
                {
                    {"A02.jpg", true},     {"A03.jpg", false}, {"T1000.jpg", true}, {"T32767.jpg", true},
                    {"T32768.jpg", false}, {"C01.jpg", true},  {"C02.jpg", false},  {"F02.bmp", true},
                    {"F03.bmp", false},
                });
}

} // namespace
