#pragma once
// What every crop designer window has: its picture (one whole frame, drawn
// from the window's top-left corner at its natural size), the green crop
// rectangle Shape1 and the rubber-band engine that moves and sizes it with
// the mouse and eight handles.
//
// A left press on Shape1 starts a move; after the release the handles appear
// and a press on one (any button) starts a sizing. While a drag lasts the
// window holds the mouse and keeps the point inside its outer rectangle; an
// inverted outline follows the cursor and Shape1 itself moves and sizes only
// at the left release, in one step. Presses on the strip and its controls are
// theirs and never reach the engine.

#include "core/scene/CropRectToPixels.h"
#include "core/scene/SceneState.h"
#include "designers/CRect.h"
#include "designers/SizingHandles.h"
#include "platform/Form.h"

#include <QImage>
#include <QPoint>

#include <array>
#include <cstdint>

class RubberOutline;

class CropDesigner : public Form {
    Q_OBJECT
public:
    enum RubberStates : int32_t { Idle = 0, Moving = 1, Sizing = 2 };

    // The frame behind the rectangle.
    const QImage &Picture() const { return m_picture; }
    void SetPicture(const QImage &picture);

    QWidget *Shape1;                                   // the crop rectangle, in window twips
    std::array<QWidget *, SizingHandleCount> picHandle{}; // 0 is the window's own; 1..7 come from CreateSizingHandles

    // The engine's state.
    QWidget *SelectedControl = nullptr;
    int32_t RubberState = Idle;
    int16_t SizingHandle = 0;
    CRect RubberRect;  // screen pixels while a drag lasts, window twips after it
    QPoint GrabOffset; // cursor minus the rectangle's top-left corner, screen pixels

    // The layer this designer cuts.
    CanvasLayer Layer() const { return m_layer; }

    // The pixel area of the frame that the rectangle covers, as the cuts take it.
    PixelCrop CropBox(NegativeOrigin origin = NegativeOrigin::Keep) const;

    // True while the inverted outline is on the window.
    bool OutlineShown() const;

    // The engine's mouse handlers; X and Y in window twips.
    void Form_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void Form_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void Form_MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void picHandle_MouseDown(int Index, Qt::MouseButton Button);

protected:
    // Shape1 starts where the scene document holds the layer's rectangle, and
    // the document follows it from then on. When the window goes, the
    // document forgets its rectangle and cut frames.
    explicit CropDesigner(CanvasLayer layer);
    ~CropDesigner() override;

    // A close from the window box abandons the set-up: the wizard is reset.
    void Form_Unload(bool &cancel) override;

    // Creates handles 1 to 7 and sizes all eight; the hosts' Form_Load calls it.
    void CreateSizingHandles();
    void BeginRectMove(QWidget *control);
    void PlaceSizingHandles(bool visible);
    void InvertRubberOutline();

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *newHandle();
    // The cursor as the engine sees it: the event's point, held inside the
    // window's outer rectangle while a drag lasts.
    QPoint GetCursorPos() const { return m_cursor; }
    void takeCursor(const QMouseEvent *event);
    void captureMouse();
    void releaseCapture();
    // Ends a drag that cannot go on (the window is hidden): the outline goes,
    // the mouse is freed, Shape1 stays where it was.
    void abandonDrag();

    const CanvasLayer m_layer;
    QImage m_picture;
    RubberOutline *m_outline;
    QPoint m_cursor;
    bool m_clipped = false;
};
