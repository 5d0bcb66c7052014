// The upload button of the library window: its refusals and questions leave
// nothing on disk; a confirmed upload stages the scene, zips it and sends the
// five files to the service, then the notice mail, the completion box and the
// comment box's reset; every way a step can fail ends it with one message.

#include "tests/sharing/ShareWindowFixture.h"

#include "tests/installer/InstallerFixture.h" // snapshot()

#include <QImageReader>
#include <QJsonArray>
#include <QRegularExpression>
#include <QTimer>

namespace {

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

// No service set: the click says where to set it before it asks anything, in
// the box that says "Invalid Host"; with a host set the questions come.
TEST_F(ShareWindowTest, WithoutAHostTheUploadSaysWhereToSetItBeforeAnyQuestion)
{
    writeBeach();
    writeList("Beach\n\r\r\n");
    const QString ini = env.config + QStringLiteral("/sharing.ini");
    const QString notSet = QStringLiteral("Invalid Host\nThe address of VelmNShare is not set. Put a line "
                                          "Host=<server name> under [Service] in %1.")
                               .arg(QDir::toNativeSeparators(ini));
    const struct {
        const char *name;
        QByteArray settings; // "" for no file
    } cases[] = {
        {"no settings file", {}},
        {"a file without Host=, one only in another section", "[Mail]\r\nHost=relay.example\r\nPort=25\r\n"},
        {"an empty Host=", "[Service]\r\nHost=\r\n"},
        {"a Host= of blanks", "[Service]\r\nHost=   \r\n"},
    };
    VelmNShare &w = openLibrary();
    click(w.List1, QStringLiteral("Beach"));
    ASSERT_EQ(w.Text2->text(), QStringLiteral("Anonymous")); // a handle that would be asked about
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(ini);
        if (!c.settings.isEmpty())
            writeFile(ini, c.settings);
        const auto before = snapshot(documentsFolder());
        messages.shown.clear();
        messages.answers.enqueue(MsgResult::Ok);
        clickUpload(w);
        ASSERT_EQ(messages.shown.size(), 1) << messages.texts().join(u'|').toStdString();
        EXPECT_EQ(messages.shown[0].text, notSet);
        EXPECT_EQ(messages.shown[0].title, QStringLiteral("ERROR"));
        EXPECT_EQ(messages.shown[0].icon, MsgIcon::Critical);
        EXPECT_EQ(messages.shown[0].buttons, MsgButtons::Ok);
        EXPECT_TRUE(snapshot(documentsFolder()) == before) << "something was written";
        EXPECT_FALSE(w.Upload().isRunning());
    }

    // A host that cannot be used is named with the file, also before any question.
    const struct {
        const char *host;
        const char *why;
    } unusable[] = {
        {"share.example/x?y", "is not a server name."},
        {"share.example:0", "names port 0; give the service's port or none."},
    };
    for (const auto &u : unusable) {
        SCOPED_TRACE(u.host);
        writeSettings(QString::fromUtf8(u.host));
        messages.shown.clear();
        messages.answers.enqueue(MsgResult::Ok);
        clickUpload(w);
        ASSERT_EQ(messages.shown.size(), 1) << messages.texts().join(u'|').toStdString();
        EXPECT_EQ(messages.shown[0].text, QStringLiteral("Invalid Host\nThe VelmNShare host \"%1\" in %2 %3")
                                              .arg(QString::fromUtf8(u.host), QDir::toNativeSeparators(ini),
                                                   QString::fromUtf8(u.why)));
        EXPECT_EQ(messages.shown[0].icon, MsgIcon::Critical);
    }

