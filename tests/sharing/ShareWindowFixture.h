#pragma once
// The library window's upload button as a user uses it: a scene clicked in a
// list, the handle and comment typed, "Upload to VelmNShare" clicked, the
// boxes answered from the script. The service's host and the mail relay come
// from sharing.ini in the config folder; the loopback receiver and relay
// stand in for the service.

#include "designers/frmFormDesign.h"
#include "designers/frmFormDesignB.h"
#include "designers/frmFormDesignC.h"
#include "designers/frmFormDesignD.h"
#include "scene/ExtraAnimProps.h"
#include "scene/SaveScene.h"
#include "scene/Sound.h"
#include "scene/TrigAnimProps.h"
#include "sharing/SharePackage.h"
#include "sharing/UploadSequence.h"

#include "tests/library/LibraryFixture.h"
#include "tests/sharing/LoopbackPeer.h"

#include <QDirIterator>
#include <QJsonDocument>
#include <QLineEdit>
#include <QMap>

#include <functional>

inline const QString kShareCompleted = QStringLiteral(
    "Scene has completed uploading. After approval it will be posted to VelmNShare. Thank you for sharing!");

// Answers from the test's script like ScriptedMessages, and runs a test's step
// when a box with a given text comes up: what a user could do meanwhile.
class HookedMessages : public MessageService {
public:
    explicit HookedMessages(ScriptedMessages &script) : script_(script) {}
    MsgResult show(const QString &text, MsgButtons buttons, const QString &title, MsgIcon icon) override
    {
        const MsgResult answer = script_.show(text, buttons, title, icon);
        if (const auto hook = hooks.find(text); hook != hooks.end())
            hook.value()();
        return answer;
    }
    QMap<QString, std::function<void()>> hooks;

private:
    ScriptedMessages &script_;
};

