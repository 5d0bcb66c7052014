#pragma once
// What one preview load may hold, whoever made the scene: a bound on every
// frame's size, as its file stores it and as the preview shows it, a budget
// for the decoded pictures the load keeps and one for the frame files' bytes
// it keeps to decode when they are shown. A layer that would pass any of them
// is left out, as a layer without its frame 01 is; a frame n > 1 whose own
// picture passes the frame bound is missing.

#include <QSize>
#include <QtGlobal>

// The largest frame the preview makes or decodes, for a picture box of
// `shown` (MainPic, 1200 x 857): twice its width and twice its height, so
// that a full-background frame of a background narrower than MainPic's shape
// still shows whole.
QSize largestPreviewFrame(QSize shown);

// The budgets of one load: 512 MB of decoded pictures (the layers' frames,
// the pictures composed of them, what the counted sets' lists keep made, the
// background and the alternate image), and 512 MB of held frame files.
inline constexpr qint64 PreviewBudgetBytes = qint64(512) << 20;
inline constexpr qint64 PreviewFileBudgetBytes = qint64(512) << 20;

// A picture of this size at 4 bytes a pixel; 0 for an empty size.
qint64 pictureBytes(QSize size);

class PreviewBudget {
public:
    PreviewBudget(QSize largestFrame, qint64 bytes, qint64 fileBytes);

    // True when a picture of `size` is no larger than the frame bound both ways.
    bool fitsFrame(QSize size) const;
    // Takes `bytes` of decoded pictures from what is left; false, taking
    // nothing, when they do not fit.
    [[nodiscard]] bool take(qint64 bytes);
    // The same for bytes of frame files held.
    [[nodiscard]] bool takeFile(qint64 bytes);
    // Gives back what a layer took and then let go.
    void give(qint64 bytes, qint64 fileBytes = 0);
    qint64 used() const { return m_used; }
    qint64 fileBytesUsed() const { return m_fileUsed; }

private:
    QSize m_largest;
    qint64 m_bytes, m_fileBytes;
    qint64 m_used = 0, m_fileUsed = 0;
};
