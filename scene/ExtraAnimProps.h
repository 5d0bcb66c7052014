#pragma once
// Property dialog of the extra animation: its timing settings, kept in the
// scene document, and the loader of its frame set.

#include "platform/CommonDialog.h"
#include "platform/Form.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class ExtraAnimProps : public Form {
    Q_OBJECT
public:
    ExtraAnimProps();
    ~ExtraAnimProps() override;

    QLineEdit *Text2; // frame count
    QLineEdit *Text5; // speed
    QLineEdit *Text1; // random factor
    QLineEdit *Text4; // delay
    QCheckBox *Check1; // delay at a chosen frame
    QLineEdit *Text3;  // the frame at which the delay falls
    QFrame *Frame2;    // loop or ping-pong
    QRadioButton *Option1, *Option2;
    QFrame *Frame1;    // delay at the start or the end of the loop
    QRadioButton *Option3, *Option4;
    QPushButton *Image1;   // LOAD...
    QLineEdit *Text6;      // the picked first frame; the missing-frame report
    QLabel *Label8;        // first frame number
    QLabel *Label12;       // last frame number
    QPushButton *Command1; // "Load Alphas", never shown
    QLineEdit *Text7;      // the picked first alpha frame
    QPushButton *Image2;   // OK
    QPushButton *Image10;  // ?
    CommonDialog cdl{"ExtraAnimProps"};

    // True when the path names an existing file that is not a folder.
    bool FileExists(const QString &path) const;

    void Check1_Click();
    void Text2_Change();
    void Image1_Click();
    void Command1_Click();
    void Image2_Click();
    void Image10_Click();
};
