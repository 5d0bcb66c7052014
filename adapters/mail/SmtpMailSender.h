#pragma once
// Sends a mail through an SMTP relay with libcurl: plain connection unless
// StartTLS is set, basic login (AUTH LOGIN) with the user and password. The
// connect is bounded by ConnectTimeout, and the whole send, QUIT and close
// included, by Timeout. A cancel ends a send at once: libcurl's progress
// callback stops the transfer and the send's sockets are shut down.

#include "core/sharing/NoticeMail.h"

#include <atomic>
#include <mutex>

class SendDeadline;

class SmtpMailSender : public MailSender {
public:
    // The first sender made sets up libcurl for the whole program; make it on
    // the main thread before any mail is sent.
    SmtpMailSender();
    MailResult send(const MailSettings &settings, const QString &recipient, const QByteArray &message) override;
    void cancel() override;

private:
    std::atomic<bool> m_cancelled{false};
    std::mutex m_mutex;
    SendDeadline *m_sending = nullptr; // the send under way, under m_mutex
};
