#include "core/sharing/NoticeMail.h"

#include <QLocale>

#include <cstdio>

namespace {

int secondsFrom(const QString &text, int fallback, int maximum)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= 1 && value <= maximum ? value : fallback;
}

QString withoutControls(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (c.category() != QChar::Other_Control)
            out.append(c);
    return out;
}

// "Tue, 05 Mar 2024 14:07:09 +0100"
QString mailDate(const QDateTime &date)
{
    const int offset = date.offsetFromUtc() / 60;
    const int magnitude = qAbs(offset);
    return QLocale::c().toString(date, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss "))
        + (offset < 0 ? u'-' : u'+')
        + QStringLiteral("%1%2").arg(magnitude / 60, 2, 10, QLatin1Char('0')).arg(magnitude % 60, 2, 10, QLatin1Char('0'));
}

void note(const QString &line)
{
    std::fprintf(stderr, "%s\n", qPrintable(line));
}

}

MailSettings MailSettingsFrom(const std::function<QString(const QString &key)> &value)
{
    MailSettings settings;
    settings.Host = value(QStringLiteral("Host")).trimmed();
    const QString port = value(QStringLiteral("Port")).trimmed();
    if (!port.isEmpty())
        settings.Port = port;
    settings.User = value(QStringLiteral("User"));
    settings.Password = value(QStringLiteral("Password"));
    settings.From = value(QStringLiteral("From")).trimmed();
    settings.To = value(QStringLiteral("To")).trimmed();
    const QString tls = value(QStringLiteral("StartTLS")).trimmed().toLower();
    settings.StartTLS = tls == u"1" || tls == u"true" || tls == u"yes" || tls == u"on";
    settings.ConnectTimeout = secondsFrom(value(QStringLiteral("ConnectTimeout")), 15, 15);
    settings.Timeout = secondsFrom(value(QStringLiteral("Timeout")), 60, 60);
    return settings;
}

QByteArray BuildNoticeMessage(const QString &from, const QString &recipient, const QString &body,
                              const QDateTime &date)
{
    QString text;
    text += QStringLiteral("To: ") + withoutControls(recipient) + QStringLiteral("\r\n");
    text += QStringLiteral("From: ") + withoutControls(from) + QStringLiteral("\r\n");
    text += QStringLiteral("Subject: ") + kNoticeMailSubject + QStringLiteral("\r\n");
    text += QStringLiteral("Date: ") + mailDate(date) + QStringLiteral("\r\n");
    text += QStringLiteral("MIME-Version: 1.0\r\n");
    text += QStringLiteral("Content-Type: text/plain; charset=utf-8\r\n");
    text += QStringLiteral("\r\n");
    text += withoutControls(body) + QStringLiteral("\r\n");
    return text.toUtf8();
}

void SendNoticeMail(MailSender &sender, const MailSettings &settings, const QString &recipient, const QString &body)
{
    QStringList missing;
    if (settings.Host.isEmpty())
        missing << QStringLiteral("Host");
    if (settings.User.isEmpty())
        missing << QStringLiteral("User");
    if (recipient.trimmed().isEmpty())
        missing << QStringLiteral("To");
    if (!missing.isEmpty()) {
        note(QStringLiteral("Notice mail skipped: no %1 in the mail settings").arg(missing.join(QStringLiteral(", "))));
        return;
    }
    const QByteArray message = BuildNoticeMessage(settings.From, recipient, body, QDateTime::currentDateTime());
    const MailResult result = sender.send(settings, recipient, message);
    if (!result)
        note(QStringLiteral("Notice mail not sent: %1").arg(result.error));
}
