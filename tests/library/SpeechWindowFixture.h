#pragma once
// The library window with voices made by the test: two engines of the
// engine-set kind ("Talker One", "Talker Two") that record what the window
// asks of them, and three voices ("Voice A", "Voice B", "Voice C"), all over
// the real espeak-ng. Speech goes to a null sink whose clock the test moves,
// and every picture the lip sync shows is recorded with its colour.

#include "adapters/speech/SpeechVoice.h"
#include "core/preview/TalkTable.h"
#include "core/preview/PreviewShow.h"
#include "tests/library/LibraryFixture.h"
#include "tests/support/program/SpeechFixture.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPointer>
#include <QSignalSpy>

class RecordingEngines : public TalkFrameEngines {
public:
    using TalkFrameEngines::TalkFrameEngines;
    QList<int> selected;
    QStringList spoken;
    bool SelectEngine(int engine) override
    {
        selected << engine;
        return TalkFrameEngines::SelectEngine(engine);
    }
    bool SpeakText(const QString &text, const QString &speaker) override
    {
        spoken << text;
        return TalkFrameEngines::SpeakText(text, speaker);
    }
};

// A picture the lip sync showed: the entry, and the colour in the middle of its box.
struct ShownMouth {
    QString box;
    int entry = 0;
    QRgb color = 0;
};

class SpeechWindowTest : public LibraryTest {
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        setSpeechEngineSetMaker([](QObject *parent) { return new RecordingEngines(parent); });
        setSpeechVoiceList(QList<SpeechVoiceInfo>{{QStringLiteral("Voice A"), "gmw/en-US"},
                                                  {QStringLiteral("Voice B"), "gmw/en"},
                                                  {QStringLiteral("Voice C"), "roa/fr"}});
    }
    void TearDown() override
    {
        setShowRecorder(nullptr);
        LibraryTest::TearDown(); // the windows go first and end their speech
        setSpeechEngineSetMaker(nullptr);
        setSpeechVoiceList(std::nullopt);
    }

    static RecordingEngines &engines(VelmNShare &w) { return *static_cast<RecordingEngines *>(w.DirectSS1); }

    // A pick in a voice box as a user makes it: open the list with a click,
    // walk to the entry with the arrow keys, take it with Enter.
    static void pick(QComboBox *box, int row)
    {
        QTest::mouseClick(box, Qt::LeftButton);
        QAbstractItemView *view = box->view();
        ASSERT_TRUE(view->isVisible()) << "the list opened";
        QTest::keyClick(view, Qt::Key_Home);
        for (int i = 0; i < row; ++i)
            QTest::keyClick(view, Qt::Key_Down);
        QTest::keyClick(view, Qt::Key_Return);
        ASSERT_FALSE(view->isVisible()) << "the list closed";
    }

    // Records every picture shown in the window's mouths; `calls` counts the
    // attempts, shown or not.
    void recordMouths(VelmNShare &w)
    {
        shown.clear();
        calls = 0;
        setShowRecorder([this, window = QPointer<VelmNShare>(&w)](const ShownEntry &e) {
            ++calls;
            if (!e.shown || !window)
                return;
            const PictureBox *box = e.box == QLatin1String("UserMouth") ? window->UserMouth : window->VelmMouth;
            const QImage &picture = box->Picture();
            shown.push_back({e.box, e.entry, picture.pixel(picture.width() / 2, picture.height() / 2)});
        });
    }
    QList<int> entriesShownIn(const QString &box, qsizetype from = 0) const
    {
        QList<int> out;
        for (qsizetype i = from; i < qsizetype(shown.size()); ++i)
            if (shown[i].box == box)
                out << shown[i].entry;
        return out;
    }

    // Waits for the utterance in progress to be synthesized; its length in samples.
    static qint64 synthesize()
    {
        QSignalSpy synthesized(&speechEngine(), &SpeechEngine::synthesized);
        if (!synthesized.wait(60000))
            return -1;
        return synthesized.takeFirst().at(1).toLongLong();
    }
    // Plays the utterance in progress as far as `samples`.
    void playTo(qint64 samples)
    {
        output.clock = samples;
        speechEngine().scheduler().tick();
    }

    // The colour of the mouth frame a talk mouth shows.
    static QRgb talkColor(int entry) { return MouthColors[TalkMouthFrames[entry - 1] - 1]; }

    VirtualSpeechOutput output;
    SpeechOutputScope scope{&output};
    std::vector<ShownMouth> shown;
    int calls = 0;
};
