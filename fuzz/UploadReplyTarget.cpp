#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzTargets.h"

#include "core/sharing/UploadRequest.h"

void fuzzUploadReply(const uint8_t *data, size_t size)
{
    // The start of a reply, as the upload keeps it.
    const QByteArray reply(reinterpret_cast<const char *>(data), qsizetype(size));
    const ReplyStatus status = ReadReplyStatus(reply);

    // Only the first line counts: whatever follows it changes nothing.
    const qsizetype end = reply.indexOf('\n');
    if (end >= 0) {
        const ReplyStatus firstLine = ReadReplyStatus(reply.left(end + 1) + "HTTP/1.0 200 OK\r\n");
        FUZZ_CHECK(firstLine.hasStatusLine == status.hasStatusLine && firstLine.code == status.code
                   && firstLine.statusLine == status.statusLine);
    }

    // A status line names a three-digit code, and what a message shows of it
    // is one printable line of at most 100 characters.
    if (!status.hasStatusLine) {
        FUZZ_CHECK(!status.succeeded() && status.statusLine.isEmpty());
        return;
    }
    FUZZ_CHECK(status.code >= 0 && status.code <= 999);
    FUZZ_CHECK(status.succeeded() == (status.code / 100 == 2));
    FUZZ_CHECK(status.statusLine.size() <= 100 && status.statusLine.startsWith(QStringLiteral("HTTP/")));
    for (QChar c : status.statusLine)
        FUZZ_CHECK(c.category() != QChar::Other_Control);
    FUZZ_CHECK(status.statusLine.contains(QString::number(status.code).rightJustified(3, u'0')));
}
