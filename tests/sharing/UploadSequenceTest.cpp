// The five uploads against a loopback receiver: requests in order, each on a
// new connection; the mail and the completion message; every way a step can
// fail ends the sequence with one message naming the step, and the next
// upload runs all five again. The watchdog's ticks are driven by the tests.

#include "tests/sharing/UploadFixture.h"

#include "core/sharing/UploadRequest.h"
#include "core/sharing/UrlHelper.h"

#include <QDateTime>

#include <cstdio>
#include <functional>

namespace {

class UploadSequenceTest : public UploadFixture {
protected:
    // The package (`zip`, last written an hour ago) changes on disk once the
    // step began (`changedAt` 0) or once more than `changedAt` bytes of its
    // request had been handed over: the step ends with the file's message,
    // and the service gets no byte past the length the request announced,
    // nor the request's tail.
    void expectChangeEndsTheStep(const QByteArray &zip, qint64 changedAt, const std::function<void()> &change,
                                 const QString &reason);
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
        // The service answers only once the ended step's connection is shut
        // down, while the failure's box is up.
        {"answered late at 1", 1, "late", failed, QStringLiteral("the upload took longer than 60 seconds"), {}, MsgIcon::None},
        {"answered late at 3", 3, "late", failed, QStringLiteral("the upload took longer than 60 seconds"), {}, MsgIcon::None},
        {"closed early at 1", 1, "close", failed, QStringLiteral("the service closed the connection without an answer"), {}, MsgIcon::None},
        {"closed early at 3", 3, "close", failed, QStringLiteral("the service closed the connection without an answer"), {}, MsgIcon::None},
        {"500 at 1", 1, "500", failed, QStringLiteral("the service answered \"HTTP/1.0 500 Internal Server Error\""), {}, MsgIcon::None},
        {"500 at 3", 3, "500", failed, QStringLiteral("the service answered \"HTTP/1.0 500 Internal Server Error\""), {}, MsgIcon::None},
        {"404 at 1", 1, "404", failed, QStringLiteral("the service answered \"HTTP/1.0 404 Not Found\""), {}, MsgIcon::None},
        {"not HTTP at 1", 1, "nothttp", failed, QStringLiteral("the service's answer is not HTTP: \"<html><body>OK</body></html>\""), {}, MsgIcon::None},
        {"not HTTP at 3", 3, "nothttp", failed, QStringLiteral("the service's answer is not HTTP: \"<html><body>OK</body></html>\""), {}, MsgIcon::None},
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

