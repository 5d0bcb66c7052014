// The client connection against a loopback peer: the events come once each
// and in order, a close by the peer is told from one by the program, and a
// refused connection is an error with its description; what the peer has
// acknowledged and how it ended the connection; and a lingering close, which
// lets the peer have all it was sent.

#include "adapters/socket/LingeringClose.h"
#include "adapters/socket/TcpClientSocket.h"

#include <QEventLoop>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class TcpClientSocketTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&client, &TcpClientSocket::connected, [this] { events << QStringLiteral("connected"); });
        QObject::connect(&client, &TcpClientSocket::dataArrived, [this](qint64) {
            events << QStringLiteral("data");
            received += client.readAll();
        });
        QObject::connect(&client, &TcpClientSocket::error, [this](const QString &d) { events << QStringLiteral("error: ") + d; });
        QObject::connect(&client, &TcpClientSocket::remoteClosed, [this] { events << QStringLiteral("closed"); });
    }
    // The peer's side of the connection, once the client has connected.
    QTcpSocket *accept() { return accept(client); }
    QTcpSocket *accept(TcpClientSocket &c)
    {
        bool connected = false;
        const auto once = QObject::connect(&c, &TcpClientSocket::connected, [&] { connected = true; });
        c.connectToHost(QStringLiteral("127.0.0.1"), server.serverPort());
        EXPECT_TRUE(QTest::qWaitFor([&] { return server.hasPendingConnections() && connected; }, 10000));
        QObject::disconnect(once);
        return server.nextPendingConnection();
    }
    // Reads from the peer until `count` bytes have come or it ends.
    static QByteArray readAtPeer(QTcpSocket *peer, qint64 count)
    {
        QByteArray got;
        // What came is looked at whether or not all of it did.
        (void)QTest::qWaitFor([&] {
            got += peer->readAll();
            return got.size() >= count || peer->state() != QAbstractSocket::ConnectedState;
        }, 10000);
        got += peer->readAll();
        return got;
    }

    QTcpServer server;
    TcpClientSocket client;
    QStringList events;
    QByteArray received;
};

TEST_F(TcpClientSocketTest, ReplyThenPeerCloseComesAsDataThenOneClose)
{
    QTcpSocket *peer = accept();
    ASSERT_TRUE(peer);
    client.write("POST / HTTP/1.0\r\n\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return peer->bytesAvailable() >= 19; }, 10000));
    EXPECT_EQ(peer->readAll(), QByteArray("POST / HTTP/1.0\r\n\r\n"));
    EXPECT_EQ(client.bytesToWrite(), 0);

    peer->write("HTTP/1.0 200 OK\r\n\r\nfine");
    peer->disconnectFromHost();
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.contains(QStringLiteral("closed")); }, 10000));
    QCoreApplication::processEvents();
    EXPECT_EQ(received, QByteArray("HTTP/1.0 200 OK\r\n\r\nfine"));
    EXPECT_EQ(events.first(), QStringLiteral("connected"));
    EXPECT_EQ(events.last(), QStringLiteral("closed"));
    EXPECT_EQ(events.count(QStringLiteral("closed")), 1);
    EXPECT_FALSE(events.join(u'|').contains(QStringLiteral("error"))) << events.join(u'|').toStdString();
    EXPECT_FALSE(client.resetByPeer());
    EXPECT_EQ(client.unacknowledgedBytes(), 0);
}

TEST_F(TcpClientSocketTest, CloseByTheProgramReportsNothing)
{
    QTcpSocket *peer = accept();
    ASSERT_TRUE(peer);
    client.close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return peer->state() == QAbstractSocket::UnconnectedState; }, 10000));
    peer->write("late");
    QCoreApplication::processEvents();
    EXPECT_EQ(events, QStringList{QStringLiteral("connected")});
}

// The peer stops reading and resets the connection while a large write is on
// its way: what never went to the system still counts as not gone, so a
// request cut off is never taken for one sent whole.
TEST_F(TcpClientSocketTest, BytesCutOffByThePeerCountAsNotGone)
{
    qint64 written = 0;
    QObject::connect(&client, &TcpClientSocket::bytesWritten, [&](qint64 n) { written += n; });
    QTcpSocket *peer = accept();
    ASSERT_TRUE(peer);
    peer->setReadBufferSize(64 * 1024);
    const QByteArray big(64 * 1024 * 1024, 'x');
    client.write(big);
    EXPECT_EQ(client.bytesToWrite(), big.size());
    ASSERT_TRUE(QTest::qWaitFor([&] { return written > 0 && peer->bytesAvailable() > 0; }, 10000));
    peer->abort();
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.size() > 1; }, 10000));
    QCoreApplication::processEvents();
    EXPECT_GT(client.bytesToWrite(), 0);
    EXPECT_EQ(client.bytesToWrite(), big.size() - written);
    EXPECT_GE(client.unacknowledgedBytes(), client.bytesToWrite());
    ASSERT_EQ(events.size(), 2) << events.join(u'|').toStdString();
    EXPECT_TRUE(events[1] == QStringLiteral("closed") || events[1].startsWith(QStringLiteral("error: ")));
    if (events[1] == QStringLiteral("closed")) {
        EXPECT_TRUE(client.resetByPeer());
    }
}

