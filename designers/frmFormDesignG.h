#pragma once
// Crop designer of the brow frame, over frames 0001 to 0006 of the primary
// series. No step of the set-up shows it.

#include "designers/AnimationDesigner.h"

class frmFormDesignG : public AnimationDesigner {
    Q_OBJECT
public:
    frmFormDesignG();

    void Command1_Click() override; // "<"
    void Command2_Click() override; // ">"
    void Image2_Click() override;   // NEXT

protected:
    void Form_Load() override;
    // No step of the set-up shows this designer, so closing it only unloads it.
    void Form_Unload(bool &) override {}

private:
    void showSeriesFrame(int delta);
};
