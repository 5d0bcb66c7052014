#include <core/base/Result.h>
#include <platform/Form.h> // flagged
