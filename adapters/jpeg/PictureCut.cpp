#include "adapters/jpeg/PictureCut.h"

#include "adapters/jpeg/PictureCutFormats.h"
#include "core/base/Files.h"
#include "core/pictures/ImageWorkspace.h"


#include <algorithm>
#include <limits>

#include <unistd.h>

QRect cutRect(const CutRequest &request, qint64 width, qint64 height)
{
    if (width <= 0 || height <= 0 || !pictureSizeAllowed(width, height))
        return QRect();
    if (width > std::numeric_limits<int>::max() || height > std::numeric_limits<int>::max())
        return QRect();
    if (!request.area)
        return QRect(0, 0, int(width), int(height));
    const PictureArea &a = *request.area;
    if (a.right <= a.left || a.bottom <= a.top)
        return QRect();
    const qint64 left = std::max<qint64>(a.left, 0), top = std::max<qint64>(a.top, 0);
    const qint64 right = std::min(a.right, width), bottom = std::min(a.bottom, height);
    if (right <= left || bottom <= top)
        return QRect();
    return QRect(int(left), int(top), int(right - left), int(bottom - top));
}

bool PictureCutter::read(const QString &path, const std::optional<PictureArea> &area)
{
    m_picture = QImage(); // it points into the buffers about to be reused
    m_lastReader = Reader::None;
    // Checked as it is open: a regular file (a pipe is never waited on), not
    // empty, and no larger than twice the readers' allocation limit, as the
    // loader takes it.
    const OpenedFile opened(path);
    if (!opened.ok() || opened.size() == 0 || !pictureFileFitsInMemory(opened.size()))
        return false;
    const CutRequest request{opened.descriptor(), opened.size(), area};
    uchar magic[2] = {0, 0};
    if (::pread(request.fd, magic, 2, 0) != 2)
        return false;
    if (magic[0] == 0xFF && magic[1] == 0xD8 && readJpegCut(request, m_pixels, m_input, &m_picture))
        m_lastReader = Reader::Jpeg;
    else if (magic[0] == 'B' && magic[1] == 'M' && readBmpCut(request, m_pixels, m_input, &m_picture))
        m_lastReader = Reader::Bmp;
    else
        m_picture = QImage();
    return m_lastReader != Reader::None;
}

namespace {

// The cutter as the frame export reads its frames.
class CutterReader final : public CutPictureReader {
public:
    const QImage *read(const QString &path, const std::optional<PixelCrop> &crop) override
    {
        std::optional<PictureArea> area;
        if (crop)
            area = PictureArea{crop->x, crop->y, qint64(crop->x) + crop->width, qint64(crop->y) + crop->height};
        return m_cutter.read(path, area) ? &m_cutter.picture() : nullptr;
    }

private:
    PictureCutter m_cutter;
};

} // namespace

void useLibJpegPictureCutter()
{
    setCutPictureReaderMaker([]() -> std::unique_ptr<CutPictureReader> { return std::make_unique<CutterReader>(); });
}
