#pragma once
// Crop designer of the main character's mouth.

#include "designers/CharacterDesigner.h"

class frmFormDesign : public CharacterDesigner {
    Q_OBJECT
public:
    frmFormDesign();

    QLabel *Label1; // the instruction
    QLabel *Label2; // "Display Frame:"

    void Image1_Click() override; // BACK
    void Image2_Click() override; // NEXT

};
