#pragma once
// One upload to the sharing service: an HTTP/1.0 POST whose multipart body
// carries one file, and the first line of the service's reply.

#include "core/sharing/UrlHelper.h"

#include <QByteArray>
#include <QString>

// The largest file one upload sends.
inline constexpr qint64 kMaxUploadFileSize = 256LL * 1024 * 1024;

// A boundary of `length` letters and digits. Each character is one draw r of
// the program's random source: the character at floor(r * 62) of "A".."Z",
// "a".."z", "0".."9".
QString MakeBoundary(int length);

// The name as it goes into the part's filename parameter: CR, LF, the double
// quote and every other control character become "_".
QString UploadFileNameParameter(const QString &fileName);

// The request's text around the file's bytes. The head is the request line,
// Host, Content-Type and Content-Length (which counts the body: the part's
// boundary line and header, the file's bytes and the tail), a blank line, then
// the part's boundary line, its two header lines and a blank line; the tail is
// CR LF and the closing boundary, after which nothing follows. The text is
// Windows-1252.
struct UploadRequestFrame {
    QByteArray head;
    QByteArray tail;
};
UploadRequestFrame BuildUploadRequestFrame(qint64 fileSize, const UrlParts &url, const QString &fieldName,
                                           const QString &fileName, const QString &contentType,
                                           const QString &boundary);

// The whole request: the frame around `data`, which goes unchanged.
QByteArray BuildUploadRequest(const QByteArray &data, const UrlParts &url, const QString &fieldName,
                              const QString &fileName, const QString &contentType, const QString &boundary);
// The same with a new boundary of 32 characters.
QByteArray BuildUploadRequest(const QByteArray &data, const UrlParts &url, const QString &fieldName,
                              const QString &fileName, const QString &contentType);

// What the first line of a reply says. The service has taken the upload when
// it answers with a status from 100 to 399; a redirection is not followed.
struct ReplyStatus {
    bool received = false;      // at least one byte came
    bool hasStatusLine = false; // "HTTP/<digits>.<digits> <three digits>..." was received
    int code = 0;
    QString firstLine; // printable, at most 100 characters, whatever it says
    bool accepted() const { return hasStatusLine && code >= 100 && code <= 399; }
};
// Reads the status line from the start of a reply (the rest may be missing).
ReplyStatus ReadReplyStatus(const QByteArray &replyStart);

// The most of a reply the upload keeps: enough for any status line. What
// follows the status line is never looked at.
inline constexpr qsizetype kReplyStartBound = 4096;
// The start of a reply says all that its status can say: its first line has
// ended, or it has kReplyStartBound bytes without a line end. No byte that
// follows changes what ReadReplyStatus reads from it.
bool ReplyStatusKnown(const QByteArray &replyStart);
