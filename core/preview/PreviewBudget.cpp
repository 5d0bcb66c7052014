#include "core/preview/PreviewBudget.h"

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

PreviewBudget::PreviewBudget(QSize largestFrame, qint64 bytes, qint64 fileBytes)
    : m_largest(largestFrame), m_bytes(bytes), m_fileBytes(fileBytes)
{
}

bool PreviewBudget::fitsFrame(QSize size) const
{
    return size.isValid() && size.width() <= m_largest.width() && size.height() <= m_largest.height();
}

namespace {
bool takeFrom(qint64 &used, qint64 limit, qint64 bytes)
{
    if (bytes < 0 || bytes > limit - used)
        return false;
    used += bytes;
    return true;
}
}

bool PreviewBudget::take(qint64 bytes)
{
    return takeFrom(m_used, m_bytes, bytes);
}

bool PreviewBudget::takeFile(qint64 bytes)
{
    return takeFrom(m_fileUsed, m_fileBytes, bytes);
}

void PreviewBudget::give(qint64 bytes, qint64 fileBytes)
{
    m_used = std::max<qint64>(m_used - bytes, 0);
    m_fileUsed = std::max<qint64>(m_fileUsed - fileBytes, 0);
}
