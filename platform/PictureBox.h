#pragma once
// A picture box with a backing image. Assigning its picture replaces the whole
// backing image: the box's background colour with the picture at the top-left
// corner. Drawing goes into the backing image, and the box shows and repaints
// from it. Lines drawn on it invert the pixels under them, so drawing the same
// line twice restores what was there. Mouse events arrive in the box's unit.

#include <QImage>
#include <QWidget>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    const QImage &Picture() const { return m_picture; }
    void SetPicture(const QImage &picture);
    // What is drawn now: the picture and everything drawn over it.
    const QImage &Image() const;

    void SetBackColor(const QColor &color);
    QColor BackColor() const { return m_backColor; }

    // The unit of the box's own coordinates: 1 twips, 3 pixels (the start).
    int ScaleMode() const { return m_scaleMode; }
    void SetScaleMode(int mode) { m_scaleMode = mode == 1 ? 1 : 3; }
    // The inner width and height in the box's unit.
    double ScaleWidth() const;
    double ScaleHeight() const;
    // A length or position in the box's unit, in pixels.
    double PixelsX(double v) const;
    double PixelsY(double v) const;
    // A length or position in pixels, in the box's unit.
    double UnitsX(double pixels) const;
    double UnitsY(double pixels) const;

    // Copies the area (0, 0, width, height) of `source` 1:1 and opaque to (x, y).
    void PaintPicture(const QImage &source, int x, int y, int width, int height);
    // Inverts the border pixels of the rectangle (x, y, width, height), each once.
    void InvertRectangle(int x, int y, int width, int height);

signals:
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, double x, double y);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void rebuild();
    void fit() const;

    QImage m_picture;
    mutable QImage m_image; // always the box's size when read
    QColor m_backColor = Qt::white;
    int m_scaleMode = 3;
};
