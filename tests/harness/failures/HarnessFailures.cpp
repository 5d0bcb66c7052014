// Tests that break the harness's rules on purpose, one rule each, and a few
// that keep them. CTest never runs this program: the harness test runs it and
// checks that each rule-breaker fails with its reason and the others pass.

#include "platform/WindowServices.h"
#include "tests/support/QtNotes.h"
#include "tests/support/program/ScriptedWindows.h"

#include <QLoggingCategory>
#include <QtGlobal>

namespace {

Q_LOGGING_CATEGORY(decoderNotes, "qt.gui.imageio.jpeg")

class Breaks : public AppTest {};

TEST_F(Breaks, AMessageWithNoAnswerQueued)
{
    MsgBox(QStringLiteral("Nobody expected this box."));
    EXPECT_EQ(messages.takeTexts(), QStringList{QStringLiteral("Nobody expected this box.")});
}

TEST_F(Breaks, AMessageNotReadBack)
{
    messages.expect(MsgResult::Ok);
    MsgBox(QStringLiteral("Nobody read this box."));
}

TEST_F(Breaks, AMessageClearedUnread)
{
    messages.expect(MsgResult::Ok);
    MsgBox(QStringLiteral("This box was thrown away."));
    messages.shown.clear();
}

TEST_F(Breaks, AnAnswerNeverAskedFor)
{
    messages.expect(MsgResult::Yes);
}

TEST(BreaksWithoutServices, AMessageBox)
{
    MsgBox(QStringLiteral("A box from a plain test."));
}

TEST(BreaksWithoutServices, AQtWarning)
{
    qWarning("A stray warning.");
}

TEST(BreaksWithoutServices, AQtCritical)
{
    qCritical("A stray critical message.");
}

TEST(BreaksWithoutServices, ANoteOfAnAllowedCategoryAfterItsScope)
{
    {
        const AllowedQtNotes damaged(AllowedQtNotes::JpegDecoder, "the harness's own check");
    }
    qCWarning(decoderNotes, "A decoder note too late.");
}

class Keeps : public AppTest {};

TEST_F(Keeps, TakesItsMessage)
{
    messages.expect(MsgResult::No);
    EXPECT_EQ(MsgBox(QStringLiteral("Keep it?"), MsgButtons::YesNo), MsgResult::No);
    const QVector<ShownMessage> shown = messages.take();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, QStringLiteral("Keep it?"));
    EXPECT_TRUE(messages.take().isEmpty());
}

TEST_F(Keeps, ReadsItsMessagesThroughTheOlderNames)
{
    messages.answers.enqueue(MsgResult::Ok);
    messages.answers.enqueue(MsgResult::Ok);
    MsgBox(QStringLiteral("One."));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("One.")});
    messages.shown.clear();
    MsgBox(QStringLiteral("Two."));
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Two."));
}

TEST(KeepsWithoutServices, AnAllowedNote)
{
    qWarning("This plugin does not support raise()");
}

TEST(KeepsWithoutServices, ANoteOfACategoryItsTestAllows)
{
    const AllowedQtNotes damaged(AllowedQtNotes::JpegDecoder, "the harness's own check");
    qCWarning(decoderNotes, "A decoder note on a damaged picture.");
}

} // namespace
