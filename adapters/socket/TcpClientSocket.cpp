#include "adapters/socket/TcpClientSocket.h"

#include <QTcpSocket>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// What the system still holds of what was written and the peer has not
// acknowledged; -1 when it cannot say.
qint64 systemUnacknowledged(int descriptor)
{
    int bytes = 0;
    if (::ioctl(descriptor, SIOCOUTQ, &bytes) != 0)
        return -1;
    return std::max(bytes, 0);
}

// The connection has gone to its closed state while this side had not yet
// ended its sending: only a reset by the peer does that.
bool closedByReset(int descriptor)
{
    tcp_info info{};
    socklen_t size = sizeof info;
    if (::getsockopt(descriptor, IPPROTO_TCP, TCP_INFO, &info, &size) != 0)
        return false;
    return info.tcpi_state == TCP_CLOSE;
}

}

class TcpClientSocket::Delivering {
public:
    explicit Delivering(TcpClientSocket *socket) : socket_(socket) { ++socket_->delivering_; }
    ~Delivering()
    {
        if (--socket_->delivering_ == 0 && socket_->deleteOnReturn_)
            socket_->deleteLater();
    }
    Delivering(const Delivering &) = delete;
    Delivering &operator=(const Delivering &) = delete;

private:
    TcpClientSocket *socket_;
};

TcpClientSocket::TcpClientSocket(QObject *parent)
    : QObject(parent), socket_(new QTcpSocket(this))
{
    connect(socket_, &QTcpSocket::connected, this, &TcpClientSocket::onConnected);
    // Every write to the system, also those that QTcpSocket::bytesWritten
    // leaves out while one of its handlers runs.
    connect(socket_, &QTcpSocket::channelBytesWritten, this, [this](int, qint64 bytes) {
        const Delivering delivering(this);
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
    release();
}

void TcpClientSocket::connectToHost(const QString &host, quint16 port)
{
    release();
    ended_ = false;
    handed_ = sent_ = 0;
    unacknowledgedAtEnd_ = 0;
    reset_ = writeShut_ = false;
    socket_->connectToHost(host, port);
}

void TcpClientSocket::onConnected()
{
    const Delivering delivering(this);
    if (ended_)
        return;
    descriptor_ = ::fcntl(int(socket_->socketDescriptor()), F_DUPFD_CLOEXEC, 0);
    if (descriptor_ < 0) {
        // Without it the connection could not say what the peer has.
        const QString description = QString::fromLocal8Bit(std::strerror(errno));
        ended_ = true;
        socket_->abort();
        emit error(description);
        return;
    }
    emit connected();
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

qint64 TcpClientSocket::bytesAvailable() const
{
    return socket_->bytesAvailable();
}

QByteArray TcpClientSocket::read(qint64 maxBytes)
{
    return socket_->read(std::max<qint64>(maxBytes, 0));
}

void TcpClientSocket::setReadBufferSize(qint64 bytes)
{
    socket_->setReadBufferSize(bytes);
}

qint64 TcpClientSocket::unacknowledgedBytes() const
{
    const qint64 system = descriptor_ >= 0 ? systemUnacknowledged(descriptor_) : unacknowledgedAtEnd_;
    return system < 0 ? -1 : bytesToWrite() + system;
}

bool TcpClientSocket::isOpen() const
{
    return !ended_ && descriptor_ >= 0 && socket_->state() == QAbstractSocket::ConnectedState;
}

bool TcpClientSocket::shutdownWrite()
{
    if (!isOpen() || bytesToWrite() > 0 || writeShut_)
        return false;
    if (::shutdown(descriptor_, SHUT_WR) != 0)
        return false;
    writeShut_ = true;
    return true;
}

void TcpClientSocket::close()
{
    ended_ = true;
    socket_->abort();
    release();
}

void TcpClientSocket::deleteWhenReturned()
{
    setParent(nullptr);
    if (delivering_ > 0)
        deleteOnReturn_ = true;
    else
        deleteLater();
}

void TcpClientSocket::release()
{
    if (descriptor_ < 0)
        return;
    unacknowledgedAtEnd_ = systemUnacknowledged(descriptor_);
    reset_ = !writeShut_ && closedByReset(descriptor_);
    ::close(descriptor_);
    descriptor_ = -1;
}

void TcpClientSocket::onReadyRead()
{
    const Delivering delivering(this);
    if (!ended_ && socket_->bytesAvailable() > 0)
        emit dataArrived(socket_->bytesAvailable());
}

// A close by the peer comes as RemoteHostClosedError, then disconnected();
// that pair is one remote close. Every other error ends the connection.
void TcpClientSocket::onErrorOccurred()
{
    const Delivering delivering(this);
    if (ended_ || socket_->error() == QAbstractSocket::RemoteHostClosedError)
        return;
    ended_ = true;
    const QString description = socket_->errorString();
    socket_->abort();
    release();
    emit error(description);
}

void TcpClientSocket::onDisconnected()
{
    const Delivering delivering(this);
    if (ended_)
        return;
    // How it ended is known before the last of what the peer sent is told,
    // so that a reader of it sees the end as it was.
    release();
    onReadyRead();
    if (ended_)
        return;
    ended_ = true;
    emit remoteClosed();
}