        const bool stalls = mode == u"stall" || mode == u"late";
        if (stalls) {
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
        if (stalls) {
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

// A redirection or any other status below 400 is the service taking the
// upload: the sequence goes on, and no address the reply names is visited.
TEST_F(UploadSequenceTest, AnyStatusFromOneHundredToThreeNinetyNineTakesTheStep)
{
    startReceiver({QStringLiteral("1=302"), QStringLiteral("2=301"), QStringLiteral("3=100"), QStringLiteral("4=204"),
                   QStringLiteral("5=399")});
    messages.answers.enqueue(MsgResult::Ok);
    ASSERT_TRUE(sequence->start(job()));
    waitUntilIdle();
    EXPECT_EQ(messages.texts(), QStringList{kCompleted});
    EXPECT_EQ(mail->count(), 1);
    for (int n = 1; n <= 5; ++n) {
        SCOPED_TRACE(n);
        const QJsonObject r = waitForRecord(received, QStringLiteral("%1.json").arg(n));
        EXPECT_TRUE(r[QStringLiteral("problems")].toArray().isEmpty());
        EXPECT_EQ(r[QStringLiteral("request_line")].toString(), QStringLiteral("POST /VSH-APRV/post_dump.php? HTTP/1.0"));
    }
    EXPECT_FALSE(QFile::exists(QDir(received).filePath(QStringLiteral("6.json"))));
    expectIdle();
}

// A package of several blocks goes out through the socket byte for byte as
// the request is built for the whole file, each of the five steps.
TEST_F(UploadSequenceTest, EveryRequestGoesOutByteForByteAcrossManyBlocks)
{
    QByteArray zip(3 * 1024 * 1024 + 12345, Qt::Uninitialized);
    for (qsizetype i = 0; i < zip.size(); ++i)
        zip[i] = char((i * 131) ^ (i >> 9));
    zip.replace(zip.size() / 2, 4, "\r\n--");
    ASSERT_GT(zip.size(), UploadSequence::kSendAhead + UploadSequence::kSendBlock);
    contents[QStringLiteral("4711.zip")] = zip;
    writeZipsFile(QStringLiteral("4711.zip"), zip);

    QList<qint64> progress;
    QObject::connect(sequence.get(), &UploadSequence::requestProgress, [&](int step, qint64 sent, qint64 total) {
        if (step == 1) {
            EXPECT_TRUE(progress.isEmpty() || sent > progress.last());
            EXPECT_LE(sent, total);
            progress << sent;
        }
    });
    expectAllFiveGoUp(QStringLiteral("My first scene.txt"));

    const UrlParts url = ParseUrl(job().DestinationUrl);
    const QString boundary(32, u'f'); // the scripted random source's characters
    const QStringList stored{QStringLiteral("4711.zip"), QStringLiteral("4711.jpg"), QStringLiteral("4711.txt"),
                             QStringLiteral("4711-2.jpg"), QStringLiteral("4711-cmnt.txt")};
    const QStringList sent{QStringLiteral("4711.zip"), QStringLiteral("4711.jpg"), QStringLiteral("4711.txt"),
                           QStringLiteral("4711-2.jpg"), QStringLiteral("My first scene.txt")};
    for (int n = 1; n <= 5; ++n) {
        SCOPED_TRACE(n);
        QFile raw(QDir(received).filePath(QStringLiteral("%1.raw").arg(n)));
        ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
        const QByteArray bytes = raw.readAll();
        const QByteArray &data = contents[stored[n - 1]];
        EXPECT_TRUE(bytes == BuildUploadRequest(data, url, QStringLiteral("file"), sent[n - 1],
                                                QStringLiteral("application/octet-stream"), boundary));
        const QByteArray head = "POST /VSH-APRV/post_dump.php? HTTP/1.0\r\n"
                                "Host: 127.0.0.1\r\n"
                                "Content-Type: multipart/form-data, boundary=ffffffffffffffffffffffffffffffff\r\n"
                                "Content-Length: "
            + QByteArray::number(data.size() + 36 + 58 + sent[n - 1].size() + 40 + 2 + 38) + "\r\n\r\n"
            + "--ffffffffffffffffffffffffffffffff\r\n"
              "Content-Disposition: form-data; name=\"file\"; filename=\""
            + sent[n - 1].toLatin1() + "\"\r\nContent-Type: application/octet-stream\r\n\r\n";
        EXPECT_TRUE(bytes.startsWith(head)) << bytes.left(head.size() + 10).toStdString();
        EXPECT_TRUE(bytes.mid(head.size(), data.size()) == data);
        EXPECT_EQ(bytes.mid(head.size() + data.size()), QByteArray("\r\n--ffffffffffffffffffffffffffffffff--"));
    }
    // The head, then the file in blocks of kSendBlock, then the tail.
    EXPECT_EQ(progress.size(), 2 + (zip.size() + UploadSequence::kSendBlock - 1) / UploadSequence::kSendBlock);
    QFile first(QDir(received).filePath(QStringLiteral("1.raw")));
    EXPECT_EQ(progress.last(), first.size());
}

void UploadSequenceTest::expectChangeEndsTheStep(const QByteArray &zip, qint64 changedAt,
                                                 const std::function<void()> &change, const QString &reason)
{
    const qint64 requestLength = 36 + 58 + 8 + 40 + 2 + 38 + zip.size() + 162; // 162: the header for 4711.zip
    const QString path = QDir(zips).filePath(QStringLiteral("4711.zip"));
    writeZipsFile(QStringLiteral("4711.zip"), zip);
    contents[QStringLiteral("4711.zip")] = zip;
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    }
    startReceiver({QStringLiteral("1=drain")});
    int changes = 0;
    qint64 total = 0;
    const auto began = QObject::connect(sequence.get(), &UploadSequence::stepStarted, [&](int step) {
        if (step == 1 && changedAt == 0 && changes++ == 0)
            change();
    });
    const auto progressed = QObject::connect(sequence.get(), &UploadSequence::requestProgress,
                                             [&](int step, qint64 sent, qint64 all) {
        total = all;
        if (step == 1 && changedAt > 0 && sent > changedAt && changes++ == 0)
            change();
    });
    messages.shown.clear();
    messages.answers.enqueue(MsgResult::Ok);
    ASSERT_TRUE(sequence->start(job()));
    waitUntilIdle();
    QObject::disconnect(began);
    QObject::disconnect(progressed);

    EXPECT_EQ(changes, 1);
    EXPECT_EQ(total, requestLength);
    ASSERT_EQ(messages.shown.size(), 1) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Could not read %1: %2\n"
                                                     "Step 1 of 5 (4711.zip): the file could not be read.")
                                          .arg(path, reason));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("ERROR"));
    EXPECT_EQ(messages.shown[0].icon, MsgIcon::Critical);
    expectIdle();
    const QJsonObject r = waitForRecord(received, QStringLiteral("1.json"));
    EXPECT_TRUE(r[QStringLiteral("client_closed")].toBool());
    const qint64 got = r[QStringLiteral("total_length")].toInteger(-1);
    EXPECT_GE(got, 0);
    EXPECT_LT(got, requestLength) << "the tail never goes";
    if (changedAt > UploadSequence::kSendAhead) {
        EXPECT_EQ(r[QStringLiteral("request_length")].toInteger(), requestLength);
        EXPECT_GT(got, UploadSequence::kSendBlock) << "blocks had gone out";
    }
    EXPECT_FALSE(QFile::exists(QDir(received).filePath(QStringLiteral("2.json"))));
}

