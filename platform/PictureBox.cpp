#include "platform/PictureBox.h"


#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    rebuild();
}

void PictureBox::SetPicture(const QImage &picture)
{
    // Shared, not copied: drawing on the box later draws on a copy of its own,
    // also when the picture is the box's own backing image.
    m_picture = picture;
    rebuild();
}

void PictureBox::SetBackColor(const QColor &color)
{
    m_backColor = color;
    rebuild();
}

// A twips-unit box counts the twips its pixels were drawn in, 15 a pixel on
// every screen, so that what is placed in it and stored from it is the same
// whatever the screen's density; a pixel-unit box counts 1.
static double unitsPerPixel(int scaleMode, bool)
{
    return scaleMode == 1 ? 15 : 1;
}

double PictureBox::ScaleWidth() const { return width() * unitsPerPixel(m_scaleMode, true); }
double PictureBox::ScaleHeight() const { return height() * unitsPerPixel(m_scaleMode, false); }
double PictureBox::PixelsX(double v) const { return v / unitsPerPixel(m_scaleMode, true); }
double PictureBox::PixelsY(double v) const { return v / unitsPerPixel(m_scaleMode, false); }
double PictureBox::UnitsX(double pixels) const { return pixels * unitsPerPixel(m_scaleMode, true); }
double PictureBox::UnitsY(double pixels) const { return pixels * unitsPerPixel(m_scaleMode, false); }

void PictureBox::rebuild()
{
    const QSize box = size().expandedTo(QSize(1, 1));
    if (m_picture.size() == box && m_picture.format() == QImage::Format_RGB32) {
        // An opaque picture of the box's size is the backing image as it is.
        m_image = m_picture;
    } else {
        // The backing image is drawn again in place unless it is shared.
        if (m_image.size() != box || m_image.format() != QImage::Format_RGB32 || !m_image.isDetached())
            m_image = QImage(box, QImage::Format_RGB32);
        m_image.fill(m_backColor);
        if (!m_picture.isNull()) {
            QPainter p(&m_image);
            p.drawImage(0, 0, m_picture);
        }
    }
    update();
}

const QImage &PictureBox::Image() const
{
    fit();
    return m_image;
}

void PictureBox::fit() const
{
    // A resized box keeps what is drawn and shows its background colour around it.
    const QSize wanted = size().expandedTo(QSize(1, 1));
    if (m_image.size() == wanted)
        return;
    const QImage old = m_image;
    m_image = QImage(wanted, QImage::Format_RGB32);
    m_image.fill(m_backColor);
    QPainter p(&m_image);
    p.drawImage(0, 0, old);
}

void PictureBox::PaintPicture(const QImage &source, int x, int y, int width, int height)
{
    if (source.isNull() || width <= 0 || height <= 0)
        return;
    fit();
    QPainter p(&m_image);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect from = QRect(0, 0, width, height).intersected(source.rect());
    p.drawImage(QPoint(x, y), source, from);
    update();
}

void PictureBox::InvertRectangle(int x, int y, int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    fit();
    const QRect r(x, y, width, height);
    auto invert = [this](int px, int py) {
        if (m_image.rect().contains(px, py))
            m_image.setPixel(px, py, m_image.pixel(px, py) ^ 0x00FFFFFFu);
    };
    for (int px = r.left(); px <= r.right(); ++px) {
        invert(px, r.top());
        if (r.bottom() != r.top())
            invert(px, r.bottom());
    }
    for (int py = r.top() + 1; py < r.bottom(); ++py) {
        invert(r.left(), py);
        if (r.right() != r.left())
            invert(r.right(), py);
    }
    update();
}

void PictureBox::paintEvent(QPaintEvent *)
{
    fit();
    QPainter p(this);
    p.drawImage(0, 0, m_image);
}

void PictureBox::resizeEvent(QResizeEvent *)
{
    fit();
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    const QPointF at = event->position();
    emit MouseDown(event->button(), event->modifiers(), UnitsX(at.x()), UnitsY(at.y()));
}

void PictureBox::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF at = event->position();
    emit MouseMove(event->buttons(), event->modifiers(), UnitsX(at.x()), UnitsY(at.y()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF at = event->position();
    emit MouseUp(event->button(), event->modifiers(), UnitsX(at.x()), UnitsY(at.y()));
}
