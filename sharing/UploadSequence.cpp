#include "sharing/UploadSequence.h"

#include "adapters/socket/LingeringClose.h"
#include "adapters/socket/TcpClientSocket.h"
#include "core/sharing/UploadRequest.h"
#include "core/sharing/UploadRequestStream.h"
#include "core/sharing/UrlHelper.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace {

const QString kDefaultComment = QStringLiteral("Optional Comment");

// What is read of a reply past its status line at a time.
constexpr qint64 kReplyDropBlock = 64 * 1024;

}

QString UploadFailure::stepLine() const
{
    return QStringLiteral("Step %1 of %2 (%3): %4.").arg(step).arg(kUploadStepCount).arg(fileName, cause);
}

UploadSequence::UploadSequence(Wiring wiring, QObject *parent)
    : QObject(parent), wiring_(std::move(wiring)), acknowledgePoll_(new QTimer(this))
{
    acknowledgePoll_->setInterval(kAcknowledgePoll);
    connect(acknowledgePoll_, &QTimer::timeout, this, &UploadSequence::onAcknowledgePoll);
    QPointer<UploadSequence> self(this);
    wiring_.UploadTimeOut->setTickHandler([self] {
        if (self)
            self->UploadTimeOut_Timer();
    });
    // No mail thread outlives the application object.
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &UploadSequence::stopMail);
}

UploadSequence::~UploadSequence()
{
    // A window closed during an upload ends it without a word; the service
    // gets an unfinished request, which it does not keep. Connections still
    // lingering are dropped with it.
    stopMail();
    if (TcpClientSocket *socket = socket_) {
        disconnect(socket, nullptr, this, nullptr);
        socket->close();
        socket->deleteWhenReturned();
    }
}

void UploadSequence::stopMail()
{
    QThread *worker = mailThread_;
    if (!worker)
        return;
    mailThread_ = nullptr;
    disconnect(worker, &QThread::finished, this, nullptr);
    running_ = false; // the sequence ends without its completion
    if (wiring_.mail)
        wiring_.mail->cancel();
    if (!worker->wait(QDeadlineTimer(kMailStopWait)))
        qWarning("The notice mail did not stop within %d ms of being cancelled.", kMailStopWait);
    else
        delete worker;
}

bool UploadSequence::start(const UploadJob &job)
{
    if (isRunning())
        return false;
    job_ = job;
    flags_ = {};
    running_ = true;
    startStep(1);
    return true;
}

void UploadSequence::startStep(int step)
{
    step_ = step;
    const QString comment = step == kUploadStepCount && wiring_.commentText ? wiring_.commentText() : QString();
    const UploadStepFile file = UploadStepFileFor(step, job_.ZipsFolder, job_.UploadName, comment);
    switch (file.procedure) {
    case UploadProcedure::Zip:
        UploadZipFile(file.path, file.baseName);
        break;
    case UploadProcedure::Jpg:
        UploadJpgFile(file.path, file.baseName);
        break;
    case UploadProcedure::Txt:
        UploadTxtFile(file.path, file.baseName);
        break;
    }
}

void UploadSequence::UploadZipFile(const QString &path, const QString &baseName)
{
    uploadFile(path, baseName, UploadProcedure::Zip);
}

void UploadSequence::UploadJpgFile(const QString &path, const QString &baseName)
{
    uploadFile(path, baseName, UploadProcedure::Jpg);
}

void UploadSequence::UploadTxtFile(const QString &path, const QString &baseName)
{
    uploadFile(path, baseName, UploadProcedure::Txt);
}

