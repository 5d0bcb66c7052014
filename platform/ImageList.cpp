#include "platform/ImageList.h"

#include <algorithm>

bool ImageList::Add(int index, const QString &key, const QImage &picture)
{
    if (index < 1 || index > Count() + 1 || picture.isNull())
        return false;
    if (!key.isEmpty() && IndexOf(key) != 0)
        return false;
    m_entries.insert(index - 1, Entry{key, picture});
    return true;
}

QImage ImageList::Picture(int n) const
{
    return n >= 1 && n <= Count() ? m_entries[n - 1].picture : QImage();
}

QString ImageList::Key(int n) const
{
    return n >= 1 && n <= Count() ? m_entries[n - 1].key : QString();
}

int ImageList::IndexOf(const QString &key) const
{
    if (key.isEmpty())
        return 0;
    for (int i = 0; i < Count(); ++i)
        if (m_entries[i].key == key)
            return i + 1;
    return 0;
}

QImage ImageList::Overlay(const QString &key, int n) const
{
    const int base = IndexOf(key);
    if (base == 0 || n < 1 || n > Count())
        return QImage();
    return overlayPicture(m_entries[base - 1].picture, m_entries[n - 1].picture);
}

QImage overlayPicture(const QImage &base, const QImage &top)
{
    if (base.isNull())
        return QImage();
    QImage out = base.convertToFormat(QImage::Format_RGB32);
    if (top.isNull())
        return out;
    const QImage over = top.convertToFormat(QImage::Format_RGB32);
    const int width = std::min(out.width(), over.width());
    const int height = std::min(out.height(), over.height());
    for (int y = 0; y < height; ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(over.constScanLine(y));
        auto *to = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < width; ++x)
            if ((from[x] | 0xFF000000u) != ImageList::MaskColor)
                to[x] = from[x] | 0xFF000000u;
    }
    return out;
}