// What the system took from the program counts as unacknowledged until the
// peer has it; a peer that stops reading holds the count up.
TEST_F(TcpClientSocketTest, BytesCountAsUnacknowledgedUntilThePeerHasThem)
{
    QTcpSocket *peer = accept();
    ASSERT_TRUE(peer);
    peer->setReadBufferSize(1); // the peer's system fills, and then holds the client back
    const QByteArray data(150 * 1024, 'u');
    EXPECT_EQ(client.unacknowledgedBytes(), 0);
    client.write(data);
    EXPECT_EQ(client.unacknowledgedBytes(), data.size());
    // More of it goes to the system than the peer's system takes in unread.
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.unacknowledgedBytes() > client.bytesToWrite(); }, 10000));
    EXPECT_LT(client.bytesToWrite(), data.size());
    EXPECT_LE(peer->bytesAvailable(), 1);

    peer->setReadBufferSize(0);
    EXPECT_TRUE(readAtPeer(peer, data.size()) == data);
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.unacknowledgedBytes() == 0; }, 10000));
    EXPECT_TRUE(client.isOpen());
    EXPECT_FALSE(client.resetByPeer());
}

// The peer resets the connection with a part of the data unread: the client
// is told the connection was reset, whatever its own side had sent.
TEST_F(TcpClientSocketTest, AResetByThePeerIsToldFromAClose)
{
    QTcpSocket *peer = accept();
    ASSERT_TRUE(peer);
    peer->setReadBufferSize(10); // the rest stays with its system
    client.write(QByteArray(1000, 'r'));
    ASSERT_TRUE(QTest::qWaitFor([&] { return peer->bytesAvailable() > 0 && client.bytesToWrite() == 0; }, 10000));
    peer->read(10);
    peer->abort(); // closes with unread bytes: a reset
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.size() > 1; }, 10000));
    EXPECT_EQ(events, (QStringList{QStringLiteral("connected"), QStringLiteral("closed")}));
    EXPECT_TRUE(client.resetByPeer());
    EXPECT_FALSE(client.isOpen());
}

class LingeringCloseTest : public TcpClientSocketTest {
protected:
    // A new client connected to `peer`, handed to a lingering close once its
    // `written` bytes are on their way, with the test's clock.
    // A peer with a `peerBuffer` reads no more than that until the test reads it.
    LingeringClose *linger(QTcpSocket *&peer, const QByteArray &written, const QByteArray &replied,
                           qint64 peerBuffer = 0)
    {
        auto *c = new TcpClientSocket;
        peer = accept(*c);
        if (!peer)
            return nullptr;
        peer->setReadBufferSize(peerBuffer);
        peer->write(replied);
        c->write(written);
        EXPECT_TRUE(QTest::qWaitFor([&] { return c->bytesAvailable() >= qMin<qint64>(replied.size(), 1); }, 10000));
        LingeringClose *l = LingeringClose::start(c, kMaxBytes, kMaxMs, [this] { return now; }, nullptr);
        QObject::connect(l, &LingeringClose::finished, [this, l] {
            finished = true;
            dropped = l->bytesDropped();
            byPeer = l->closedByPeer();
        });
        return l;
    }
    static constexpr qint64 kMaxBytes = 1024 * 1024;
    static constexpr qint64 kMaxMs = 2000;
    qint64 now = 1000;
    bool finished = false;
    qint64 dropped = -1;
    bool byPeer = false;
};

