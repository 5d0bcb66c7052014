#pragma once
// Property dialog of the child animation.

#include "platform/Form.h"

class QCheckBox;

class ChildAnimProps : public Form {
    Q_OBJECT
public:
    ChildAnimProps();
    QCheckBox *Check2;
};
