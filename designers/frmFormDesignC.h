#pragma once
// Crop designer of the user character's mouth.

#include "designers/CharacterDesigner.h"

class frmFormDesignC : public CharacterDesigner {
    Q_OBJECT
public:
    frmFormDesignC();

    QLabel *Label4; // the instruction
    QLabel *Label3; // "Display Frame:"

    void Image1_Click() override; // BACK
    void Image2_Click() override; // NEXT

};