void UploadSequence::uploadFile(const QString &path, const QString &baseName, UploadProcedure procedure)
{
    if (SocketConnected_)
        return;
    const UrlParts url = ParseUrl(job_.DestinationUrl);
    if (url.Host.isEmpty() || url.Port < 0) {
        reportFailure({UploadFailureKind::InvalidHost, step_,
                       UploadFileNameParameter(baseName + UploadExtension(procedure)), {}, {}});
        return;
    }
    const QString fileName = baseName + UploadExtension(procedure);
    sentName_ = UploadFileNameParameter(fileName);
    // A file that cannot be read ends the upload; no empty part goes up.
    auto request = std::make_unique<UploadRequestStream>();
    if (const FileResult opened = request->open(path); !opened) {
        fail(UploadFailureKind::FileUnreadable, opened.error, QStringLiteral("the file could not be read"));
        return;
    }
    request->setFrame(BuildUploadRequestFrame(request->fileSize(), url, QStringLiteral("file"), fileName,
                                              QStringLiteral("application/octet-stream"), MakeBoundary(32)));
    request_ = std::move(request);
    requestHanded_ = false;
    replyStart_.clear();
    replyKnown_ = false;
    replyDropped_ = 0;

    auto *socket = new TcpClientSocket(this);
    socket_ = socket;
    // No more of a reply is held than its status line needs until it is
    // known; past the drop bound the service is held back by the system.
    socket->setReadBufferSize(kReplyStartBound);
    connect(socket, &TcpClientSocket::connected, this, &UploadSequence::Winsock1_Connect);
    connect(socket, &TcpClientSocket::bytesWritten, this, &UploadSequence::onBytesWritten);
    connect(socket, &TcpClientSocket::dataArrived, this, &UploadSequence::Winsock1_DataArrival);
    connect(socket, &TcpClientSocket::error, this, &UploadSequence::Winsock1_Error);
    connect(socket, &TcpClientSocket::remoteClosed, this, &UploadSequence::Winsock1_Close);
    // The watchdog runs from the first attempt, so a connection that is never
    // made is bounded too.
    startWatchdog();
    socket->connectToHost(url.Host, quint16(url.Port == 0 ? 80 : url.Port));
    if (socket_ == socket)
        emit stepStarted(step_);
}

void UploadSequence::Winsock1_Connect()
{
    if (timedOut())
        return;
    SocketConnected_ = true;
    startWatchdog();
    sendRequest();
}

void UploadSequence::onBytesWritten()
{
    if (timedOut())
        return;
    sendRequest();
    if (replyKnown_ && requestDelivered())
        takeStep();
}

void UploadSequence::sendRequest()
{
    UploadRequestStream *const request = request_.get();
    if (!request || !socket_ || !SocketConnected_)
        return;
    const int step = step_;
    // What a handler of the progress does (ending the sequence) ends the loop.
    while (request_.get() == request && socket_ && !request->atEnd() && socket_->bytesToWrite() < kSendAhead) {
        const FileRead block = request->next(kSendBlock);
        if (!block) {
            fail(UploadFailureKind::FileUnreadable, block.error, QStringLiteral("the file could not be read"));
            return;
        }
        socket_->write(block.value);
        emit requestProgress(step, request->position(), request->size());
    }
    if (request_.get() == request && request->atEnd()) {
        requestHanded_ = true;
        request_.reset(); // the file closes
    }
}

void UploadSequence::Winsock1_DataArrival(qint64 bytesTotal)
{
    Q_UNUSED(bytesTotal);
    if (!socket_ || timedOut())
        return;
    if (replyKnown_) {
        dropReply();
        return;
    }
    replyStart_ += socket_->read(kReplyStartBound - replyStart_.size());
    if (!ReplyStatusKnown(replyStart_))
        return;
    replyKnown_ = true;
    socket_->setReadBufferSize(kReplyDropBlock);
    dropReply();
    endStepByReply();
}

void UploadSequence::dropReply()
{
    while (socket_ && replyDropped_ < kReplyDropBound) {
        const qint64 n = socket_->read(std::min(kReplyDropBlock, kReplyDropBound - replyDropped_)).size();
        if (n == 0)
            return;
        replyDropped_ += n;
    }
}

void UploadSequence::endStepByReply()
{
    const ReplyStatus status = ReadReplyStatus(replyStart_);
    if (!status.accepted()) {
        failOnReply(status);
        return;
    }
    // A service that takes the upload before it has all of it gets the rest
    // first: the step waits until it has acknowledged every byte.
    if (requestDelivered())
        takeStep();
    else
        acknowledgePoll_->start();
}

void UploadSequence::onAcknowledgePoll()
{
    if (timedOut())
        return;
    if (replyKnown_ && requestDelivered())
        takeStep();
}

void UploadSequence::failOnReply(const ReplyStatus &status)
{
    if (status.hasStatusLine)
        fail(UploadFailureKind::ServiceFailed, {},
             QStringLiteral("the service answered \"%1\"").arg(status.firstLine));
    else
        fail(UploadFailureKind::ServiceFailed, {},
             QStringLiteral("the service's answer is not HTTP: \"%1\"").arg(status.firstLine));
}

bool UploadSequence::requestDelivered() const
{
    return SocketConnected_ && socket_ && requestHanded_ && socket_->unacknowledgedBytes() == 0
        && !socket_->resetByPeer();
}

void UploadSequence::Winsock1_Error(const QString &description)
{
    fail(UploadFailureKind::ConnectionFailed, description, QStringLiteral("the connection failed"));
}

