#include "platform/PictureCut.h"

#include "platform/PictureCutFormats.h"

#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QRect cutRect(const CutRequest &request, qint64 width, qint64 height)
{
    if (width <= 0 || height <= 0)
        return QRect();
    if (request.maxPictureBytes > 0 && width * height * 4 > request.maxPictureBytes)
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
    // Without waiting: a pipe opened for reading would wait for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    // The same limits as LoadPicture: a file larger than twice the readers'
    // allocation limit holds no picture the program loads.
    const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    struct stat st;
    bool cut = false;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 && !(limit > 0 && st.st_size > 2 * limit)) {
        const CutRequest request{fd, qint64(st.st_size), area, limit};
        uchar magic[2] = {0, 0};
        if (::pread(fd, magic, 2, 0) == 2) {
            if (magic[0] == 0xFF && magic[1] == 0xD8 && readJpegCut(request, m_pixels, m_input, &m_picture))
                m_lastReader = Reader::Jpeg;
            else if (magic[0] == 'B' && magic[1] == 'M' && readBmpCut(request, m_pixels, m_input, &m_picture))
                m_lastReader = Reader::Bmp;
        }
        cut = m_lastReader != Reader::None;
    }
    ::close(fd);
    if (!cut)
        m_picture = QImage();
    return cut;
}
