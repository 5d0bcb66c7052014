#pragma once
#include "core/base/Result.h"
