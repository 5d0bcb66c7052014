// The notice mail: its settings, its exact message, and its delivery to a
// loopback relay that needs a login; a relay that refuses or never answers
// costs the upload nothing but its bounded wait.

#include "core/sharing/NoticeMail.h"
#include "adapters/mail/SmtpMailSender.h"

#include "tests/sharing/UploadFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTimer>
#include <QTimeZone>

namespace {

TEST(MailSettings, DefaultsAndTheValuesThatReplaceThem)
{
    const MailSettings none = MailSettingsFrom([](const QString &) { return QString(); });
    EXPECT_EQ(none.Host, QString());
    EXPECT_EQ(none.Port, QStringLiteral("23"));
    EXPECT_FALSE(none.StartTLS);
    EXPECT_EQ(none.ConnectTimeout, 15);
    EXPECT_EQ(none.Timeout, 60);

    const QHash<QString, QString> ini{
        {QStringLiteral("Host"), QStringLiteral(" relay.example ")}, {QStringLiteral("Port"), QStringLiteral("2525")},
        {QStringLiteral("User"), QStringLiteral("sharer")}, {QStringLiteral("Password"), QStringLiteral(" p,a=s#s;w ")},
        {QStringLiteral("From"), QStringLiteral("noreply@share.example")}, {QStringLiteral("To"), QStringLiteral("staff@share.example")},
        {QStringLiteral("StartTLS"), QStringLiteral("Yes")}, {QStringLiteral("ConnectTimeout"), QStringLiteral("2")},
        {QStringLiteral("Timeout"), QStringLiteral("3")}};
    const MailSettings set = MailSettingsFrom([&](const QString &key) { return ini.value(key); });
    EXPECT_EQ(set.Host, QStringLiteral("relay.example"));
    EXPECT_EQ(set.Port, QStringLiteral("2525"));
    EXPECT_EQ(set.Password, QStringLiteral(" p,a=s#s;w ")) << "a password is taken as written";
    EXPECT_TRUE(set.StartTLS);
    EXPECT_EQ(set.ConnectTimeout, 2);
    EXPECT_EQ(set.Timeout, 3);

    const struct {
        const char *name, *tls, *connect, *whole;
        bool startTls;
        int connectTimeout, timeout;
    } cases[] = {
        {"switched off", "0", "15", "60", false, 15, 60},
        {"word for on", "on", "1", "1", true, 1, 1},
        {"not numbers", "maybe", "abc", "2s", false, 15, 60},
        {"zero", "false", "0", "0", false, 15, 60},
        {"past the bounds", "", "16", "61", false, 15, 60},
        {"negative", "", "-5", "-1", false, 15, 60},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QHash<QString, QString> values{{QStringLiteral("StartTLS"), QString::fromUtf8(c.tls)},
                                             {QStringLiteral("ConnectTimeout"), QString::fromUtf8(c.connect)},
                                             {QStringLiteral("Timeout"), QString::fromUtf8(c.whole)}};
        const MailSettings s = MailSettingsFrom([&](const QString &key) { return values.value(key); });
        EXPECT_EQ(s.StartTLS, c.startTls);
        EXPECT_EQ(s.ConnectTimeout, c.connectTimeout);
        EXPECT_EQ(s.Timeout, c.timeout);
    }
}

TEST(NoticeMessage, ExactBytesAndNoValueAddsAHeaderLine)
{
    const QDateTime date(QDate(2024, 3, 5), QTime(14, 7, 9), QTimeZone(3600));
    EXPECT_EQ(BuildNoticeMessage(QStringLiteral("noreply@share.example"), QStringLiteral("staff@share.example"),
                                 QStringLiteral("http://share.example/VELMnShareAprv.aspx"), date),
              QByteArray("To: staff@share.example\r\n"
                         "From: noreply@share.example\r\n"
                         "Subject: New Entry for VelmNShare\r\n"
                         "Date: Tue, 05 Mar 2024 14:07:09 +0100\r\n"
                         "MIME-Version: 1.0\r\n"
                         "Content-Type: text/plain; charset=utf-8\r\n"
                         "\r\n"
                         "http://share.example/VELMnShareAprv.aspx\r\n"));

    const QDateTime west(QDate(2023, 12, 31), QTime(23, 59, 0), QTimeZone(-(3 * 3600 + 30 * 60)));
    const QByteArray injected = BuildNoticeMessage(QStringLiteral("a@b\r\nBcc: x@y"), QStringLiteral("s@t\nBcc: z@w"),
                                                   QStringLiteral("http://h\r\n\r\nmore/VELMnShareAprv.aspx"), west);
    EXPECT_TRUE(injected.contains("\r\nDate: Sun, 31 Dec 2023 23:59:00 -0330\r\n"));
    EXPECT_TRUE(injected.startsWith("To: s@tBcc: z@w\r\nFrom: a@bBcc: x@y\r\n"));
    EXPECT_TRUE(injected.endsWith("\r\n\r\nhttp://hmore/VELMnShareAprv.aspx\r\n"));
    EXPECT_EQ(injected.count("\r\n"), 8);
}

class RecordingSender : public MailSender {
public:
    int calls = 0;
    MailResult send(const MailSettings &, const QString &, const QByteArray &) override
    {
        ++calls;
        return MailResult::success();
    }
};

TEST(NoticeMail, IsSkippedWithoutHostUserOrRecipient)
{
    MailSettings s;
    s.Host = QStringLiteral("relay.example");
    s.User = QStringLiteral("sharer");
    RecordingSender sender;
    SendNoticeMail(sender, s, QStringLiteral("staff@share.example"), QStringLiteral("http://h/VELMnShareAprv.aspx"));
    EXPECT_EQ(sender.calls, 1);
    SendNoticeMail(sender, s, QStringLiteral(" "), QStringLiteral("body"));
    MailSettings noHost = s;
    noHost.Host.clear();
    SendNoticeMail(sender, noHost, QStringLiteral("staff@share.example"), QStringLiteral("body"));
    MailSettings noUser = s;
    noUser.User.clear();
    SendNoticeMail(sender, noUser, QStringLiteral("staff@share.example"), QStringLiteral("body"));
    EXPECT_EQ(sender.calls, 1);
}

class NoticeMailTest : public UploadFixture {
protected:
    void startRelay(const QStringList &mode = {})
    {
        mails = tempPath(QStringLiteral("mails"));
        ASSERT_TRUE(QDir().mkpath(mails));
        ASSERT_TRUE(relay.start(QStringLiteral("smtp_relay.py"), QStringList{mails} + mode)) << relay.error().toStdString();
        settings.Port = QString::number(relay.port());
    }
    void relaySettings()
    {
        settings.Host = QStringLiteral("127.0.0.1");
        settings.User = QStringLiteral("sharer");
        settings.Password = QStringLiteral("p,a=s#s;w");
        settings.From = QStringLiteral("noreply@share.example");
        settings.To = QStringLiteral("staff@share.example");
        settings.ConnectTimeout = 2;
        settings.Timeout = 2;
    }
    QString mails;
    LoopbackPeer relay;
};

TEST_F(NoticeMailTest, ReachesTheRelayWithLoginEnvelopeSubjectAndBody)
{
    relaySettings();
    startRelay();
    SmtpMailSender sender;
    SendNoticeMail(sender, settings, settings.To, QStringLiteral("http://share.example/VELMnShareAprv.aspx"));

    const QJsonObject mail = waitForRecord(mails, QStringLiteral("mail-1.json"), 0);
    ASSERT_FALSE(mail.isEmpty());
    EXPECT_EQ(mail[QStringLiteral("mechanism")].toString(), QStringLiteral("LOGIN"))
        << "basic login, though the relay offers PLAIN too";
    EXPECT_EQ(mail[QStringLiteral("login")].toString(), QStringLiteral("sharer"));
    EXPECT_EQ(mail[QStringLiteral("password")].toString(), QStringLiteral("p,a=s#s;w"));
    EXPECT_FALSE(mail[QStringLiteral("starttls_tried")].toBool()) << "offered, but not asked for in the settings";
    EXPECT_EQ(mail[QStringLiteral("mail_from")].toString(), QStringLiteral("noreply@share.example"));
    EXPECT_EQ(mail[QStringLiteral("rcpt_tos")].toArray(), QJsonArray{QStringLiteral("staff@share.example")});
    const QString content = mail[QStringLiteral("content")].toString();
    EXPECT_TRUE(content.startsWith(QStringLiteral("To: staff@share.example\r\nFrom: noreply@share.example\r\n"
                                                  "Subject: New Entry for VelmNShare\r\nDate: ")))
        << content.toStdString();
    const qsizetype blank = content.indexOf(QStringLiteral("\r\n\r\n"));
    EXPECT_EQ(content.mid(blank + 4), QStringLiteral("http://share.example/VELMnShareAprv.aspx\r\n"));
}

// Through the whole upload with the real sender: the mail goes out, or the
// relay's failure is waited out within its timeouts; either way the only
// message is the completion box. A relay that goes mute after the message or
// after QUIT is given up at the timeout.
TEST_F(NoticeMailTest, AFailingRelayCostsTheUploadOnlyItsBoundedWait)
{
    const struct {
        const char *name;
        const char *relay; // a mode of smtp_relay.py, or "refuse": no one listens on the port
        bool delivered;
    } cases[] = {{"relay takes it", "ok", true},
                 {"refusing relay", "refuse", false},
                 {"silent relay", "silent", false},
                 {"relay mute after the message", "mute", true},
                 {"relay mute after QUIT", "mute-quit", true}};
    useMailSender(std::make_shared<SmtpMailSender>());
    relaySettings();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString mode = QString::fromUtf8(c.relay);
        LoopbackPeer relayPeer;
        mails = tempPath(QStringLiteral("mails-") + mode);
        ASSERT_TRUE(QDir().mkpath(mails));
        if (mode == u"refuse") {
            QTcpServer closed;
            ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
            settings.Port = QString::number(closed.serverPort());
        } else {
            ASSERT_TRUE(relayPeer.start(QStringLiteral("smtp_relay.py"),
                                        mode == u"ok" ? QStringList{mails} : QStringList{mails, mode}));
            settings.Port = QString::number(relayPeer.port());
        }
        startReceiver();
        messages.shown.clear();
        messages.answers.enqueue(MsgResult::Ok);
        ASSERT_TRUE(sequence->start(job()));
        // Two seconds of relay timeout, with room for a slow machine.
        ASSERT_TRUE(QTest::qWaitFor([&] { return !sequence->isRunning(); }, 20000));
        EXPECT_EQ(messages.texts(), QStringList{kCompleted});
        EXPECT_EQ(comment, QStringLiteral("Optional Comment"));
        EXPECT_EQ(!waitForRecord(mails, QStringLiteral("mail-1.json"), 0).isEmpty(), c.delivered);
        expectIdle();
    }
}


