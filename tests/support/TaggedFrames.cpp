#include "tests/support/TaggedFrames.h"

#include "core/pictures/ImageWorkspace.h"

#include <QBuffer>
#include <QImageWriter>

QImage taggedFrame(int frame, QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = tagColor(x, y, frame);
    }
    return picture;
}

::testing::AssertionResult isCutOf(const QImage &cut, int x, int y, int width, int height, int frame)
{
    if (cut.size() != QSize(width, height))
        return ::testing::AssertionFailure() << "size " << cut.width() << " x " << cut.height() << ", wanted "
                                             << width << " x " << height;
    for (int py = 0; py < height; ++py)
        for (int px = 0; px < width; ++px) {
            const PixelTag got = readTag(cut.pixel(px, py)), wanted{x + px, y + py, frame};
            if (!(got == wanted))
                return ::testing::AssertionFailure() << "pixel " << px << ", " << py << " is " << got << ", wanted "
                                                     << wanted;
        }
    return ::testing::AssertionSuccess();
}

QImage asSavedJpeg(const QImage &picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPEG");
    writer.setQuality(JpegQuality);
    if (!writer.write(picture.convertToFormat(QImage::Format_RGB32)))
        return QImage();
    return QImage::fromData(bytes, "JPEG").convertToFormat(QImage::Format_RGB32);
}

::testing::AssertionResult isSavedCutOf(const QString &saved, const QString &source, const QRect &area)
{
    const QImage picture = QImage(saved).convertToFormat(QImage::Format_RGB32);
    const QImage whole = QImage(source).convertToFormat(QImage::Format_RGB32);
    if (picture.isNull() || whole.isNull())
        return ::testing::AssertionFailure() << "cannot read " << (picture.isNull() ? saved : source).toStdString();
    if (picture.size() != area.size())
        return ::testing::AssertionFailure() << saved.toStdString() << " is " << picture.width() << " x "
                                             << picture.height() << ", wanted " << area.width() << " x "
                                             << area.height();
    if (picture == asSavedJpeg(whole.copy(area)))
        return ::testing::AssertionSuccess();
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if ((dx || dy) && picture == asSavedJpeg(whole.copy(area.translated(dx, dy))))
                return ::testing::AssertionFailure() << saved.toStdString() << " is cut " << dx << ", " << dy
                                                     << " pixels away from where it should be";
    return ::testing::AssertionFailure() << saved.toStdString() << " is not the area (" << area.x() << ", "
                                         << area.y() << ", " << area.width() << " x " << area.height() << ") of "
                                         << source.toStdString();
}
