#pragma once
// Desktop-scene dialog: chooses the alpha background picture of a desktop
// scene. Only the wizard's hidden Desktop box opens it.

#include "platform/CommonDialog.h"
#include "platform/Form.h"

class QLineEdit;
class QPushButton;

class DesktopProps : public Form {
    Q_OBJECT
public:
    DesktopProps();

    QLineEdit *Text1;      // file name of the alpha background picture
    QPushButton *Command1; // Load Alpha Background
    QPushButton *Command2; // cuts a fixed area of that picture
    CommonDialog cdl{"DesktopProps"};

    void Command1_Click();
    void Command2_Click();

protected:
    bool ScalesOnLoad() const override { return false; } // it has no load step
};