// The package changes size while its request is on its way, whether it grew
// or shrank, before its first block or after.
TEST_F(UploadSequenceTest, APackageThatChangesSizeWhileItIsSentEndsTheStep)
{
    const QByteArray zip(3 * 1024 * 1024, '\x5a');
    const QString path = QDir(zips).filePath(QStringLiteral("4711.zip"));
    const struct {
        const char *name;
        qint64 changedAt; // changed once the step began (0), else once this much had been handed over
        qint64 newSize;
    } cases[] = {
        {"grows before the connection", 0, zip.size() + 1},
        {"shrinks before the connection", 0, 1000},
        {"grows after its first block", UploadSequence::kSendBlock, zip.size() + 1000000},
        {"shrinks after its first block", UploadSequence::kSendBlock, zip.size() / 2},
        // Once more than one socket's worth of blocks has gone to the system.
        {"grows while it goes out", UploadSequence::kSendAhead + 2 * UploadSequence::kSendBlock, zip.size() + 1},
        {"shrinks while it goes out", UploadSequence::kSendAhead + 2 * UploadSequence::kSendBlock, zip.size() - 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        expectChangeEndsTheStep(zip, c.changedAt, [&] {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            ASSERT_TRUE(file.resize(c.newSize));
        }, QStringLiteral("it changed size while it was sent"));
    }
    writeZipsFile(QStringLiteral("4711.zip"), zip);
    expectAllFiveGoUp(QStringLiteral("My first scene.txt"));
}

// The package is written again with its own size, or another file takes its
// name, while its request is on its way: no request of two versions ends.
TEST_F(UploadSequenceTest, APackageWrittenAgainWithItsSizeWhileItIsSentEndsTheStep)
{
    const QByteArray zip(3 * 1024 * 1024, '\x5a');
    const QString path = QDir(zips).filePath(QStringLiteral("4711.zip"));
    const QByteArray other(zip.size(), '\x6b');
    const auto inPlace = [&] {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite)); // the same file, not cut
        ASSERT_EQ(file.write(other), other.size());
    };
    const auto replace = [&] {
        const QString fresh = path + QStringLiteral(".new");
        writeZipsFile(QStringLiteral("4711.zip.new"), other);
        ASSERT_EQ(std::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData()), 0);
    };
    const auto remove = [&] { ASSERT_TRUE(QFile::remove(path)); };
    const QString again = QStringLiteral("it was written again while it was sent");
    const QString replaced = QStringLiteral("it was replaced or removed while it was sent");
    const qint64 goingOut = UploadSequence::kSendAhead + 2 * UploadSequence::kSendBlock;
    const struct {
        const char *name;
        qint64 changedAt;
        std::function<void()> change;
        QString reason;
    } cases[] = {
        {"written again before the connection", 0, inPlace, again},
        {"written again after its first block", UploadSequence::kSendBlock, inPlace, again},
        {"written again while it goes out", goingOut, inPlace, again},
        {"replaced before the connection", 0, replace, replaced},
        {"replaced while it goes out", goingOut, replace, replaced},
        {"removed while it goes out", goingOut, remove, replaced},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        expectChangeEndsTheStep(zip, c.changedAt, c.change, c.reason);
    }
    writeZipsFile(QStringLiteral("4711.zip"), zip);
    expectAllFiveGoUp(QStringLiteral("My first scene.txt"));
}

