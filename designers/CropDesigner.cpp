#include "designers/CropDesigner.h"

#include "app/Wizard1.h"
#include "core/scene/SceneDocument.h"
#include "core/system/Services.h"

#include <QEvent>
#include <QList>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

// The inverted outline of the rectangle being dragged. It lies over the whole
// window and takes no mouse; each outline is drawn by inverting the pixels
// under it, and inverting the same rectangle again removes it.
class RubberOutline : public QWidget {
public:
    explicit RubberOutline(QWidget *parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setObjectName(QStringLiteral("RubberOutline"));
    }

    // Edges in screen pixels.
    void invert(const QRect &screenEdges)
    {
        if (!m_drawn.removeOne(screenEdges))
            m_drawn.append(screenEdges);
        // Only the outline's own pixels are repainted, not the picture inside it.
        update(outlineArea(screenEdges));
    }
    void clear()
    {
        m_drawn.clear();
        update();
    }
    bool shown() const { return !m_drawn.isEmpty(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (m_drawn.isEmpty())
            return;
        QPainter painter(this);
        painter.setCompositionMode(QPainter::RasterOp_NotDestination);
        painter.setPen(QPen(Qt::black, 2));
        painter.setBrush(Qt::NoBrush);
        for (const QRect &edges : m_drawn) {
            const QPoint a = mapFromGlobal(edges.topLeft()), b = mapFromGlobal(edges.bottomRight());
            painter.drawRect(QRect(a, b - QPoint(1, 1)).normalized());
        }
    }

private:
    // The window pixels an outline with these edges covers, its pen included.
    QRegion outlineArea(const QRect &edges) const
    {
        const QRect around =
            QRect(mapFromGlobal(edges.topLeft()), mapFromGlobal(edges.bottomRight())).normalized().adjusted(-2, -2, 2, 2);
        const QRect inside = around.adjusted(4, 4, -4, -4);
        return inside.isValid() ? QRegion(around).subtracted(inside) : QRegion(around);
    }

    QList<QRect> m_drawn; // left, top, right, bottom as the engine gave them
};

namespace {

const QColor kGreen(0, 255, 0);

// Shape1: a green outline that lets presses through to the window.
class CropShape : public QWidget {
public:
    explicit CropShape(QWidget *parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setPen(kGreen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

const char *const kHandleNames[SizingHandleCount] = {
    "Size top left corner", "Size top edge",    "Size top right corner",  "Size right edge",
    "Size bottom right corner", "Size bottom edge", "Size bottom left corner", "Size left edge",
};

} // namespace

CropDesigner::CropDesigner(CanvasLayer layer) : m_layer(layer)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 192));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    Shape1 = new CropShape(this);
    nameControl(Shape1, QStringLiteral("Shape1"), QStringLiteral("Crop rectangle"));
    const QRectF start = sceneDocument().cropTwips(layer);
    placeTwips(Shape1, start.left(), start.top(), start.width(), start.height());
    // Every place Shape1 is given (a drag, the window's scaling) carries its twips.
    Shape1->installEventFilter(this);

    picHandle[0] = newHandle();
    m_outline = new RubberOutline(this);
    m_outline->setGeometry(rect());
}

CropDesigner::~CropDesigner()
{
    Shape1->removeEventFilter(this);
    sceneDocument().forgetDesigner(m_layer);
}

QWidget *CropDesigner::newHandle()
{
    auto *handle = new QWidget(this);
    handle->setAutoFillBackground(true);
    QPalette pal = handle->palette();
    pal.setColor(QPalette::Window, kGreen);
    handle->setPalette(pal);
    handle->hide();
    handle->installEventFilter(this);
    return handle;
}

void CropDesigner::SetPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

PixelCrop CropDesigner::CropBox(NegativeOrigin origin) const
{
    return CropRectToPixels(drawnTwips(Shape1), origin);
}

bool CropDesigner::OutlineShown() const
{
    return m_outline->shown();
}

void CropDesigner::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    ResetSceneWizard();
}

void CropDesigner::CreateSizingHandles()
{
    const auto &env = *services().environment;
    const double w = 5 * env.twipsPerPixelX(), h = 5 * env.twipsPerPixelY();
    for (int i = 0; i < SizingHandleCount; ++i) {
        if (i > 0)
            picHandle[i] = newHandle();
        QWidget *handle = picHandle[i];
        nameControl(handle, QStringLiteral("picHandle%1").arg(i), QString::fromLatin1(kHandleNames[i]));
        const QRectF at = controlTwips(handle);
        placeTwips(handle, at.left(), at.top(), w, h);
        handle->raise();
        handle->setCursor(handleCursor(i));
    }
    SelectedControl = nullptr;
    m_outline->raise();
}

void CropDesigner::Form_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers, double X, double Y)
{
    if (Button != Qt::LeftButton)
        return;
    // A sizing that another button started goes on until the left release.
    if (RubberState != Idle)
        return;
    // Only the crop rectangle is moved and sized here.
    if (Shape1->isVisibleTo(this) && RubberRect.SetRectToCtrl(Shape1) && RubberRect.PtInRect(X, Y)) {
        BeginRectMove(Shape1);
        return;
    }
    SelectedControl = nullptr;
    PlaceSizingHandles(false);
}

void CropDesigner::BeginRectMove(QWidget *control)
{
    PlaceSizingHandles(false);
    SelectedControl = control;
    GrabOffset = GetCursorPos();
    if (!RubberRect.SetRectToCtrl(SelectedControl) || !RubberRect.TwipsToScreen(SelectedControl))
        return;
    GrabOffset -= QPoint(RubberRect.Left, RubberRect.Top);
    repaint();
    InvertRubberOutline();
    RubberState = Moving;
    captureMouse();
}

