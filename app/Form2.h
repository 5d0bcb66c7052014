#pragma once
// The canvas on which every layer is placed over the background.

#include "platform/Form.h"


class Form2 : public Form {
    Q_OBJECT
public:
    Form2();

protected:
    void Form_Unload(bool &cancel) override;
};
