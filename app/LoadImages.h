#pragma once
// Picks and checks the primary frame series.

#include "platform/Form.h"

class QLineEdit;

class LoadImages : public Form {
    Q_OBJECT
public:
    LoadImages();
    QLineEdit *Text1;
};