void CropDesigner::picHandle_MouseDown(int Index, Qt::MouseButton)
{
    if (!SelectedControl || RubberState != Idle)
        return;
    if (!RubberRect.SetRectToCtrl(SelectedControl) || !RubberRect.TwipsToScreen(SelectedControl))
        return;
    SizingHandle = int16_t(Index);
    PlaceSizingHandles(false);
    repaint();
    RubberState = Sizing;
    InvertRubberOutline();
    captureMouse();
}

void CropDesigner::Form_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, double, double)
{
    if (RubberState == Moving) {
        const int64_t w = RubberRect.Width(), h = RubberRect.Height();
        const QPoint p = GetCursorPos();
        InvertRubberOutline();
        RubberRect.Left = p.x() - GrabOffset.x();
        RubberRect.Top = p.y() - GrabOffset.y();
        // The size came from these edges, so it fits again.
        RubberRect.SetWidth(w);
        RubberRect.SetHeight(h);
        InvertRubberOutline();
    } else if (RubberState == Sizing) {
        const QPoint p = GetCursorPos();
        InvertRubberOutline();
        applySizing(RubberRect, SizingHandle, p);
        InvertRubberOutline();
    }
}

void CropDesigner::Form_MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers, double, double)
{
    if (Button != Qt::LeftButton || (RubberState != Moving && RubberState != Sizing))
        return;
    InvertRubberOutline();
    if (RubberRect.ScreenToTwips(SelectedControl))
        RubberRect.SetCtrlToRect(SelectedControl);
    PlaceSizingHandles(true);
    releaseCapture();
    RubberState = Idle;
}

void CropDesigner::PlaceSizingHandles(bool visible)
{
    if (visible && SelectedControl) {
        const auto &env = *services().environment;
        const QRectF size = controlTwips(picHandle[0]);
        const auto places =
            handlePlaces(RubberRect, size.width(), size.height(), env.twipsPerPixelX(), env.twipsPerPixelY());
        for (int i : {0, 4, 1, 5, 2, 6, 3, 7}) {
            const QRectF at = controlTwips(picHandle[i]);
            placeTwips(picHandle[i], places[i].x(), places[i].y(), at.width(), at.height());
        }
    }
    for (QWidget *handle : picHandle)
        if (handle)
            handle->setVisible(visible);
}

void CropDesigner::InvertRubberOutline()
{
    m_outline->invert(QRect(QPoint(RubberRect.Left, RubberRect.Top), QPoint(RubberRect.Right, RubberRect.Bottom)));
}

void CropDesigner::captureMouse()
{
    releaseMouse();
    grabMouse();
    setMouseTracking(true);
    m_clipped = true;
}

void CropDesigner::releaseCapture()
{
    m_clipped = false;
    setMouseTracking(false);
    releaseMouse();
}

void CropDesigner::abandonDrag()
{
    m_outline->clear();
    releaseCapture();
    RubberState = Idle;
}

void CropDesigner::takeCursor(const QMouseEvent *event)
{
    QPoint p = event->globalPosition().toPoint();
    if (m_clipped) {
        // The cursor stays inside the window's outer rectangle.
        const QRect outer = frameGeometry();
        p = QPoint(qBound(outer.left(), p.x(), outer.right()), qBound(outer.top(), p.y(), outer.bottom()));
    }
    m_cursor = p;
}

void CropDesigner::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}

void CropDesigner::resizeEvent(QResizeEvent *event)
{
    Form::resizeEvent(event);
    m_outline->setGeometry(rect());
}

void CropDesigner::hideEvent(QHideEvent *event)
{
    if (RubberState != Idle)
        abandonDrag();
    Form::hideEvent(event);
}

void CropDesigner::mousePressEvent(QMouseEvent *event)
{
    // A press that a control of the window (the strip, a label in it) let
    // through is not a press on the window's surface.
    if (RubberState == Idle && childAt(event->position().toPoint()))
        return;
    takeCursor(event);
    const auto &env = *services().environment;
    Form_MouseDown(event->button(), event->modifiers(), event->position().x() * env.twipsPerPixelX(),
                   event->position().y() * env.twipsPerPixelY());
}

void CropDesigner::mouseMoveEvent(QMouseEvent *event)
{
    takeCursor(event);
    const auto &env = *services().environment;
    Form_MouseMove(event->buttons(), event->modifiers(), event->position().x() * env.twipsPerPixelX(),
                   event->position().y() * env.twipsPerPixelY());
}

void CropDesigner::mouseReleaseEvent(QMouseEvent *event)
{
    takeCursor(event);
    const auto &env = *services().environment;
    Form_MouseUp(event->button(), event->modifiers(), event->position().x() * env.twipsPerPixelX(),
                 event->position().y() * env.twipsPerPixelY());
}

bool CropDesigner::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Shape1 && event->type() == QEvent::DynamicPropertyChange) {
        sceneDocument().setCropTwips(m_layer, drawnTwips(Shape1));
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        for (int i = 0; i < SizingHandleCount; ++i) {
            if (picHandle[i] == watched) {
                auto *mouse = static_cast<QMouseEvent *>(event);
                takeCursor(mouse);
                picHandle_MouseDown(i, mouse->button());
                return true;
            }
        }
    }
    return Form::eventFilter(watched, event);
}
