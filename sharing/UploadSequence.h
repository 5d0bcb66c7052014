#pragma once
// The upload of a share package: five files, each in its own request over a
// new connection, the next one started once the service has all of the last
// one (it has acknowledged every byte) and has answered it with a status that
// takes it; a watchdog that ends the whole sequence 60 seconds after its first
// connection attempt; then the notice mail and the completion. Of a reply the
// status line is kept; the rest is read and dropped, up to kReplyDropBound.
// A step's connection is ended as a web server ends one, without a reset that
// could throw away what the service was sent: its sending side is shut down,
// what the service still sends is dropped, within the same bound and for at
// most kLingerTime, and then it is closed; the next step does not wait for
// that. Everything goes on from socket and timer events on the window's
// thread; nothing waits. The window supplies its watchdog timer, the
// mail, and its comment box, and shows what the sequence reports through its
// signals (stepStarted, failed, completed); the sequence shows nothing itself.
// Its end, failed() or completed(), is reported from the event loop once the
// socket event or tick that ended it has returned, so a handler may show a
// modal box: no connection's signal is being delivered beneath it.
//
// The window's handlers of the socket and the timer are the members below
// with their names: Winsock1_Connect, Winsock1_DataArrival, Winsock1_Error,
// Winsock1_Close (a close by the service) and UploadTimeOut_Timer.

#include "core/sharing/NoticeMail.h"
#include "core/sharing/TickSource.h"
#include "core/sharing/UploadRequest.h"
#include "core/sharing/UploadSteps.h"
#include "core/system/Services.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QThread;
class QTimer;
class TcpClientSocket;
class UploadRequestStream;

// What one confirmed upload sends.
struct UploadJob {
    QString DestinationUrl; // the upload script's address
    QString UploadName;     // base name of the package's files
    QString ZipsFolder;     // the folder that holds them: <BaseFolder>Data/Temp/zips
    QString ServiceHost;    // the service's host, for the approval page's address in the mail
};

// Why a sequence ended before its completion.
enum class UploadFailureKind {
    InvalidHost,      // the address has no host or an unusable port; nothing was sent
    FileUnreadable,   // the step's file could not be opened or read; `reason` says why
    ConnectionFailed, // the connection reported an error; `reason` is the system's description
    ServiceFailed,    // the service refused, cut or never finished the step, or the watchdog ran out
};

struct UploadFailure {
    UploadFailureKind kind = UploadFailureKind::ServiceFailed;
    int step = 0;     // 1 to 5
    QString fileName; // the step's file name as sent
    QString reason;   // the file's or the connection's own sentence, "" for the others
    QString cause;    // what went wrong at the step, as a phrase: "the connection failed"
    // "Step 3 of 5 (4711.txt): the connection failed."
    QString stepLine() const;
};

class UploadSequence : public QObject {
    Q_OBJECT
public:
    struct Wiring {
        TickSource *UploadTimeOut = nullptr;                 // the watchdog, ticking every UploadTimeOutInterval ms, and its clock
        std::shared_ptr<MailSender> mail;                    // used on a worker thread the sequence owns
        std::function<MailSettings()> mailSettings;          // read when the mail goes out
        std::function<QString()> commentText;                // the comment box's text
        std::function<void(const QString &)> setCommentText; // sets the comment box's text
    };

    static constexpr int UploadTimeOutInterval = 1000;
    static constexpr int MaxUploadTicks = 60;
    // The watchdog ends the sequence at its first tick or socket event once
    // more than this many milliseconds have passed on its clock since the
    // first connection attempt, however few ticks came meanwhile.
    static constexpr qint64 kUploadTimeLimit = qint64(MaxUploadTicks) * UploadTimeOutInterval;

    // A request goes to the connection in blocks of kSendBlock bytes, read
    // from the file as the connection takes them: a block is added while
    // fewer than kSendAhead bytes wait to go to the system.
    static constexpr qint64 kSendBlock = 256 * 1024;
    static constexpr qint64 kSendAhead = 1024 * 1024;

    // Once the whole request has gone to the system and the service has
    // answered, the sequence looks this often whether the service has
    // acknowledged all of it.
    static constexpr int kAcknowledgePoll = 10; // ms
    // The most of a reply past its status line that is read (and dropped),
    // while the step waits and as its connection ends; an endless reply is
    // never read further.
    static constexpr qint64 kReplyDropBound = 1024 * 1024;
    // The longest a step's connection is kept, on the watchdog's clock, for
    // the service to close it once the step is done.
    static constexpr qint64 kLingerTime = 2000; // ms

    explicit UploadSequence(Wiring wiring, QObject *parent = nullptr);
    ~UploadSequence() override;

