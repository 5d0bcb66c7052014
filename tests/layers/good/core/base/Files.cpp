// Every way of naming a header of the file's own library.
#include "core/base/Result.h"
#include "Result.h"
#include "./Result.h"
#include "../base/Result.h"
#include <core/base/Result.h>
#include <core/rules/../base/Result.h>
// Outside headers, the core may use.
#include <QString>
#include <QtCore/QList>
#include <vector>