// The peer answered at once and reads the request slowly: it gets every byte
// the client wrote and then the end of the stream, though the answer was never
// read by the program; once it closes, the connection is closed.
TEST_F(LingeringCloseTest, ThePeerGetsAllItWasSentThenItsCloseEndsIt)
{
    QTcpSocket *peer = nullptr;
    const QByteArray request(3 * 1024 * 1024 + 11, 'q');
    const QByteArray reply(100 * 1024, 'a');
    ASSERT_TRUE(linger(peer, request, reply));
    ASSERT_TRUE(peer);
    EXPECT_TRUE(readAtPeer(peer, request.size() + 1) == request) << "all of it, then the end";
    EXPECT_EQ(peer->state(), QAbstractSocket::UnconnectedState);
    EXPECT_EQ(peer->error(), QAbstractSocket::RemoteHostClosedError);
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 10000));
    EXPECT_TRUE(byPeer);
    EXPECT_EQ(dropped, reply.size());
}

// A peer that sends without end, or that reads nothing and keeps the
// connection open: the connection is dropped at the bound of bytes, or of
// time.
TEST_F(LingeringCloseTest, ThePeerIsDroppedAtTheBoundOfBytesOrTime)
{
    {
        SCOPED_TRACE("floods");
        QTcpSocket *peer = nullptr;
        ASSERT_TRUE(linger(peer, "last", QByteArray(6 * 1024 * 1024, 'f')));
        ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 10000));
        EXPECT_FALSE(byPeer);
        EXPECT_EQ(dropped, kMaxBytes);
        EXPECT_EQ(readAtPeer(peer, 5), QByteArray("last"));
    }
    finished = false;
    {
        SCOPED_TRACE("holds it open");
        QTcpSocket *peer = nullptr;
        QPointer<LingeringClose> l = linger(peer, "last", "a", 1);
        ASSERT_TRUE(l);
        now += kMaxMs - 1;
        // Still read just before the bound.
        peer->write("b");
        ASSERT_TRUE(QTest::qWaitFor([&] { return !l || l->bytesDropped() == 2; }, 10000));
        EXPECT_FALSE(finished);
        now += 1;
        ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 10000));
        EXPECT_FALSE(byPeer);
        EXPECT_EQ(dropped, 2);
        // Closed in order: the peer has it all, then the end.
        peer->setReadBufferSize(0);
        EXPECT_EQ(readAtPeer(peer, 5), QByteArray("last"));
        EXPECT_EQ(peer->state(), QAbstractSocket::UnconnectedState);
    }
}

// A connection that the peer ended already, or that never connected, is
// let go at once.
TEST_F(LingeringCloseTest, AConnectionThatHasEndedIsLetGoAtOnce)
{
    auto *c = new TcpClientSocket;
    LingeringClose *l = LingeringClose::start(c, kMaxBytes, kMaxMs, [this] { return now; }, nullptr);
    QPointer<LingeringClose> watched(l);
    QPointer<TcpClientSocket> socket(c);
    ASSERT_TRUE(QTest::qWaitFor([&] { return watched.isNull(); }, 10000));
    EXPECT_TRUE(socket.isNull());
}

// A handler of the connection's data hands it to a lingering close and then
// shows a box, whose loop of events runs until the peer's close ends the
// lingering: the connection is still there when the handler returns to the
// signal that called it, and goes only afterwards.
TEST_F(LingeringCloseTest, AConnectionEndedUnderItsOwnSignalOutlivesIt)
{
    auto *c = new TcpClientSocket;
    QTcpSocket *peer = accept(*c);
    ASSERT_TRUE(peer);
    QPointer<TcpClientSocket> socket(c);
    bool aliveAfterTheBox = false;
    QObject::connect(c, &TcpClientSocket::dataArrived, c, [&] {
        QObject::disconnect(c, nullptr, nullptr, nullptr);
        LingeringClose *l = LingeringClose::start(c, kMaxBytes, kMaxMs, [this] { return now; }, nullptr);
        QPointer<LingeringClose> watched(l);
        peer->close();
        // As a modal box does: deferred deletions run in its loop.
        QEventLoop box;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &box, [&] {
            if (!watched)
                box.quit();
        });
        poll.start(5);
        QTimer::singleShot(10000, &box, &QEventLoop::quit);
        box.exec();
        EXPECT_TRUE(watched.isNull()) << "the lingering close ended in the box";
        aliveAfterTheBox = !socket.isNull();
    });
    peer->write("HTTP/1.0 500 Internal Server Error\r\n\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return socket.isNull(); }, 10000));
    EXPECT_TRUE(aliveAfterTheBox);
}

TEST_F(TcpClientSocketTest, RefusedConnectionIsOneErrorWithItsDescription)
{
    const quint16 port = server.serverPort();
    server.close();
    client.connectToHost(QStringLiteral("127.0.0.1"), port);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !events.isEmpty(); }, 10000));
    QCoreApplication::processEvents();
    EXPECT_EQ(events, QStringList{QStringLiteral("error: Connection refused")});
}

}
