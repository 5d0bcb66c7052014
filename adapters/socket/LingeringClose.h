#pragma once
// Ends a connection as a web server does, without a reset that could throw
// away what the peer was sent: what is still to go to the system goes first,
// then the sending side is shut down, what the peer still sends is read and
// dropped, and the connection is closed once the peer closes it too. It is
// dropped at once when `maxBytes` have been read, or when `maxMs` have passed
// on the clock since the start; a connection that has ended already is only
// let go. The object owns the connection and deletes itself when done; the
// connection goes once none of its signals is being delivered, so that an end
// reached from one of them never deletes the sender under it.

#include <QObject>
#include <QPointer>

#include <functional>

class QTimer;
class TcpClientSocket;

class LingeringClose : public QObject {
    Q_OBJECT
public:
    // Milliseconds on a steady clock; only differences count.
    using Clock = std::function<qint64()>;

    // Takes `socket` from its owner; the caller has cut its own connections
    // to it. The result lives until finished() has been emitted.
    static LingeringClose *start(TcpClientSocket *socket, qint64 maxBytes, qint64 maxMs, Clock clock,
                                 QObject *parent);

    ~LingeringClose() override;

    // How often the clock is looked at while the peer says nothing.
    static constexpr int kCheckInterval = 20; // ms

    qint64 bytesDropped() const { return dropped_; }
    // The peer closed the connection (rather than a bound ending it).
    bool closedByPeer() const { return closedByPeer_; }

signals:
    // The connection is closed; the object goes once the event loop runs.
    void finished();

private:
    LingeringClose(TcpClientSocket *socket, qint64 maxBytes, qint64 maxMs, Clock clock, QObject *parent);
    void begin();
    void shutDownWhenSent();
    void drop();
    void check();
    void end(bool byPeer);
    // Closes the connection and hands it to its own deletion.
    void letGo();

    QPointer<TcpClientSocket> socket_;
    QTimer *timer_;
    qint64 maxBytes_;
    qint64 maxMs_;
    Clock clock_;
    qint64 startedAt_ = 0;
    qint64 dropped_ = 0;
    bool shut_ = false;
    bool done_ = false;
    bool closedByPeer_ = false;
};
