#pragma once
// Crop designer of the main character's mouth.

#include "platform/Form.h"


class frmFormDesign : public Form {
    Q_OBJECT
public:
    frmFormDesign();

protected:
    void Form_Unload(bool &cancel) override;
};