void UploadSequence::Winsock1_Close()
{
    if (timedOut())
        return;
    // A close or a reset before the service acknowledged all of the request
    // is a cut, and so is a reset at any time: it throws away what the
    // service had received and not read.
    const bool sent = requestDelivered();
    endConnection();
    SocketConnected_ = false;

    const ReplyStatus status = ReadReplyStatus(replyStart_);
    // A service may refuse a request before it has read all of it.
    if (status.hasStatusLine && !status.accepted()) {
        failOnReply(status);
        return;
    }
    if (!sent) {
        fail(UploadFailureKind::ServiceFailed, {},
             QStringLiteral("the connection was cut while the request was being sent"));
        return;
    }
    if (!status.received) {
        fail(UploadFailureKind::ServiceFailed, {},
             QStringLiteral("the service closed the connection without an answer"));
        return;
    }
    if (!status.hasStatusLine) {
        failOnReply(status);
        return;
    }
    takeStep();
}

void UploadSequence::takeStep()
{
    endConnection();
    SocketConnected_ = false;
    const UploadCloseAction action = UploadActionOnClose(flags_);
    flags_ = action.flags;
    if (action.finishes())
        finish();
    else
        startStep(action.nextStep);
}

void UploadSequence::UploadTimeOut_Timer()
{
    // A tick that was already on its way when the sequence ended counts for nothing.
    if (running_)
        timedOut();
}

void UploadSequence::startWatchdog()
{
    // Switching it on again does not restart it.
    wiring_.UploadTimeOut->setEnabled(true);
    if (watchdogStart_ < 0)
        watchdogStart_ = wiring_.UploadTimeOut->now();
}

qint64 UploadSequence::watchdogElapsed() const
{
    return watchdogStart_ < 0 ? 0 : std::max<qint64>(wiring_.UploadTimeOut->now() - watchdogStart_, 0);
}

int UploadSequence::UploadTicks() const
{
    return int(std::min<qint64>(watchdogElapsed() / UploadTimeOutInterval, std::numeric_limits<int>::max()));
}

bool UploadSequence::timedOut()
{
    if (!running_ || watchdogStart_ < 0 || watchdogElapsed() <= kUploadTimeLimit)
        return false;
    fail(UploadFailureKind::ServiceFailed, {},
         QStringLiteral("the upload took longer than %1 seconds").arg(MaxUploadTicks));
    return true;
}

void UploadSequence::finish()
{
    wiring_.UploadTimeOut->setEnabled(false);
    watchdogStart_ = -1;
    step_ = 0;
    if (!wiring_.mail) {
        noticeMailSent();
        return;
    }
    const MailSettings settings = wiring_.mailSettings ? wiring_.mailSettings() : MailSettings{};
    const QString body = QStringLiteral("http://") + job_.ServiceHost + QStringLiteral("/VELMnShareAprv.aspx");
    // The relay may take its whole timeout; the window stays responsive meanwhile.
    QThread *worker = QThread::create([sender = wiring_.mail, settings, body] {
        SendNoticeMail(*sender, settings, settings.To, body);
    });
    mailThread_ = worker;
    connect(worker, &QThread::finished, this, &UploadSequence::noticeMailSent);
    worker->start();
}

void UploadSequence::noticeMailSent()
{
    if (QThread *worker = mailThread_) {
        mailThread_ = nullptr;
        worker->deleteLater();
    }
    // Reached from the last step's socket event when there is no mail.
    reportLater([this] {
        emit completed();
        if (wiring_.setCommentText)
            wiring_.setCommentText(kDefaultComment);
        running_ = false;
    });
}

void UploadSequence::fail(UploadFailureKind kind, const QString &reason, const QString &cause)
{
    reportFailure({kind, step_, sentName_, reason, cause});
}

void UploadSequence::reportFailure(const UploadFailure &failure)
{
    stop();
    reportLater([this, failure] { emit failed(failure); });
}

void UploadSequence::reportLater(std::function<void()> report)
{
    reportPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this, report = std::move(report)] {
            reportPending_ = false;
            report();
        },
        Qt::QueuedConnection);
}

void UploadSequence::stop()
{
    wiring_.UploadTimeOut->setEnabled(false);
    watchdogStart_ = -1;
    endConnection();
    SocketConnected_ = false;
    request_.reset();
    requestHanded_ = false;
    replyKnown_ = false;
    step_ = 0;
    running_ = false;
}

void UploadSequence::endConnection()
{
    acknowledgePoll_->stop();
    if (!socket_)
        return;
    TcpClientSocket *socket = socket_;
    socket_ = nullptr;
    disconnect(socket, nullptr, this, nullptr);
    TickSource *clock = wiring_.UploadTimeOut;
    LingeringClose::start(socket, kReplyDropBound - replyDropped_, kLingerTime, [clock] { return clock->now(); },
                          this);
}
