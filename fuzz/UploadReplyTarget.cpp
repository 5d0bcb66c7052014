#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzTargets.h"

#include "core/sharing/UploadRequest.h"

void fuzzUploadReply(const uint8_t *data, size_t size)
{
    // The start of a reply, as the upload keeps it.
    const QByteArray reply(reinterpret_cast<const char *>(data), qsizetype(size));
    const ReplyStatus status = ReadReplyStatus(reply);
    FUZZ_CHECK(status.received == !reply.isEmpty());

    // Only the first line counts: whatever follows it changes nothing.
    const qsizetype end = reply.indexOf('\n');
    if (end >= 0) {
        const ReplyStatus firstLine = ReadReplyStatus(reply.left(end + 1) + "HTTP/1.0 200 OK\r\n");
        FUZZ_CHECK(firstLine.hasStatusLine == status.hasStatusLine && firstLine.code == status.code
                   && firstLine.firstLine == status.firstLine);
    }

    // The upload keeps a reply only until its status is known: at the end of
    // its first line, or at kReplyStartBound bytes. What it kept then says
    // what the whole reply says, and no shorter start does.
    const qsizetype known = end >= 0 ? qMin(end + 1, kReplyStartBound) : kReplyStartBound;
    FUZZ_CHECK(ReplyStatusKnown(reply) == (reply.size() >= known));
    if (reply.size() >= known) {
        FUZZ_CHECK(ReplyStatusKnown(reply.left(known)));
        FUZZ_CHECK(!ReplyStatusKnown(reply.left(known - 1)));
        const ReplyStatus read = ReadReplyStatus(reply.left(known));
        FUZZ_CHECK(read.received == status.received && read.hasStatusLine == status.hasStatusLine
                   && read.code == status.code && read.firstLine == status.firstLine);
    }

    // What a message shows of any reply is one printable line of at most 100
    // characters.
    FUZZ_CHECK(status.firstLine.size() <= 100);
    for (QChar c : status.firstLine)
        FUZZ_CHECK(c.category() != QChar::Other_Control);

    // A status line names a three-digit code; 100 to 399 take the upload.
    if (!status.hasStatusLine) {
        FUZZ_CHECK(!status.accepted() && status.code == 0);
        return;
    }
    FUZZ_CHECK(status.code >= 0 && status.code <= 999);
    FUZZ_CHECK(status.accepted() == (status.code / 100 >= 1 && status.code / 100 <= 3));
    FUZZ_CHECK(status.firstLine.startsWith(QStringLiteral("HTTP/")));
    FUZZ_CHECK(status.firstLine.contains(QString::number(status.code).rightJustified(3, u'0')));
}
