// The preview's frame stepper, stepped as the library window's hidden buttons
// step it: the number stays within 1..21, "<" shows the mouth and blink frame
// lists, ">" the talk and trigger display lists, and an entry a list lacks
// draws nothing while the number still changes. The window's buttons and the
// number they show are in tests/library/PreviewWindowTest.cpp.

#include "core/preview/PreviewShow.h"
#include "tests/core/PlayerFixture.h"

#include <optional>

namespace {

class FrameStepperTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        setShowRecorder([this](const ShownEntry &e) { shown.append(e); });
    }
    void TearDown() override
    {
        setShowRecorder({});
        PlayerTest::TearDown();
    }
    static QImage flat(QRgb color)
    {
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(color);
        return image;
    }
    // Fills a list with `count` flat frames, the first under `key`.
    static void fill(ImageList &list, const QString &key, int count, QRgb first)
    {
        list.Clear();
        for (int n = 1; n <= count; ++n)
            ASSERT_TRUE(list.Add(n, n == 1 ? key : QString(), flat(first + QRgb(n))));
    }
    QRgb centre(const PreviewBox *box) const
    {
        const QImage picture = box->Picture();
        return picture.pixel(picture.width() / 2, picture.height() / 2);
    }

    QList<ShownEntry> shown;
};

TEST_F(FrameStepperTest, TheNumberStaysWithinOneToTwentyOne)
{
    writeBeach();
    PreviewPlayer &w = *player;
    load(QStringLiteral("Beach"));
    EXPECT_EQ(w.ImageNum, 0);

    // ">" shows the three display lists; the scene has only the main mouth.
    w.Command2_Click();
    EXPECT_EQ(shown, (QList<ShownEntry>{{"VelmMouth", "KMT", 1, true}, {"UserMouth", "UMT", 1, false},
                                        {"TriggerPic", "TRG", 1, false}}));
    for (int i = 0; i < 25; ++i)
        w.Command2_Click();
    EXPECT_EQ(w.ImageNum, 21);
    EXPECT_EQ(w.ImageNum, 21);
    EXPECT_EQ(shown.last(), (ShownEntry{"TriggerPic", "TRG", 21, false}));

    // "<" down from 21: 20 to 8 show nothing, 7 to 5 the mouth, 4 to 1 both.
    QStringList steps;
    for (int i = 0; i < 23; ++i) {
        shown.clear();
        w.Command1_Click();
        QString step = QString::number(w.ImageNum) + QLatin1Char(':');
        for (const ShownEntry &e : shown)
            step += QStringLiteral(" %1 %2").arg(e.box).arg(e.entry);
        steps << step;
    }
    EXPECT_EQ(steps.mid(0, 14), (QStringList{"20:", "19:", "18:", "17:", "16:", "15:", "14:", "13:", "12:", "11:",
                                             "10:", "9:", "8:", "7: VelmMouth 7"}));
    EXPECT_EQ(steps.mid(14), (QStringList{"6: VelmMouth 6", "5: VelmMouth 5", "4: VelmMouth 4 VelmBlink 4",
                                          "3: VelmMouth 3 VelmBlink 3", "2: VelmMouth 2 VelmBlink 2",
                                          "1: VelmMouth 1 VelmBlink 1", "1: VelmMouth 1 VelmBlink 1",
                                          "1: VelmMouth 1 VelmBlink 1", "1: VelmMouth 1 VelmBlink 1"}));
    EXPECT_EQ(w.ImageNum, 1);
}

TEST_F(FrameStepperTest, TheFirstClickOnLessShowsEntryOne)
{
    writeBeach();
    PreviewPlayer &w = *player;
    load(QStringLiteral("Beach"));
    w.Command1_Click();
    EXPECT_EQ(w.ImageNum, 1);
    EXPECT_EQ(w.ImageNum, 1);
    EXPECT_EQ(shown, (QList<ShownEntry>{{"VelmMouth", "KMT", 1, true}, {"VelmBlink", "KBL", 1, false}}));
}

