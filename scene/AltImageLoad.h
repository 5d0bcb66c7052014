#pragma once
// Picks the alternate background picture and asks for a trigger type.

#include "platform/CommonDialog.h"
#include "platform/Form.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

class AltImageLoad : public Form {
    Q_OBJECT
public:
    AltImageLoad();

    QPushButton *Image1; // LOAD...
    QLineEdit *Text3;    // path of the picked picture
    // Trigger type Love, Ego, Libido, User: asked for, stored nowhere.
    QRadioButton *Option1, *Option2, *Option3, *Option4;
    QPushButton *Image2; // OK
    QPushButton *Image3; // ?
    CommonDialog cdl{"AltImageLoad"};

    void Image1_Click();
    void Image2_Click();
    void Image3_Click();

protected:
    void Form_Load() override;
};
