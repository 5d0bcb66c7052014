#pragma once
// A test peer in Python (tests/sharing/*.py) run by /usr/bin/python3, where
// python3-aiosmtpd installs: started with its arguments, its port read from
// the first line it prints, stopped when the peer goes out of scope.

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

class LoopbackPeer {
public:
    LoopbackPeer() = default;
    LoopbackPeer(const LoopbackPeer &) = delete;
    LoopbackPeer &operator=(const LoopbackPeer &) = delete;
    ~LoopbackPeer() { stop(); }

    // Starts tests/sharing/<script>; false (with the reason in error()) when it
    // does not print its port within a few seconds.
    bool start(const QString &script, const QStringList &arguments);
    void stop();
    quint16 port() const { return port_; }
    qint64 processId() const { return process_.processId(); }
    QString error() const { return error_; }

private:
    QProcess process_;
    quint16 port_ = 0;
    QString error_;
};

// Starts upload_receiver.py writing into `folder` (made here), with modes per
// connection ("3=500").
bool startUploadReceiver(LoopbackPeer &peer, const QString &folder, const QStringList &modes);

// Waits, processing events, until the peer has written `name` into `folder`,
// and returns the JSON object in it (empty when it did not come in time).
QJsonObject waitForRecord(const QString &folder, const QString &name, int timeoutMs = 30000);