class ShareWindowTest : public LibraryTest {
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        // A stand-in for the installer beside the program.
        writeFile(env.program + QStringLiteral("/mediadrop"), QByteArray("\x7f" "ELF installer", 13));
    }
    void TearDown() override
    {
        // Nothing may reach the network or the relay after the test.
        if (formExists<VelmNShare>()) {
            EXPECT_FALSE(form<VelmNShare>().Upload().isRunning());
        }
        EXPECT_TRUE(messages.answers.isEmpty()) << "answers left unused: " << messages.answers.size();
        LibraryTest::TearDown();
    }

    // sharing.ini in the config folder: the service's host, and the relay's
    // settings when `mail` is given.
    void writeSettings(const QString &host, const QByteArray &mail = QByteArray())
    {
        QByteArray text = "[Service]\r\nHost=" + host.toUtf8() + "\r\n";
        if (!mail.isEmpty())
            text += "[Mail]\r\n" + mail;
        writeFile(env.config + QStringLiteral("/sharing.ini"), text);
    }
    // A receiver writing into a fresh folder, with modes per connection ("3=500").
    void startReceiver(const QStringList &modes = {})
    {
        received = tempPath(QStringLiteral("received%1").arg(++receivers));
        receiver = std::make_unique<LoopbackPeer>();
        ASSERT_TRUE(startUploadReceiver(*receiver, received, modes)) << receiver->error().toStdString();
    }
    // A relay recording into `mails`; the settings point at it with a login.
    QByteArray startRelay()
    {
        mails = tempPath(QStringLiteral("mails%1").arg(++relays));
        EXPECT_TRUE(QDir().mkpath(mails));
        relay = std::make_unique<LoopbackPeer>();
        EXPECT_TRUE(relay->start(QStringLiteral("smtp_relay.py"), QStringList{mails})) << relay->error().toStdString();
        return "Host=127.0.0.1\r\nPort=" + QByteArray::number(relay->port())
               + "\r\nUser=sharer\r\nPassword=p,a=s#s;w\r\nFrom=noreply@share.example\r\nTo=staff@share.example\r\n"
                 "ConnectTimeout=5\r\nTimeout=10\r\n";
    }
    // The receiver as the service's host, and the relay for the mail.
    void serveLocally(const QStringList &modes = {})
    {
        startReceiver(modes);
        mailSettings = startRelay();
        writeSettings(QStringLiteral("127.0.0.1:%1").arg(receiver->port()), mailSettings);
    }

    // "Upload to VelmNShare".
    static void clickUpload(VelmNShare &w) { QTest::mouseClick(w.Command7, Qt::LeftButton); }
    // Replaces a box's text as a user does: select all, delete, type.
    static void type(QLineEdit *box, const QString &text)
    {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        for (const QChar c : text) {
            if (c.unicode() < 128)
                QTest::keyClick(box, c.toLatin1());
            else // a character of another keyboard layout
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    void waitUntilIdle(VelmNShare &w)
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !w.Upload().isRunning(); }, 60000));
    }

    QString zips(const QString &name = QString()) const { return base(QStringLiteral("Data/Temp/zips/")) + name; }
    QString staged(const QString &name = QString()) const
    {
        return base(QStringLiteral("Data/Temp/ShareTemp/")) + name;
    }
    // Every file under a folder, by its path below it.
    static QStringList filesUnder(const QString &folder)
    {
        QStringList out;
        QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext())
            out << QDir(folder).relativeFilePath(it.next());
        out.sort();
        return out;
    }
    static QByteArray bytesOf(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

    // Frame n of a series: a shade of its own, so that frames can be told apart.
    static void draw(const QString &path, int n, QSize size = QSize(500, 500))
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor((10 * n) % 256, (37 * n) % 256, 128));
        ASSERT_TRUE(image.save(path, "BMP")) << path.toStdString();
    }
    // Frames base & first .. first + count - 1 of a picked set, as its loader fills it.
    void pickSet(AnimFrameSet &set, const QString &name, int first, int count)
    {
        for (int n = first; n < first + count; ++n)
            draw(series + name + QStringLiteral("%1.bmp").arg(n, 2, 10, QLatin1Char('0')), 100 + n);
        set.FirstFramePath = series + name + QStringLiteral("%1.bmp").arg(first, 2, 10, QLatin1Char('0'));
        set.FrameFolder = series;
        set.FrameBaseName = name;
        set.FrameExt = QStringLiteral(".bmp");
        set.FirstFrame = Value::integer(int16_t(first));
        set.LastFrame = Value::integer(int16_t(first + count - 1));
        set.FrameCount = Value::integer(int16_t(count));
    }

    // A scene with every layer, saved by the scene writer as the set-up
    // leaves it: main mouth and blink, smile, brow, the user's mouth and
    // blink, an extra animation of `extraFrames`, a trigger, an alternate
    // picture and a sound.
    void saveEveryLayer(const QString &name, int extraFrames = 3)
    {
        series = tempPath(QStringLiteral("art/"));
        QDir().mkpath(series);
        for (int n = 1; n <= 21; ++n)
            draw(series + QStringLiteral("Girl%1.bmp").arg(n, 4, 10, QLatin1Char('0')), n);
        SceneState &s = scene();
        s.PrimaryFirstFramePath = series + QStringLiteral("Girl0001.bmp");
        s.PrimaryFramePrefix = series + QStringLiteral("Girl");
        s.PrimaryFrameExt = QStringLiteral(".bmp");
        ASSERT_TRUE(form<frmFormDesign>().CropPrimaryFrames());
        ASSERT_TRUE(form<frmFormDesignB>().CropPrimaryFrames());
        ASSERT_TRUE(form<frmFormDesignC>().CropPrimaryFrames());
        ASSERT_TRUE(form<frmFormDesignD>().CropPrimaryFrames());
        s.LayerPlacements[LayerMainMouth] = {Value::longValue(350), Value::longValue(250), Value::real(56),
                                             Value::real(41)};
        s.SceneHasMainBlink = s.MainBlinkPlaced = FlagOn;
        s.SceneHasUser = s.UserMouthPlaced = s.SceneHasUserBlink = s.UserBlinkPlaced = FlagOn;
        s.SceneHasSmile = s.SceneHasBrow = FlagOn;
        pickSet(s.ExtraFrameSet, QStringLiteral("Fish"), 1, extraFrames);
        s.SceneHasExtraAnim = s.ExtraPlaced = FlagOn;
        form<ExtraAnimProps>().Text2->setText(QString::number(extraFrames));
        pickSet(s.TriggerFrameSet, QStringLiteral("Trig"), 1, 3);
        s.TriggerFrameSet.FrameCount = QStringLiteral("3");
        form<TrigAnimProps>().Text2->setText(QStringLiteral("3"));
        s.SceneHasTrigger = s.TriggerPlaced = FlagOn;
        draw(tempPath(QStringLiteral("Night.bmp")), 3, QSize(120, 90));
        s.SceneHasAltImage = FlagOn;
        s.AltImagePath = tempPath(QStringLiteral("Night.bmp"));
        form<Sound>().Text4->setText(QStringLiteral("rain.wav"));
        writeFile(base(QStringLiteral("Sounds/rain.wav")), "RIFF rain");

        SaveScene &w = form<SaveScene>();
        w.Show();
        w.Text1->setText(name);
        messages.answers.enqueue(MsgResult::Ok);
        QTest::mouseClick(w.Image1, Qt::LeftButton);
        ASSERT_EQ(messages.texts(), QStringList{QStringLiteral("Your Scene has been saved.")});
        messages.shown.clear();
        w.Hide();
    }

    QString series; // the frame series the set-up picked from
    QString received, mails;
    QByteArray mailSettings; // the [Mail] section's lines for the relay
    int receivers = 0, relays = 0;
    std::unique_ptr<LoopbackPeer> receiver, relay;
};