qsizetype threadCount()
{
    return QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();
}

// A relay that takes the message and never answers would keep the mail's
// thread for its whole minute. Closing the window (the sequence goes) or
// quitting the program cancels the send and waits for the thread, boundedly.
TEST_F(NoticeMailTest, ClosingTheWindowOrQuittingDuringTheMailEndsItWithinItsBound)
{
    for (const bool quit : {false, true}) {
        SCOPED_TRACE(quit ? "quit" : "window closed");
        useMailSender(std::make_shared<SmtpMailSender>());
        relaySettings();
        settings.Timeout = 60;
        LoopbackPeer mute;
        mails = tempPath(quit ? QStringLiteral("mails-quit") : QStringLiteral("mails-close"));
        ASSERT_TRUE(QDir().mkpath(mails));
        ASSERT_TRUE(mute.start(QStringLiteral("smtp_relay.py"), {mails, QStringLiteral("mute")})) << mute.error().toStdString();
        settings.Port = QString::number(mute.port());
        startReceiver();
        messages.shown.clear();
        const qsizetype threadsBefore = threadCount();
        ASSERT_TRUE(sequence->start(job()));
        ASSERT_FALSE(waitForRecord(mails, QStringLiteral("mail-1.json")).isEmpty());
        ASSERT_TRUE(sequence->isRunning()) << "waiting for the relay's answer";

        QElapsedTimer stopping;
        stopping.start();
        if (quit) {
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            QCoreApplication::exec();
            EXPECT_FALSE(sequence->isRunning());
        } else {
            sequence.reset();
        }
        EXPECT_LT(stopping.elapsed(), UploadSequence::kMailStopWait) << "the send was cancelled, not waited out";
        // A thread waited for has finished its work; the system drops it from the
        // process a moment after.
        EXPECT_TRUE(QTest::qWaitFor([&] { return threadCount() <= threadsBefore; }, 1000))
            << "the mail's thread has ended: " << threadCount() << " threads, " << threadsBefore << " before";
        EXPECT_TRUE(messages.shown.isEmpty()) << "an upload ended by its owner says nothing";
    }
}

}