    // With a host set the questions come as before.
    writeSettings(QStringLiteral("share.example"));
    messages.shown.clear();
    messages.answers.append({MsgResult::Yes, MsgResult::No});
    clickUpload(w);
    EXPECT_EQ(messages.texts(), (QStringList{ShareAnonymousText, ShareConfirmText}));
    EXPECT_EQ(w.DestinationUrl, QStringLiteral("http://share.example/VSH-APRV/post_dump.php"));
    EXPECT_FALSE(w.Upload().isRunning());
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

// The service answers each request with "HTTP/1.0 200 OK" and then sends
// without end: the upload goes on by the status as with a plain reply, the
// service can send only what the bounded read of the reply and the buffers
// between take in, and the window answers a click at every step meanwhile.
TEST_F(ShareUploadTest, AServiceThatFloodsAfterItsStatusHoldsNeitherTheUploadNorTheWindow)
{
    serveLocally({QStringLiteral("1=flood"), QStringLiteral("2=flood"), QStringLiteral("3=flood"),
                  QStringLiteral("4=flood"), QStringLiteral("5=flood")});
    VelmNShare &w = ready();
    QList<int> clickedAt; // the step under way when the window took each click
    QObject::connect(&w.Upload(), &UploadSequence::stepStarted, &w, [&](int step) {
        QTimer::singleShot(0, &w, [&w, &clickedAt] {
            clickedAt << w.Upload().currentStep();
            clickUpload(w);
        });
        Q_UNUSED(step);
    });
    const QString busy = QStringLiteral("An upload is still running. Please wait until it has ended.");
    messages.answers.append({MsgResult::Yes, MsgResult::Ok, MsgResult::Ok, MsgResult::Ok, MsgResult::Ok,
                             MsgResult::Ok, MsgResult::Ok, MsgResult::Ok});
    clickUpload(w);
    waitUntilIdle(w);

    EXPECT_EQ(clickedAt, (QList<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(messages.texts(), (QStringList{ShareConfirmText, ShareStartText, busy, busy, busy, busy, busy,
                                             kShareCompleted}));
    expectFiveRequests(w.UploadName, QStringLiteral("Sunny day"));
    for (int n = 1; n <= 5; ++n) {
        SCOPED_TRACE(n);
        const QJsonObject r = waitForRecord(received, QStringLiteral("%1.json").arg(n));
        EXPECT_EQ(r[QStringLiteral("flood_end")].toString(), QStringLiteral("client closed"));
        EXPECT_LT(r[QStringLiteral("flood_sent")].toInteger(), 48LL * 1024 * 1024);
    }
    EXPECT_FALSE(waitForRecord(mails, QStringLiteral("mail-1.json")).isEmpty());
}

// A background that the scene names by a path, or that is too large for the
// preview to show: the upload's message quotes the name the scene gives.
TEST_F(ShareUploadTest, ABackgroundThePreviewDoesNotShowIsNamedAsTheSceneGivesIt)
{
    serveLocally();
    writeBeach();
    writeScene(QStringLiteral("Beach"), "BG=C:\\Pictures\\BeachBG.jpg;\r\nKM=BeachMouth01.jpg;\r\nKMh=30;\r\n"
                                        "KMw=40;\r\nKMx=10;\r\nKMy=20;\r\n\r\n");
    writeBeach(QStringLiteral("Huge"));
    writePicture(QStringLiteral("HugeBG.jpg"), QSize(1000, 1000), qRgb(20, 60, 120));
    writeList("Beach\n\r\r\nHuge\n\r\r\n");
    // 1 MB holds no picture of a million pixels, in the preview nor in the upload.
    const struct Limit {
        int before = QImageReader::allocationLimit();
        Limit() { QImageReader::setAllocationLimit(1); }
        ~Limit() { QImageReader::setAllocationLimit(before); }
    } limit;
    VelmNShare &w = openLibrary();
    type(w.Text2, QStringLiteral("Sandy"));
    const struct {
        const char *scene;
        QStringList shown;
    } cases[] = {
        {"Beach", {ShareConfirmText, QStringLiteral("The scene cannot be uploaded: its background \"C:\\Pictures\\BeachBG.jpg\" "
                                                    "is not the name of a picture in the Images folder.")}},
        {"Huge", {ShareConfirmText, QStringLiteral("Could not load the picture %1: the picture is 1000 x 1000 pixels, too large to load.")
                                        .arg(QDir::toNativeSeparators(base(QStringLiteral("Images/HugeBG.jpg"))))}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.scene);
        click(w.List1, QString::fromUtf8(c.scene));
        EXPECT_EQ(w.MainPicFileName, QString()) << "the preview shows no background";
        messages.shown.clear();
        messages.answers.append({MsgResult::Yes, MsgResult::Ok});
        clickUpload(w);
        EXPECT_EQ(messages.texts(), c.shown);
        EXPECT_FALSE(w.Upload().isRunning());
        EXPECT_TRUE(QDir(received).entryList(QDir::Files).isEmpty()) << "nothing went up";
    }
}

struct WindowFailureCase {
    const char *name;
    int step;
    const char *mode; // the receiver's mode at that step, or "" when the step's file is unreadable
    QString text;     // the message's first line
    QString cause;
    QString title;    // "" for the program's title
    MsgIcon icon;
};

// One failure of each kind as the window shows it (its text, title and icon),
// the service's through the window's own watchdog timer; every failure at
// every step is the upload sequence's test (UploadSequenceTest).
TEST_F(ShareUploadTest, EachKindOfFailureEndsWithOneMessageThenTheNextUploadRunsAllFive)
{
    const QString failed = QStringLiteral("Upload failed! Try again.");
    const QString error = QStringLiteral("ERROR");
    const WindowFailureCase cases[] = {
        {"the connection: refused at 3", 3, "refuse", QStringLiteral("Connection refused"), QStringLiteral("the connection failed"), error, MsgIcon::Exclamation},
        {"the service: stalled at 1", 1, "stall", failed, QStringLiteral("the upload took longer than 60 seconds"), {}, MsgIcon::None},
        {"the file: unreadable handle file at 3", 3, "", QStringLiteral("Could not read %1: it is not a regular file"), QStringLiteral("the file could not be read"), error, MsgIcon::Critical},
    };
    VelmNShare &w = ready();
    float draw = 0.1f; // a fresh upload name for every upload
    for (const WindowFailureCase &c : cases) {
        SCOPED_TRACE(c.name);
        const QString mode = QString::fromUtf8(c.mode);
        serveLocally(mode.isEmpty() ? QStringList{} : QStringList{QStringLiteral("%1=%2").arg(c.step).arg(mode)});
        type(w.Text3, QStringLiteral("Sunny day"));
        messages.shown.clear();
        random.values.enqueue(draw += 0.05f);
        messages.answers.append({MsgResult::Yes, MsgResult::Ok, MsgResult::Ok});
        clickUpload(w);
        ASSERT_TRUE(w.Upload().isRunning()) << messages.texts().join(u'|').toStdString();
        const QString upload = w.UploadName;
        const QString name = storedNames(upload)[c.step - 1];
        if (mode.isEmpty()) {
            // The handle file turns into a folder while the archive goes up.
            ASSERT_TRUE(QFile::remove(zips(name)));
            ASSERT_TRUE(QDir().mkdir(zips(name)));
        }
        if (mode == u"stall") {
            // The request is in; the service never answers. 60 ticks are allowed, the 61st ends it.
            ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(QDir(received).filePath(QStringLiteral("%1.raw").arg(c.step))); }, 30000));
            clock->Advance(60000);
            EXPECT_TRUE(w.Upload().isRunning());
            clock->Advance(1000);
        }
        waitUntilIdle(w);

        const QString first = c.text.contains(u"%1") ? c.text.arg(zips(name)) : c.text;
        ASSERT_EQ(messages.texts(), (QStringList{ShareConfirmText, ShareStartText,
                                                 first + QStringLiteral("\nStep %1 of 5 (%2): %3.").arg(c.step).arg(name, c.cause)}));
        EXPECT_EQ(messages.shown[2].title, c.title.isEmpty() ? programTitle() : c.title);
        EXPECT_EQ(messages.shown[2].icon, c.icon);
        EXPECT_FALSE(w.Upload().SocketConnected());
        EXPECT_FALSE(w.Upload().hasSocket());
        EXPECT_FALSE(w.UploadTimeOut->Enabled());
        EXPECT_EQ(w.Upload().UploadTicks(), 0);
        EXPECT_EQ(w.Text3->text(), QStringLiteral("Sunny day"));
        EXPECT_TRUE(QDir(mails).entryList(QDir::Files).isEmpty()) << "no mail";
        if (mode.isEmpty()) {
            ASSERT_TRUE(QDir().rmdir(zips(name)));
        }

        // The next upload runs all five.
        serveLocally();
        messages.shown.clear();
        random.values.enqueue(draw += 0.05f);
        messages.answers.append({MsgResult::Yes, MsgResult::Ok, MsgResult::Ok});
        clickUpload(w);
        waitUntilIdle(w);
        EXPECT_EQ(messages.texts(), (QStringList{ShareConfirmText, ShareStartText, kShareCompleted}));
        expectFiveRequests(w.UploadName, QStringLiteral("Sunny day"));
    }
}

