#pragma once
// An upload sequence wired as the library window wires it, with a watchdog
// the test ticks, a mail sender that records, a comment box, the package's
// five files in a temporary zips folder and a loopback receiver.

#include "adapters/socket/LingeringClose.h"
#include "library/UploadNotices.h"
#include "sharing/UploadSequence.h"

#include "tests/sharing/LoopbackPeer.h"
#include "tests/support/program/ScriptedWindows.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMutex>
#include <QSemaphore>
#include <QSet>
#include <QTest>
#include <QTimer>

// The watchdog's ticks and clock: time moves only as the test fires ticks,
// each `every` milliseconds after the last (later than the timer's period
// when the thread was busy), or moves it on.
class FakeTicks : public TickSource {
public:
    bool enabled = false;
    qint64 time = 0;
    std::function<void()> handler;
    void setEnabled(bool on) override { enabled = on; }
    bool isEnabled() const override { return enabled; }
    void setTickHandler(std::function<void()> h) override { handler = std::move(h); }
    qint64 now() const override { return time; }
    void fire(int count, qint64 every = UploadSequence::UploadTimeOutInterval)
    {
        for (int i = 0; i < count && enabled; ++i) {
            time += every;
            handler();
        }
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
        return MailResult::success();
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

inline const QString kCompleted = QStringLiteral(
    "Scene has completed uploading. After approval it will be posted to VelmNShare. Thank you for sharing!");

class UploadFixture : public AppTest {
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
        useMailSender(mail);
        messages.whileShown = [this] { runLikeAModalBox(); };
    }
    // What a real modal box does while it is up: the events go on, deferred
    // deletions included, here until the connections the sequence let go
    // have ended (a bound of 2 s for a service that never closes).
    void runLikeAModalBox()
    {
        QEventLoop loop;
        QElapsedTimer bound;
        bound.start();
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (!sequence || sequence->findChildren<LingeringClose *>().isEmpty() || bound.hasExpired(2000))
                loop.quit();
        });
        poll.start(5);
        loop.exec();
    }
    // A new sequence that sends its mail through `sender`.
    void useMailSender(std::shared_ptr<MailSender> sender)
    {
        sequence = std::make_unique<UploadSequence>(UploadSequence::Wiring{
            &ticks, std::move(sender), [this] { return settings; }, [this] { return comment; },
            [this](const QString &text) { comment = text; }});
        showUploadNotices(*sequence);
    }
    void TearDown() override
    {
        messages.whileShown = nullptr;
        sequence.reset();
        AppTest::TearDown();
    }

    static MailSettings defaultMailSettings()
    {
        MailSettings s;
        s.Host = QStringLiteral("relay.example");
        s.User = QStringLiteral("sharer");
        s.To = QStringLiteral("staff@share.example");
        s.From = QStringLiteral("noreply@share.example");
        return s;
    }
    void writeZipsFile(const QString &name, const QByteArray &bytes) { writeFile(QDir(zips).filePath(name), bytes); }

    // A receiver writing into a fresh folder, with modes per connection ("3=500").
    void startReceiver(const QStringList &modes = {})
    {
        received = tempPath(QStringLiteral("received%1").arg(++receivers));
        receiver = std::make_unique<LoopbackPeer>();
        ASSERT_TRUE(startUploadReceiver(*receiver, received, modes)) << receiver->error().toStdString();
    }
    // Starts an upload to a new receiver with `modes`; its one message box is answered.
    void startUpload(const QStringList &modes)
    {
        startReceiver(modes);
        messages.shown.clear();
        messages.answers.enqueue(MsgResult::Ok);
        ASSERT_TRUE(sequence->start(job()));
    }
    UploadJob job() const
    {
        return {QStringLiteral("http://127.0.0.1:%1/VSH-APRV/post_dump.php").arg(receiver->port()),
                QStringLiteral("4711"), zips, QStringLiteral("share.example")};
    }
    void waitUntilIdle() { ASSERT_TRUE(QTest::qWaitFor([&] { return !sequence->isRunning(); }, 60000)); }

    // Starts an upload to a new receiver, well-behaved but for its `modes`
    // that answer 200, and checks that all five requests arrive, each whole,
    // on its own connection opened after the previous one was answered; the
    // mail goes out and the completion box follows.
    void expectAllFiveGoUp(const QString &commentName, const QStringList &modes = {})
    {
        startReceiver(modes);
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
        double previousAnswer = 0;
        for (int n = 1; n <= 5; ++n) {
            SCOPED_TRACE(n);
            const QJsonObject r = waitForRecord(received, QStringLiteral("%1.json").arg(n));
            ASSERT_FALSE(r.isEmpty());
            // A request that did not arrive whole has no fields to look at.
            ASSERT_FALSE(r.contains(QStringLiteral("error"))) << QJsonDocument(r).toJson().toStdString();
            EXPECT_TRUE(r[QStringLiteral("problems")].toArray().isEmpty()) << QJsonDocument(r).toJson().toStdString();
            EXPECT_EQ(r[QStringLiteral("request_line")].toString(), QStringLiteral("POST /VSH-APRV/post_dump.php? HTTP/1.0"));
            const QJsonArray fields = r[QStringLiteral("fields")].toArray();
            ASSERT_EQ(fields.size(), 3);
            EXPECT_EQ(fields[0].toArray()[1].toString(), QStringLiteral("127.0.0.1"));
            EXPECT_EQ(r[QStringLiteral("field")].toString(), QStringLiteral("file"));
            EXPECT_EQ(r[QStringLiteral("filename")].toString(), sent[n - 1]);
            EXPECT_EQ(r[QStringLiteral("content_type")].toString(), QStringLiteral("application/octet-stream"));
            QFile payload(QDir(received).filePath(QStringLiteral("%1.payload").arg(n)));
            ASSERT_TRUE(payload.open(QIODevice::ReadOnly));
            EXPECT_TRUE(payload.readAll() == contents[stored[n - 1]]);
            ports.insert(r[QStringLiteral("peer_port")].toInt());
            EXPECT_GE(r[QStringLiteral("accepted")].toDouble(), previousAnswer) << "opened before the last one was answered";
            previousAnswer = r[QStringLiteral("answered")].toDouble();
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
    MailSettings settings = defaultMailSettings();
    FakeTicks ticks;
    std::shared_ptr<FakeMail> mail;
    std::unique_ptr<LoopbackPeer> receiver;
    std::unique_ptr<UploadSequence> sequence;
};
