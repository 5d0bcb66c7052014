#pragma once
#include "../../base/Result.h"
#include "platform/Form.h" // flagged
#include <platform/Form.h> // flagged
