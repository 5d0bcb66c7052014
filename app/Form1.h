#pragma once
// The layer controller: never shown; holds the current layer and redraws the canvas.

#include "platform/Form.h"


class Form1 : public Form {
    Q_OBJECT
public:
    Form1();
};
