#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzTargets.h"

#include "core/pictures/ImageWorkspace.h"
#include "adapters/jpeg/PictureCut.h"
#include "core/pictures/PictureFile.h"

#include <QString>

#include <sys/mman.h>
#include <unistd.h>

namespace {

// The bytes as a file: one file in memory, rewritten for every load.
QString fileOf(const QByteArray &bytes)
{
    static const int fd = memfd_create("picture", MFD_CLOEXEC);
    static const QString path = QStringLiteral("/proc/self/fd/%1").arg(fd);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(ftruncate(fd, 0) == 0);
    FUZZ_CHECK(pwrite(fd, bytes.constData(), size_t(bytes.size()), 0) == bytes.size());
    return path;
}

// Through the loader's own open.
QImage loadBytes(const QByteArray &bytes)
{
    return LoadPicture(fileOf(bytes)).value;
}

// What the cutter takes it takes exactly: the loader reads the same bytes,
// and its picture cut to the area is the cutter's, pixel for pixel. An area
// near the picture's top leaves most of the data below the cut.
void checkCutter(const QByteArray &bytes, const PictureArea &area)
{
    static PictureCutter cutter;
    if (!cutter.read(fileOf(bytes), area))
        return;
    const QImage loaded = LoadPicture(fileOf(bytes)).value;
    FUZZ_CHECK(!loaded.isNull());
    const QRect inside = QRect(QPoint(int(area.left), int(area.top)), QPoint(int(area.right) - 1, int(area.bottom) - 1))
                             .intersected(loaded.rect());
    FUZZ_CHECK(cutter.picture() == loaded.copy(inside));
}

// Where to cut the bytes: just before the end, half way, and a few places
// that follow from the bytes themselves, so that a replay cuts at the same.
QList<qsizetype> cuts(const QByteArray &bytes)
{
    const qsizetype n = bytes.size();
    QList<qsizetype> at{n - 1, n - 2, n / 2};
    quint32 h = 2166136261u;
    for (char c : bytes)
        h = (h ^ quint8(c)) * 16777619u;
    for (int i = 0; i < 5 && n > 3; ++i) {
        h = h * 1664525u + 1013904223u;
        at << 2 + qsizetype(h % quint32(n - 2));
    }
    return at;
}

} // namespace

void fuzzPictureLoad(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // The quick test on the bytes never refuses what the decoder reads whole.
    if (pictureFileCutShort(bytes)) {
        const DecodedPicture decoded = decodePicture(bytes);
        FUZZ_CHECK(decoded.image.isNull() || decoded.cutShort);
    }

    const PictureArea area{1, 1, 9, 5};
    checkCutter(bytes, area);
    const Result<QImage> loaded = LoadPicture(fileOf(bytes));
    // A refusal says why in words a user can act on, never in the decoder's.
    FUZZ_CHECK(loaded || !loaded.error.contains(QStringLiteral("Unable to read")));
    const QImage whole = loaded.value;
    if (whole.isNull())
        return;
    FUZZ_CHECK(whole.format() == QImage::Format_RGB32);
    // A part of a picture that the loader takes must be the same picture;
    // anything else had to be refused as cut short.
    for (qsizetype cut : cuts(bytes)) {
        if (cut < 2 || cut >= bytes.size())
            continue;
        const QImage part = loadBytes(bytes.left(cut));
        FUZZ_CHECK(part.isNull() || part == whole);
        checkCutter(bytes.left(cut), area);
    }
}