// The service stops reading and closes while the request is still being
// written: told apart from a service that read it all and closed without an
// answer (the table above).
TEST_F(UploadSequenceTest, AConnectionCutWhileTheRequestIsWrittenSaysSo)
{
    // Far more than the system's buffers on both sides of the connection hold.
    const QByteArray big(24 * 1024 * 1024, '\x33');
    for (int step : {1, 3}) {
        SCOPED_TRACE(step);
        const QString name = step == 1 ? QStringLiteral("4711.zip") : QStringLiteral("4711.txt");
        writeZipsFile(name, big);
        const qsizetype mails = mail->count();
        ASSERT_NO_FATAL_FAILURE(startUpload({QStringLiteral("%1=cut").arg(step)}));
        waitUntilIdle();
        ASSERT_EQ(messages.shown.size(), 1);
        const QString text = messages.shown[0].text;
        EXPECT_EQ(text, QStringLiteral("Upload failed! Try again.\nStep %1 of 5 (%2): the connection was cut while the request was being sent.").arg(step).arg(name));
        expectIdle();
        EXPECT_EQ(mail->count(), mails);
        EXPECT_EQ(waitForRecord(received, QStringLiteral("%1.json").arg(step))[QStringLiteral("body_length")].toInt(), 65536);
        writeZipsFile(name, contents[name]);
        messages.shown.clear();
        expectAllFiveGoUp(QStringLiteral("My first scene.txt"));
        comment = QStringLiteral("My first scene");
    }
}

// A service that answers at once and goes on sending while it slowly reads
// the request: once it has all of the request in its system's buffers the
// step ends, and its connection ends without a reset, which would throw away
// on the service's side what it had not yet read.
TEST_F(UploadSequenceTest, AServiceThatTalksWhileItReadsGetsTheWholeRequest)
{
    ASSERT_NO_FATAL_FAILURE(expectAllFiveGoUp(QStringLiteral("My first scene.txt"), {QStringLiteral("1=chatter")}));
    EXPECT_GT(waitForRecord(received, QStringLiteral("1.json"))[QStringLiteral("chatter_sent")].toInt(), 0);
}

// A service that answers at once, at length, and only then reads the request
// gets every byte of it before the step ends: the step is done once the
// service has acknowledged all of the request, not once the system took it.
TEST_F(UploadSequenceTest, AServiceThatAnswersBeforeItReadsGetsTheWholeRequest)
{
    // Far more than the system's buffers hold, so that most of it is still
    // on its way when the answer comes.
    QByteArray zip(10 * 1024 * 1024 + 777, Qt::Uninitialized);
    for (qsizetype i = 0; i < zip.size(); ++i)
        zip[i] = char((i * 7) ^ (i >> 11));
    contents[QStringLiteral("4711.zip")] = zip;
    writeZipsFile(QStringLiteral("4711.zip"), zip);
    expectAllFiveGoUp(QStringLiteral("My first scene.txt"),
                      {QStringLiteral("1=early"), QStringLiteral("3=early"), QStringLiteral("5=early")});
    for (int n : {1, 3, 5}) {
        SCOPED_TRACE(n);
        const QJsonObject r = waitForRecord(received, QStringLiteral("%1.json").arg(n));
        const QJsonArray fields = r[QStringLiteral("fields")].toArray();
        ASSERT_EQ(fields.size(), 3);
        EXPECT_EQ(r[QStringLiteral("body_length")].toInteger(-1), fields[2].toArray()[1].toString().toLongLong());
    }
}

// The service resets the connection when it has read half the body of a
// package that the system takes in at once: what it had not read is thrown
// away, so the step was cut, however small the package.
TEST_F(UploadSequenceTest, AResetHalfwayThroughASmallPackageIsACut)
{
    for (int step : {1, 3}) {
        SCOPED_TRACE(step);
        const QString name = step == 1 ? QStringLiteral("4711.zip") : QStringLiteral("4711.txt");
        ASSERT_NO_FATAL_FAILURE(startUpload({QStringLiteral("%1=resethalf").arg(step)}));
        waitUntilIdle();
        EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Upload failed! Try again.\nStep %1 of 5 (%2): the "
                                                               "connection was cut while the request was being sent.")
                                                    .arg(step)
                                                    .arg(name)});
        expectIdle();
        EXPECT_EQ(mail->count(), 0);
        const QJsonObject r = waitForRecord(received, QStringLiteral("%1.json").arg(step));
        const qint64 length = r[QStringLiteral("request_length")].toInteger();
        EXPECT_GT(length, contents[name].size());
        EXPECT_EQ(r[QStringLiteral("body_length")].toInteger(), length / 2);
        EXPECT_FALSE(QFile::exists(QDir(received).filePath(QStringLiteral("%1.json").arg(step + 1))));
    }
}

