// The five uploads against a loopback receiver: requests in order, each on a
// new connection; the mail and the completion message; every way a step can
// fail ends the sequence with one message naming the step, and the next
// upload runs all five again. The watchdog's ticks are driven by the tests.

#include "sharing/UploadSequence.h"

#include "tests/sharing/LoopbackPeer.h"
#include "tests/support/ScriptedServices.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMutex>
#include <QSemaphore>
#include <QSet>
#include <QTest>

namespace {

class FakeTicks : public TickSource {
public:
    bool enabled = false;
    std::function<void()> handler;
    void setEnabled(bool on) override { enabled = on; }
    bool isEnabled() const override { return enabled; }
    void setTickHandler(std::function<void()> h) override { handler = std::move(h); }
    void fire(int count)
    {
        for (int i = 0; i < count && enabled; ++i)
            handler();
    }
};

// Records each mail; runs on the sequence's worker thread.
class FakeMail : public MailSender {
public:
    struct Sent {
        MailSettings settings;
        QString recipient;
        QByteArray message;
    };
    MailResult send(const MailSettings &settings, const QString &recipient, const QByteArray &message) override
    {
        {
            QMutexLocker lock(&mutex);
            sent.push_back({settings, recipient, message});
        }
        if (hold)
            gate.tryAcquire(1, 30000);
        return {true, {}};
    }
    qsizetype count()
    {
        QMutexLocker lock(&mutex);
        return sent.size();
    }
    QMutex mutex;
    QVector<Sent> sent;
    bool hold = false;
    QSemaphore gate;
};

const QString kCompleted = QStringLiteral(
    "Scene has completed uploading. After approval it will be posted to VelmNShare. Thank you for sharing!");

class UploadSequenceTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        zips = tempPath(QStringLiteral("Velm5Pro/Data/Temp/zips"));
        ASSERT_TRUE(QDir().mkpath(zips));
        // Each file different, with the bytes that a careless copy would change.
        const QStringList names{QStringLiteral("4711.zip"), QStringLiteral("4711.jpg"), QStringLiteral("4711.txt"),
                                QStringLiteral("4711-2.jpg"), QStringLiteral("4711-cmnt.txt")};
        for (int i = 0; i < names.size(); ++i) {
            QByteArray bytes = QByteArray("\r\n\0--\xff", 6).repeated(50 * (i + 1)) + QByteArray::number(i);
            if (i == 0)
                bytes = QByteArray(300000, '\0') + bytes; // more than one write and one read
            contents[names[i]] = bytes;
            writeZipsFile(names[i], bytes);
        }
        mail = std::make_shared<FakeMail>();
        sequence = std::make_unique<UploadSequence>(UploadSequence::Wiring{
            &ticks, mail, [] { return mailSettings(); }, [this] { return comment; },
            [this](const QString &text) { comment = text; }});
    }
    void TearDown() override
    {
        sequence.reset();
        AppTest::TearDown();
    }

    static MailSettings mailSettings()
    {
        MailSettings s;
        s.Host = QStringLiteral("relay.example");
        s.User = QStringLiteral("sharer");
        s.To = QStringLiteral("staff@share.example");
        s.From = QStringLiteral("noreply@share.example");
        return s;
    }
    void writeZipsFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(QDir(zips).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // A receiver writing into a fresh folder, with modes per connection ("3=500").
    void startReceiver(const QStringList &modes = {})
    {
        received = tempPath(QStringLiteral("received%1").arg(++receivers));
        ASSERT_TRUE(QDir().mkpath(received));
        receiver = std::make_unique<LoopbackPeer>();
        ASSERT_TRUE(receiver->start(QStringLiteral("upload_receiver.py"), QStringList{received} + modes))
            << receiver->error().toStdString();
    }
    UploadJob job() const
    {
        return {QStringLiteral("http://127.0.0.1:%1/VSH-APRV/post_dump.php").arg(receiver->port()),
                QStringLiteral("4711"), zips, QStringLiteral("share.example")};
    }
    void waitUntilIdle() { ASSERT_TRUE(QTest::qWaitFor([&] { return !sequence->isRunning(); }, 60000)); }

    // Starts an upload to a new, well-behaved receiver and checks that all five
    // requests arrive, each whole, on its own connection opened after the
    // previous one closed; the mail goes out and the completion box follows.
    void expectAllFiveGoUp(const QString &commentName)
    {
        startReceiver();
        const qsizetype mailsBefore = mail->count();
        const qsizetype shownBefore = messages.shown.size();
        messages.answers.enqueue(MsgResult::Ok);
        ASSERT_TRUE(sequence->start(job()));
        EXPECT_TRUE(ticks.enabled) << "the watchdog runs from the first connection attempt";
        waitUntilIdle();

        const QStringList stored{QStringLiteral("4711.zip"), QStringLiteral("4711.jpg"), QStringLiteral("4711.txt"),
                                 QStringLiteral("4711-2.jpg"), QStringLiteral("4711-cmnt.txt")};
        const QStringList sent{QStringLiteral("4711.zip"), QStringLiteral("4711.jpg"), QStringLiteral("4711.txt"),
                               QStringLiteral("4711-2.jpg"), commentName};
        QSet<int> ports;
        double previousClose = 0;
        for (int n = 1; n <= 5; ++n) {
            SCOPED_TRACE(n);
            const QJsonObject r = waitForRecord(received, QStringLiteral("%1.json").arg(n));
            ASSERT_FALSE(r.isEmpty());
            EXPECT_TRUE(r[QStringLiteral("problems")].toArray().isEmpty()) << QJsonDocument(r).toJson().toStdString();
            EXPECT_EQ(r[QStringLiteral("request_line")].toString(), QStringLiteral("POST /VSH-APRV/post_dump.php? HTTP/1.0"));
            EXPECT_EQ(r[QStringLiteral("fields")].toArray()[0].toArray()[1].toString(), QStringLiteral("127.0.0.1"));
            EXPECT_EQ(r[QStringLiteral("field")].toString(), QStringLiteral("file"));
            EXPECT_EQ(r[QStringLiteral("filename")].toString(), sent[n - 1]);
            EXPECT_EQ(r[QStringLiteral("content_type")].toString(), QStringLiteral("application/octet-stream"));
            QFile payload(QDir(received).filePath(QStringLiteral("%1.payload").arg(n)));
            ASSERT_TRUE(payload.open(QIODevice::ReadOnly));
            EXPECT_TRUE(payload.readAll() == contents[stored[n - 1]]);
            ports.insert(r[QStringLiteral("peer_port")].toInt());
            EXPECT_GE(r[QStringLiteral("accepted")].toDouble(), previousClose) << "opened before the last one closed";
            previousClose = r[QStringLiteral("closed")].toDouble();
        }
        EXPECT_EQ(ports.size(), 5);
        EXPECT_FALSE(QFile::exists(QDir(received).filePath(QStringLiteral("6.json"))));

        ASSERT_EQ(mail->count(), mailsBefore + 1);
        const FakeMail::Sent &m = mail->sent.last();
        EXPECT_EQ(m.recipient, QStringLiteral("staff@share.example"));
        EXPECT_EQ(m.settings.Host, QStringLiteral("relay.example"));
        EXPECT_TRUE(m.message.endsWith("\r\n\r\nhttp://share.example/VELMnShareAprv.aspx\r\n")) << m.message.toStdString();

        ASSERT_EQ(messages.shown.size(), shownBefore + 1);
        EXPECT_EQ(messages.shown.last().text, kCompleted);
        EXPECT_EQ(messages.shown.last().title, programTitle());
        EXPECT_EQ(messages.shown.last().icon, MsgIcon::None);
        EXPECT_EQ(comment, QStringLiteral("Optional Comment"));
        expectIdle();
    }
    void expectIdle()
    {
        EXPECT_FALSE(sequence->isRunning());
        EXPECT_FALSE(sequence->SocketConnected());
        EXPECT_FALSE(sequence->hasSocket());
        EXPECT_FALSE(ticks.enabled);
        EXPECT_EQ(sequence->UploadTicks(), 0);
    }

    QString zips, received;
    int receivers = 0;
    QHash<QString, QByteArray> contents;
    QString comment = QStringLiteral("My first scene");
    FakeTicks ticks;
    std::shared_ptr<FakeMail> mail;
    std::unique_ptr<LoopbackPeer> receiver;
    std::unique_ptr<UploadSequence> sequence;
};

