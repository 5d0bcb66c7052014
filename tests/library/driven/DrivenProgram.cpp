// scenara5 as a user drives it: the program's start (the launcher), then,
// when a scene is named on the command line, a click on "Load Scene" and a
// click on that scene in the list of every scene. It writes "ready" to its
// standard output once the launcher shows, or once the scene's sound 1
// plays, and then runs on as the program does until something ends it. The
// tests start it in a home folder of their own and send it signals.

#include "app/ProgramLaunch.h"
#include "app/Start.h"
#include "library/VelmNShare.h"
#include "platform/Form.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

void say(const char *line)
{
    std::fputs(line, stdout);
    std::fflush(stdout);
}

// A click on the entry `name` of the library's list of every scene.
bool loadScene(const QString &name)
{
    QTest::mouseClick(form<Start>().Image2, Qt::LeftButton);
    QListWidget *list = form<VelmNShare>().List2;
    const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    launchProgram();

    const QString scene = app.arguments().value(1);
    QTimer playing;
    QObject::connect(&playing, &QTimer::timeout, [&playing] {
        if (!form<VelmNShare>().Player->IsSoundDone(0)) {
            playing.stop();
            say("ready\n");
        }
    });
    QTimer::singleShot(0, [&] {
        if (scene.isEmpty()) {
            say("ready\n");
        } else if (loadScene(scene)) {
            playing.start(20);
        } else {
            std::fprintf(stderr, "no scene \"%s\" in the library's list\n", qPrintable(scene));
            std::exit(2);
        }
    });
    const int code = app.exec();
    destroyAllForms();
    return code;
}
