#include "tests/support/ScriptedServices.h"

#include "app/Start.h"
#include "platform/Form.h"

void AppTest::startProgram()
{
    form<Start>();
}