TEST_F(UploadSequenceTest, FiveRequestsInOrderThenTheMailAndTheBoxAndAgainFromTickZero)
{
    expectAllFiveGoUp(QStringLiteral("My first scene.txt"));

    // The second upload counts its ticks from 0.
    int ticksAtFirstStep = -1;
    QObject::connect(sequence.get(), &UploadSequence::stepStarted, [&](int step) {
        if (step == 1) {
            ticks.fire(1);
            ticksAtFirstStep = sequence->UploadTicks();
        }
    });
    expectAllFiveGoUp(QStringLiteral("Optional Comment.txt"));
    EXPECT_EQ(ticksAtFirstStep, 1);
}

TEST_F(UploadSequenceTest, ARepliesLengthAndContentDoNotMatter)
{
    startReceiver({QStringLiteral("1=long"), QStringLiteral("2=long"), QStringLiteral("3=long"),
                   QStringLiteral("4=long"), QStringLiteral("5=long")});
    messages.answers.enqueue(MsgResult::Ok);
    ASSERT_TRUE(sequence->start(job()));
    waitUntilIdle();
    EXPECT_EQ(messages.texts(), QStringList{kCompleted});
    EXPECT_EQ(mail->count(), 1);
}

struct FailureCase {
    const char *name;
    int step;
    const char *mode; // the receiver's mode at that step, or "" when the file is broken
    QString text;     // the message's first line, "%1" for the file's path
    QString cause;
    QString title;    // "" for the program's title
    MsgIcon icon;
};

