#include "app/ProgramLaunch.h"
#include "platform/Form.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    launchProgram();
    const int code = app.exec();
    destroyAllForms();
    return code;
}
