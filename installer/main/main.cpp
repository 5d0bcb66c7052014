// The media installer; its window comes with its own work.
#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    return 0;
}
