#pragma once
// Property dialog of the trigger animation: frame count and speed, kept in
// the scene document, and the loader of its frame set.

#include "platform/CommonDialog.h"
#include "platform/Form.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TrigAnimProps : public Form {
    Q_OBJECT
public:
    TrigAnimProps();
    ~TrigAnimProps() override;

    QLineEdit *Text2; // frame count
    QLineEdit *Text5; // speed
    // Trigger type Love, Ego, Libido, User: asked for, stored nowhere.
    QRadioButton *Option1, *Option2, *Option3, *Option4;
    QPushButton *Image2; // LOAD...
    QLineEdit *Text6;    // the picked first frame; the missing-frame report
    QLabel *Label8;      // first frame number
    QLabel *Label12;     // last frame number
    QPushButton *Image1; // OK
    QPushButton *Image3; // ?
    CommonDialog cdl{"TrigAnimProps"};

    // True when the path names an existing file that is not a folder.
    bool FileExists(const QString &path) const;

    void Text2_Change();
    void Image2_Click();
    void Image1_Click();
    void Image3_Click();
};
