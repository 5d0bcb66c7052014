#include "adapters/mail/SmtpMailSender.h"

#include <curl/curl.h>

#include <cstring>
#include <memory>
#include <mutex>

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
    MailResult result;
    if (!isPort(settings.Port)) {
        result.error = QStringLiteral("the port \"%1\" is no port number").arg(settings.Port);
        return result;
    }
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) {
        result.error = QStringLiteral("the mail library could not start");
        return result;
    }
    const QByteArray url = "smtp://" + settings.Host.toUtf8() + ":" + settings.Port.toUtf8();
    const QByteArray user = settings.User.toUtf8();
    const QByteArray password = settings.Password.toUtf8();
    const QByteArray from = "<" + settings.From.toUtf8() + ">";
    const QByteArray to = "<" + recipient.toUtf8() + ">";
    std::unique_ptr<curl_slist, ListDeleter> recipients(curl_slist_append(nullptr, to.constData()));
    Upload upload{&message};
    char errorText[CURL_ERROR_SIZE] = {};

    CURL *c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "smtp");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(c, CURLOPT_PASSWORD, password.constData());
    curl_easy_setopt(c, CURLOPT_USE_SSL, long(settings.StartTLS ? CURLUSESSL_ALL : CURLUSESSL_NONE));
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(c, CURLOPT_READFUNCTION, readMessage);
    curl_easy_setopt(c, CURLOPT_READDATA, &upload);
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, long(settings.ConnectTimeout));
    curl_easy_setopt(c, CURLOPT_TIMEOUT, long(settings.Timeout));
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);

    const CURLcode code = curl_easy_perform(c);
    if (code != CURLE_OK) {
        result.error = QStringLiteral("%1 (%2)").arg(QString::fromUtf8(curl_easy_strerror(code)),
                                                      QString::fromUtf8(errorText).trimmed());
        return result;
    }
    result.ok = true;
    return result;
}
