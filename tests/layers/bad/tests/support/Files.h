#pragma once
#include "core/base/Result.h"
#include "tests/support/program/Windows.h" // flagged
#include "program/Windows.h" // flagged
#include <platform/Form.h> // flagged
