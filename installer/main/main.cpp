// The media installer. Its window shows the install folder and the Install
// command; until they are in place it is a bare window.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Media Installer"));
    window.resize(372, 215);
    window.show();
    return app.exec();
}
