#include "adapters/mail/SmtpMailSender.h"

#include <curl/curl.h>

#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

using Clock = std::chrono::steady_clock;

// Ends the whole send at its deadline, wherever libcurl waits. libcurl's own
// timeout covers the transfer up to the reply to the message's final ".", but
// not the QUIT it sends when the handle is cleaned up, whose reply it awaits
// for two minutes of its own. The sockets are opened here; at the deadline a
// watch thread shuts every open one down, so that any wait on it ends at
// once, and a socket asked for later is refused. A cancel does the same at
// once.
class SendDeadline {
public:
    explicit SendDeadline(Clock::time_point at) : m_at(at), m_watch([this] { watch(); }) {}
    ~SendDeadline()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_wake.notify_all();
        m_watch.join();
    }
    SendDeadline(const SendDeadline &) = delete;
    SendDeadline &operator=(const SendDeadline &) = delete;

    bool passed()
    {
        const std::lock_guard lock(m_mutex);
        return m_passed;
    }

    // Shuts every open socket down now and refuses new ones.
    void cut()
    {
        const std::lock_guard lock(m_mutex);
        m_cut = true;
        shutDownAll();
    }

    static curl_socket_t open(void *self, curlsocktype, curl_sockaddr *address)
    {
        auto *deadline = static_cast<SendDeadline *>(self);
        const std::lock_guard lock(deadline->m_mutex);
        if (deadline->m_passed || deadline->m_cut)
            return CURL_SOCKET_BAD;
        const int socket = ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
        if (socket >= 0)
            deadline->m_sockets.push_back(socket);
        return socket >= 0 ? socket : CURL_SOCKET_BAD;
    }

    static int close(void *self, curl_socket_t socket)
    {
        auto *deadline = static_cast<SendDeadline *>(self);
        const std::lock_guard lock(deadline->m_mutex);
        std::erase(deadline->m_sockets, socket);
        return ::close(socket);
    }

private:
    void watch()
    {
        std::unique_lock lock(m_mutex);
        if (m_wake.wait_until(lock, m_at, [this] { return m_finished; }))
            return;
        m_passed = true;
        shutDownAll();
    }

    void shutDownAll()
    {
        for (const curl_socket_t socket : m_sockets)
            ::shutdown(socket, SHUT_RDWR);
    }

    const Clock::time_point m_at;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<curl_socket_t> m_sockets;
    bool m_finished = false;
    bool m_passed = false;
    bool m_cut = false;
    std::thread m_watch;
};

namespace {

struct Upload {
    const QByteArray *bytes;
    qsizetype sent = 0;
};

size_t readMessage(char *buffer, size_t size, size_t count, void *userData)
{
    auto *upload = static_cast<Upload *>(userData);
    const qsizetype left = upload->bytes->size() - upload->sent;
    const qsizetype n = qMin<qsizetype>(left, qsizetype(size * count));
    std::memcpy(buffer, upload->bytes->constData() + upload->sent, size_t(n));
    upload->sent += n;
    return size_t(n);
}

bool isPort(const QString &text)
{
    bool ok = false;
    const int port = text.toInt(&ok);
    return ok && port >= 1 && port <= 65535 && !text.startsWith(u'+');
}

// libcurl's progress callback: a non-zero answer ends the transfer.
int cancelTransfer(void *cancelled, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<const std::atomic<bool> *>(cancelled)->load() ? 1 : 0;
}

struct CurlDeleter {
    void operator()(CURL *curl) const { curl_easy_cleanup(curl); }
};
struct ListDeleter {
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};

}

SmtpMailSender::SmtpMailSender()
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

MailResult SmtpMailSender::send(const MailSettings &settings, const QString &recipient, const QByteArray &message)
{
    if (!isPort(settings.Port))
        return MailResult::failure(QStringLiteral("the port \"%1\" is no port number").arg(settings.Port));
    // Both made before the handle, as its clean-up, the QUIT, still uses them.
    SendDeadline deadline(Clock::now() + std::chrono::seconds(settings.Timeout));
    {
        const std::lock_guard lock(m_mutex);
        if (m_cancelled)
            return MailResult::failure(QStringLiteral("the send was cancelled"));
        m_sending = &deadline;
    }
    struct Sending {
        SmtpMailSender *sender;
        ~Sending()
        {
            const std::lock_guard lock(sender->m_mutex);
            sender->m_sending = nullptr;
        }
    } sending{this};
    char errorText[CURL_ERROR_SIZE] = {};
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl)
        return MailResult::failure(QStringLiteral("the mail library could not start"));
    const QByteArray url = "smtp://" + settings.Host.toUtf8() + ":" + settings.Port.toUtf8();
    const QByteArray user = settings.User.toUtf8();
    const QByteArray password = settings.Password.toUtf8();
    const QByteArray from = "<" + settings.From.toUtf8() + ">";
    const QByteArray to = "<" + recipient.toUtf8() + ">";
    std::unique_ptr<curl_slist, ListDeleter> recipients(curl_slist_append(nullptr, to.constData()));
    Upload upload{&message};

    CURL *c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "smtp");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(c, CURLOPT_PASSWORD, password.constData());
    // Basic authentication with the user name and password, whatever else the relay offers.
    curl_easy_setopt(c, CURLOPT_LOGIN_OPTIONS, "AUTH=LOGIN");
    curl_easy_setopt(c, CURLOPT_USE_SSL, long(settings.StartTLS ? CURLUSESSL_ALL : CURLUSESSL_NONE));
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(c, CURLOPT_READFUNCTION, readMessage);
    curl_easy_setopt(c, CURLOPT_READDATA, &upload);
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, long(settings.ConnectTimeout));
    curl_easy_setopt(c, CURLOPT_TIMEOUT, long(settings.Timeout));
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);
    // A name look-up still running at the timeout is left to end on its own thread.
    curl_easy_setopt(c, CURLOPT_QUICK_EXIT, 1L);
    curl_easy_setopt(c, CURLOPT_OPENSOCKETFUNCTION, &SendDeadline::open);
    curl_easy_setopt(c, CURLOPT_OPENSOCKETDATA, &deadline);
    curl_easy_setopt(c, CURLOPT_CLOSESOCKETFUNCTION, &SendDeadline::close);
    curl_easy_setopt(c, CURLOPT_CLOSESOCKETDATA, &deadline);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &cancelTransfer);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &m_cancelled);

    const CURLcode code = curl_easy_perform(c);
    if (code != CURLE_OK && m_cancelled)
        return MailResult::failure(QStringLiteral("the send was cancelled"));
    if (code != CURLE_OK && deadline.passed())
        return MailResult::failure(QStringLiteral("the relay did not finish within %1 seconds").arg(settings.Timeout));
    if (code != CURLE_OK)
        return MailResult::failure(QStringLiteral("%1 (%2)").arg(QString::fromUtf8(curl_easy_strerror(code)),
                                                                 QString::fromUtf8(errorText).trimmed()));
    return MailResult::success();
}

void SmtpMailSender::cancel()
{
    const std::lock_guard lock(m_mutex);
    m_cancelled = true;
    if (m_sending)
        m_sending->cut();
}
