#include "tests/support/program/ScriptedWindows.h"

#include "app/Start.h"
#include "core/scene/SceneState.h"
#include "platform/Form.h"

namespace {

QString describe(const ShownMessage &m)
{
    QString out = QLatin1Char('"') + m.text + QLatin1Char('"');
    if (!m.title.isEmpty())
        out += QStringLiteral(" (title \"%1\")").arg(m.title);
    return out;
}

} // namespace

const QVector<ShownMessage> &ShownMessages::read() const
{
    m_read = m_list.size();
    return m_list;
}

void ShownMessages::clear()
{
    for (qsizetype i = m_read; i < m_list.size(); ++i)
        m_droppedUnread << describe(m_list[i]);
    m_list.clear();
    m_read = 0;
}

ShownMessages &ShownMessages::operator=(const ShownMessages &other)
{
    clear();
    m_list = other.read();
    return *this;
}

void ScriptedMessages::expect(MsgResult answer, int times)
{
    for (int i = 0; i < times; ++i)
        answers.enqueue(answer);
}

QVector<ShownMessage> ScriptedMessages::take()
{
    QVector<ShownMessage> out = shown.read();
    shown.m_list.clear();
    shown.m_read = 0;
    return out;
}

QStringList ScriptedMessages::takeTexts()
{
    QStringList out;
    for (const ShownMessage &m : take())
        out << m.text;
    return out;
}

ShownMessage ScriptedMessages::takeOne()
{
    const QVector<ShownMessage> all = take();
    if (all.size() == 1)
        return all[0];
    QStringList described;
    for (const ShownMessage &m : all)
        described << describe(m);
    ADD_FAILURE() << "Expected one message box, the program showed " << all.size()
                  << (all.isEmpty() ? "" : ": ") << described.join(QStringLiteral(", ")).toStdString();
    return {};
}

QStringList ScriptedMessages::texts() const
{
    QStringList out;
    for (const ShownMessage &m : shown)
        out << m.text;
    return out;
}

MsgResult ScriptedMessages::show(const QString &text, MsgButtons buttons, const QString &title, MsgIcon icon)
{
    shown.m_list.push_back({text, buttons, title, icon});
    if (whileShown)
        whileShown();
    if (!answers.isEmpty())
        return answers.dequeue();
    ADD_FAILURE() << "A message box was shown that the test did not expect (queue its answer with "
                     "messages.expect): "
                  << describe(shown.m_list.last()).toStdString();
    // The answer that changes nothing, so the test goes on safely.
    switch (buttons) {
    case MsgButtons::YesNo: return MsgResult::No;
    case MsgButtons::OkCancel: return MsgResult::Cancel;
    case MsgButtons::Ok: break;
    }
    return MsgResult::Ok;
}

void ScriptedMessages::verify()
{
    QStringList unread = shown.m_droppedUnread;
    for (qsizetype i = shown.m_read; i < shown.m_list.size(); ++i)
        unread << describe(shown.m_list[i]);
    for (const QString &m : unread)
        ADD_FAILURE() << "A message box the test did not read back (messages.take): " << m.toStdString();
    if (!answers.isEmpty())
        ADD_FAILURE() << answers.size() << " queued message box answer(s) were never asked for";
    answers.clear();
    shown.m_list.clear();
    shown.m_read = 0;
    shown.m_droppedUnread.clear();
}

ScriptedMessages &unexpectedMessages()
{
    static ScriptedMessages messages;
    return messages;
}

bool ScriptedUrls::open(const QUrl &url)
{
    opened.push_back(url);
    return succeed;
}

QString ScriptedFiles::choose(const FileChooserRequest &request)
{
    requests.push_back(request);
    return answers.isEmpty() ? QString() : answers.dequeue();
}

namespace {

// The test main's check: before each test's end is reported, the message boxes
// of tests that install no services of their own must all have been expected
// and read back.
class UnexpectedMessageCheck : public ::testing::EmptyTestEventListener {
    void OnTestProgramStart(const ::testing::UnitTest &) override
    {
        windowServices().messages = &unexpectedMessages();
    }
    void OnTestEnd(const ::testing::TestInfo &) override { unexpectedMessages().verify(); }
    void OnTestProgramEnd(const ::testing::UnitTest &) override { windowServices() = realWindowServices(); }
};

} // namespace

::testing::TestEventListener *unexpectedMessageCheck()
{
    return new UnexpectedMessageCheck;
}

void AppTest::SetUp()
{
    CoreTest::SetUp();
    if (HasFatalFailure())
        return;
    m_windowsBefore = windowServices();
    windowServices() = WindowServices{&messages, &files, &urls};
    destroyAllForms();
    flushDeletes();
    resetSceneState();
}

void AppTest::TearDown()
{
    destroyAllForms();
    flushDeletes();
    messages.verify();
    windowServices() = m_windowsBefore;
    CoreTest::TearDown();
}

void AppTest::startProgram()
{
    form<Start>();
}
