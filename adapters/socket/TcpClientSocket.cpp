#include "adapters/socket/TcpClientSocket.h"

#include <QTcpSocket>

#include <algorithm>

TcpClientSocket::TcpClientSocket(QObject *parent)
    : QObject(parent), socket_(new QTcpSocket(this))
{
    connect(socket_, &QTcpSocket::connected, this, [this] {
        if (!ended_)
            emit connected();
    });
    // Every write to the system, also those that QTcpSocket::bytesWritten
    // leaves out while one of its handlers runs.
    connect(socket_, &QTcpSocket::channelBytesWritten, this, [this](int, qint64 bytes) {
        sent_ += bytes;
        if (!ended_)
            emit bytesWritten(bytes);
    });
    connect(socket_, &QTcpSocket::readyRead, this, &TcpClientSocket::onReadyRead);
    connect(socket_, &QTcpSocket::errorOccurred, this, &TcpClientSocket::onErrorOccurred);
    connect(socket_, &QTcpSocket::disconnected, this, &TcpClientSocket::onDisconnected);
}

TcpClientSocket::~TcpClientSocket()
{
    ended_ = true;
    socket_->abort();
}

void TcpClientSocket::connectToHost(const QString &host, quint16 port)
{
    ended_ = false;
    handed_ = sent_ = 0;
    socket_->connectToHost(host, port);
}

void TcpClientSocket::write(const QByteArray &bytes)
{
    const qint64 taken = socket_->write(bytes);
    if (taken > 0)
        handed_ += taken;
}

QByteArray TcpClientSocket::readAll()
{
    return socket_->readAll();
}

QByteArray TcpClientSocket::read(qint64 maxBytes)
{
    return socket_->read(std::max<qint64>(maxBytes, 0));
}

void TcpClientSocket::setReadBufferSize(qint64 bytes)
{
    socket_->setReadBufferSize(bytes);
}

void TcpClientSocket::close()
{
    ended_ = true;
    socket_->abort();
}

void TcpClientSocket::onReadyRead()
{
    if (!ended_ && socket_->bytesAvailable() > 0)
        emit dataArrived(socket_->bytesAvailable());
}

// A close by the peer comes as RemoteHostClosedError, then disconnected();
// that pair is one remote close. Every other error ends the connection.
void TcpClientSocket::onErrorOccurred()
{
    if (ended_ || socket_->error() == QAbstractSocket::RemoteHostClosedError)
        return;
    ended_ = true;
    const QString description = socket_->errorString();
    socket_->abort();
    emit error(description);
}

void TcpClientSocket::onDisconnected()
{
    if (ended_)
        return;
    // What the peer sent just before closing is still to be read.
    onReadyRead();
    if (ended_)
        return;
    ended_ = true;
    emit remoteClosed();
}
