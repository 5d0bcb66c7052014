#pragma once
// Crop designer of the user character's blink.

#include "designers/CharacterDesigner.h"

class frmFormDesignD : public CharacterDesigner {
    Q_OBJECT
public:
    frmFormDesignD();

    QLabel *Label4; // the instruction
    QLabel *Label3; // "Display Frame:"

    void Image1_Click() override; // BACK
    void Image2_Click() override; // NEXT

};
