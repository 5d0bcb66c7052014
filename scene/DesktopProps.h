#pragma once
// Desktop-scene dialog.

#include "platform/Form.h"


class DesktopProps : public Form {
    Q_OBJECT
public:
    DesktopProps();

protected:
    bool ScalesOnLoad() const override { return false; } // it has no load step
};
