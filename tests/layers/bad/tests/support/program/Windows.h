#pragma once
#include "platform/Form.h"
#include "../Files.h"
