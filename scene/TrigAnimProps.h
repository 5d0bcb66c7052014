#pragma once
// Property dialog of the trigger animation.

#include "platform/Form.h"


class TrigAnimProps : public Form {
    Q_OBJECT
public:
    TrigAnimProps();
};
