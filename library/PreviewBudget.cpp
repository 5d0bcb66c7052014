#include "library/PreviewBudget.h"

#include <algorithm>

QSize largestPreviewFrame(QSize shown)
{
    return QSize(2 * std::max(shown.width(), 1), 2 * std::max(shown.height(), 1));
}

qint64 pictureBytes(QSize size)
{
    if (size.isEmpty())
        return 0;
    return qint64(size.width()) * size.height() * 4;
}

PreviewBudget::PreviewBudget(QSize largestFrame, qint64 bytes) : m_largest(largestFrame), m_bytes(bytes)
{
}

bool PreviewBudget::fitsFrame(QSize size) const
{
    return size.isValid() && size.width() <= m_largest.width() && size.height() <= m_largest.height();
}

bool PreviewBudget::take(qint64 bytes)
{
    if (bytes < 0 || bytes > m_bytes - m_used)
        return false;
    m_used += bytes;
    return true;
}

void PreviewBudget::give(qint64 bytes)
{
    m_used = std::max<qint64>(m_used - bytes, 0);
}
