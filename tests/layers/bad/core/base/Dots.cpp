#include "./Result.h"
#include "../../platform/Form.h" // flagged
#include "./../../platform/Form.h" // flagged
#include "core/base/../../platform/Form.h" // flagged
#include <core/../platform/Form.h> // flagged
#include <./platform/Form.h> // flagged
