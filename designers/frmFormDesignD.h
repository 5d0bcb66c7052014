#pragma once
// Crop designer of the user character's blink.

#include "platform/Form.h"


class frmFormDesignD : public Form {
    Q_OBJECT
public:
    frmFormDesignD();

protected:
    void Form_Unload(bool &cancel) override;
};
