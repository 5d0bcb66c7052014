#pragma once
// The image workspace: one current picture that the windows load, cut, resize
// and save (each crop designer's Xpress1..Xpress7, the loader's Xpress1, the
// scene save's work picture, the library window's work image). Every operation says
// whether it worked, and a failed load or crop leaves the workspace empty, so
// that an old picture is never cut or saved as if it were the new one.

#include "core/base/Result.h"
#include "core/pictures/ImageList.h"
#include "core/pictures/PictureFile.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

// Pictures are written as JPEG at this quality (0..100).
inline constexpr int JpegQuality = 90;

// Loads a BMP or JPEG file as a picture (the format is read from the file's
// contents). Refused, with the sentence that says why, when it cannot: also
// for a file that is not a regular file, is empty or cut short, or holds a
// picture too large to keep in memory.
Result<QImage> LoadPicture(const QString &path);

// A picture file's bytes that passed every check LoadPicture makes before it
// decodes them, and the picture's size as its header gives it.
struct PictureFileBytes {
    QByteArray bytes;
    QSize size; // in pixels; empty when the header gives none
};
// Refused with why, as LoadPicture says it.
using PictureBytes = Result<PictureFileBytes>;
[[nodiscard]] PictureBytes ReadPictureFile(const QString &path);
// Decodes what ReadPictureFile read, as LoadPicture does; refused when the
// decoder refuses the bytes or runs past their end. A
// JPEG picture larger than a valid `shownSize` both ways comes at that size
// (decodePicture); any other keeps its own size.
Result<QImage> DecodePictureBytes(const QByteArray &bytes, const QString &path, QSize shownSize = QSize());

// A picture file kept as its bytes and decoded when it is shown, at
// `shownSize`: resized as ImageWorkspace::ResizeImage resizes, the same pixels
// as a load and resize through the workspace, except that a JPEG picture shown
// smaller is decoded at the smaller size (its pixels then differ from those of
// a resize by the scaler's rounding).
class HeldPicture final : public DeferredPicture {
public:
    HeldPicture(QByteArray bytes, QSize shownSize) : m_bytes(std::move(bytes)), m_size(shownSize) {}
    QImage make() const override;

private:
    const QByteArray m_bytes;
    const QSize m_size;
};


// Encodes a picture as JPEG at JpegQuality into `bytes`, replacing what they
// held and reusing their memory; refused with the encoder's reason.
Result<> EncodeJpeg(const QImage &picture, QByteArray *bytes);

// An encoder that writes the bytes Qt's JPEG writer writes, faster, and says
// false for a picture it leaves to the writer (adapters/jpeg/JpegEncoder.h).
// The programs install libjpeg's at their start; without one EncodeJpeg
// writes every picture through QImageWriter.
using JpegRowEncoder = bool (*)(const QImage &picture, int quality, QByteArray *bytes);
void setJpegRowEncoder(JpegRowEncoder encoder);

// A picture's size in HIMETRIC units (0.01 mm) at 96 dots per inch: pixels
// times 2540 / 96, rounded to the nearest whole number (a half up). It is the
// picture's own measure on every screen: a picture shown 1:1 covers as many of
// Qt's logical pixels as it has pixels, whatever the screen's density, so the
// canvas's layer sizes and the preview's boxes taken from it, and everything
// stored from them, are those of a 96-dpi screen.
QSize HimetricSize(const QImage &picture);

// The part of a picture of `size` that a crop from (left, top) to (right,
// bottom), right and bottom not included, keeps: refused, with the
// workspace's reason, when the area is empty or lies wholly outside it.
Result<QRect> CropAreaInPicture(QSize size, qint64 left, qint64 top, qint64 right, qint64 bottom);

class FileTransaction;

// Each operation that can fail gives its Result: the reason is a sentence for
// a message box.
class ImageWorkspace {
public:
    // The current picture becomes the file's picture, at its pixel size.
    Result<> LoadImageFile(const QString &path);
    // The picture becomes the area at (x, y) of the given size. An area that
    // reaches beyond the picture is cut to the part inside it; an area with
    // nothing inside is refused and empties the workspace.
    Result<> CropImage(int x, int y, int width, int height);
    // The same for the area from (left, top) to (right, bottom), right and
    // bottom not included.
    Result<> CropImageArea(int left, int top, int right, int bottom);
    // The picture is scaled to exactly width x height pixels; a size beyond
    // what pictureFitsInMemory allows is refused and the picture kept.
    Result<> ResizeImage(int width, int height);
    // The picture becomes a thumbnail of exactly width x height pixels.
    Result<> MakeThumbnail(int width, int height);
    // The path of the next save.
    void SaveImageFileName(const QString &path) { m_saveName = path; }
    // Writes the current picture to the save path as a JPEG file at
    // JpegQuality, through a temporary file, replacing an existing file only
    // once the new one is complete.
    Result<> SaveImageFile();
    // The same as one of the files of `unit`: the picture is written beside
    // the save path and put in place when the unit is committed.
    Result<> SaveImageFile(FileTransaction &unit);

    int ImageWidth() const { return m_picture.width(); }
    int ImageHeight() const { return m_picture.height(); }
    // The picture's size in twips at the screen's density.
    int ImageDisplayWidth() const;
    int ImageDisplayHeight() const;

    const QImage &Picture() const { return m_picture; }
    void SetPicture(const QImage &picture);
    bool HasPicture() const { return !m_picture.isNull(); }
    void Clear() { m_picture = QImage(); }

private:
    // The current picture encoded for the save path.
    Result<> encodeForSave(QByteArray *bytes);
    // Right and bottom not included.
    Result<> cropTo(qint64 left, qint64 top, qint64 right, qint64 bottom);

    QImage m_picture;
    QString m_saveName;
};
