#pragma once
// The three designers that cut one frame: the extra and trigger animations'
// first frames and the brow frame. A strip with the instruction, BACK and
// NEXT; "<" and ">" with the number of the frame on display between them;
// one workspace for the cut-out.

#include "core/base/Value.h"
#include "core/pictures/ImageWorkspace.h"
#include "core/scene/CropRectToPixels.h"
#include "designers/CropDesigner.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

struct AnimFrameSet;
class QLabel;
class QLineEdit;
class QPushButton;

// A designer as laid out, in twips; the strip's controls in strip coordinates.
struct AnimationDesignerLayout {
    const char *caption;
    QSizeF client;
    QRectF strip;
    QRectF instruction;
    const char *instructionText;
    std::optional<QRectF> frameLabel; // "Display Frame:" in the strip
    bool steppersInStrip;             // else on the window
    QPointF back;                     // "<", 240 x 285
    QRectF frameNumber;               // TextB1
    QPointF forward;                  // ">", 240 x 285
    QRectF image1, image2;            // BACK and NEXT, in the strip
    CanvasLayer layer; // the layer it cuts: its crop rectangle in the scene document
};

class AnimationDesigner : public CropDesigner {
    Q_OBJECT
public:
    QWidget *Picture1;          // the strip
    QLabel *Label4;             // the instruction
    QLabel *Label3 = nullptr;   // "Display Frame:"
    QPushButton *Command1;      // "<"
    QLineEdit *TextB1;          // the frame on display
    QPushButton *Command2;      // ">"
    QPushButton *Image1;        // BACK
    QPushButton *Image2;        // NEXT
    ImageWorkspace Xpress1;

    virtual void Command1_Click() = 0;
    virtual void Image1_Click() {}
    virtual void Command2_Click() = 0;
    virtual void Image2_Click() = 0;

protected:
    explicit AnimationDesigner(const AnimationDesignerLayout &layout);
    void Form_Load() override;

    // Shows frame `frame` of the document's set (when there is one to show)
    // and makes it the set's current frame. A frame that cannot be read is
    // reported and nothing changes.
    void StepToFrame(AnimFrameSet SceneState::*set, std::optional<int> frame);
    // Cuts the frame in `path` to the rectangle into Xpress1, which changes
    // only when the cut works.
    bool CutFrame(const QString &path, NegativeOrigin origin);
};

// A frame number field of a set as a whole number.
int frameNumber(const Value &v);