    // The longest the sequence waits, when it is destroyed or the program
    // quits, for a notice mail under way to give up after it was cancelled.
    static constexpr int kMailStopWait = 5000; // ms

    // From start() until the handlers of completed() have returned, the mail
    // included, or until the failure that ends the sequence is reported.
    bool isRunning() const { return running_ || reportPending_; }
    // Clears the step flags and uploads the archive (step 1). Does nothing and
    // returns false while a sequence runs.
    bool start(const UploadJob &job);

    bool SocketConnected() const { return SocketConnected_; }
    // The watchdog's whole seconds since the first connection attempt; 0 when
    // the sequence is not uploading.
    int UploadTicks() const;
    UploadStepFlags stepFlags() const { return flags_; }
    int currentStep() const { return step_; }
    // A connection of the current step is open or being opened.
    bool hasSocket() const { return !socket_.isNull(); }
    // The service's answer to the current step has come as far as its status
    // line; a step that it takes still waits for the service to have all of
    // the request.
    bool replyStatusKnown() const { return replyKnown_; }

signals:
    // A step's file is open and checked, and its connection is being opened.
    void stepStarted(int step);
    // `sent` of the step's `total` request bytes have been handed to the connection.
    void requestProgress(int step, qint64 sent, qint64 total);
    // The sequence has ended (it is idle, the connection dropped) before its completion.
    void failed(const UploadFailure &failure);
    // All five files went up and the notice mail has been handed over (or given up).
    // The sequence counts as running until its handlers return.
    void completed();

private:
    void UploadZipFile(const QString &path, const QString &baseName);
    void UploadJpgFile(const QString &path, const QString &baseName);
    void UploadTxtFile(const QString &path, const QString &baseName);
    void uploadFile(const QString &path, const QString &baseName, UploadProcedure procedure);
    void startStep(int step);

    void Winsock1_Connect();
    void onBytesWritten();
    // Hands the connection the request's next blocks while it has room for them.
    void sendRequest();
    // Keeps the reply up to its status line and drops what follows, up to
    // kReplyDropBound.
    void Winsock1_DataArrival(qint64 bytesTotal);
    void dropReply();
    void Winsock1_Error(const QString &description);
    void Winsock1_Close();
    void UploadTimeOut_Timer();

    // Switches the watchdog on; its time runs from the first time.
    void startWatchdog();
    // Past the watchdog's time the sequence fails, and this says so.
    bool timedOut();
    qint64 watchdogElapsed() const; // on the watchdog clock since the first attempt; 0 while off
    // The reply's status is known: a refusal ends the sequence, a status that
    // takes the upload ends the step once the service has all of the request.
    void endStepByReply();
    void failOnReply(const ReplyStatus &status);
    // While the reply is known: the step ends once the request is delivered.
    void onAcknowledgePoll();
    // Ends the connection and goes on with the next step or the finish.
    void takeStep();
    // The service has acknowledged every byte of the request, and has not
    // reset the connection (which throws away what it had not read).
    bool requestDelivered() const;

    void finish();
    void noticeMailSent();
    // Ends the sequence, then reports the failure at the current step.
    void fail(UploadFailureKind kind, const QString &reason, const QString &cause);
    // Ends the sequence; failed() follows from the event loop.
    void reportFailure(const UploadFailure &failure);
    // Runs `report` from the event loop, once the event being handled has
    // returned; the sequence counts as running until then.
    void reportLater(std::function<void()> report);
    // Cancels a notice mail under way and waits for its thread, at most kMailStopWait.
    void stopMail();
    // Watchdog off and ticks 0, the connection ended, idle.
    void stop();
    // Hands the current connection to a lingering close.
    void endConnection();

    Wiring wiring_;
    UploadJob job_;
    bool running_ = false;
    bool reportPending_ = false; // failed() or completed() is on its way from the event loop
    bool SocketConnected_ = false;
    qint64 watchdogStart_ = -1; // the watchdog clock's time at the first connection attempt; -1 while off
    UploadStepFlags flags_;
    int step_ = 0;
    QString sentName_;        // the current step's file name as sent
    std::unique_ptr<UploadRequestStream> request_; // the current step's, until all of it is handed over
    bool requestHanded_ = false;                   // the whole request has gone to the connection
    QByteArray replyStart_;   // the start of the service's reply, at most kReplyStartBound bytes
    bool replyKnown_ = false; // replyStart_ holds the status line, or all of the reply that is read
    qint64 replyDropped_ = 0; // bytes of the reply read past replyStart_
    QTimer *acknowledgePoll_;
    QPointer<TcpClientSocket> socket_;
    QPointer<QThread> mailThread_; // the notice mail's, while it runs
};
