#pragma once
// A folder below another library's folder, named by a library of its own.
#include "platform/Form.h"
#include "tests/support/Files.h"
#include "../Files.h"
