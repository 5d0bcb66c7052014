#pragma once
// What one preview load may hold, whoever made the scene: a bound on every
// frame's size, as its file stores it and as the preview shows it, and a
// budget for the decoded pictures and the frame files' bytes the load keeps.
// A layer that would pass either is left out, as a layer without its frame 01
// is; a frame n > 1 whose own picture passes the frame bound is missing.

#include <QSize>
#include <QtGlobal>

// The largest frame the preview makes or decodes, for a picture box of
// `shown` (MainPic, 1200 x 857): twice its width and twice its height, so
// that a full-background frame of a background narrower than MainPic's shape
// still shows whole.
QSize largestPreviewFrame(QSize shown);

// The budget of one load: 512 MB of decoded pictures and held frame files.
inline constexpr qint64 PreviewBudgetBytes = qint64(512) << 20;

// A picture of this size at 4 bytes a pixel; 0 for an empty size.
qint64 pictureBytes(QSize size);

class PreviewBudget {
public:
    PreviewBudget(QSize largestFrame, qint64 bytes);

    // True when a picture of `size` is no larger than the frame bound both ways.
    bool fitsFrame(QSize size) const;
    // Takes `bytes` from what is left; false, taking nothing, when they do not fit.
    [[nodiscard]] bool take(qint64 bytes);
    // Gives back what a layer took and then let go.
    void give(qint64 bytes);
    qint64 used() const { return m_used; }

private:
    QSize m_largest;
    qint64 m_bytes;
    qint64 m_used = 0;
};
