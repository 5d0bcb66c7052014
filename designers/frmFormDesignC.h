#pragma once
// Crop designer of the user character's mouth.

#include "platform/Form.h"


class frmFormDesignC : public Form {
    Q_OBJECT
public:
    frmFormDesignC();

protected:
    void Form_Unload(bool &cancel) override;
};
