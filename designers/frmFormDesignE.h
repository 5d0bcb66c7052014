#pragma once
// Crop designer of the extra animation.

#include "platform/Form.h"


class frmFormDesignE : public Form {
    Q_OBJECT
public:
    frmFormDesignE();

protected:
    void Form_Unload(bool &cancel) override;
};
