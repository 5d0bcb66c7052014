#pragma once
// The four crop designers of the main and user characters' mouth and blink:
// a frame of the primary series behind the crop rectangle, a strip with the
// instruction, "Display Frame:" and the frame buttons, BACK and NEXT, and
// seven workspaces that NEXT fills with frames 0001 to 0007 cut to the
// rectangle.

#include "core/pictures/ImageWorkspace.h"
#include "designers/CropDesigner.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <vector>

class QLabel;
class QPushButton;

// A designer as laid out, in twips; the strip's controls in strip coordinates.
struct CharacterDesignerLayout {
    const char *caption;
    QSizeF client;
    QRectF strip;
    const char *instructionName;
    QRectF instruction;
    const char *instructionText;
    const char *frameLabelName;
    QRectF frameLabel;
    std::vector<QPointF> frameButtons; // Command1.. each 240 x 285
    QRectF back, next;
    CanvasLayer layer; // the layer it cuts: its crop rectangle in the scene document
};

class CharacterDesigner : public CropDesigner {
    Q_OBJECT
public:
    QWidget *Picture1;    // the strip
    QPushButton *Image1;  // BACK
    QPushButton *Image2;  // NEXT
    QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr, *Command4 = nullptr,
                *Command5 = nullptr, *Command6 = nullptr, *Command7 = nullptr;
    ImageWorkspace Xpress1, Xpress2, Xpress3, Xpress4, Xpress5, Xpress6, Xpress7;

    // Workspace n (1 to 7).
    ImageWorkspace &Xpress(int n);
    const ImageWorkspace &Xpress(int n) const;

    void Command1_Click() { showSeriesFrame(1); }
    void Command2_Click() { showSeriesFrame(2); }
    void Command3_Click() { showSeriesFrame(3); }
    void Command4_Click() { showSeriesFrame(4); }
    void Command5_Click() { showSeriesFrame(5); }
    void Command6_Click() { showSeriesFrame(6); }
    void Command7_Click() { showSeriesFrame(7); }
    virtual void Image1_Click() = 0;
    virtual void Image2_Click() = 0;

    // Cuts frames 0001 to 0007 with the rectangle into Xpress1 to Xpress7. All
    // seven are loaded and cut first; when one cannot be read, or the rectangle
    // lies outside a frame, the user is told and no workspace changes.
    bool CropPrimaryFrames();
    // Frame 0001 as the last CropPrimaryFrames loaded it, uncut.
    const QImage &FirstFrame() const { return m_firstFrame; }

protected:
    explicit CharacterDesigner(const CharacterDesignerLayout &layout);
    void Form_Load() override;

    QLabel *m_instruction;
    QLabel *m_frameLabel;

private:
    void showSeriesFrame(int n);
    QImage m_firstFrame;
};
