#pragma once
// Crop designer of the main character's blink.

#include "designers/CharacterDesigner.h"

class frmFormDesignB : public CharacterDesigner {
    Q_OBJECT
public:
    frmFormDesignB();

    QLabel *Label4; // the instruction
    QLabel *Label3; // "Display Frame:"

    void Image1_Click() override; // BACK
    void Image2_Click() override; // NEXT

};
