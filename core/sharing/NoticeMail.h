#pragma once
// The notice mail that tells the service's staff a new scene waits for
// approval, sent through an SMTP relay that needs a login.

#include "core/base/Result.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>

// The relay and the addresses, from the [Mail] section of the sharing
// settings. No credential is built into the program.
struct MailSettings {
    QString Host;
    QString Port = QStringLiteral("23");
    QString User;
    QString Password;
    QString From;
    QString To;
    bool StartTLS = false;
    int ConnectTimeout = 15; // seconds, 1 to 15
    int Timeout = 60;        // seconds for the whole send, 1 to 60
};

// Fills the settings from the section's values (`value` gives "" for a key
// that is absent). An absent or empty Port is "23"; StartTLS is on for "1",
// "true", "yes" or "on"; a timeout that is not a whole number in its range
// keeps its default.
MailSettings MailSettingsFrom(const std::function<QString(const QString &key)> &value);

inline const QString kNoticeMailSubject = QStringLiteral("New Entry for VelmNShare");

// The message as it goes to the relay: To, From, Subject, Date, MIME-Version
// and Content-Type, a blank line, the body and CR LF. Control characters in
// the fields and the body are left out, so no value can add a header line.
QByteArray BuildNoticeMessage(const QString &from, const QString &recipient, const QString &body,
                              const QDateTime &date);

// Handed over, or why not.
using MailResult = Result<>;

// Hands a finished message to the relay. Runs on a worker thread, so it must
// keep no state between calls but the cancel.
class MailSender {
public:
    virtual ~MailSender() = default;
    virtual MailResult send(const MailSettings &settings, const QString &recipient, const QByteArray &message) = 0;
    // From any thread: ends a send under way as soon as it can, and makes every
    // later send fail at once. The sender's owner calls it when it goes away.
    virtual void cancel() {}
};

// Sends the notice mail. Never shows anything: without a host, a user or a
// recipient the mail is skipped, and a failure is one line on stderr.
void SendNoticeMail(MailSender &sender, const MailSettings &settings, const QString &recipient, const QString &body);
