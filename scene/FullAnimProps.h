#pragma once
// Property dialog of the full-background animation.

#include "platform/Form.h"


class FullAnimProps : public Form {
    Q_OBJECT
public:
    FullAnimProps();
};
