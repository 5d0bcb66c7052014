#pragma once
// A picture list: numbered entries 1..Count, each a picture with an optional
// key, and the overlay that draws one entry over a keyed one with the mask
// colour, light grey (192, 192, 192), transparent. The preview keeps every
// layer's frames in lists like this and shows their overlays.
//
// Pictures are shared, not copied: adding the same picture twice costs one.

#include <QImage>
#include <QList>
#include <QString>

class ImageList {
public:
    // The mask colour: pixels of exactly this colour let the picture below show.
    static constexpr QRgb MaskColor = 0xFFC0C0C0;

    void Clear() { m_entries.clear(); }
    int Count() const { return int(m_entries.size()); }

    // Inserts a picture as entry `index` (1..Count + 1); the entries from there
    // on move up one. Fails for an index outside that range, a null picture, or
    // a key another entry already has. An empty key is no key.
    [[nodiscard]] bool Add(int index, const QString &key, const QImage &picture);

    // Entry n's picture; a null picture when there is no entry n.
    QImage Picture(int n) const;
    QString Key(int n) const;
    // The entry with this key (1..Count); 0 when no entry has it.
    int IndexOf(const QString &key) const;

    // The keyed entry with entry n drawn over it from its top-left corner, the
    // mask colour transparent; the result is opaque and the keyed entry's size.
    // A null picture when the key or entry n is missing.
    QImage Overlay(const QString &key, int n) const;

private:
    struct Entry {
        QString key;
        QImage picture;
    };
    QList<Entry> m_entries;
};

// The overlay rule on two pictures: `top` over `base` from the top-left corner,
// pixels of the mask colour transparent; opaque, of base's size.
QImage overlayPicture(const QImage &base, const QImage &top);
