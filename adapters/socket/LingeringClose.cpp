#include "adapters/socket/LingeringClose.h"

#include "adapters/socket/TcpClientSocket.h"

#include <QTimer>

#include <algorithm>

namespace {

// What is read from the connection at a time, and the most it holds unread.
constexpr qint64 kReadBlock = 64 * 1024;

}

LingeringClose *LingeringClose::start(TcpClientSocket *socket, qint64 maxBytes, qint64 maxMs, Clock clock,
                                      QObject *parent)
{
    auto *lingering = new LingeringClose(socket, maxBytes, maxMs, std::move(clock), parent);
    lingering->begin();
    return lingering;
}

LingeringClose::LingeringClose(TcpClientSocket *socket, qint64 maxBytes, qint64 maxMs, Clock clock, QObject *parent)
    : QObject(parent), socket_(socket), timer_(new QTimer(this)), maxBytes_(std::max<qint64>(maxBytes, 0)),
      maxMs_(maxMs), clock_(std::move(clock))
{
    socket->setParent(this);
    timer_->setInterval(kCheckInterval);
    connect(timer_, &QTimer::timeout, this, &LingeringClose::check);
}

LingeringClose::~LingeringClose()
{
    // Ended with its owner before its time: the connection is dropped.
    letGo();
}

void LingeringClose::letGo()
{
    TcpClientSocket *socket = socket_;
    if (!socket)
        return;
    socket_ = nullptr;
    disconnect(socket, nullptr, this, nullptr);
    socket->close();
    // The end may come from one of the connection's own signals, with a box
    // or another loop of events above it; the connection goes once that
    // signal has returned.
    socket->deleteWhenReturned();
}

void LingeringClose::begin()
{
    TcpClientSocket *socket = socket_;
    if (!socket->isOpen()) {
        end(false);
        return;
    }
    startedAt_ = clock_();
    connect(socket, &TcpClientSocket::bytesWritten, this, &LingeringClose::shutDownWhenSent);
    connect(socket, &TcpClientSocket::dataArrived, this, &LingeringClose::drop);
    connect(socket, &TcpClientSocket::remoteClosed, this, [this] { end(true); });
    connect(socket, &TcpClientSocket::error, this, [this] { end(false); });
    socket->setReadBufferSize(kReadBlock);
    timer_->start();
    shutDownWhenSent();
    drop(); // what had arrived before
}

void LingeringClose::shutDownWhenSent()
{
    if (!done_ && !shut_ && socket_ && socket_->bytesToWrite() == 0)
        shut_ = socket_->shutdownWrite();
}

void LingeringClose::drop()
{
    while (!done_ && socket_) {
        const qint64 room = maxBytes_ - dropped_;
        if (room <= 0) {
            // The peer sends more than it may.
            if (socket_->bytesAvailable() > 0)
                end(false);
            return;
        }
        const qint64 n = socket_->read(std::min(kReadBlock, room)).size();
        if (n == 0)
            return;
        dropped_ += n;
    }
}

void LingeringClose::check()
{
    if (!done_ && clock_() - startedAt_ >= maxMs_)
        end(false);
}

void LingeringClose::end(bool byPeer)
{
    if (done_)
        return;
    done_ = true;
    closedByPeer_ = byPeer;
    timer_->stop();
    letGo();
    emit finished();
    deleteLater();
}