TEST_F(UploadSequenceTest, EachFailureAtStepsOneAndThreeEndsWithOneMessageNamingTheStep)
{
    const QString failed = QStringLiteral("Upload failed! Try again.");
    const QString error = QStringLiteral("ERROR");
    const QString readError = QStringLiteral("Could not read %1: ");
    const FailureCase cases[] = {
        {"refused at 1", 1, "refuse", QStringLiteral("Connection refused"), QStringLiteral("the connection failed"), error, MsgIcon::Exclamation},
        {"refused at 3", 3, "refuse", QStringLiteral("Connection refused"), QStringLiteral("the connection failed"), error, MsgIcon::Exclamation},
        {"stalled at 1", 1, "stall", failed, QStringLiteral("the upload took longer than 60 seconds"), {}, MsgIcon::None},
        {"stalled at 3", 3, "stall", failed, QStringLiteral("the upload took longer than 60 seconds"), {}, MsgIcon::None},
        {"closed early at 1", 1, "close", failed, QStringLiteral("the service closed the connection without an answer"), {}, MsgIcon::None},
        {"closed early at 3", 3, "close", failed, QStringLiteral("the service closed the connection without an answer"), {}, MsgIcon::None},
        {"500 at 1", 1, "500", failed, QStringLiteral("the service answered \"HTTP/1.0 500 Internal Server Error\""), {}, MsgIcon::None},
        {"500 at 3", 3, "500", failed, QStringLiteral("the service answered \"HTTP/1.0 500 Internal Server Error\""), {}, MsgIcon::None},
        {"missing file at 1", 1, "", readError + QStringLiteral("the file does not exist"), QStringLiteral("the file could not be read"), error, MsgIcon::Critical},
        {"folder for a file at 3", 3, "", readError + QStringLiteral("it is not a regular file"), QStringLiteral("the file could not be read"), error, MsgIcon::Critical},
    };
    const QString sentNames[] = {{}, QStringLiteral("4711.zip"), {}, QStringLiteral("4711.txt")};
    for (const FailureCase &c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = sentNames[c.step];
        const QString path = QDir(zips).filePath(name);
        const QString mode = QString::fromUtf8(c.mode);
        if (mode.isEmpty()) {
            ASSERT_TRUE(QFile::remove(path));
            if (c.step == 3) {
                ASSERT_TRUE(QDir().mkdir(path));
            }
        }
        startReceiver(mode.isEmpty() ? QStringList{} : QStringList{QStringLiteral("%1=%2").arg(c.step).arg(mode)});
        messages.shown.clear();
        messages.answers.enqueue(MsgResult::Ok);
        const qsizetype mails = mail->count();
        ASSERT_TRUE(sequence->start(job()));

        if (mode == u"stall") {
            // The request is in; the service never answers. 60 ticks are allowed, the 61st ends it.
            ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(QDir(received).filePath(QStringLiteral("%1.raw").arg(c.step))); }, 30000));
            ticks.fire(60);
            EXPECT_TRUE(sequence->isRunning());
            EXPECT_EQ(sequence->UploadTicks(), 60);
            ticks.fire(1);
        }
        waitUntilIdle();

        const QString expected = c.text.contains(u"%1") ? c.text.arg(path) : c.text;
        ASSERT_EQ(messages.shown.size(), 1) << messages.texts().join(u'|').toStdString();
        EXPECT_EQ(messages.shown[0].text,
                  expected + QStringLiteral("\nStep %1 of 5 (%2): %3.").arg(c.step).arg(name, c.cause));
        EXPECT_EQ(messages.shown[0].title, c.title.isEmpty() ? programTitle() : c.title);
        EXPECT_EQ(messages.shown[0].icon, c.icon);
        expectIdle();
        EXPECT_EQ(mail->count(), mails);
        EXPECT_EQ(comment, QStringLiteral("My first scene"));
        if (mode == u"stall") {
            const QJsonObject r = waitForRecord(received, QStringLiteral("%1.json").arg(c.step));
            EXPECT_TRUE(r[QStringLiteral("client_closed")].toBool()) << "the stalled connection was closed";
        }
        if (!mode.isEmpty()) {
            EXPECT_FALSE(QFile::exists(QDir(received).filePath(QStringLiteral("%1.json").arg(c.step + 1))));
        }

        if (mode.isEmpty()) {
            if (c.step == 3) {
                ASSERT_TRUE(QDir().rmdir(path));
            }
            writeZipsFile(name, contents[name]);
        }
        messages.shown.clear();
        expectAllFiveGoUp(QStringLiteral("My first scene.txt"));
        comment = QStringLiteral("My first scene");
    }
}

