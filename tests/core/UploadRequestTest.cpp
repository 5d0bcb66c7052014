// The upload address's parts, the request's exact bytes, the boundary, the
// file name parameter, the reply's status line and the order of the five uploads.

#include "core/sharing/UploadRequest.h"
#include "core/sharing/UploadRequestStream.h"
#include "core/sharing/UploadSteps.h"
#include "core/sharing/UrlHelper.h"

#include "tests/support/ScriptedServices.h"

#include <QFile>

namespace {

struct UrlCase {
    const char *name;
    const char *url;
    const char *scheme, *host;
    int port;
    const char *path, *query;
};

TEST(ParseUrl, SplitsEveryKindOfAddress)
{
    const UrlCase cases[] = {
        {"service address", "http://share.example/VSH-APRV/post_dump.php", "http", "share.example", 0,
         "/VSH-APRV/post_dump.php", ""},
        {"port and query", "http://h:8080/x.php?a=1", "http", "h", 8080, "/x.php", "a=1"},
        {"port not a number", "http://h:80a/x", "http", "h", 0, "/x", ""},
        {"port with a sign", "http://h:+80/x", "http", "h", 0, "/x", ""},
        {"port with a blank", "http://h: 80/x", "http", "h", 0, "/x", ""},
        {"port with a point", "http://h:80.5/x", "http", "h", 0, "/x", ""},
        {"empty port", "http://h:/x", "http", "h", 0, "/x", ""},
        {"leading zeros", "http://h:0080/x", "http", "h", 80, "/x", ""},
        {"highest port", "http://h:65535/x", "http", "h", 65535, "/x", ""},
        {"port 0", "http://h:0/x", "http", "h", -1, "/x", ""},
        {"port above 65535", "http://h:65536/x", "http", "h", -1, "/x", ""},
        {"port past 64 bits", "http://h:99999999999999999999999/x", "http", "h", -1, "/x", ""},
        {"no slash after the host keeps the port in it", "http://h:8080", "http", "h:8080", 0, "/", ""},
        {"no scheme", "h/x?y", "", "h", 0, "/x", "y"},
        {"second question mark stays in the query", "http://h/p?a?b", "http", "h", 0, "/p", "a?b"},
        {"colon after the slash is no port", "http://h/p:1", "http", "h", 0, "/p:1", ""},
        {"question mark before the slash is part of the host", "http://h?x/y", "http", "h?x", 0, "/y", ""},
        {"empty query", "http://h/p?", "http", "h", 0, "/p", ""},
        {"scheme only", "http://", "http", "", 0, "/", ""},
        {"empty", "", "", "", 0, "/", ""},
        {"no host before the slash", "http:///x", "http", "", 0, "/x", ""},
    };
    for (const UrlCase &c : cases) {
        SCOPED_TRACE(c.name);
        const UrlParts parts = ParseUrl(QString::fromUtf8(c.url));
        EXPECT_EQ(parts.Scheme, QString::fromUtf8(c.scheme));
        EXPECT_EQ(parts.Host, QString::fromUtf8(c.host));
        EXPECT_EQ(parts.Port, c.port);
        EXPECT_EQ(parts.Path, QString::fromUtf8(c.path));
        EXPECT_EQ(parts.Query, QString::fromUtf8(c.query));
    }
}

const QString kBoundary = QStringLiteral("AbCdEfGhIjKlMnOpQrStUvWxYz012345");

QByteArray requestFor(const QByteArray &data, const char *url, const QString &fileName)
{
    return BuildUploadRequest(data, ParseUrl(QString::fromUtf8(url)), QStringLiteral("file"), fileName,
                              QStringLiteral("application/octet-stream"), kBoundary);
}

TEST(BuildUploadRequest, ZeroByteFileGivesTheExactRequest)
{
    const QByteArray expected = "POST /VSH-APRV/post_dump.php? HTTP/1.0\r\n"
                                "Host: share.example\r\n"
                                "Content-Type: multipart/form-data, boundary=AbCdEfGhIjKlMnOpQrStUvWxYz012345\r\n"
                                "Content-Length: 179\r\n"
                                "\r\n"
                                "--AbCdEfGhIjKlMnOpQrStUvWxYz012345\r\n"
                                "Content-Disposition: form-data; name=\"file\"; filename=\"U.zip\"\r\n"
                                "Content-Type: application/octet-stream\r\n"
                                "\r\n"
                                "\r\n--AbCdEfGhIjKlMnOpQrStUvWxYz012345--";
    EXPECT_EQ(requestFor({}, "http://share.example/VSH-APRV/post_dump.php", QStringLiteral("U.zip")), expected);
}

TEST(BuildUploadRequest, BinaryFileGoesUnchangedAndPortStaysOutOfHost)
{
    const QByteArray data("\r\n\0\xff\r--AbCd\n", 11);
    const QString name = QStringLiteral("Optional Comment\u00e9.txt"); // é is one byte in Windows-1252
    const QByteArray expected = QByteArray("POST /x.php?a=1 HTTP/1.0\r\n"
                                           "Host: 127.0.0.1\r\n"
                                           "Content-Type: multipart/form-data, boundary=AbCdEfGhIjKlMnOpQrStUvWxYz012345\r\n"
                                           "Content-Length: 206\r\n"
                                           "\r\n"
                                           "--AbCdEfGhIjKlMnOpQrStUvWxYz012345\r\n"
                                           "Content-Disposition: form-data; name=\"file\"; filename=\"Optional Comment\xe9.txt\"\r\n"
                                           "Content-Type: application/octet-stream\r\n"
                                           "\r\n")
        + data + "\r\n--AbCdEfGhIjKlMnOpQrStUvWxYz012345--";
    const QByteArray request = requestFor(data, "http://127.0.0.1:8080/x.php?a=1", name);
    EXPECT_EQ(request, expected);
}

TEST(BuildUploadRequest, FileNameParameterCannotBreakTheHeaderLine)
{
    const struct {
        const char *name;
        QString fileName;
        QString sent;
    } cases[] = {
        {"CR LF", QStringLiteral("a\r\nContent-Type: x.txt"), QStringLiteral("a__Content-Type: x.txt")},
        {"double quote", QStringLiteral("say \"hi\".txt"), QStringLiteral("say _hi_.txt")},
        {"tab, NUL and DEL", QStringLiteral("a\tb") + QChar(0) + QStringLiteral("c\x7f.txt"), QStringLiteral("a_b_c_.txt")},
        {"default comment", QStringLiteral("Optional Comment.txt"), QStringLiteral("Optional Comment.txt")},
        {"empty comment", QStringLiteral(".txt"), QStringLiteral(".txt")},
        {"semicolon and backslash stay", QStringLiteral("a;b\\c.txt"), QStringLiteral("a;b\\c.txt")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(UploadFileNameParameter(c.fileName), c.sent);
        const QByteArray request = requestFor("x", "http://h/p", c.fileName);
        EXPECT_TRUE(request.contains("; filename=\"" + c.sent.toLatin1() + "\"\r\nContent-Type: application/octet-stream\r\n"));
        EXPECT_EQ(request.count("\r\n"), 10) << "one line per header field and part header";
    }
}

class MakeBoundaryTest : public CoreTest {};

TEST_F(MakeBoundaryTest, OneDrawPerCharacterOverAllSixtyTwo)
{
    // The edges of each run of characters, and the largest draw below 1.
    for (double r : {0.0, 25.999 / 62, 26.5 / 62, 51.999 / 62, 52.5 / 62, 0.99999999, 1.0, -0.1})
        random.values.enqueue(r);
    EXPECT_EQ(MakeBoundary(8), QStringLiteral("AZaz099A"));
    EXPECT_TRUE(random.values.isEmpty());
    // The scripted source's constant answer gives a boundary at once.
    EXPECT_EQ(MakeBoundary(32), QString(32, u'f'));
}

TEST_F(MakeBoundaryTest, TwoRealBoundariesDiffer)
{
    services().random = realServices().random;
    const QString first = MakeBoundary(32);
    const QString second = MakeBoundary(32);
    EXPECT_EQ(first.size(), 32);
    EXPECT_NE(first, second);
    for (QChar c : first + second)
        EXPECT_TRUE((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')) << int(c.unicode());
}

TEST_F(MakeBoundaryTest, EachRequestDrawsItsOwnBoundary)
{
    services().random = realServices().random;
    const UrlParts url = ParseUrl(QStringLiteral("http://h/p"));
    const QByteArray a = BuildUploadRequest("x", url, QStringLiteral("file"), QStringLiteral("U.zip"),
                                            QStringLiteral("application/octet-stream"));
    const QByteArray b = BuildUploadRequest("x", url, QStringLiteral("file"), QStringLiteral("U.zip"),
                                            QStringLiteral("application/octet-stream"));
    EXPECT_EQ(a.size(), b.size());
    EXPECT_NE(a, b);
}

TEST(BuildUploadRequest, TheFrameIsTheRequestAroundTheFile)
{
    const UrlParts url = ParseUrl(QStringLiteral("http://127.0.0.1:8080/x.php?a=1"));
    for (const QByteArray &data : {QByteArray(), QByteArray("\r\n--AbCd", 8), QByteArray(70000, '\xff')}) {
        SCOPED_TRACE(data.size());
        const UploadRequestFrame frame = BuildUploadRequestFrame(data.size(), url, QStringLiteral("file"), QStringLiteral("U.zip"),
                                                                 QStringLiteral("application/octet-stream"), kBoundary);
        EXPECT_EQ(frame.head + data + frame.tail, requestFor(data, "http://127.0.0.1:8080/x.php?a=1", QStringLiteral("U.zip")));
        EXPECT_EQ(frame.tail, QByteArray("\r\n--AbCdEfGhIjKlMnOpQrStUvWxYz012345--"));
        EXPECT_TRUE(frame.head.endsWith("Content-Type: application/octet-stream\r\n\r\n"));
    }
}

class UploadRequestStreamTest : public CoreTest {
protected:
    QString write(const QByteArray &bytes) { return writeTempFile(QStringLiteral("U.zip"), bytes); }
    // Opens `path` and frames it as the upload does.
    [[nodiscard]] FileResult open(UploadRequestStream &stream, const QString &path)
    {
        FileResult opened = stream.open(path);
        if (opened)
            stream.setFrame(BuildUploadRequestFrame(stream.fileSize(), ParseUrl(QStringLiteral("http://h/p")),
                                                    QStringLiteral("file"), QStringLiteral("U.zip"),
                                                    QStringLiteral("application/octet-stream"), kBoundary));
        return opened;
    }
};

TEST_F(UploadRequestStreamTest, GivesTheRequestInBlocksOrSaysWhyItCannotOpenTheFile)
{
    const QByteArray data = QByteArray("PK\0\r\n", 5).repeated(2001); // 10005 bytes
    const QString path = write(data);
    for (qint64 block : {1, 4096, 10005, 1 << 20}) {
        SCOPED_TRACE(block);
        UploadRequestStream stream;
        ASSERT_TRUE(open(stream, path));
        EXPECT_EQ(stream.fileSize(), data.size());
        QByteArray all;
        QList<qsizetype> sizes;
        while (!stream.atEnd()) {
            const FileRead next = stream.next(block);
            ASSERT_TRUE(next) << next.error.toStdString();
            ASSERT_FALSE(next.value.isEmpty());
            all += next.value;
            sizes << next.value.size();
            EXPECT_EQ(stream.position(), all.size());
        }
        EXPECT_EQ(all, requestFor(data, "http://h/p", QStringLiteral("U.zip")));
        EXPECT_EQ(stream.size(), all.size());
        // The head, the file's blocks, the tail.
        ASSERT_EQ(sizes.size(), 2 + (data.size() + block - 1) / block);
        EXPECT_EQ(sizes.last(), 38);
        for (qsizetype i = 1; i + 1 < sizes.size(); ++i)
            EXPECT_EQ(sizes[i], std::min<qint64>(block, data.size() - (i - 1) * block));
        const FileRead after = stream.next(block);
        EXPECT_TRUE(after && after.value.isEmpty());
    }

    UploadRequestStream stream;
    const FileResult missing = stream.open(tempPath(QStringLiteral("none.zip")));
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.error, QStringLiteral("Could not read %1: the file does not exist").arg(tempPath(QStringLiteral("none.zip"))));
    const FileResult folder = stream.open(temp.path());
    EXPECT_FALSE(folder);
    EXPECT_TRUE(folder.error.endsWith(QStringLiteral(": it is not a regular file"))) << folder.error.toStdString();
}

// A file that grows or shrinks after it was opened, before any of its bytes,
// between two blocks or after the last: the stream fails at once, never gives
// more than it announced, and stays failed.
TEST_F(UploadRequestStreamTest, AFileThatChangesSizeEndsTheStream)
{
    const QByteArray data(30000, 'x');
    const struct {
        const char *name;
        int blocksBefore; // file blocks given out before the change
        qint64 newSize;
    } cases[] = {
        {"grows before its first block", 0, 30001},
        {"shrinks before its first block", 0, 100},
        {"grows between blocks", 1, 40000},
        {"shrinks between blocks", 2, 20000},
        {"is emptied between blocks", 1, 0},
        {"grows after its last block", 3, 30001},
        {"shrinks after its last block", 3, 29999},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = write(data);
        UploadRequestStream stream;
        ASSERT_TRUE(open(stream, path));
        const qint64 announced = stream.size();
        ASSERT_TRUE(stream.next(10000)); // the head
        for (int i = 0; i < c.blocksBefore; ++i)
            ASSERT_TRUE(stream.next(10000));
        ASSERT_TRUE(QFile::resize(path, c.newSize));
        const qint64 given = stream.position();
        const FileRead failed = stream.next(10000);
        EXPECT_FALSE(failed);
        EXPECT_TRUE(failed.value.isEmpty());
        EXPECT_EQ(failed.error, QStringLiteral("Could not read %1: it changed size while it was sent").arg(path));
        EXPECT_EQ(stream.position(), given);
        EXPECT_LT(stream.position(), announced);
        EXPECT_FALSE(stream.next(10000)) << "it stays failed";
        ASSERT_TRUE(QFile::resize(path, data.size()));
        EXPECT_FALSE(stream.next(10000)) << "even once the size is back";
    }
}

TEST(ReadReplyStatus, TellsAcceptedFromRefusedFromNoHttp)
{
    const struct {
        const char *name;
        QByteArray reply;
        bool hasStatusLine;
        bool accepted;
        const char *firstLine;
    } cases[] = {
        {"200", "HTTP/1.0 200 OK\r\n\r\nbody", true, true, "HTTP/1.0 200 OK"},
        {"204 over 1.1", "HTTP/1.1 204 No Content\r\n", true, true, "HTTP/1.1 204 No Content"},
        {"status without reason or line end", "HTTP/1.0 299", true, true, "HTTP/1.0 299"},
        {"100", "HTTP/1.1 100 Continue\r\n\r\n", true, true, "HTTP/1.1 100 Continue"},
        {"302", "HTTP/1.0 302 Found\r\nLocation: x\r\n", true, true, "HTTP/1.0 302 Found"},
        {"399", "HTTP/1.0 399 Odd\r\n", true, true, "HTTP/1.0 399 Odd"},
        {"099", "HTTP/1.0 099 Odd\r\n", true, false, "HTTP/1.0 099 Odd"},
        {"400", "HTTP/1.0 400 Bad Request\r\n", true, false, "HTTP/1.0 400 Bad Request"},
        {"500", "HTTP/1.0 500 Internal Server Error\r\n", true, false, "HTTP/1.0 500 Internal Server Error"},
        {"nothing", "", false, false, ""},
        {"not HTTP", "<html>OK</html>", false, false, "<html>OK</html>"},
        {"four digits", "HTTP/1.0 2000 OK\r\n", false, false, "HTTP/1.0 2000 OK"},
        {"cut inside the version", "HTTP/1.", false, false, "HTTP/1."},
        {"an empty first line", "\r\nHTTP/1.0 200 OK\r\n", false, false, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const ReplyStatus status = ReadReplyStatus(c.reply);
        EXPECT_EQ(status.received, !c.reply.isEmpty());
        EXPECT_EQ(status.hasStatusLine, c.hasStatusLine);
        EXPECT_EQ(status.accepted(), c.accepted);
        EXPECT_EQ(status.firstLine, QString::fromLatin1(c.firstLine));
    }
}

TEST(UploadSteps, EachCloseMovesOneStepOnInTheFixedOrder)
{
    UploadStepFlags flags;
    for (int expected : {2, 3, 4, 5}) {
        const UploadCloseAction action = UploadActionOnClose(flags);
        EXPECT_EQ(action.nextStep, expected);
        flags = action.flags;
    }
    EXPECT_EQ(flags, (UploadStepFlags{true, true, true, true}));
    EXPECT_TRUE(UploadActionOnClose(flags).finishes());

    // The first false flag decides, whatever the later ones hold.
    EXPECT_EQ(UploadActionOnClose({false, true, true, true}).nextStep, 2);
    EXPECT_EQ(UploadActionOnClose({true, false, false, true}).nextStep, 3);
    EXPECT_EQ(UploadActionOnClose({true, true, false, true}).flags, (UploadStepFlags{true, true, true, true}));
}

TEST(UploadSteps, FilesAndTheNamesTheyGoUpUnder)
{
    const QString zips = QStringLiteral("/b/Velm5Pro/Data/Temp/zips");
    const struct {
        int step;
        const char *path;
        const char *sent;
    } cases[] = {
        {1, "/b/Velm5Pro/Data/Temp/zips/123.zip", "123.zip"},
        {2, "/b/Velm5Pro/Data/Temp/zips/123.jpg", "123.jpg"},
        {3, "/b/Velm5Pro/Data/Temp/zips/123.txt", "123.txt"},
        {4, "/b/Velm5Pro/Data/Temp/zips/123-2.jpg", "123-2.jpg"},
        {5, "/b/Velm5Pro/Data/Temp/zips/123-cmnt.txt", "My \"best\" scene.txt"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.step);
        const UploadStepFile file = UploadStepFileFor(c.step, zips, QStringLiteral("123"), QStringLiteral("My \"best\" scene"));
        EXPECT_EQ(file.path, QString::fromUtf8(c.path));
        EXPECT_EQ(file.sentName(), QString::fromUtf8(c.sent));
    }
    EXPECT_EQ(UploadStepFileFor(5, zips + u'/', QStringLiteral("9"), QString()).sentName(), QStringLiteral(".txt"));
    EXPECT_EQ(UploadStepFileFor(5, zips + u'/', QStringLiteral("9"), QString()).path, zips + QStringLiteral("/9-cmnt.txt"));
}

}
