#pragma once
#include "core/base/Result.h"
#include "tests/support/Files.h" // flagged
#include <tests/support/program/Windows.h> // flagged
