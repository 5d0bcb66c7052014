#pragma once
// Property dialog of the extra animation.

#include "platform/Form.h"


class ExtraAnimProps : public Form {
    Q_OBJECT
public:
    ExtraAnimProps();
};