TEST_F(UploadSequenceTest, SixtyTicksCoverAllFiveStepsTogether)
{
    startReceiver();
    // Fifteen ticks in each of the first four steps, one more in the fifth.
    QObject::connect(sequence.get(), &UploadSequence::stepStarted, [&](int step) {
        ticks.fire(step < 5 ? 15 : 1);
    });
    messages.answers.enqueue(MsgResult::Ok);
    ASSERT_TRUE(sequence->start(job()));
    waitUntilIdle();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral(
                                    "Upload failed! Try again.\nStep 5 of 5 (My first scene.txt): the upload took longer than 60 seconds.")});
    for (int n = 1; n <= 4; ++n)
        EXPECT_FALSE(waitForRecord(received, QStringLiteral("%1.json").arg(n)).isEmpty()) << n;
    expectIdle();
    EXPECT_EQ(mail->count(), 0);
}

TEST_F(UploadSequenceTest, AnAddressWithoutHostOrWithAnUnusablePortIsInvalidHost)
{
    for (const char *url : {"http:///VSH-APRV/post_dump.php", "http://127.0.0.1:0/VSH-APRV/post_dump.php",
                            "http://127.0.0.1:70000/VSH-APRV/post_dump.php"}) {
        SCOPED_TRACE(url);
        messages.shown.clear();
        messages.answers.enqueue(MsgResult::Ok);
        UploadJob j{QString::fromUtf8(url), QStringLiteral("4711"), zips, QStringLiteral("share.example")};
        ASSERT_TRUE(sequence->start(j));
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.shown[0].text, QStringLiteral("Invalid Host"));
        EXPECT_EQ(messages.shown[0].title, QStringLiteral("ERROR"));
        EXPECT_EQ(messages.shown[0].icon, MsgIcon::Critical);
        expectIdle();
    }
}

TEST_F(UploadSequenceTest, AnUploadIsRefusedWhileOneRunsTheMailIncluded)
{
    startReceiver();
    mail->hold = true;
    ASSERT_TRUE(sequence->start(job()));
    EXPECT_FALSE(sequence->start(job()));

    messages.answers.enqueue(MsgResult::Ok);
    EXPECT_TRUE(sequence->refuseWhileRunning());
    ASSERT_TRUE(QTest::qWaitFor([&] { return mail->count() == 1; }, 30000));
    messages.answers.enqueue(MsgResult::Ok);
    EXPECT_TRUE(sequence->refuseWhileRunning()) << "the mail is part of the sequence";
    const ShownMessage busy{QStringLiteral("An upload is still running. Please wait until it has ended."),
                            MsgButtons::Ok, programTitle(), MsgIcon::Exclamation};
    ASSERT_EQ(messages.shown.size(), 2);
    for (const ShownMessage &m : messages.shown) {
        EXPECT_EQ(m.text, busy.text);
        EXPECT_EQ(m.title, busy.title);
        EXPECT_EQ(m.icon, busy.icon);
    }

    messages.answers.enqueue(MsgResult::Ok);
    mail->gate.release();
    waitUntilIdle();
    EXPECT_EQ(messages.texts().last(), kCompleted);
    EXPECT_FALSE(sequence->refuseWhileRunning());
    EXPECT_EQ(messages.shown.size(), 3);
    EXPECT_TRUE(waitForRecord(received, QStringLiteral("6.json"), 0).isEmpty());
}

}
