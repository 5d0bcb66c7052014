#pragma once
// Property dialog of the full-background animation: its settings, kept in the
// scene document, and the pick of its first frame.

#include "platform/CommonDialog.h"
#include "platform/Form.h"

class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QRadioButton;

class FullAnimProps : public Form {
    Q_OBJECT
public:
    FullAnimProps();
    ~FullAnimProps() override;

    QLineEdit *Text2; // frame count, also the export's count
    QLineEdit *Text5; // speed (ms)
    QLineEdit *Text1; // random factor
    QLineEdit *Text4; // delay (s)
    QRadioButton *Option1, *Option2; // loop or ping-pong
    QFrame *Frame1;                  // delay at the start or the end
    QRadioButton *Option3, *Option4;
    QCheckBox *Check1;               // pause the animation while the character talks
    QFrame *Frame2;                  // talk at the start or the end; shown while Check1 is ticked
    QRadioButton *Option5, *Option6;
    QCheckBox *Check2; // randomize the speed
    QLineEdit *Text6;  // chance of a speed change
    QLineEdit *Text7;  // lowest speed
    QLineEdit *Text8;  // highest speed
    QPushButton *Image1; // LOAD...
    QLineEdit *Text3;    // the picked first frame
    QPushButton *Image2; // OK
    QPushButton *Image3; // ?
    CommonDialog cdl{"FullAnimProps"};

    void Check1_Click();
    void Image1_Click();
    void Image2_Click();
    void Image3_Click();
};
