#pragma once
// Crop designer of the extra animation: the user marks the animation's area on
// the frames of its set; NEXT cuts the set's first frame.

#include "designers/AnimationDesigner.h"

class frmFormDesignE : public AnimationDesigner {
    Q_OBJECT
public:
    frmFormDesignE();

    void Command1_Click() override; // "<"
    void Command2_Click() override; // ">"
    void Image1_Click() override;   // BACK
    void Image2_Click() override;   // NEXT

protected:
    void Form_Load() override;
};
