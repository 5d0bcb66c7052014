#pragma once
// Picks and checks the primary frame series, stores it for the crop designers
// and opens the main mouth designer at frame 0001.

#include "core/base/Value.h"
#include "core/pictures/ImageWorkspace.h"
#include "platform/CommonDialog.h"
#include "platform/Form.h"

#include <QPlainTextEdit>

class QPushButton;

// The loader's status box: read-only, and a long path wraps onto further
// lines instead of being cut off at the box's edge.
class StatusBox : public QPlainTextEdit {
public:
    explicit StatusBox(QWidget *parent);
    void setText(const QString &text) { setPlainText(text); }
    QString text() const { return toPlainText(); }
};

class LoadImages : public Form {
    Q_OBJECT
public:
    LoadImages();

    QPushButton *Image1; // LOAD...
    QPushButton *Image2; // NEXT
    QPushButton *Image3; // BACK
    QPushButton *Image4; // help
    StatusBox *Text1;    // status: the picked path or what is wrong with it
    CommonDialog cdl{"LoadImages"};
    ImageWorkspace Xpress1; // measures frame 0001 on NEXT

    // "DoesExist" or "NotExist" after FileExists; a folder leaves it as it was.
    Value FileExists1;
    // True when the path names a file that is not a folder.
    bool FileExists(const QString &FileName);

    void Image1_Click();
    void Image2_Click();
    void Image3_Click();
    void Image4_Click();

protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;

private:
    // Checks the picked name and that frames `fromFrame` to 0007 are there,
    // and with `withLayerFrames` the frames the scene's smile and brow
    // animations take, telling the user about each fault; true when the
    // series can be used.
    bool checkSeries(const QString &firstFramePath, int fromFrame, bool withLayerFrames);
    // True when the frame, in any letter case, is a file; FileExists1 is emptied after.
    bool frameExists(const QString &path);
    // Fits the designers and the canvas to frames 1200 pixels wide.
    void layoutForWideSeries();
};