// A service that answers 200 at once and then reads nothing: the request
// cannot all get to it, so the step is never done, whatever the answer says.
// The watchdog ends it, or the service's reset does, as a cut.
TEST_F(UploadSequenceTest, AServiceThatAnswersAndNeverReadsIsNeverADoneStep)
{
    const struct {
        const char *name;
        bool reset; // the service resets the connection, else it holds it open
        QString cause;
    } cases[] = {
        {"held open", false, QStringLiteral("the upload took longer than 60 seconds")},
        {"reset", true, QStringLiteral("the connection was cut while the request was being sent")},
    };
    // More than the service's system takes in unread (its buffer of 128 KiB
    // by default, which holds 64 KiB of data here), less than this side's
    // takes in at once: all of it leaves this side's program soon after the
    // answer has come.
    const QByteArray zip(150 * 1024, 'k');
    contents[QStringLiteral("4711.zip")] = zip;
    writeZipsFile(QStringLiteral("4711.zip"), zip);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(startUpload({QStringLiteral("1=earlynoread")}));
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(QDir(received).filePath(QStringLiteral("1.answered"))); }, 30000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return sequence->replyStatusKnown() || !sequence->isRunning(); }, 30000));
        EXPECT_TRUE(sequence->isRunning());
        EXPECT_EQ(sequence->currentStep(), 1);
        if (c.reset) {
            writeFile(QDir(received).filePath(QStringLiteral("1.release")), {});
        } else {
            ticks.fire(60);
            EXPECT_TRUE(sequence->isRunning());
            EXPECT_EQ(sequence->currentStep(), 1);
            ticks.fire(1);
        }
        waitUntilIdle();
        EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Upload failed! Try again.\nStep 1 of 5 (4711.zip): %1.").arg(c.cause)});
        expectIdle();
        EXPECT_EQ(mail->count(), 0);
        if (!c.reset)
            writeFile(QDir(received).filePath(QStringLiteral("1.release")), {});
        const QJsonObject r = waitForRecord(received, QStringLiteral("1.json"));
        const qint64 length = r[QStringLiteral("request_length")].toInteger();
        EXPECT_GT(length, contents[QStringLiteral("4711.zip")].size());
        EXPECT_LT(r[QStringLiteral("body_length")].toInteger() + r[QStringLiteral("queued_length")].toInteger(), length);
        EXPECT_FALSE(QFile::exists(QDir(received).filePath(QStringLiteral("2.json"))));
    }
}

// The service drops the connection before it reads anything. Whether the
// system reports a reset, an early end or a close without an answer depends
// on timing; it is never taken for a finished step.
TEST_F(UploadSequenceTest, AConnectionDroppedAtOnceIsNeverADoneStep)
{
    for (int step : {1, 3}) {
        SCOPED_TRACE(step);
        ASSERT_NO_FATAL_FAILURE(startUpload({QStringLiteral("%1=drop").arg(step)}));
        waitUntilIdle();
        ASSERT_EQ(messages.shown.size(), 1);
        const QString name = step == 1 ? QStringLiteral("4711.zip") : QStringLiteral("4711.txt");
        EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("\nStep %1 of 5 (%2): ").arg(step).arg(name)))
            << messages.shown[0].text.toStdString();
        expectIdle();
        EXPECT_EQ(mail->count(), 0);
        EXPECT_FALSE(QFile::exists(QDir(received).filePath(QStringLiteral("%1.json").arg(step + 1))));
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
    // A tick already under way when the sequence ended counts for nothing.
    ticks.handler();
    EXPECT_EQ(sequence->UploadTicks(), 0);
}

