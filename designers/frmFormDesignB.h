#pragma once
// Crop designer of the main character's blink.

#include "platform/Form.h"


class frmFormDesignB : public Form {
    Q_OBJECT
public:
    frmFormDesignB();

protected:
    void Form_Unload(bool &cancel) override;
};
