#pragma once
// A TCP client connection with the events the upload reacts to: connected,
// bytes gone to the system, data arrived, an error with its description, and
// a close by the remote side.
// A close by the program itself reports nothing, and once the connection has
// ended (closed, failed or closed by the peer) no further event comes.

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
    // At most `maxBytes` of what has arrived.
    QByteArray read(qint64 maxBytes);
    // Keeps at most `bytes` of what has arrived and not been read (0, the
    // default: no bound). Past that nothing more is taken from the system,
    // whose buffer then fills and holds the peer back.
    void setReadBufferSize(qint64 bytes);
    // Bytes handed to write() that have not gone to the system. Bytes dropped
    // when the connection ended count as not gone.
    qint64 bytesToWrite() const { return handed_ - sent_; }
    // Drops the connection at once, unsent bytes included.
    void close();

signals:
    void connected();
    // `bytes` more of what write() was given have gone to the system.
    void bytesWritten(qint64 bytes);
    void dataArrived(qint64 bytesTotal);
    void error(const QString &description);
    void remoteClosed();

private:
    void onErrorOccurred();
    void onDisconnected();
    void onReadyRead();

    QTcpSocket *socket_;
    bool ended_ = false;
    qint64 handed_ = 0;
    qint64 sent_ = 0;
};
