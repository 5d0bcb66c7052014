#include "tests/support/ScriptedServices.h"

#include "app/SceneState.h"
#include "app/Start.h"
#include "platform/Form.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>

MsgResult ScriptedMessages::show(const QString &text, MsgButtons buttons, const QString &title, MsgIcon icon)
{
    shown.push_back({text, buttons, title, icon});
    if (!answers.isEmpty())
        return answers.dequeue();
    return buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::Ok;
}

QStringList ScriptedMessages::texts() const
{
    QStringList out;
    for (const ShownMessage &m : shown)
        out << m.text;
    return out;
}

QString ScriptedFiles::choose(const FileChooserRequest &request)
{
    requests.push_back(request);
    return answers.isEmpty() ? QString() : answers.dequeue();
}

bool ScriptedUrls::open(const QUrl &url)
{
    opened.push_back(url);
    return succeed;
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void AppTest::SetUp()
{
    ASSERT_TRUE(temp.isValid());
    env.documents = temp.filePath(QStringLiteral("Documents"));
    env.program = temp.filePath(QStringLiteral("Program"));
    env.config = temp.filePath(QStringLiteral("Config"));
    ASSERT_TRUE(QDir().mkpath(env.documents));
    ASSERT_TRUE(QDir().mkpath(env.program));
    ASSERT_TRUE(QDir().mkpath(env.config));
    services() = Services{&messages, &files, &urls, &env, &random};
    destroyAllForms();
    flushDeletes();
    resetSceneState();
}

void AppTest::TearDown()
{
    destroyAllForms();
    flushDeletes();
    resetSceneState();
    services() = realServices();
}

void AppTest::startProgram()
{
    form<Start>();
}