// The archive cannot be written: one message with the reason, and nothing goes up.
TEST_F(ShareUploadTest, AnArchiveThatCannotBeWrittenStopsBeforeTheUpload)
{
    serveLocally();
    VelmNShare &w = ready();
    HookedMessages hooked(messages);
    windowServices().messages = &hooked;
    // Just before the zip step, a file takes the place of the zips folder.
    hooked.hooks[ShareStartText] = [&] {
        ASSERT_TRUE(QDir(zips()).removeRecursively());
        writeFile(zips().chopped(1), "in the way");
    };
    messages.answers.append({MsgResult::Yes, MsgResult::Ok, MsgResult::Ok});
    clickUpload(w);
    windowServices().messages = &messages;

    ASSERT_EQ(messages.shown.size(), 3) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(messages.texts().mid(0, 2), (QStringList{ShareConfirmText, ShareStartText}));
    EXPECT_TRUE(messages.shown[2].text.contains(w.UploadName + QStringLiteral(".zip"))) << messages.shown[2].text.toStdString();
    EXPECT_EQ(messages.shown[2].icon, MsgIcon::Exclamation);
    EXPECT_FALSE(w.Upload().isRunning());
    EXPECT_FALSE(w.UploadTimeOut->Enabled());
    EXPECT_TRUE(QDir(received).entryList(QDir::Files).isEmpty());
}

