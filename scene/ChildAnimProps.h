#pragma once
// Property dialog of the child animation: frame count, random factor, start or
// end, and where its frames come from (preloaded in Images, or cut along with
// the extra animation), all kept in the scene document.

#include "platform/CommonDialog.h"
#include "platform/Form.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class ChildAnimProps : public Form {
    Q_OBJECT
public:
    ChildAnimProps();
    ~ChildAnimProps() override;

    QLineEdit *Text2; // child frame count
    QLineEdit *Text1; // random factor
    QRadioButton *Option1, *Option2; // plays at the start or the end of the extra animation
    QCheckBox *Check2;   // automatic crop
    QPushButton *Image1; // LOAD... of the automatic crop: opens the loader window
    QCheckBox *Check1;   // preloaded frames
    QPushButton *Image2; // LOAD... of the preloaded frames
    QLineEdit *Text3;    // the picked preloaded frame, or a short error text
    QPushButton *Image3; // OK
    QPushButton *Image4; // ?
    CommonDialog cdl{"ChildAnimProps"};

    void Check1_Click();
    void Check2_Click();
    void Image1_Click();
    void Image2_Click();
    void Image3_Click();
    void Image4_Click();

protected:
    void Form_Unload(bool &cancel) override;

private:
    // The pair of boxes, the preload box and the automatic crop's offer as
    // the document holds them.
    void showFrameSource();
    // Automatic crop chosen: its loader opens.
    void chooseAutoCrop();
};
