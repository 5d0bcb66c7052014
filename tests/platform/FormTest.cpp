#include "platform/CommonDialog.h"
#include "platform/Form.h"
#include "tests/support/program/ScriptedWindows.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>

namespace {

int loads = 0;
int unloads = 0;
bool cancelNextUnload = false;
Form *seenDuringUnload = nullptr;


class Probe : public Form {
public:
    Probe()
    {
        Box = new QCheckBox(this);
        placeTwips(Box, 300, 150, 300, 150);
        QFont f = Box->font();
        f.setPointSizeF(12);
        Box->setFont(f);
        Tick = new QTimer(this);
        SetClientTwips(3000, 1500);
    }
    QCheckBox *Box;
    QTimer *Tick;
    QString loadedText;

protected:
    void Form_Load() override
    {
        ++loads;
        loadedText = QStringLiteral("loaded");
    }
    void Form_Unload(bool &cancel) override
    {
        ++unloads;
        seenDuringUnload = &form<Probe>();
        cancel = cancelNextUnload;
    }
};

class FormTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        loads = unloads = 0;
        cancelNextUnload = false;
        seenDuringUnload = nullptr;
    }
};

} // namespace

TEST_F(FormTest, FirstReferenceCreatesHiddenAndLoadsOnce)
{
    EXPECT_FALSE(formExists<Probe>());
    Probe &p = form<Probe>();
    EXPECT_TRUE(formExists<Probe>());
    EXPECT_FALSE(p.isVisible());
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(&form<Probe>(), &p);
    EXPECT_EQ(loads, 1);
    p.Show();
    p.Hide();
    p.Show();
    EXPECT_TRUE(p.isVisible());
    EXPECT_EQ(&form<Probe>(), &p);
}

TEST_F(FormTest, CloseFromWindowBoxUnloadsAndDestroys)
{
    Probe &p = form<Probe>();
    p.Box->setChecked(true);
    p.Show();
    p.close();
    EXPECT_EQ(unloads, 1);
    EXPECT_EQ(seenDuringUnload, &p); // a reference during the unload gets the closing window
    EXPECT_FALSE(formExists<Probe>());
    flushDeletes();
    Probe &again = form<Probe>();
    EXPECT_EQ(loads, 2);
    EXPECT_FALSE(again.Box->isChecked()); // created again, empty
}

TEST_F(FormTest, UnloadCanCancelTheClose)
{
    Probe &p = form<Probe>();
    p.Show();
    cancelNextUnload = true;
    p.close();
    EXPECT_EQ(unloads, 1);
    EXPECT_TRUE(formExists<Probe>());
    EXPECT_TRUE(p.isVisible());
}

TEST_F(FormTest, HidingByTheProgramRunsNoUnload)
{
    Probe &p = form<Probe>();
    p.Show();
    p.Hide();
    destroyAllForms();
    EXPECT_EQ(unloads, 0);
}

// However a window goes (deleted by the program, or with a window that owns
// it), the registry forgets it, and whatever held it through a QPointer sees it gone.
TEST_F(FormTest, AWindowDestroyedAnyWayLeavesTheRegistry)
{
    QPointer<Probe> held = &form<Probe>();
    delete held.data();
    EXPECT_TRUE(held.isNull());
    EXPECT_FALSE(formExists<Probe>());
    Probe &again = form<Probe>();
    EXPECT_EQ(loads, 2);
    EXPECT_EQ(formSlot(typeid(Probe)), &again);

    // Destroyed as a child of a window that goes.
    QWidget *owner = new QWidget;
    again.setParent(owner, Qt::Window);
    held = &again;
    delete owner;
    EXPECT_TRUE(held.isNull());
    EXPECT_FALSE(formExists<Probe>());
}

// One rule for every twips-to-pixels size and place: the nearest whole
// number, a half to the even neighbour.
TEST_F(FormTest, TwipsBecomePixelsRoundingHalvesToEven)
{
    struct Row {
        const char *name;
        double twips, perPixel;
        int pixels;
    };
    const Row rows[] = {
        {"whole", 300, 15, 20},          {"2.5 down to 2", 37.5, 15, 2},   {"3.5 up to 4", 52.5, 15, 4},
        {"just under a half", 37.4, 15, 2}, {"just over a half", 37.6, 15, 3}, {"12 per pixel, 2.5", 30, 12, 2},
    };
    for (const Row &row : rows)
        EXPECT_EQ(twipsToPixels(row.twips, row.perPixel), row.pixels) << row.name;

    // The client area and the controls take the same rule.
    env.tppX = env.tppY = 12;
    Probe &p = form<Probe>();
    p.SetClientTwips(3030, 1518); // 252.5 and 126.5 pixels
    EXPECT_EQ(p.size(), QSize(252, 126));
    placeTwips(p.Box, 30, 42, 3030, 1518); // 2.5, 3.5, 252.5, 126.5
    EXPECT_EQ(p.Box->geometry(), QRect(2, 4, 252, 126));
}

