#pragma once
// Crop designer of the trigger animation.

#include "platform/Form.h"


class frmFormDesignF : public Form {
    Q_OBJECT
public:
    frmFormDesignF();

protected:
    void Form_Unload(bool &cancel) override;
};
