#pragma once
// A library above includes the one below, in either form, and its outside headers.
#include "core/base/Result.h"
#include <core/rules/detail/Step.h>
#include <QWidget>
#include <QtNetwork/QTcpSocket>
