#include "core/preview/PreviewBox.h"

PreviewBox::PreviewBox(QObject *parent, const QString &name, const QRect &geometry, bool shown)
    : QObject(parent), m_geometry(geometry), m_shown(shown)
{
    setObjectName(name);
}

void PreviewBox::SetPicture(const QImage &picture)
{
    m_picture = picture;
    emit pictureChanged();
}

void PreviewBox::setGeometry(const QRect &geometry)
{
    if (geometry == m_geometry)
        return;
    m_geometry = geometry;
    emit placeChanged();
}

void PreviewBox::setShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    emit shownChanged();
}