// The watchdog ends the sequence by the time on its clock since the first
// connection attempt: ticks that come late (the thread was busy) or early do
// not move its end, and neither do ticks that do not come at all.
TEST_F(UploadSequenceTest, TheWatchdogEndsAtSixtySecondsHoweverLateItsTicksCome)
{
    const struct {
        const char *name;
        qint64 every;  // ms between two ticks
        int runningAt; // ticks after which the upload still runs
    } cases[] = {
        {"every 1.5 s", 1500, 40},         // 60 s; a count of ticks would end it at 91.5 s
        {"every 0.9 s", 900, 66},          // 59.4 s; a count would end it at 54.9 s
        {"one tick after a 61 s wait", 61000, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(startUpload({QStringLiteral("1=stall")}));
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(QDir(received).filePath(QStringLiteral("1.raw"))); }, 30000));
        const qint64 started = ticks.time;
        ticks.fire(c.runningAt, c.every);
        EXPECT_TRUE(sequence->isRunning());
        EXPECT_EQ(sequence->UploadTicks(), c.runningAt * c.every / 1000);
        ticks.fire(1, c.every);
        // The tick ends it; the failure is reported once the tick has returned.
        EXPECT_FALSE(ticks.enabled);
        EXPECT_TRUE(messages.shown.isEmpty());
        waitUntilIdle();
        EXPECT_EQ(ticks.time - started, (c.runningAt + 1) * c.every);
        EXPECT_EQ(messages.texts(), QStringList{QStringLiteral(
                                        "Upload failed! Try again.\nStep 1 of 5 (4711.zip): the upload took longer than 60 seconds.")});
        expectIdle();
        EXPECT_TRUE(waitForRecord(received, QStringLiteral("1.json"))[QStringLiteral("client_closed")].toBool());
    }

    // No tick at all while the thread was kept from them for 61 s: the next
    // socket event ends the sequence instead of going on with the next step.
    startReceiver();
    messages.shown.clear();
    messages.answers.enqueue(MsgResult::Ok);
    QObject::connect(sequence.get(), &UploadSequence::stepStarted, [&](int step) {
        if (step == 2)
            ticks.time += UploadSequence::kUploadTimeLimit + 1;
    });
    ASSERT_TRUE(sequence->start(job()));
    waitUntilIdle();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral(
                                    "Upload failed! Try again.\nStep 2 of 5 (4711.jpg): the upload took longer than 60 seconds.")});
    expectIdle();
    EXPECT_FALSE(QFile::exists(QDir(received).filePath(QStringLiteral("2.raw"))));
}

