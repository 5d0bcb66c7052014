#pragma once
// The scene's background sounds: up to three, each with a chance factor, and
// looping options for the first. The values are kept in the
// scene document.

#include "platform/CommonDialog.h"
#include "platform/Form.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

class Sound : public Form {
    Q_OBJECT
public:
    Sound();
    ~Sound() override;

    QPushButton *Image1; // LOAD... of sound one
    QLineEdit *Text4;    // file name of sound 1
    QLineEdit *Text5;    // chance factor of sound 1
    QCheckBox *Check1;   // sound 1 loops
    QPushButton *Image5; // ?
    QCheckBox *Check2;   // stop sound 1 while the main character talks
    QLineEdit *Text1;    // seconds between repeats of a looping sound 1
    QPushButton *Image2; // LOAD... of sound two
    QLineEdit *Text6;    // file name of sound 2
    QLineEdit *Text2;    // chance factor of sound 2
    QPushButton *Image3; // LOAD... of sound three
    QLineEdit *Text7;    // file name of sound 3
    QLineEdit *Text3;    // chance factor of sound 3
    QPushButton *Image4; // OK
    CommonDialog cdl{"Sound"};

    void Image1_Click();
    void Image2_Click();
    void Image3_Click();
    void Image4_Click();
    void Image5_Click();

private:
    void pickSound(QLineEdit *box);
};
