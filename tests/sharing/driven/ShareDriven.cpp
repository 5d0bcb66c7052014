// scenara5 sharing a scene as a user does, with the program's own message
// boxes: it saves the scene "Smoke" through the save window, opens the
// library, and for each service port on its command line writes sharing.ini
// for it, clicks the scene, types a handle and clicks "Upload to VelmNShare".
// Every box is left up for a while, as a user reads it (the events go on
// under it), and then answered with its default button; its text is written
// to standard output as "box: <first line>". After each upload has ended it
// writes "alive after upload N", and "done" at the end. It runs in a home
// folder of its own; the smoke script starts the services and reads what it
// wrote.

#include "app/ProgramLaunch.h"
#include "app/Start.h"
#include "core/scene/SceneState.h"
#include "designers/frmFormDesign.h"
#include "designers/frmFormDesignB.h"
#include "designers/frmFormDesignC.h"
#include "designers/frmFormDesignD.h"
#include "library/VelmNShare.h"
#include "platform/Form.h"
#include "scene/SaveScene.h"
#include "sharing/UploadSequence.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

// How long a box stays up before it is answered.
constexpr int kReadingTime = 400; // ms
// The most one upload may take, boxes included: a bound, not a measure.
constexpr int kUploadBound = 120000; // ms

void say(const QString &line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

[[noreturn]] void giveUp(const QString &why)
{
    std::fputs(qPrintable(QStringLiteral("failed: ") + why + u'\n'), stderr);
    std::fflush(stderr);
    std::exit(2);
}

// Answers every message box with its default button once it has been up
// for kReadingTime, as a user reads and clicks it.
class BoxAnswerer : public QObject {
public:
    BoxAnswerer()
    {
        timer_.setInterval(20);
        connect(&timer_, &QTimer::timeout, this, [this] { look(); });
        timer_.start();
    }

private:
    void look()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            seen_ = nullptr;
            return;
        }
        if (box != seen_) {
            seen_ = box;
            shownFor_.start();
            say(QStringLiteral("box: ") + box->text().section(u'\n', 0, 0));
            return;
        }
        if (shownFor_.elapsed() < kReadingTime)
            return;
        QAbstractButton *button = box->defaultButton();
        if (!button && !box->buttons().isEmpty())
            button = box->buttons().first();
        seen_ = nullptr;
        const QString text = box->text();
        if (text.startsWith(QLatin1String("Upload failed")) || text.startsWith(QLatin1String("Scene has completed"))
            || box->windowTitle() == QLatin1String("ERROR"))
            ++ends;
        if (button)
            QTest::mouseClick(button, Qt::LeftButton);
    }

public:
    // The boxes answered that end an upload: its failure or its completion.
    int ends = 0;

private:

    QTimer timer_;
    QMessageBox *seen_ = nullptr;
    QElapsedTimer shownFor_;
};

// Runs the events until `done`, within `bound` ms.
bool waitFor(const std::function<bool()> &done, int bound)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.hasExpired(bound))
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

void click(QListWidget *list, const QString &name)
{
    const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
    if (found.isEmpty())
        giveUp(QStringLiteral("no scene \"%1\" in the list").arg(name));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
}

// The scene "Smoke": the main mouth cut from a series of 21 frames drawn
// here, saved through the save window.
void saveScene(const QString &art)
{
    QDir().mkpath(art);
    for (int n = 1; n <= 21; ++n) {
        QImage image(QSize(500, 500), QImage::Format_RGB32);
        image.fill(QColor((10 * n) % 256, (37 * n) % 256, 128));
        if (!image.save(art + QStringLiteral("Girl%1.bmp").arg(n, 4, 10, QLatin1Char('0')), "BMP"))
            giveUp(QStringLiteral("could not draw the series"));
    }
    SceneState &s = scene();
    s.PrimaryFirstFramePath = art + QStringLiteral("Girl0001.bmp");
    s.PrimaryFramePrefix = art + QStringLiteral("Girl");
    s.PrimaryFrameExt = QStringLiteral(".bmp");
    if (!form<frmFormDesign>().CropPrimaryFrames() || !form<frmFormDesignB>().CropPrimaryFrames()
        || !form<frmFormDesignC>().CropPrimaryFrames() || !form<frmFormDesignD>().CropPrimaryFrames())
        giveUp(QStringLiteral("the designers did not cut the series"));
    s.LayerPlacements[LayerMainMouth] = {Value::longValue(350), Value::longValue(250), Value::real(56),
                                         Value::real(41)};
    SaveScene &w = form<SaveScene>();
    w.Show();
    w.Text1->setText(QStringLiteral("Smoke"));
    QTest::mouseClick(w.Image1, Qt::LeftButton);
    w.Hide();
    if (!QFile::exists(s.BaseFolder + QStringLiteral("Scenes/Smoke.scn")))
        giveUp(QStringLiteral("the scene was not saved"));
}

void writeSettings(quint16 port)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/sharing.ini"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write("[Service]\r\nHost=127.0.0.1:" + QByteArray::number(port) + "\r\n") < 0)
        giveUp(QStringLiteral("could not write %1").arg(file.fileName()));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    launchProgram();
    QList<quint16> ports;
    for (const QString &argument : app.arguments().mid(1)) {
        bool ok = false;
        ports << argument.toUShort(&ok);
        if (!ok)
            giveUp(QStringLiteral("not a port: %1").arg(argument));
    }
    BoxAnswerer answerer;

    QTimer::singleShot(0, [&] {
        saveScene(QDir::homePath() + QStringLiteral("/art/"));
        QTest::mouseClick(form<Start>().Image2, Qt::LeftButton);
        VelmNShare &w = form<VelmNShare>();
        for (int n = 0; n < ports.size(); ++n) {
            writeSettings(ports[n]);
            click(w.List1, QStringLiteral("Smoke"));
            w.Text2->setText(QStringLiteral("Sandy"));
            const int ends = answerer.ends;
            QTest::mouseClick(w.Command7, Qt::LeftButton);
            if (!waitFor([&] { return answerer.ends > ends && !w.Upload().isRunning() && !QApplication::activeModalWidget(); },
                         kUploadBound))
                giveUp(QStringLiteral("upload %1 did not end").arg(n + 1));
            say(QStringLiteral("alive after upload %1").arg(n + 1));
        }
        say(QStringLiteral("done"));
        QCoreApplication::exit(0);
    });
    const int code = app.exec();
    destroyAllForms();
    return code;
}
