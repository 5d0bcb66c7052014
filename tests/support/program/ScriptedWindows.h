#pragma once
// Scripted stand-ins for what the windows ask of the user and the desktop
// (platform/WindowServices.h), the message boxes, file choosers and browser:
// they answer from a queue and record what the program showed, so that no test
// waits on a dialog or starts a browser. AppTest gives every test of the
// program a fresh start with them installed.

#include "platform/WindowServices.h"
#include "tests/support/ScriptedServices.h"

#include <QQueue>
#include <QStringList>
#include <QUrl>
#include <QVector>

#include <functional>

#include <gtest/gtest.h>

struct ShownMessage {
    QString text;
    MsgButtons buttons;
    QString title;
    MsgIcon icon = MsgIcon::None;
};

// The messages shown so far. Reading them in any way (size, an element, a
// loop) counts as the test having read every one of them back.
class ShownMessages {
public:
    ShownMessages() = default;
    ShownMessages(const ShownMessages &) = default;
    qsizetype size() const { return read().size(); }
    qsizetype count() const { return size(); }
    bool isEmpty() const { return read().isEmpty(); }
    bool empty() const { return isEmpty(); }
    const ShownMessage &operator[](qsizetype i) const { return read()[i]; }
    const ShownMessage &at(qsizetype i) const { return read().at(i); }
    const ShownMessage &first() const { return read().first(); }
    const ShownMessage &last() const { return read().last(); }
    const ShownMessage &constFirst() const { return first(); }
    const ShownMessage &constLast() const { return last(); }
    const ShownMessage &front() const { return first(); }
    const ShownMessage &back() const { return last(); }
    QVector<ShownMessage>::const_iterator begin() const { return read().begin(); }
    QVector<ShownMessage>::const_iterator end() const { return read().end(); }
    QVector<ShownMessage>::const_iterator cbegin() const { return begin(); }
    QVector<ShownMessage>::const_iterator cend() const { return end(); }
    operator const QVector<ShownMessage> &() const { return read(); }
    // Drops the messages; those not read back still fail the test.
    void clear();
    ShownMessages &operator=(const ShownMessages &other);

private:
    friend class ScriptedMessages;
    const QVector<ShownMessage> &read() const;
    QVector<ShownMessage> m_list;
    mutable qsizetype m_read = 0; // messages [0, m_read) were read back
    QStringList m_droppedUnread;
};

// The scripted message box. A test states every message box it makes the
// program show and reads each one back:
//
//     messages.expect(MsgResult::Yes);             // the answer, before the action
//     ... the action that shows the box ...
//     EXPECT_EQ(messages.takeTexts(), QStringList{"Delete the scene?"});
//
// A box shown with no answer queued fails the test at once; a box never read
// back and an answer never used fail it when it ends (verify, which AppTest's
// TearDown and the test main run). Tests without AppTest share
// unexpectedMessages(), below, and queue there.
class ScriptedMessages : public MessageService {
public:
    // Queues the answer the user gives to the next box, `times` boxes in a row.
    void expect(MsgResult answer, int times = 1);
    // The messages shown since the last take, in order; they count as read.
    QVector<ShownMessage> take();
    QStringList takeTexts();
    // The one message shown since the last take; fails the test when there was
    // not exactly one (and then gives an empty message).
    ShownMessage takeOne();

    // The same queue and record, by name: queue with answers.enqueue(...);
    // reading shown or texts() counts as reading back everything shown so far.
    QQueue<MsgResult> answers;
    ShownMessages shown;
    QStringList texts() const;

    // What the user's time in front of a box does, run before its answer: a
    // test that needs it runs the event loop there, as a real modal box does.
    std::function<void()> whileShown;

    MsgResult show(const QString &text, MsgButtons buttons, const QString &title, MsgIcon icon) override;
    // Fails the running test for every box not read back and every answer not
    // used, then starts afresh.
    void verify();
};

class ScriptedFiles : public FileChooserService {
public:
    QVector<FileChooserRequest> requests;
    QQueue<QString> answers; // when empty: "" (cancelled)
    QString choose(const FileChooserRequest &request) override;
};

class ScriptedUrls : public UrlService {
public:
    QVector<QUrl> opened;
    bool succeed = true;
    bool open(const QUrl &url) override;
};

// A fresh program for every test: CoreTest's folders and services, the
// scripted message boxes, file choosers and browser, no windows.
class AppTest : public CoreTest {
protected:
    void SetUp() override;
    // Checks the messages (ScriptedMessages::verify) and ends the program.
    void TearDown() override;

    // Runs the launcher's load: base and work folders from the test's documents
    // folder.
    void startProgram();

    ScriptedMessages messages;
    ScriptedFiles files;
    ScriptedUrls urls;

private:
    WindowServices m_windowsBefore{};
};

// The message boxes of tests that install no services of their own: no answer
// is queued, so any box fails the test that shows it.
ScriptedMessages &unexpectedMessages();

// Installs unexpectedMessages() for the whole test program and verifies it
// after each test; the program's test main hands it to runTestProgram.
::testing::TestEventListener *unexpectedMessageCheck();