// The pictures' staging folder is a link to the user's own pictures: the
// upload stops with one message and deletes none of them.
TEST_F(ShareUploadTest, AStagingFolderThatIsALinkStopsTheUploadAndKeepsWhatItLeadsTo)
{
    serveLocally();
    VelmNShare &w = ready();
    const QString pictures = tempPath(QStringLiteral("MyPictures"));
    writeFile(pictures + QStringLiteral("/Holiday.jpg"), "the user's own picture");
    const QString images = staged(QStringLiteral("Files/Images"));
    ASSERT_TRUE(QDir().mkpath(staged(QStringLiteral("Files"))));
    ASSERT_TRUE(QFile::link(pictures, images));

    messages.answers.append({MsgResult::Yes, MsgResult::Ok});
    clickUpload(w);

    ASSERT_EQ(messages.texts().size(), 2) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(messages.texts()[0], ShareConfirmText);
    EXPECT_TRUE(messages.texts()[1].contains(images) && messages.texts()[1].contains(QStringLiteral("link")))
        << messages.texts()[1].toStdString();
    EXPECT_EQ(bytesOf(pictures + QStringLiteral("/Holiday.jpg")), QByteArray("the user's own picture"));
    EXPECT_EQ(QDir(pictures).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"Holiday.jpg"});
    EXPECT_FALSE(w.Upload().isRunning());
    EXPECT_TRUE(QDir(received).entryList(QDir::Files).isEmpty());
}

// The user closes the library window while the service holds the second
// request unanswered: the upload ends with the window, without a word, and
// goes no further.
TEST_F(ShareUploadTest, ClosingTheWindowDuringAnUploadEndsItSilently)
{
    serveLocally({QStringLiteral("2=stall")});
    VelmNShare &w = ready();
    confirmUpload(w, false);
    ASSERT_TRUE(w.Upload().isRunning()) << messages.texts().join(u'|').toStdString();
    ASSERT_FALSE(waitForRecord(received, QStringLiteral("1.json")).isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.Upload().currentStep() == 2 && w.Upload().SocketConnected(); }, 30000));

    ASSERT_TRUE(w.close());
    EXPECT_FALSE(formExists<VelmNShare>());
    // The service writes its record when the connection has ended.
    EXPECT_FALSE(waitForRecord(received, QStringLiteral("2.json")).isEmpty()) << "the connection went with the window";
    EXPECT_FALSE(QFile::exists(QDir(received).filePath(QStringLiteral("3.json"))));
    EXPECT_EQ(messages.texts(), (QStringList{ShareConfirmText, ShareStartText}));
}

} // namespace