// A service that answers and then sends without end: the reply is kept to
// its status line (or a few KB of a first line that does not end), the step
// ends by that status, and no more than kReplyDropBound of the rest is read
// before the connection is dropped, so the service can send no more than
// that and what the system's buffers hold before it is told so.
TEST_F(UploadSequenceTest, AReplyThatFloodsIsReadNoFurtherThanItsBound)
{
    // What the buffers of both sides of a loopback connection take in; the
    // receiver would send up to 1 GiB to a client that reads on.
    constexpr qint64 kMostSent = 48LL * 1024 * 1024;
    const struct {
        const char *name;
        QStringList modes;
        QString failure; // "" when all five go up
        int floods;      // connections that flooded
    } cases[] = {
        {"all five flood after their status", {QStringLiteral("1=flood"), QStringLiteral("2=flood"),
         QStringLiteral("3=flood"), QStringLiteral("4=flood"), QStringLiteral("5=flood")}, {}, 5},
        {"a status line without an end", {QStringLiteral("2=floodline")}, {}, 1},
        {"no status, no line end", {QStringLiteral("3=floodjunk")},
         QStringLiteral("Upload failed! Try again.\nStep 3 of 5 (4711.txt): the service's answer is not HTTP: \"")
             + QString(100, u'z') + QStringLiteral("\"."), 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        comment = QStringLiteral("My first scene");
        if (c.failure.isEmpty()) {
            expectAllFiveGoUp(QStringLiteral("My first scene.txt"), c.modes);
        } else {
            startReceiver(c.modes);
            messages.shown.clear();
            messages.answers.enqueue(MsgResult::Ok);
            ASSERT_TRUE(sequence->start(job()));
            waitUntilIdle();
            EXPECT_EQ(messages.texts(), QStringList{c.failure});
            expectIdle();
        }
        int floods = 0;
        for (int n = 1; n <= 5; ++n) {
            const QJsonObject r = waitForRecord(received, QStringLiteral("%1.json").arg(n), c.failure.isEmpty() || n <= 3 ? 30000 : 0);
            if (!r.contains(QStringLiteral("flood_sent")))
                continue;
            SCOPED_TRACE(n);
            ++floods;
            EXPECT_EQ(r[QStringLiteral("flood_end")].toString(), QStringLiteral("client closed"));
            const qint64 sent = r[QStringLiteral("flood_sent")].toInteger();
            EXPECT_GT(sent, 0);
            EXPECT_LT(sent, kMostSent);
        }
        EXPECT_EQ(floods, c.floods);
    }
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
        waitUntilIdle();
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
    EXPECT_TRUE(refuseUploadWhileRunning(*sequence));
    ASSERT_TRUE(QTest::qWaitFor([&] { return mail->count() == 1; }, 30000));
    messages.answers.enqueue(MsgResult::Ok);
    EXPECT_TRUE(refuseUploadWhileRunning(*sequence)) << "the mail is part of the sequence";
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
    EXPECT_FALSE(refuseUploadWhileRunning(*sequence));
    EXPECT_EQ(messages.shown.size(), 3);
    EXPECT_TRUE(waitForRecord(received, QStringLiteral("6.json"), 0).isEmpty());
}


// Without a window the sequence shows nothing: each run reports its steps and
// then exactly one of failed() or completed().
TEST_F(UploadSequenceTest, ReportsStepsFailureOrCompletionThroughItsSignalsAlone)
{
    struct Outcome {
        QList<int> steps;
        QList<UploadFailure> failures;
        int completions = 0;
    };
    const struct {
        const char *name;
        QStringList modes;
        QString url; // "" for the receiver's address
        QList<int> steps;
        bool completes;
        UploadFailureKind kind;
        int failedStep;
        QString fileName;
        QString cause;
    } cases[] = {
        {"all five", {}, {}, {1, 2, 3, 4, 5}, true, {}, 0, {}, {}},
        {"500 at 3", {QStringLiteral("3=500")}, {}, {1, 2, 3}, false, UploadFailureKind::ServiceFailed, 3,
         QStringLiteral("4711.txt"), QStringLiteral("the service answered \"HTTP/1.0 500 Internal Server Error\"")},
        {"refused at 2", {QStringLiteral("2=refuse")}, {}, {1, 2}, false, UploadFailureKind::ConnectionFailed, 2,
         QStringLiteral("4711.jpg"), QStringLiteral("the connection failed")},
        {"no host", {}, QStringLiteral("http:///VSH-APRV/post_dump.php"), {}, false, UploadFailureKind::InvalidHost, 1,
         QStringLiteral("4711.zip"), QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        startReceiver(c.modes);
        UploadSequence bare(UploadSequence::Wiring{&ticks, mail, [this] { return settings; }, [this] { return comment; },
                                                   [this](const QString &text) { comment = text; }});
        Outcome seen;
        QObject::connect(&bare, &UploadSequence::stepStarted, [&](int step) { seen.steps << step; });
        QObject::connect(&bare, &UploadSequence::failed, [&](const UploadFailure &f) {
            EXPECT_FALSE(bare.isRunning()) << "idle before it reports";
            seen.failures << f;
        });
        QObject::connect(&bare, &UploadSequence::completed, [&] {
            EXPECT_TRUE(bare.isRunning()) << "running until the report has been handled";
            ++seen.completions;
        });
        messages.shown.clear();
        UploadJob j = job();
        if (!c.url.isEmpty())
            j.DestinationUrl = c.url;
        ASSERT_TRUE(bare.start(j));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !bare.isRunning(); }, 60000));

        EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'|').toStdString();
        EXPECT_EQ(seen.steps, c.steps);
        EXPECT_EQ(seen.completions, c.completes ? 1 : 0);
        if (c.completes) {
            EXPECT_TRUE(seen.failures.isEmpty());
            EXPECT_EQ(comment, QStringLiteral("Optional Comment"));
            continue;
        }
        ASSERT_EQ(seen.failures.size(), 1);
        const UploadFailure &f = seen.failures[0];
        EXPECT_EQ(f.kind, c.kind);
        EXPECT_EQ(f.step, c.failedStep);
        EXPECT_EQ(f.fileName, c.fileName);
        EXPECT_EQ(f.cause, c.cause);
        if (c.kind == UploadFailureKind::ConnectionFailed)
            EXPECT_FALSE(f.reason.isEmpty()) << "the system's description";
        else
            EXPECT_TRUE(f.reason.isEmpty());
    }
}

}

