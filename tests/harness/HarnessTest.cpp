// The harness itself: a test that shows a message box nobody expected, leaves
// one unread, leaves an answer unused or logs a Qt warning fails, with its
// reason, and the others of the same program still pass.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace {

struct Verdict {
    bool ran = false;
    bool failed = false;
    QString failures;
};

// Runs every test of the rule-breaking program once and reads each one's verdict.
class HarnessTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString report = dir.filePath(QStringLiteral("report.json"));
        QProcess run;
        run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        run.start(QStringLiteral(HARNESS_FAILURES), {QStringLiteral("--gtest_output=json:") + report});
        ASSERT_TRUE(run.waitForFinished(50000)) << run.errorString().toStdString();
        output = QString::fromLocal8Bit(run.readAllStandardOutput());
        exitCode = run.exitCode();
        QFile file(report);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << output.toStdString();
        const QJsonArray suites = QJsonDocument::fromJson(file.readAll()).object().value(u"testsuites").toArray();
        for (const QJsonValue &suite : suites) {
            for (const QJsonValue &test : suite.toObject().value(u"testsuite").toArray()) {
                const QJsonObject t = test.toObject();
                Verdict v;
                v.ran = t.value(u"result").toString() == QStringLiteral("COMPLETED");
                for (const QJsonValue &f : t.value(u"failures").toArray()) {
                    v.failed = true;
                    v.failures += f.toObject().value(u"failure").toString() + u'\n';
                }
                verdicts[suite.toObject().value(u"name").toString() + u'.' + t.value(u"name").toString()] = v;
            }
        }
    }

    static inline QString output;
    static inline int exitCode = 0;
    static inline QMap<QString, Verdict> verdicts;
};

struct Case {
    const char *name;
    const char *test;
    const char *reason; // nullptr: the test passes
};

const Case cases[] = {
    {"MessageWithNoAnswer", "Breaks.AMessageWithNoAnswerQueued",
     "A message box was shown that the test did not expect (queue its answer with messages.expect): \"Nobody "
     "expected this box.\""},
    {"MessageNotReadBack", "Breaks.AMessageNotReadBack",
     "A message box the test did not read back (messages.take): \"Nobody read this box.\""},
    {"MessageClearedUnread", "Breaks.AMessageClearedUnread",
     "A message box the test did not read back (messages.take): \"This box was thrown away.\""},
    {"AnswerNeverAskedFor", "Breaks.AnAnswerNeverAskedFor", "1 queued message box answer(s) were never asked for"},
    {"MessageInAPlainTest", "BreaksWithoutServices.AMessageBox",
     "did not expect (queue its answer with messages.expect): \"A box from a plain test.\""},
    {"QtWarning", "BreaksWithoutServices.AQtWarning", "Qt logged a warning during the test: A stray warning."},
    {"QtCritical", "BreaksWithoutServices.AQtCritical",
     "Qt logged a warning during the test: A stray critical message."},
    {"NoteAfterItsAllowance", "BreaksWithoutServices.ANoteOfAnAllowedCategoryAfterItsScope",
     "Qt logged a warning during the test: A decoder note too late."},
    {"MessageTaken", "Keeps.TakesItsMessage", nullptr},
    {"MessageReadThroughOlderNames", "Keeps.ReadsItsMessagesThroughTheOlderNames", nullptr},
    {"AllowedNote", "KeepsWithoutServices.AnAllowedNote", nullptr},
    {"NoteOfAnAllowedCategory", "KeepsWithoutServices.ANoteOfACategoryItsTestAllows", nullptr},
};

TEST_F(HarnessTest, EachRuleBreakerFailsWithItsReasonAndTheOthersPass)
{
    EXPECT_NE(exitCode, 0);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(verdicts.contains(QLatin1String(c.test))) << output.toStdString();
        const Verdict &v = verdicts[QLatin1String(c.test)];
        EXPECT_TRUE(v.ran);
        if (!c.reason) {
            EXPECT_FALSE(v.failed) << v.failures.toStdString();
            continue;
        }
        EXPECT_TRUE(v.failed);
        EXPECT_TRUE(v.failures.contains(QLatin1String(c.reason))) << v.failures.toStdString();
    }
    EXPECT_EQ(verdicts.size(), qsizetype(std::size(cases)));
}

} // namespace
