#pragma once
// The Automatic Cropper Loader: picks the child animation's frame series,
// which the frame export cuts with the extra animation's rectangle.

#include "platform/CommonDialog.h"
#include "platform/Form.h"

class QLabel;
class QLineEdit;
class QPushButton;

class ChildAnimLoad : public Form {
    Q_OBJECT
public:
    ChildAnimLoad();

    QLabel *Label4;      // the child frame count of ChildAnimProps.Text2
    QPushButton *Image1; // Child Anim Properties
    QPushButton *Image2; // LOAD...
    QLineEdit *Text1;    // the picked first frame; the missing-frame report
    QLabel *Label6;      // first frame number
    QLabel *Label9;      // last frame number
    QPushButton *Image3; // OK
    QPushButton *Image4; // ?
    CommonDialog cdl{"ChildAnimLoad"};

    // True when the path names an existing file that is not a folder.
    bool FileExists(const QString &path) const;

    void Image1_Click();
    void Image2_Click();
    void Image3_Click();
    void Image4_Click();
};
