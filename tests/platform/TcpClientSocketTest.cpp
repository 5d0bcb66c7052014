// The client connection against a loopback peer: the events come once each
// and in order, a close by the peer is told from one by the program, and a
// refused connection is an error with its description.

#include "adapters/socket/TcpClientSocket.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

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
    QTcpSocket *accept()
    {
        client.connectToHost(QStringLiteral("127.0.0.1"), server.serverPort());
        EXPECT_TRUE(QTest::qWaitFor([&] { return server.hasPendingConnections() && !events.isEmpty(); }, 10000));
        return server.nextPendingConnection();
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
    ASSERT_EQ(events.size(), 2) << events.join(u'|').toStdString();
    EXPECT_TRUE(events[1] == QStringLiteral("closed") || events[1].startsWith(QStringLiteral("error: ")));
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
