#pragma once
// A folder below one of the library's folders is the library's too.
#include "../Rule.h"
#include "core/rules/Rule.h"
