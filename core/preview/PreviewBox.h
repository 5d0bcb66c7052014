#pragma once
// One box of the preview as the player holds it: the picture it shows, its
// place over the background in pixels, and whether it is shown. The library
// window paints each box from these (its changed signals); without a window
// the player runs the same and the boxes are read by their values.

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class PreviewBox : public QObject {
    Q_OBJECT
public:
    PreviewBox(QObject *parent, const QString &name, const QRect &geometry, bool shown);

    const QImage &Picture() const { return m_picture; }
    void SetPicture(const QImage &picture);

    const QRect &geometry() const { return m_geometry; }
    void setGeometry(const QRect &geometry);
    QSize size() const { return m_geometry.size(); }
    int width() const { return m_geometry.width(); }
    int height() const { return m_geometry.height(); }
    QPoint pos() const { return m_geometry.topLeft(); }

    bool isShown() const { return m_shown; }
    bool isHidden() const { return !m_shown; }
    void show() { setShown(true); }
    void hide() { setShown(false); }
    void setShown(bool shown);

signals:
    // Every assignment of a picture, also of the same one.
    void pictureChanged();
    void placeChanged();
    void shownChanged();

private:
    QImage m_picture;
    QRect m_geometry;
    bool m_shown;
};