TEST_F(FrameStepperTest, LessShowsWhateverTheLastLayerLeftInTheScratchList)
{
    writeBeach();
    PreviewPlayer &w = *player;
    load(QStringLiteral("Beach"));
    for (int i = 0; i < 4; ++i)
        w.Command2_Click(); // to 4
    shown.clear();

    // None of smile, brow and user character: the main mouth frames.
    w.Command1_Click(); // 3
    EXPECT_TRUE(colorNear(centre(w.VelmMouth), MouthColors[2]));

    // A smile alone leaves its frames under "KMT".
    fill(w.ImageList2, QStringLiteral("KMT"), 14, qRgb(10, 100, 0));
    fill(w.ImageList3, QStringLiteral("KBL"), 4, qRgb(0, 10, 100));
    w.Command1_Click(); // 2
    EXPECT_EQ(centre(w.VelmMouth), qRgb(10, 100, 2));
    EXPECT_EQ(centre(w.VelmBlink), qRgb(0, 10, 102));

    // A brow leaves its frames under "KBL": nothing in the mouth box, but the
    // number moves on and the blink box still steps.
    fill(w.ImageList2, QStringLiteral("KBL"), 9, qRgb(100, 0, 0));
    shown.clear();
    w.Command1_Click(); // 1
    EXPECT_EQ(shown, (QList<ShownEntry>{{"VelmMouth", "KMT", 1, false}, {"VelmBlink", "KBL", 1, true}}));
    EXPECT_EQ(centre(w.VelmMouth), qRgb(10, 100, 2)) << "the mouth box keeps its picture";
    EXPECT_EQ(w.ImageNum, 1);

    // A second scene keeps the number.
    load(QStringLiteral("Beach"));
    w.Command2_Click();
    EXPECT_EQ(w.ImageNum, 2);
}

using FrameStepperSceneTest = PlayerLayerTest;

// "<" after loading scenes of each kind, as the loader leaves the scratch
// list: the frames of the last character layer it read.
TEST_F(FrameStepperSceneTest, LessShowsTheFramesTheLastCharacterLayerLeft)
{
    const struct {
        const char *name;
        bool smile, brow, userMouth;
        std::optional<Layer> mouth; // what "<" shows in VelmMouth; nothing without a "KMT" entry
    } rows[] = {
        {"none of the three", false, false, false, Layer::Mouth},
        {"a smile only", true, false, false, Layer::Smile},
        {"a smile and a brow", true, true, false, std::nullopt},
        {"a smile and a user character", true, false, true, std::nullopt},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        CharacterScene c;
        c.name = QStringLiteral("Row%1").arg(i);
        c.blink = true;
        c.smile = rows[i].smile;
        c.brow = rows[i].brow;
        c.userMouth = rows[i].userMouth;
        writeCharacterScene(c);
    }
    PreviewPlayer &w = *player;
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].name);
        loadLayers(QStringLiteral("Row%1").arg(i));
        while (w.ImageNum < 4)
            w.Command2_Click();
        while (w.ImageNum > 4)
            w.Command1_Click();
        trace.clear();
        w.Command1_Click();
        EXPECT_EQ(w.ImageNum, 3);
        ASSERT_EQ(trace.size(), 2);
        EXPECT_EQ(trace[0].entry, (ShownEntry{"VelmMouth", "KMT", 3, rows[i].mouth.has_value()}));
        EXPECT_EQ(trace[1].entry, (ShownEntry{"VelmBlink", "KBL", 3, true}));
        const QImage mouth = w.VelmMouth->Picture();
        if (rows[i].mouth) {
            EXPECT_EQ(mouth.pixel(mouth.width() / 2, mouth.height() / 2), frameColor(*rows[i].mouth, 3));
            EXPECT_EQ(mouth.pixel(FrameOneShowsThrough), frameColor(*rows[i].mouth, 1));
        } else {
            EXPECT_EQ(mouth, w.ImageList8.Overlay(QStringLiteral("KMT"), 4)) << "what \">\" showed stays";
        }
        const QImage blink = w.VelmBlink->Picture();
        EXPECT_EQ(blink.pixel(blink.width() / 2, blink.height() / 2), frameColor(Layer::Blink, 3));
    }
}

} // namespace
