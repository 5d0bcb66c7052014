#pragma once
// A picture list: numbered entries 1..Count, each a picture with an optional
// key, and the overlay that draws one entry over a keyed one with the mask
// colour, light grey (192, 192, 192), transparent. The preview keeps every
// layer's frames in lists like this and shows their overlays.
//
// Pictures are shared, not copied: adding the same picture twice costs one.
// An entry may also hold a picture that is made only when it is shown (a
// frame file's bytes, say), so that a long list of large frames costs what
// their files cost, not their pixels.

#include "core/pictures/PictureCache.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QSet>
#include <QString>

#include <memory>

// A picture made when it is needed, from whatever it is held as. make() runs
// on any thread, as often as the picture is needed again.
class DeferredPicture {
public:
    virtual ~DeferredPicture() = default;
    // The picture; null when it cannot be made (its entry then shows nothing).
    virtual QImage make() const = 0;
};

// Pictures gathered each once, however many holders share it.
class DistinctPictures {
public:
    void add(const QImage &picture);
    const QList<QImage> &pictures() const { return m_pictures; }

private:
    QList<QImage> m_pictures;
    QSet<qint64> m_seen; // cache keys
};

class ImageList {
public:
    // The mask colour: pixels of exactly this colour let the picture below show.
    static constexpr QRgb MaskColor = 0xFFC0C0C0;

    void Clear();
    int Count() const { return int(m_entries.size()); }

    // Inserts a picture as entry `index` (1..Count + 1); the entries from there
    // on move up one. Fails for an index outside that range, a null picture, or
    // a key another entry already has. An empty key is no key.
    [[nodiscard]] bool Add(int index, const QString &key, const QImage &picture);
    // The same with a picture made when it is shown; fails for a null one.
    // Entries that hold one source share the one picture made of it.
    [[nodiscard]] bool Add(int index, const QString &key, std::shared_ptr<const DeferredPicture> picture);

    // Entry n's picture; a null picture when there is no entry n, or when its
    // deferred picture cannot be made. Asking for an entry starts making the
    // deferred entries around it ahead.
    QImage Picture(int n) const;
    QString Key(int n) const;
    // The entry with this key (1..Count); 0 when no entry has it.
    int IndexOf(const QString &key) const;

    // The most deferred pictures a list holds made at once: those it keeps
    // and those being made ahead of the one shown.
    static constexpr int MostMade = PictureCache::Kept + 5;

    // Adds every decoded picture the list holds to `held`: its entries' own
    // and the deferred ones made lately.
    void HeldPictures(DistinctPictures &held) const;

    // The keyed entry with entry n drawn over it from its top-left corner, the
    // mask colour transparent; the result is opaque and the keyed entry's size.
    // A null picture when the key or entry n is missing. An entry of the keyed
    // entry's size without the mask colour is its own overlay, not a copy.
    QImage Overlay(const QString &key, int n) const;

private:
    struct Entry {
        QString key;
        QImage picture;                                 // null when deferred
        bool masked = true;                             // the picture has the mask colour
        std::shared_ptr<const DeferredPicture> deferred;
    };
    // Entry n's picture and whether it has the mask colour; `ahead` starts
    // making the deferred entries around it.
    PictureCache::Made made(int n, bool ahead) const;
    [[nodiscard]] bool insert(int index, Entry entry);
    void makeAround(int n) const;

    QList<Entry> m_entries;
    QHash<qint64, bool> m_maskOf; // hasMaskColor of each picture added, by its cache key
    PictureCache m_made; // the deferred pictures made lately or about to be shown
};

// True unless the picture is opaque RGB32 without a pixel of the mask colour:
// then it covers whatever it is drawn over.
bool hasMaskColor(const QImage &picture);

// The overlay rule on two pictures: `top` over `base` from the top-left corner,
// pixels of the mask colour transparent; opaque, of base's size.
QImage overlayPicture(const QImage &base, const QImage &top);
