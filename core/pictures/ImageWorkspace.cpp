#include "core/pictures/ImageWorkspace.h"

#include "core/base/Files.h"
#include "core/base/FileTransaction.h"
#include "core/base/Numbers.h"
#include "core/pictures/BmpFile.h"
#include "core/pictures/PictureFile.h"
#include "core/system/Services.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <cmath>

namespace {

// Pictures are opaque; one pixel format keeps copies and comparisons simple.
QImage opaque(const QImage &image)
{
    return image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

namespace {
QString refusal(const QString &path, const QString &why)
{
    return QStringLiteral("Could not load the picture %1: %2").arg(shown(path), why);
}

const QString &cutShortReason()
{
    static const QString reason = QStringLiteral("the file ends before its picture does; it may have been copied or "
                                                 "saved only in part.");
    return reason;
}

} // namespace

Result<QImage> LoadPicture(const QString &path)
{
    const PictureBytes read = ReadPictureFile(path);
    if (!read)
        return Result<QImage>::failure(read.error);
    return DecodePictureBytes(read.value.bytes, path);
}

PictureBytes ReadPictureFile(const QString &path)
{
    PictureFileBytes result;
    auto refuse = [&](const QString &why) { return PictureBytes::failure(refusal(path, why)); };
    // One open, and every check on the file that is open, so that a file
    // swapped or grown since it was chosen is never read past what passed.
    const OpenedFile opened(path);
    switch (opened.problem()) {
    case OpenedFile::Problem::None:
        break;
    case OpenedFile::Problem::Folder:
        return refuse(QStringLiteral("it is a folder, not a picture file."));
    default:
        return refuse(opened.reason() + u'.');
    }
    if (opened.size() == 0)
        return refuse(QStringLiteral("the file is empty."));
    // Every picture is held at 4 bytes a pixel, within the readers' allocation
    // limit; no file larger than twice that holds one.
    if (!pictureFileFitsInMemory(opened.size()))
        return refuse(QStringLiteral("the file is too large to be a picture this program can load."));

    const FileRead start = readOpenedFile(opened, std::min<qint64>(opened.size(), BmpHeadBytes), path);
    if (!start)
        return refuse(start.error);
    const QByteArray format = pictureFormat(start.value);
    if (format.isEmpty())
        return refuse(QStringLiteral("it is not a BMP or JPEG picture."));
    // A BMP of the program's own reader gives its size, or why it is not read.
    const auto own = format == "bmp" ? readBmpLayout(start.value) : Result<std::optional<BmpLayout>>::success();
    if (!own)
        return refuse(own.error + u'.');
    if (own.value) {
        result.size = QSize(int(own.value->width), int(own.value->height));
    } else {
        // The header first, so that a picture too large is refused before its file is read.
        QFile file;
        // Unbuffered: the reader takes only the header's bytes, not a buffer's worth.
        if (!file.open(opened.descriptor(), QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
            return refuse(file.errorString() + u'.');
        QImageReader header(&file, format);
        header.setAutoDetectImageFormat(false);
        // A picture stored with fewer bits a pixel passes the reader's limit and
        // would then grow fourfold or more in memory.
        const QSize size = header.size();
        const qint64 width = qAbs(qint64(size.width())), height = qAbs(qint64(size.height()));
        if (const QString tooLarge = pictureSizeRefusal(width, height); !tooLarge.isEmpty())
            return refuse(tooLarge + u'.');
        if (size.isValid()) // a negative height: rows stored top down
            result.size = QSize(int(width), int(height));
    }
    const FileRead read = readOpenedFile(opened, opened.size(), path);
    if (!read)
        return refuse(read.error);
    if (pictureFileCutShort(read.value))
        return refuse(cutShortReason());
    result.bytes = read.value;
    return PictureBytes::success(std::move(result));
}

Result<QImage> DecodePictureBytes(const QByteArray &bytes, const QString &path, QSize shownSize)
{
    const DecodedPicture decoded = decodePicture(bytes, shownSize);
    const QString why = decoded.cutShort ? cutShortReason()
                        : decoded.image.isNull() ? decoded.error + u'.'
                                                 : QString();
    if (why.isEmpty())
        return Result<QImage>::success(opaque(decoded.image));
    return Result<QImage>::failure(refusal(path, why));
}

QImage HeldPicture::make() const
{
    QImage picture = DecodePictureBytes(m_bytes, QString(), m_size).value;
    if (picture.isNull() || picture.size() == m_size)
        return picture;
    if (m_size.isEmpty() || !pictureFitsInMemory(m_size.width(), m_size.height()))
        return QImage();
    return picture.scaled(m_size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}


namespace {
JpegRowEncoder rowEncoder = nullptr;
}

void setJpegRowEncoder(JpegRowEncoder encoder)
{
    rowEncoder = encoder;
}

Result<> EncodeJpeg(const QImage &picture, QByteArray *bytes)
{
    if (rowEncoder && rowEncoder(picture, JpegQuality, bytes))
        return Result<>::success();
    QBuffer buffer(bytes);
    buffer.open(QIODevice::WriteOnly); // empties the bytes, keeping their memory
    QImageWriter writer(&buffer, "JPEG");
    writer.setQuality(JpegQuality);
    if (writer.write(picture))
        return Result<>::success();
    return Result<>::failure(writer.errorString());
}

QSize HimetricSize(const QImage &picture)
{
    auto himetric = [](int pixels) { return int(std::floor(pixels * 2540.0 / 96.0 + 0.5)); };
    return QSize(himetric(picture.width()), himetric(picture.height()));
}

void ImageWorkspace::SetPicture(const QImage &picture)
{
    m_picture = picture.isNull() ? QImage() : opaque(picture);
}

Result<> ImageWorkspace::LoadImageFile(const QString &path)
{
    Result<QImage> loaded = LoadPicture(path);
    m_picture = std::move(loaded.value);
    return loaded ? Result<>::success() : Result<>::failure(loaded.error);
}

Result<> ImageWorkspace::CropImage(int x, int y, int width, int height)
{
    return cropTo(x, y, qint64(x) + width, qint64(y) + height);
}

Result<> ImageWorkspace::CropImageArea(int left, int top, int right, int bottom)
{
    return cropTo(left, top, right, bottom);
}

Result<QRect> CropAreaInPicture(QSize size, qint64 left, qint64 top, qint64 right, qint64 bottom)
{
    // In 64 bits, so that no area, however far out, wraps round into the picture.
    const qint64 insideLeft = std::max<qint64>(left, 0), insideTop = std::max<qint64>(top, 0);
    const qint64 insideRight = std::min<qint64>(right, size.width());
    const qint64 insideBottom = std::min<qint64>(bottom, size.height());
    if (right <= left || bottom <= top || insideRight <= insideLeft || insideBottom <= insideTop)
        return Result<QRect>::failure(QStringLiteral("The crop area %1, %2, %3 x %4 lies outside the picture.")
                                          .arg(left).arg(top).arg(right - left).arg(bottom - top));
    return Result<QRect>::success(QRect(int(insideLeft), int(insideTop), int(insideRight - insideLeft),
                                        int(insideBottom - insideTop)));
}

Result<> ImageWorkspace::cropTo(qint64 left, qint64 top, qint64 right, qint64 bottom)
{
    if (m_picture.isNull())
        return Result<>::failure(QStringLiteral("There is no picture to crop."));
    const Result<QRect> inside = CropAreaInPicture(m_picture.size(), left, top, right, bottom);
    if (!inside) {
        m_picture = QImage();
        return Result<>::failure(inside.error);
    }
    m_picture = m_picture.copy(inside.value);
    return Result<>::success();
}

Result<> ImageWorkspace::ResizeImage(int width, int height)
{
    if (m_picture.isNull())
        return Result<>::failure(QStringLiteral("There is no picture to resize."));
    if (width <= 0 || height <= 0)
        return Result<>::failure(QStringLiteral("A picture cannot be resized to %1 x %2 pixels.").arg(width).arg(height));
    if (!pictureFitsInMemory(width, height))
        return Result<>::failure(QStringLiteral("A picture of %1 x %2 pixels is too large to hold.").arg(width).arg(height));
    QImage scaled = m_picture.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // Memory that cannot be had gives a null picture; the old one is kept.
    if (scaled.isNull())
        return Result<>::failure(QStringLiteral("There is not enough memory for a picture of %1 x %2 pixels.").arg(width).arg(height));
    m_picture = std::move(scaled);
    return Result<>::success();
}

Result<> ImageWorkspace::MakeThumbnail(int width, int height)
{
    return ResizeImage(width, height);
}

Result<> ImageWorkspace::encodeForSave(QByteArray *bytes)
{
    if (m_picture.isNull())
        return Result<>::failure(QStringLiteral("There is no picture to save as %1.").arg(shown(m_saveName)));
    if (m_saveName.isEmpty())
        return Result<>::failure(QStringLiteral("No file name was given for the picture."));
    if (const Result<> encoded = EncodeJpeg(m_picture, bytes); !encoded)
        return Result<>::failure(QStringLiteral("Could not encode the picture for %1: %2").arg(shown(m_saveName), encoded.error));
    return Result<>::success();
}

Result<> ImageWorkspace::SaveImageFile()
{
    QByteArray bytes;
    if (Result<> encoded = encodeForSave(&bytes); !encoded)
        return encoded;
    const FileResult written = writeFileAtomically(m_saveName, bytes);
    return written ? Result<>::success() : Result<>::failure(written.error);
}

Result<> ImageWorkspace::SaveImageFile(FileTransaction &unit)
{
    QByteArray bytes;
    if (Result<> encoded = encodeForSave(&bytes); !encoded)
        return encoded;
    const FileResult staged = unit.stage(m_saveName, bytes);
    return staged ? Result<>::success() : Result<>::failure(staged.error);
}

int ImageWorkspace::ImageDisplayWidth() const
{
    return int(roundHalfEven(m_picture.width() * services().environment->twipsPerPixelX()));
}

int ImageWorkspace::ImageDisplayHeight() const
{
    return int(roundHalfEven(m_picture.height() * services().environment->twipsPerPixelY()));
}
