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

UploadRequestFrame BuildUploadRequestFrame(qint64 fileSize, const UrlParts &url, const QString &fieldName,
                                           const QString &fileName, const QString &contentType,
                                           const QString &boundary)
{
    const QByteArray b = toWindows1252(boundary);

    QByteArray partHead;
    partHead += "--" + b + kCrLf;
    partHead += "Content-Disposition: form-data; name=\"" + toWindows1252(fieldName) + "\"; filename=\""
        + toWindows1252(UploadFileNameParameter(fileName)) + "\"" + kCrLf;
    partHead += "Content-Type: " + toWindows1252(contentType) + kCrLf;
    partHead += kCrLf;

    UploadRequestFrame frame;
    frame.tail = kCrLf + "--" + b + "--";
    const qint64 bodyLength = partHead.size() + fileSize + frame.tail.size();
    frame.head += "POST " + toWindows1252(url.Path) + "?" + toWindows1252(url.Query) + " HTTP/1.0" + kCrLf;
    frame.head += "Host: " + toWindows1252(url.Host) + kCrLf;
    frame.head += "Content-Type: multipart/form-data, boundary=" + b + kCrLf;
    frame.head += "Content-Length: " + QByteArray::number(bodyLength) + kCrLf;
    frame.head += kCrLf;
    frame.head += partHead;
    return frame;
}

QByteArray BuildUploadRequest(const QByteArray &data, const UrlParts &url, const QString &fieldName,
                              const QString &fileName, const QString &contentType, const QString &boundary)
{
    const UploadRequestFrame frame = BuildUploadRequestFrame(data.size(), url, fieldName, fileName, contentType, boundary);
    QByteArray request;
    request.reserve(frame.head.size() + data.size() + frame.tail.size());
    request += frame.head;
    request += data;
    request += frame.tail;
    return request;
}

QByteArray BuildUploadRequest(const QByteArray &data, const UrlParts &url, const QString &fieldName,
                              const QString &fileName, const QString &contentType)
{
    return BuildUploadRequest(data, url, fieldName, fileName, contentType, MakeBoundary(32));
}

ReplyStatus ReadReplyStatus(const QByteArray &replyStart)
{
    ReplyStatus status;
    status.received = !replyStart.isEmpty();
    qsizetype end = replyStart.indexOf('\n');
    if (end < 0)
        end = replyStart.size();
    QString line = QString::fromLatin1(replyStart.left(qMin<qsizetype>(end, 100))).trimmed();
    for (QChar &c : line)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    status.firstLine = line;
    static const QRegularExpression statusPattern(QStringLiteral("^HTTP/\\d+\\.\\d+ (\\d{3})(?: |$)"));
    const QRegularExpressionMatch match = statusPattern.match(line);
    if (!match.hasMatch())
        return status;
    status.hasStatusLine = true;
    status.code = match.captured(1).toInt();
    return status;
}

bool ReplyStatusKnown(const QByteArray &replyStart)
{
    return replyStart.size() >= kReplyStartBound || replyStart.contains('\n');
}
