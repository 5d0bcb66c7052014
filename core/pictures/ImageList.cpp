#include "core/pictures/ImageList.h"

#include <algorithm>

namespace {
// Entries made ahead of one that is shown: the next few, as an animation
// steps up, and the one before, as it turns back down.
constexpr int MadeAhead = 4;
constexpr int MadeBehind = 1;
static_assert(ImageList::MostMade >= PictureCache::Kept + MadeAhead + MadeBehind);
}

void ImageList::Clear()
{
    m_entries.clear();
    m_maskOf.clear();
    // A fresh cache: the pictures made for the old entries go with them.
    m_made = PictureCache();
}

bool ImageList::Add(int index, const QString &key, const QImage &picture)
{
    if (picture.isNull())
        return false;
    // A picture shared by many entries (a frame standing in for missing ones)
    // is searched for the mask colour once.
    auto known = m_maskOf.constFind(picture.cacheKey());
    if (known == m_maskOf.cend())
        known = m_maskOf.insert(picture.cacheKey(), hasMaskColor(picture));
    return insert(index, Entry{key, picture, *known, nullptr});
}

bool ImageList::Add(int index, const QString &key, std::shared_ptr<const DeferredPicture> picture)
{
    return picture && insert(index, Entry{key, QImage(), true, std::move(picture)});
}

bool ImageList::insert(int index, Entry entry)
{
    if (index < 1 || index > Count() + 1)
        return false;
    if (!entry.key.isEmpty() && IndexOf(entry.key) != 0)
        return false;
    m_entries.insert(index - 1, std::move(entry));
    return true;
}

QImage ImageList::Picture(int n) const
{
    return made(n, true).picture;
}

PictureCache::Made ImageList::made(int n, bool ahead) const
{
    if (n < 1 || n > Count())
        return {};
    const Entry &entry = m_entries[n - 1];
    const PictureCache::Made made = entry.deferred ? m_made.picture(entry.deferred)
                                                   : PictureCache::Made{entry.picture, entry.masked};
    if (ahead)
        makeAround(n);
    return made;
}

void ImageList::makeAround(int n) const
{
    std::vector<std::shared_ptr<const DeferredPicture>> around;
    for (int k = std::max(1, n - MadeBehind); k <= std::min(Count(), n + MadeAhead); ++k)
        if (k != n && m_entries[k - 1].deferred)
            around.push_back(m_entries[k - 1].deferred);
    m_made.makeAhead(around);
}

void ImageList::HeldPictures(DistinctPictures &held) const
{
    for (const Entry &entry : m_entries)
        held.add(entry.picture);
    for (const QImage &made : m_made.madePictures())
        held.add(made);
}

void DistinctPictures::add(const QImage &picture)
{
    if (picture.isNull() || m_seen.contains(picture.cacheKey()))
        return;
    m_seen.insert(picture.cacheKey());
    m_pictures.append(picture);
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
    // An entry whose picture cannot be made shows nothing, not the keyed one.
    const PictureCache::Made top = made(n, true);
    if (top.picture.isNull())
        return QImage();
    // The keyed entry is shown under every other: nothing around it is made ahead.
    const QImage under = made(base, false).picture;
    if (!top.masked && top.picture.size() == under.size())
        return top.picture;
    return overlayPicture(under, top.picture);
}

bool hasMaskColor(const QImage &picture)
{
    if (picture.format() != QImage::Format_RGB32)
        return true;
    for (int y = 0; y < picture.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if ((row[x] | 0xFF000000u) == ImageList::MaskColor)
                return true;
    }
    return false;
}

QImage overlayPicture(const QImage &base, const QImage &top)
{
    if (base.isNull())
        return QImage();
    // A conversion that cannot allocate its picture gives a null one, with
    // no rows to write to or read from: then there is no overlay.
    QImage out = base.convertToFormat(QImage::Format_RGB32);
    if (top.isNull() || out.isNull())
        return out;
    const QImage over = top.convertToFormat(QImage::Format_RGB32);
    if (over.isNull())
        return QImage();
    const int width = std::min(out.width(), over.width());
    const int height = std::min(out.height(), over.height());
    for (int y = 0; y < height; ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(over.constScanLine(y));
        auto *to = reinterpret_cast<QRgb *>(out.scanLine(y));
        if (!from || !to)
            return QImage();
        for (int x = 0; x < width; ++x)
            if ((from[x] | 0xFF000000u) != ImageList::MaskColor)
                to[x] = from[x] | 0xFF000000u;
    }
    return out;
}
