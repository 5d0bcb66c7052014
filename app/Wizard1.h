#pragma once
// The layer wizard: the user ticks which optional layers the scene has.

#include "platform/Form.h"

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;

class Wizard1 : public Form {
    Q_OBJECT
public:
    Wizard1();

    QCheckBox *Check1, *Check2, *Check3, *Check4, *Check5, *Check6, *Check7, *Check8, *Check9, *Check10,
        *Check11;
    QPushButton *Image1;  // BACK
    QPushButton *Image2;  // NEXT
    QPushButton *Image12; // starter tutorial
    // Help icons at the ends of the rows.
    QPushButton *Image3, *Image4, *Image5, *Image6, *Image7, *Image8, *Image9, *Image10, *Image11, *Image13,
        *Image14;

    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void Check5_Click();
    void Check6_Click();
    void Check7_Click();
    void Check8_Click();
    void Check9_Click();
    void Check10_Click();
    void Check11_Click();
    void Image1_Click();
    void Image2_Click();

protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;
};

// Undoes an abandoned set-up: the scene document's wizard reset (the layer and
// placed flags), and the windows with it: the wizard's first eight boxes
// unticked, the series loader's status box and the save window's name box
// emptied, the set-up windows hidden.
void ResetSceneWizard();
