#pragma once
// A TCP client connection with the events the upload reacts to: connected,
// bytes gone to the system, data arrived, an error with its description, and
// a close by the remote side.
// A close by the program itself reports nothing, and once the connection has
// ended (closed, failed or closed by the peer) no further event comes.
//
// Beside what Qt's socket tells, the connection answers from the system's own
// view of it (Linux): how much of what was written the peer has not yet
// acknowledged, and whether the peer ended it with a reset. It keeps a second
// descriptor of the connection for these questions, so that they still have
// their answer once Qt has let go of its own at the peer's close.

#include <QByteArray>
#include <QObject>
#include <QString>

class QTcpSocket;

class TcpClientSocket : public QObject {
    Q_OBJECT
public:
    explicit TcpClientSocket(QObject *parent = nullptr);
    ~TcpClientSocket() override;

    void connectToHost(const QString &host, quint16 port);
    // Queues bytes for sending; they go out while the event loop runs.
    void write(const QByteArray &bytes);
    QByteArray readAll();
    // What has arrived and not been read.
    qint64 bytesAvailable() const;
    // At most `maxBytes` of what has arrived.
    QByteArray read(qint64 maxBytes);
    // Keeps at most `bytes` of what has arrived and not been read (0, the
    // default: no bound). Past that nothing more is taken from the system,
    // whose buffer then fills and holds the peer back.
    void setReadBufferSize(qint64 bytes);
    // Bytes handed to write() that have not gone to the system. Bytes dropped
    // when the connection ended count as not gone.
    qint64 bytesToWrite() const { return handed_ - sent_; }
    // Bytes handed to write() that the peer has not acknowledged: those not
    // gone to the system and those the system still holds for the peer. Once
    // the connection has ended, the count at its end. -1 when the system
    // cannot say.
    qint64 unacknowledgedBytes() const;
    // The peer ended the connection with a reset, which throws away on its
    // side what it had received and not read, rather than closing it in order.
    // Says nothing once shutdownWrite() was called.
    bool resetByPeer() const { return reset_; }
    // Connected, and not ended.
    bool isOpen() const;
    // Ends the sending side once everything written has gone to the system:
    // the peer reads the end of the stream after the last byte, and reading
    // goes on until the peer closes (remoteClosed). False, and nothing done,
    // while bytes are still to go to the system or when the connection is not
    // open.
    bool shutdownWrite();
    // Drops the connection at once, unsent bytes included.
    void close();
    // Deletes the connection once none of its signals is being delivered: at
    // once (on the event loop's next turn) when none is, else when the
    // outermost one has returned. A handler of its signal that shows a modal
    // box, or runs another loop of events, may so end the connection without
    // the signal's sender being deleted under it. The caller no longer owns it.
    void deleteWhenReturned();

signals:
    void connected();
    // `bytes` more of what write() was given have gone to the system.
    void bytesWritten(qint64 bytes);
    void dataArrived(qint64 bytesTotal);
    void error(const QString &description);
    void remoteClosed();

private:
    void onConnected();
    void onErrorOccurred();
    void onDisconnected();
    void onReadyRead();
    // Notes what the system says of the connection as it ends, and lets go
    // of the second descriptor.
    void release();
    // Counts the signals being delivered while it lives; the last one to
    // return deletes a connection let go meanwhile.
    class Delivering;

    QTcpSocket *socket_;
    int delivering_ = 0;          // signals of this connection being delivered, nested
    bool deleteOnReturn_ = false; // deleteWhenReturned() was called during one
    bool ended_ = false;
    qint64 handed_ = 0;
    qint64 sent_ = 0;
    int descriptor_ = -1;         // the second descriptor, while the connection is open
    qint64 unacknowledgedAtEnd_ = 0; // the system's count when the connection ended
    bool reset_ = false;
    bool writeShut_ = false;
};
