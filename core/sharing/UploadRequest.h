#pragma once
// One upload to the sharing service: an HTTP/1.0 POST whose multipart body
// carries one file, and the first line of the service's reply.

#include "core/base/Files.h"
#include "core/sharing/UrlHelper.h"

#include <QByteArray>
#include <QString>

// The largest file one upload sends: the request is built whole in memory.
inline constexpr qint64 kMaxUploadFileSize = 256LL * 1024 * 1024;

// A boundary of `length` letters and digits. Each character is one draw r of
// the program's random source: the character at floor(r * 62) of "A".."Z",
// "a".."z", "0".."9".
QString MakeBoundary(int length);

// The name as it goes into the part's filename parameter: CR, LF, the double
// quote and every other control character become "_".
QString UploadFileNameParameter(const QString &fileName);

// The whole request: request line, Host, Content-Type and Content-Length, a
// blank line, then the body with one part. The text is Windows-1252; the
// file's bytes go unchanged. Nothing follows the closing boundary.
QByteArray BuildUploadRequest(const QByteArray &data, const UrlParts &url, const QString &fieldName,
                              const QString &fileName, const QString &contentType, const QString &boundary);
// The same with a new boundary of 32 characters.
QByteArray BuildUploadRequest(const QByteArray &data, const UrlParts &url, const QString &fieldName,
                              const QString &fileName, const QString &contentType);

// The file to upload, whole, up to kMaxUploadFileSize bytes.
[[nodiscard]] FileRead ReadWholeFile(const QString &path);

// What the first line of a reply says.
struct ReplyStatus {
    bool hasStatusLine = false; // "HTTP/<digits>.<digits> <three digits>..." was received
    int code = 0;
    QString statusLine; // printable, at most 100 characters
    bool succeeded() const { return hasStatusLine && code >= 200 && code <= 299; }
};
// Reads the status line from the start of a reply (the rest may be missing).
ReplyStatus ReadReplyStatus(const QByteArray &replyStart);