TEST(ScaleControl, FactorsPerAxisAndFontsByTheSmaller)
{
    struct Case {
        const char *name;
        float h, v;
        double top, height, left, width, font;
    } cases[] = {
        {"15 twips per pixel: nothing changes", 1.0f, 1.0f, 150, 150, 300, 300, 12},
        {"12 twips per pixel", 0.8f, 0.8f, 120, 120, 240, 240, 9.6},
        {"12 across, 15 down", 0.8f, 1.0f, 150, 150, 240, 240, 9.6},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ScalableControl control{150.0, 150.0, 300.0, 300.0, 12.0};
        scaleControl(control, c.h, c.v);
        EXPECT_NEAR(*control.top, c.top, 1e-4);
        EXPECT_NEAR(*control.height, c.height, 1e-4);
        EXPECT_NEAR(*control.left, c.left, 1e-4);
        EXPECT_NEAR(*control.width, c.width, 1e-4);
        EXPECT_NEAR(*control.fontSize, c.font, 1e-4);
    }
    // A control lacking a property keeps going with the rest.
    ScalableControl timer{std::nullopt, std::nullopt, 300.0, std::nullopt, std::nullopt};
    scaleControl(timer, 0.8f, 0.8f);
    EXPECT_FALSE(timer.top.has_value());
    EXPECT_NEAR(*timer.left, 240, 1e-4);
}

TEST_F(FormTest, ScalingKeepsPixelSizesOnADenserScreen)
{
    env.tppX = env.tppY = 12; // 120 dots per inch
    Probe &p = form<Probe>();
    EXPECT_EQ(p.Box->geometry(), QRect(20, 10, 20, 10));
    EXPECT_NEAR(p.Box->font().pointSizeF(), 9.6, 1e-4);
    EXPECT_EQ(p.size(), QSize(200, 100));
    EXPECT_EQ(p.loadedText, QStringLiteral("loaded")); // a timer without geometry did not stop the load
}

TEST(CommonDialogFilter, PatternsMatchEitherCase)
{
    const QStringList filters = qtFilters(QStringLiteral("Pictures (*.bmp;*.jpg)|*.bmp;*.jpg|All Files|*.*"));
    ASSERT_EQ(filters.size(), 2);
    EXPECT_EQ(filters[0], QStringLiteral("Pictures (*.[bB][mM][pP] *.[jJ][pP][gG])"));
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(QStringLiteral("*.[bB][mM][pP]")));
    EXPECT_TRUE(re.match(QStringLiteral("FRAME0001.BMP")).hasMatch());
    EXPECT_TRUE(re.match(QStringLiteral("frame0001.bmp")).hasMatch());
}

TEST_F(FormTest, EmptyFileNameMeansNothingChosen)
{
    CommonDialog d("Probe");
    d.Filter = QStringLiteral("Bitmaps|*.bmp");
    d.FileName = QStringLiteral("old.bmp");
    d.ShowOpen();
    EXPECT_EQ(d.FileName, QString());
    ASSERT_EQ(files.requests.size(), 1);
    EXPECT_EQ(files.requests[0].fileName, QStringLiteral("old.bmp"));
    files.answers.enqueue(QStringLiteral("/x/a.bmp"));
    d.ShowOpen();
    EXPECT_EQ(d.FileName, QStringLiteral("/x/a.bmp"));
}

// A chooser opens where it was last used in the run, for each kind of file it
// picks; before that in the folder it is given, else in the pictures folder; a
// folder that is gone is passed over.
TEST_F(FormTest, AChooserOpensWhereItWasLastUsed)
{
    const QString own = tempPath(QStringLiteral("Own"));
    const QString art = tempPath(QStringLiteral("Art"));
    const QString scenes = tempPath(QStringLiteral("Scenes"));
    for (const QString &folder : {own, art, scenes})
        ASSERT_TRUE(QDir().mkpath(folder));
    const QString pictures = QStringLiteral("Images Files (*.bmp;*.jpg)|*.bmp;*.jpg");
    const QString sceneFiles = QStringLiteral("Scene Files (*.scn)|*.scn");
    auto opensIn = [this](CommonDialog &d, const QString &filter, const QString &answer = QString()) {
        d.Filter = filter;
        if (!answer.isEmpty())
            files.answers.enqueue(answer);
        d.ShowOpen();
        return files.requests.last().initDir;
    };

    CommonDialog editor("Editor");
    // Never used: the folder it is given; none, or one that is not there: the pictures folder.
    editor.InitDir = tempPath(QStringLiteral("Missing"));
    EXPECT_EQ(opensIn(editor, pictures), env.pictures);
    editor.InitDir.clear();
    EXPECT_EQ(opensIn(editor, pictures), env.pictures);
    editor.InitDir = own;
    EXPECT_EQ(opensIn(editor, pictures, art + QStringLiteral("/Walk01.bmp")), own);
    // Used: where the file was chosen, whatever it is given; a cancel keeps it.
    EXPECT_EQ(opensIn(editor, pictures), art);
    EXPECT_EQ(opensIn(editor, pictures), art);
    // Another kind of file with the same chooser, and another chooser, have their own.
    EXPECT_EQ(opensIn(editor, sceneFiles, scenes + QStringLiteral("/Beach.scn")), own);
    EXPECT_EQ(opensIn(editor, sceneFiles), scenes);
    EXPECT_EQ(opensIn(editor, pictures), art);
    CommonDialog other("Other");
    EXPECT_EQ(opensIn(other, pictures), env.pictures);
    // A chooser made again (its window closed and opened) keeps the folder for the run.
    CommonDialog again("Editor");
    again.InitDir = own;
    EXPECT_EQ(opensIn(again, pictures), art);
    // A save dialog is a use too, and a folder that has gone since is passed over.
    again.Filter = pictures;
    files.answers.enqueue(own + QStringLiteral("/New.bmp"));
    again.ShowSave();
    EXPECT_EQ(opensIn(again, pictures), own);
    ASSERT_TRUE(QDir(scenes).removeRecursively());
    EXPECT_EQ(opensIn(editor, sceneFiles), own);
}
