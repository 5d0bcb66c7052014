// The upload button of the library window: its refusals and questions leave
// nothing on disk; a confirmed upload stages the scene, zips it and sends the
// five files to the service, then the notice mail, the completion box and the
// comment box's reset; every way a step can fail ends it with one message.

#include "tests/sharing/ShareWindowFixture.h"

#include "tests/installer/InstallerFixture.h" // snapshot()

#include <QJsonArray>
#include <QRegularExpression>

namespace {

const QString kInvalidHost = QStringLiteral("Invalid Host");

struct RefusalCase {
    const char *name;
    const char *list;   // "Your Scenes", "VELM Scenes", or "" for no scene clicked
    QString handle;
    QList<MsgResult> answers;
    QStringList shown;  // the boxes, in order
    bool removeMouth = false; // a picture of the scene goes missing after the click
};

TEST_F(ShareWindowTest, RefusalsAndQuestionsThatStopLeaveNothingOnDisk)
{
    writeBeach();
    writeList("Beach\n\r\r\n");
    writeSettings(QStringLiteral("share.example"));
    const QString noScene = QStringLiteral("Load one of your scenes before uploading it.");
    const QString missing = QStringLiteral("The scene cannot be uploaded. These files are missing:\n") +
                            base(QStringLiteral("Images/BeachMouth03.jpg"));
    const RefusalCase cases[] = {
        {"VELM list with a handle", "VELM Scenes", QStringLiteral("me"), {MsgResult::Ok}, {ShareOnlyYourListText}},
        {"VELM list without a handle", "VELM Scenes", QString(), {MsgResult::Ok}, {ShareOnlyYourListText}},
        {"empty handle", "Your Scenes", QString(), {MsgResult::Ok}, {ShareNeedsHandleText}},
        {"Anonymous answered No", "Your Scenes", QStringLiteral("Anonymous"), {MsgResult::No}, {ShareAnonymousText}},
        {"Anonymous Yes, then No", "Your Scenes", QStringLiteral("Anonymous"), {MsgResult::Yes, MsgResult::No},
         {ShareAnonymousText, ShareConfirmText}},
        {"lower-case anonymous is not asked about", "Your Scenes", QStringLiteral("anonymous"), {MsgResult::No},
         {ShareConfirmText}},
        {"no scene loaded", "", QStringLiteral("me"), {MsgResult::Yes, MsgResult::Ok}, {ShareConfirmText, noScene}},
        {"a picture gone missing", "Your Scenes", QStringLiteral("me"), {MsgResult::Yes, MsgResult::Ok},
         {ShareConfirmText, missing}, true},
    };
    for (const RefusalCase &c : cases) {
        SCOPED_TRACE(c.name);
        VelmNShare &w = openLibrary();
        if (*c.list)
            click(QString::fromUtf8(c.list) == u"Your Scenes" ? w.List1 : w.List2, QStringLiteral("Beach"));
        const QString mouth = base(QStringLiteral("Images/BeachMouth03.jpg"));
        const QByteArray mouthBytes = bytesOf(mouth);
        if (c.removeMouth) {
            ASSERT_TRUE(QFile::remove(mouth));
        }
        type(w.Text2, c.handle);
        messages.shown.clear();
        messages.answers.append(c.answers);
        const auto before = snapshot(documentsFolder());

        clickUpload(w);

        EXPECT_EQ(messages.texts(), c.shown);
        for (const ShownMessage &m : messages.shown) {
            EXPECT_EQ(m.title, programTitle());
            EXPECT_EQ(m.buttons, m.text == ShareAnonymousText || m.text == ShareConfirmText ? MsgButtons::YesNo
                                                                                            : MsgButtons::Ok);
        }
        EXPECT_TRUE(snapshot(documentsFolder()) == before) << "something was written";
        EXPECT_FALSE(w.Upload().isRunning());
        EXPECT_FALSE(w.UploadTimeOut->Enabled());
        if (c.removeMouth)
            writeFile(mouth, mouthBytes);
        closeLibrary();
    }
}

// The receiver's record of request n: the file name sent and the bytes.
struct Received {
    QString filename;
    QByteArray payload;
    QJsonArray problems;
};

class ShareUploadTest : public ShareWindowTest {
protected:
    Received request(int n) const
    {
        const QJsonObject r = waitForRecord(received, QStringLiteral("%1.json").arg(n));
        return {r[QStringLiteral("filename")].toString(),
                bytesOf(QDir(received).filePath(QStringLiteral("%1.payload").arg(n))),
                r[QStringLiteral("problems")].toArray()};
    }
    // The beach scene clicked in "Your Scenes", a handle and a comment typed.
    VelmNShare &ready(const QString &comment = QStringLiteral("Sunny day"))
    {
        writeBeach();
        writeList("Beach\n\r\r\n");
        VelmNShare &w = openLibrary();
        click(w.List1, QStringLiteral("Beach"));
        type(w.Text2, QStringLiteral("Sandy"));
        type(w.Text3, comment);
        return w;
    }
    // Confirms the upload and its start; the completion box, when it comes, is answered too.
    void confirmUpload(VelmNShare &w, bool completes)
    {
        messages.answers.append({MsgResult::Yes, MsgResult::Ok});
        if (completes)
            messages.answers.enqueue(MsgResult::Ok);
        clickUpload(w);
    }
    // The five files in zips, in the order they go up.
    static QStringList storedNames(const QString &upload)
    {
        QStringList names;
        for (const char *ending : {".zip", ".jpg", ".txt", "-2.jpg", "-cmnt.txt"})
            names << upload + QLatin1String(ending);
        return names;
    }
    void expectFiveRequests(const QString &upload, const QString &commentSent)
    {
        const QStringList stored = storedNames(upload);
        QStringList sent = stored;
        sent.last() = commentSent + QStringLiteral(".txt");
        for (int n = 1; n <= 5; ++n) {
            SCOPED_TRACE(n);
            const Received r = request(n);
            EXPECT_TRUE(r.problems.isEmpty()) << QJsonDocument(r.problems).toJson().toStdString();
            EXPECT_EQ(r.filename, sent[n - 1]);
            EXPECT_TRUE(r.payload == bytesOf(zips(stored[n - 1])));
        }
        EXPECT_FALSE(QFile::exists(QDir(received).filePath(QStringLiteral("6.json"))));
    }
};

TEST_F(ShareUploadTest, FiveRequestsOneMailTheBoxAndTheCommentResetThenAgainFromTickZero)
{
    serveLocally();
    VelmNShare &w = ready();
    confirmUpload(w, true);
    // Thirty seconds pass during the first upload.
    ASSERT_TRUE(w.Upload().isRunning()) << messages.texts().join(u'|').toStdString();
    clock->Advance(30000);
    EXPECT_EQ(w.Upload().UploadTicks(), 30);
    waitUntilIdle(w);

    EXPECT_EQ(messages.texts(), (QStringList{ShareConfirmText, ShareStartText, kShareCompleted}));
    EXPECT_EQ(w.DestinationUrl, QStringLiteral("http://127.0.0.1:%1/VSH-APRV/post_dump.php").arg(receiver->port()));
    const QString first = w.UploadName;
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Beach[1-9][0-9]{8}$")).match(first).hasMatch()) << first.toStdString();
    expectFiveRequests(first, QStringLiteral("Sunny day"));
    EXPECT_EQ(w.Text3->text(), QStringLiteral("Optional Comment"));
    EXPECT_FALSE(w.UploadTimeOut->Enabled());
    EXPECT_EQ(w.Upload().UploadTicks(), 0);

    const QJsonObject mail = waitForRecord(mails, QStringLiteral("mail-1.json"));
    ASSERT_FALSE(mail.isEmpty());
    EXPECT_EQ(mail[QStringLiteral("login")].toString(), QStringLiteral("sharer"));
    EXPECT_EQ(mail[QStringLiteral("password")].toString(), QStringLiteral("p,a=s#s;w"));
    EXPECT_EQ(mail[QStringLiteral("rcpt_tos")].toArray(), QJsonArray{QStringLiteral("staff@share.example")});
    const QString content = mail[QStringLiteral("content")].toString();
    EXPECT_TRUE(content.contains(QStringLiteral("\r\nSubject: New Entry for VelmNShare\r\n"))) << content.toStdString();
    EXPECT_TRUE(content.endsWith(QStringLiteral("\r\n\r\nhttp://127.0.0.1:%1/VELMnShareAprv.aspx\r\n").arg(receiver->port())))
        << content.toStdString();

    // A second upload runs all five again; its 59 seconds count from 0.
    startReceiver();
    writeSettings(QStringLiteral("127.0.0.1:%1").arg(receiver->port()), mailSettings);
    messages.shown.clear();
    random.values.enqueue(0.25f); // the next upload name's draw
    confirmUpload(w, true);
    ASSERT_TRUE(w.Upload().isRunning()) << messages.texts().join(u'|').toStdString();
    clock->Advance(59000);
    EXPECT_EQ(w.Upload().UploadTicks(), 59);
    waitUntilIdle(w);
    EXPECT_EQ(messages.texts(), (QStringList{ShareConfirmText, ShareStartText, kShareCompleted}));
    EXPECT_NE(w.UploadName, first);
    expectFiveRequests(w.UploadName, QStringLiteral("Optional Comment"));
    EXPECT_FALSE(waitForRecord(mails, QStringLiteral("mail-2.json")).isEmpty());
}

} // namespace
