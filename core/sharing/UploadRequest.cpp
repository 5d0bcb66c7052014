#include "core/sharing/UploadRequest.h"

#include "core/base/Text1252.h"
#include "core/system/Services.h"

#include <QRegularExpression>

namespace {

constexpr char kBoundaryCharacters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kBoundaryCharacterCount = 62;

const QByteArray kCrLf("\r\n");

}

QString MakeBoundary(int length)
{
    QString boundary;
    boundary.reserve(qMax(length, 0));
    for (int i = 0; i < length; ++i) {
        const double r = services().random->next();
        const int index = qBound(0, int(r * kBoundaryCharacterCount), kBoundaryCharacterCount - 1);
        boundary.append(QLatin1Char(kBoundaryCharacters[index]));
    }
    return boundary;
}

QString UploadFileNameParameter(const QString &fileName)
{
    QString name = fileName;
    for (QChar &c : name)
        if (c == u'"' || c.category() == QChar::Other_Control)
            c = u'_';
    return name;
}

QByteArray BuildUploadRequest(const QByteArray &data, const UrlParts &url, const QString &fieldName,
                              const QString &fileName, const QString &contentType, const QString &boundary)
{
    const QByteArray b = toWindows1252(boundary);

    QByteArray body;
    body.reserve(data.size() + 256);
    body += "--" + b + kCrLf;
    body += "Content-Disposition: form-data; name=\"" + toWindows1252(fieldName) + "\"; filename=\""
        + toWindows1252(UploadFileNameParameter(fileName)) + "\"" + kCrLf;
    body += "Content-Type: " + toWindows1252(contentType) + kCrLf;
    body += kCrLf;
    body += data;
    body += kCrLf + "--" + b + "--";

    QByteArray request;
    request.reserve(body.size() + 256);
    request += "POST " + toWindows1252(url.Path) + "?" + toWindows1252(url.Query) + " HTTP/1.0" + kCrLf;
    request += "Host: " + toWindows1252(url.Host) + kCrLf;
    request += "Content-Type: multipart/form-data, boundary=" + b + kCrLf;
    request += "Content-Length: " + QByteArray::number(body.size()) + kCrLf;
    request += kCrLf;
    request += body;
    return request;
}

QByteArray BuildUploadRequest(const QByteArray &data, const UrlParts &url, const QString &fieldName,
                              const QString &fileName, const QString &contentType)
{
    return BuildUploadRequest(data, url, fieldName, fileName, contentType, MakeBoundary(32));
}

FileRead ReadWholeFile(const QString &path)
{
    return readFile(path, kMaxUploadFileSize);
}

ReplyStatus ReadReplyStatus(const QByteArray &replyStart)
{
    ReplyStatus status;
    qsizetype end = replyStart.indexOf('\n');
    if (end < 0)
        end = replyStart.size();
    QString line = QString::fromLatin1(replyStart.left(qMin<qsizetype>(end, 100))).trimmed();
    for (QChar &c : line)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    static const QRegularExpression statusPattern(QStringLiteral("^HTTP/\\d+\\.\\d+ (\\d{3})(?: |$)"));
    const QRegularExpressionMatch match = statusPattern.match(line);
    if (!match.hasMatch())
        return status;
    status.hasStatusLine = true;
    status.code = match.captured(1).toInt();
    status.statusLine = line;
    return status;
}
