// Pictures a user can hand the program that are not whole pictures: each is
// refused with a sentence naming the file, having read it at most once, and
// the workspace is left empty; whole pictures in every layout the writers
// produce still load.

#include "core/base/Files.h"
#include "core/pictures/ImageWorkspace.h"
#include "core/pictures/PictureFile.h"

#include "tests/support/BmpBytes.h"
#include "tests/support/EncodedPicture.h"
#include "tests/support/FileWork.h"
#include "tests/support/QtNotes.h"
#include "tests/support/ScriptedServices.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <sys/stat.h>

namespace {

QImage patterned(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 13 % 256, y * 29 % 256, (x ^ y) % 256));
    return image;
}


void putLittleEndian(QByteArray &bytes, int at, qint64 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

// A BMP whose header claims width x height at the given bits a pixel, with
// only a little pixel data after it.
QByteArray bmpHeaderClaiming(qint64 width, qint64 height, int bitsPerPixel)
{
    QByteArray bytes = encodedPicture(patterned(16, 16), "BMP");
    putLittleEndian(bytes, 18, width, 4);
    putLittleEndian(bytes, 22, height, 4);
    putLittleEndian(bytes, 28, bitsPerPixel, 2);
    return bytes;
}

// The same BMP stored top down: rows in reverse order, the height negative.
QByteArray topDown(const QByteArray &bmp, int width, int height)
{
    QByteArray out = bmp;
    const int offset = quint8(bmp[10]) | quint8(bmp[11]) << 8;
    const int row = (width * 24 + 31) / 32 * 4;
    for (int y = 0; y < height; ++y)
        out.replace(offset + y * row, row, bmp.mid(offset + (height - 1 - y) * row, row));
    putLittleEndian(out, 22, -height, 4);
    return out;
}

// An application segment that holds an end-of-picture marker, as an embedded
// thumbnail does, put right after the start marker.
QByteArray withThumbnailSegment(const QByteArray &jpeg)
{
    const QByteArray payload = QByteArray("Exif\0\0", 6) + QByteArray("\xFF\xD8\x12\x34\xFF\xD9", 6);
    QByteArray segment("\xFF\xE1");
    segment += char((payload.size() + 2) >> 8);
    segment += char((payload.size() + 2) & 0xFF);
    return jpeg.left(2) + segment + payload + jpeg.mid(2);
}

// Bytes a load reads besides the whole file, or a test besides the load: the
// picture's header, which the decoder reads first (JPEG in blocks of 4096),
// the test's own look at the count and the watch's notes.
constexpr qint64 ReadAside = 2 * 4096 + 2048;

class PictureLoadTest : public CoreTest {
protected:
    QString write(const QString &name, const QByteArray &bytes) { return writeTempFile(name, bytes); }
    // The load fails, says which file and why, and leaves nothing to cut or
    // save. It opens the path at most once and reads no more of it than
    // `readAtMost` bytes (the whole file when it is one), besides its header.
    void expectRefused(const QString &path, const QString &why, qint64 readAtMost = -1)
    {
        SCOPED_TRACE(path.toStdString());
        ImageWorkspace ws;
        ws.SetPicture(patterned(8, 8));
        const QFileInfo file(path);
        FileWork work({file.absolutePath()});
        ASSERT_TRUE(work.watching());
        const Result<> loaded = ws.LoadImageFile(path);
        EXPECT_FALSE(loaded);
        EXPECT_LE(work.opened(file.fileName()), 1);
        EXPECT_LE(work.bytesRead(), (readAtMost < 0 ? file.size() : readAtMost) + ReadAside);
        EXPECT_FALSE(ws.HasPicture());
        EXPECT_TRUE(loaded.error.startsWith(QStringLiteral("Could not load the picture ") + path + u':'))
            << loaded.error.toStdString();
        EXPECT_TRUE(loaded.error.contains(why)) << loaded.error.toStdString();
    }
    void expectLoads(const QString &path, const QImage &expected, bool exact)
    {
        SCOPED_TRACE(path.toStdString());
        ImageWorkspace ws;
        const Result<> loaded = ws.LoadImageFile(path);
        ASSERT_TRUE(loaded) << loaded.error.toStdString();
        EXPECT_EQ(ws.Picture().size(), expected.size());
        if (exact) {
            EXPECT_EQ(ws.Picture(), expected);
        }
    }
};

TEST_F(PictureLoadTest, FilesThatAreNoPictureAreRefusedWithTheirReason)
{
    const QByteArray bmp = encodedPicture(patterned(5, 3), "BMP");      // rows of 15 bytes padded to 16
    const QByteArray jpeg = encodedPicture(patterned(64, 48), "JPEG");
    const QByteArray progressive = encodedPicture(patterned(64, 48), "JPEG", true);
    const QString cutShort = QStringLiteral("ends before its picture does");
    const struct {
        const char *name;
        QByteArray bytes;
        QString why;
    } cases[] = {
        {"zero0001.bmp", QByteArray(), QStringLiteral("the file is empty.")},
        {"text0001.bmp", "hello, this is a note and no picture\n", QStringLiteral("not a BMP or JPEG picture")},
        {"header0001.bmp", bmp.left(30), cutShort},
        {"half0001.bmp", bmp.left(bmp.size() / 2 + 10), cutShort},
        // Only the padding of the last row is missing: the decoder would leave that row black.
        {"padding0001.bmp", bmp.left(bmp.size() - 1), cutShort},
        {"half0001.jpg", jpeg.left(jpeg.size() * 6 / 10), cutShort},
        {"end0001.jpg", jpeg.left(jpeg.size() - 2), cutShort},
        {"progressive0001.jpg", progressive.left(progressive.size() * 7 / 10), cutShort},
        // The thumbnail's end marker is not the picture's.
        {"thumbnail0001.jpg", withThumbnailSegment(jpeg).left(jpeg.size() - 40), cutShort},
        // Headers that claim far more than the file holds.
        {"huge0001.bmp", bmpHeaderClaiming(20000, 20000, 24), cutShort},
        {"mono0001.bmp", bmpHeaderClaiming(30000, 30000, 1), cutShort},
        // Fewer bits a pixel pass the decoder's own limit but grow fourfold when held.
        {"grey0001.bmp", bmpHeaderClaiming(11000, 11000, 8), QStringLiteral("11000 x 11000 pixels, too large")},
        {"tall0001.bmp", bmpHeaderClaiming(16, -3000000, 24), QStringLiteral("16 x 3000000 pixels, too large")},
        // A side longer than any picture may have, in the decoder's layouts and the program's own.
        {"row0001.bmp", bmpHeaderClaiming(70000, 1, 24),
         QStringLiteral("70000 x 1 pixels, too large to load: no side may be longer than 65500 pixels.")},
        {"column0001.bmp", bmpHeaderClaiming(1, 70000, 16),
         QStringLiteral("1 x 70000 pixels, too large to load: no side may be longer than 65500 pixels.")},
    };
    for (const auto &c : cases)
        expectRefused(write(QString::fromUtf8(c.name), c.bytes), c.why);

    // A 20000 x 20000 picture of its full size (a sparse file: nothing is
    // written) is refused before a byte of it is read.
    QFile huge(write(QStringLiteral("full0001.bmp"), bmpHeaderClaiming(20000, 20000, 24)));
    ASSERT_TRUE(huge.resize(54 + qint64(60000) * 20000));
    expectRefused(huge.fileName(), QStringLiteral("too large"), 0);
}

// Wherever a copy stops, the part is told from the whole.
TEST(PictureFileCutShort, EveryPartOfAWholeFileIsCutShortAndTheWholeIsNot)
{
    for (const QByteArray &whole : {encodedPicture(patterned(21, 13), "BMP"), encodedPicture(patterned(40, 30), "JPEG"),
                                    encodedPicture(patterned(40, 30), "JPEG", true)}) {
        SCOPED_TRACE(whole.left(2).toHex().toStdString());
        EXPECT_FALSE(pictureFileCutShort(whole));
        for (qsizetype size = 2; size < whole.size(); ++size)
            ASSERT_TRUE(pictureFileCutShort(whole.left(size))) << size << " of " << whole.size();
    }
    // Other formats are the decoder's to judge.
    EXPECT_FALSE(pictureFileCutShort(encodedPicture(patterned(4, 4), "PNG").left(20)));
    EXPECT_FALSE(pictureFileCutShort(QByteArray()));
}

TEST_F(PictureLoadTest, PathsThatAreNoFileAreRefused)
{
    QDir().mkpath(tempPath(QStringLiteral("folder0001.bmp")));
    expectRefused(tempPath(QStringLiteral("folder0001.bmp")), QStringLiteral("it is a folder"), 0);
    ASSERT_TRUE(QFile::link(tempPath(QStringLiteral("gone.bmp")), tempPath(QStringLiteral("dangling0001.bmp"))));
    expectRefused(tempPath(QStringLiteral("dangling0001.bmp")), QStringLiteral("the file does not exist."), 0);
    expectRefused(tempPath(QStringLiteral("missing0001.bmp")), QStringLiteral("the file does not exist."), 0);
    // Opening a pipe would wait for a writer that never comes.
    ASSERT_EQ(mkfifo(QFile::encodeName(tempPath(QStringLiteral("pipe0001.bmp"))).constData(), 0600), 0);
    expectRefused(tempPath(QStringLiteral("pipe0001.bmp")), QStringLiteral("not a regular file"), 0);
}

TEST_F(PictureLoadTest, WholePicturesInEveryLayoutStillLoad)
{
    const QImage odd = patterned(5, 3), frame = patterned(64, 48);
    const QByteArray jpeg = encodedPicture(frame, "JPEG");
    expectLoads(write(QStringLiteral("odd0001.bmp"), encodedPicture(odd, "BMP")), odd, true);
    expectLoads(write(QStringLiteral("topdown0001.bmp"), topDown(encodedPicture(odd, "BMP"), 5, 3)), odd, true);
    expectLoads(write(QStringLiteral("plain0001.jpg"), jpeg), frame, false);
    expectLoads(write(QStringLiteral("progressive0001.jpg"), encodedPicture(frame, "JPEG", true)), frame, false);
    expectLoads(write(QStringLiteral("thumbnail0001.jpg"), withThumbnailSegment(jpeg)), frame, false);
    // Bytes after the end of the picture, as some cameras write, are no harm.
    expectLoads(write(QStringLiteral("trailer0001.jpg"), jpeg + QByteArray(300, 'z')), frame, false);
    // A JPEG named .bmp loads by its contents.
    expectLoads(write(QStringLiteral("named0001.bmp"), jpeg), frame, false);
    // Blanks and letters beyond ASCII in folder and file names.
    QDir().mkpath(tempPath(QStringLiteral("Bilder f\u00fcr Caf\u00e9")));
    expectLoads(write(QStringLiteral("Bilder f\u00fcr Caf\u00e9/Sch\u00f6ne Szene 0001.bmp"), encodedPicture(odd, "BMP")),
                odd, true);
}

// The files of pictures that once passed as whole: each whole one loads, each
// part or damaged copy is refused as cut short, the header that claims more
// than 64 bits can count is refused with no overflow.
TEST_F(PictureLoadTest, PicturesThatOncePassedAsWholeAreToldFromWholeOnes)
{
    const QString hostile = QStringLiteral(SCENARA_FUZZ_CORPUS "/picture_load/");
    const QString cutShort = QStringLiteral("ends before its picture does");
    const struct {
        const char *file;
        const char *refusal; // nullptr: loads
    } rows[] = {
        {"whole.jpg", nullptr},
        {"whole24.bmp", nullptr},
        {"bmp8-whole.bmp", nullptr},
        {"wholerle8.bmp", nullptr},
        {"jpeg-plain-truncated.jpg", "ends before its picture does"},
        // One stray byte between two segments, which decoders skip.
        {"jpeg-garbage-whole.jpg", nullptr},
        {"jpeg-garbage-truncated.jpg", "ends before its picture does"},
        // A damaged scan, followed by 600 bytes after its end marker.
        {"jpeg-damaged-scan-trailer.jpg", nullptr},
        // A marker 0x05 just before a restart marker, which the decoder passes
        // as a bare one: the two bytes after it are no segment's length.
        {"jpeg-bare-marker-whole.jpg", nullptr},
        {"jpeg-bare-marker-truncated.jpg", "ends before its picture does"},
        {"bmp24-truncated.bmp", "ends before its picture does"},
        // A pixel-data offset of 0, inside the headers: the rows follow the palette.
        {"bmp8-offbits0-whole.bmp", nullptr},
        {"bmp8-offbits0-truncated.bmp", "ends before its picture does"},
        // An info-header size of 0, read as the old 12-byte header.
        {"bmp-infosize0-whole.bmp", nullptr},
        {"bmp-infosize0-truncated.bmp", "ends before its picture does"},
        {"bmprle8-truncated.bmp", "ends before its picture does"},
        // A whole picture of 12-bit samples, which the decoder does not read.
        {"jpeg-12bit-samples.jpg", "it has 12-bit samples, which this program does not read"},
        // 0x7fffffff x 0x7fffffff at 0xffff bits a pixel, in 54 bytes.
        {"bmp-row-overflow-54bytes.bmp", ""},
        // A row of 16777223 pixels in 155 bytes of run-length coded rows: it
        // would fit in memory, and take seconds to decode, scale and show.
        {"bmprle8-row-of-16777223.bmp",
         "the picture is 16777223 x 1 pixels, too large to load: no side may be longer than 65500 pixels."},
        // Two whole rows of 65501 pixels at 8 bits, which the cutter could read.
        {"bmp8-rows-of-65501.bmp", "the picture is 65501 x 2 pixels, too large to load"},
    };
    const AllowedQtNotes damaged(AllowedQtNotes::JpegDecoder,
                                 "these pictures are damaged on purpose; the decoder says so");
    for (const auto &row : rows) {
        const QString path = hostile + QLatin1String(row.file);
        if (!row.refusal) {
            SCOPED_TRACE(row.file);
            ImageWorkspace ws;
            const Result<> loaded = ws.LoadImageFile(path);
            EXPECT_TRUE(loaded) << loaded.error.toStdString();
        } else {
            expectRefused(path, QString::fromUtf8(row.refusal));
        }
    }
    // The bytes after a JPEG's end marker leave its picture as it is: the
    // decoder reads a damaged scan otherwise when fewer than 512 bytes follow.
    QFile trailer(hostile + QStringLiteral("jpeg-damaged-scan-trailer.jpg"));
    ASSERT_TRUE(trailer.open(QIODevice::ReadOnly));
    const QByteArray jpeg = trailer.readAll();
    const qint64 end = jpegPictureEnd(jpeg);
    ASSERT_EQ(end, 363);
    const QImage withTrailer = decodePicture(jpeg).image;
    ASSERT_FALSE(withTrailer.isNull());
    for (qint64 size : {end, end + 1, end + 100})
        EXPECT_EQ(decodePicture(jpeg.left(size)).image, withTrailer) << size;
    const QImage cut = LoadPicture(write(QStringLiteral("ends0001.jpg"), jpeg.left(end))).value;
    EXPECT_EQ(cut, LoadPicture(hostile + QStringLiteral("jpeg-damaged-scan-trailer.jpg")).value);
    EXPECT_FALSE(cut.isNull());

    // The decoder, given the bytes, refuses such a picture from its header too.
    QFile row(hostile + QStringLiteral("bmprle8-row-of-16777223.bmp"));
    ASSERT_TRUE(row.open(QIODevice::ReadOnly));
    const DecodedPicture refused = decodePicture(row.readAll());
    EXPECT_TRUE(refused.image.isNull());
    EXPECT_TRUE(refused.error.endsWith(QStringLiteral("no side may be longer than 65500 pixels")))
        << refused.error.toStdString();

    // Each part is the same picture as its whole, had it been loaded.
    const QImage whole = LoadPicture(hostile + QStringLiteral("bmp8-offbits0-whole.bmp")).value;
    QFile part(hostile + QStringLiteral("bmp8-offbits0-truncated.bmp"));
    ASSERT_TRUE(part.open(QIODevice::ReadOnly));
    const DecodedPicture decoded = decodePicture(part.readAll());
    EXPECT_TRUE(decoded.cutShort);
    EXPECT_NE(decoded.image, whole);
}

// Run-length coded rows may end before the picture does (an end-of-picture
// code after the first row here): the pixels they skip are colour 0 of the
// palette on every load, never what the memory held before.
TEST_F(PictureLoadTest, PixelsThatRunLengthRowsSkipAreColourZero)
{
    QByteArray bmp("BM");
    bmp += QByteArray(12 + 40, '\0');
    putLittleEndian(bmp, 10, 14 + 40 + 8, 4);      // the rows follow the palette
    putLittleEndian(bmp, 14, 40, 4);               // the Windows header
    putLittleEndian(bmp, 18, 4, 4);                // 4 x 4
    putLittleEndian(bmp, 22, 4, 4);
    putLittleEndian(bmp, 26, 1, 2);                // one plane
    putLittleEndian(bmp, 28, 8, 2);                // 8 bits a pixel
    putLittleEndian(bmp, 30, 1, 4);                // run-length coded
    putLittleEndian(bmp, 46, 2, 4);                // two colours
    bmp += QByteArray::fromHex("1e140a00" "3264c800"); // (10, 20, 30) and (200, 100, 50)
    bmp += QByteArray::fromHex("0401" "0001");     // the bottom row in colour 1, then the end
    putLittleEndian(bmp, 2, bmp.size(), 4);
    const QString path = write(QStringLiteral("rle0001.bmp"), bmp);
    QImage expected(4, 4, QImage::Format_RGB32);
    expected.fill(qRgb(10, 20, 30));
    for (int x = 0; x < 4; ++x)
        expected.setPixel(x, 3, qRgb(200, 100, 50));
    for (int load = 0; load < 3; ++load)
        expectLoads(path, expected, true);
}

// A BMP that the program does not read says why, in words that lead to a
// file it does read, never with the decoder's "Unable to read image data".
TEST_F(PictureLoadTest, BmpsThatStayRefusedNameTheirReasonAndWhatWillDo)
{
    const QString advice = QStringLiteral("save it as a 24-bit BMP or as a JPEG picture");
    auto grey = [](int, int) { return 0x4210u; };
    QByteArray unknownHeader = BmpBytes{.width = 4, .height = 3, .bits = 24}.make(grey);
    putLittleEndian(unknownHeader, 14, 200, 4);
    QByteArray jpegInside = encodedPicture(patterned(4, 3), "BMP");
    putLittleEndian(jpegInside, 30, 4, 4);
    QByteArray twoBits = encodedPicture(patterned(4, 3), "BMP");
    putLittleEndian(twoBits, 28, 2, 2);
    const struct {
        const char *name;
        QByteArray bytes;
        QString why;
    } cases[] = {
        {"holes0001.bmp",
         BmpBytes{.width = 4, .height = 3, .bits = 16, .compression = 3, .masks = {0xF0F0, 0x0F00, 0x000F, 0}}.make(grey),
         QStringLiteral("16-bit BMP whose colour masks (red f0f0, green f00, blue f)")},
        {"overlap0001.bmp",
         BmpBytes{.width = 4, .height = 3, .bits = 16, .compression = 3, .masks = {0xF800, 0x0FE0, 0x001F, 0}}.make(grey),
         QStringLiteral("colour masks")},
        {"nomask0001.bmp",
         BmpBytes{.width = 4, .height = 3, .bits = 16, .compression = 3, .masks = {0xF800, 0, 0x001F, 0}}.make(grey),
         QStringLiteral("colour masks")},
        {"rle16bit0001.bmp", BmpBytes{.width = 4, .height = 3, .bits = 16, .compression = 1}.make(grey),
         QStringLiteral("16-bit BMP with its pixels stored run-length coded in 8 bits")},
        {"palette56-0001.bmp", BmpBytes{.width = 4, .height = 3, .bits = 8, .infoSize = 56}.make(grey),
         QStringLiteral("a BMP with a 56-byte header and 8 bits a pixel")},
        {"header200-0001.bmp", unknownHeader, QStringLiteral("a BMP with a 200-byte header, a kind this program does not read")},
        {"jpeginside0001.bmp", jpegInside, QStringLiteral("24-bit BMP with its pixels stored as a JPEG picture inside")},
        {"twobits0001.bmp", twoBits, QStringLiteral("a BMP of 2 bits a pixel")},
    };
    for (const auto &c : cases) {
        const QString path = write(QString::fromUtf8(c.name), c.bytes);
        expectRefused(path, c.why);
        const Result<QImage> loaded = LoadPicture(path);
        EXPECT_TRUE(loaded.error.endsWith(advice + QStringLiteral(" and choose that file."))) << loaded.error.toStdString();
        EXPECT_FALSE(loaded.error.contains(QStringLiteral("Unable to read"))) << loaded.error.toStdString();
    }
}

// A JPEG that the decoder refuses says why, from its frame header, and what
// will do, never with the decoder's "Unable to read image data".
TEST_F(PictureLoadTest, JpegsThatAreRefusedNameTheirReasonAndWhatWillDo)
{
    const QByteArray jpeg = encodedPicture(patterned(64, 48), "JPEG");
    // The frame header's offset: just past its marker.
    qsizetype frame = 2;
    while (!(quint8(jpeg[frame]) == 0xFF && quint8(jpeg[frame + 1]) == 0xC0))
        frame += 2 + (quint8(jpeg[frame + 2]) << 8 | quint8(jpeg[frame + 3]));
    frame += 2;
    auto patched = [&](std::initializer_list<std::pair<qsizetype, int>> bytes) {
        QByteArray out = jpeg;
        for (const auto &[at, value] : bytes)
            out[at] = char(value);
        return out;
    };
    const qsizetype marker = frame - 1, precision = frame + 2, height = frame + 3, width = frame + 5,
                    components = frame + 7, sampling = frame + 9, table = frame + 10;
    const QByteArray twelveBits = readFile(QStringLiteral(SCENARA_FUZZ_CORPUS "/picture_load/jpeg-12bit-samples.jpg"),
                                           4096).value;
    const struct {
        const char *name;
        QByteArray bytes;
        QString why;
    } cases[] = {
        {"twelve0001.jpg", twelveBits, QStringLiteral("it has 12-bit samples, which this program does not read")},
        {"sixteen0001.jpg", patched({{precision, 16}}), QStringLiteral("it has 16-bit samples")},
        {"lossless0001.jpg", patched({{marker, 0xC3}}), QStringLiteral("it is a lossless JPEG, which this program does not read")},
        {"hierarchical0001.jpg", patched({{marker, 0xC5}}), QStringLiteral("it is a hierarchical JPEG")},
        {"dnl0001.jpg", patched({{height, 0}, {height + 1, 0}}),
         QStringLiteral("it gives its height only after its picture data (in a DNL marker)")},
        {"wide0001.jpg", patched({{width, 0xFF}, {width + 1, 0xFF}}),
         QStringLiteral("the picture is 65535 x 48 pixels, and the JPEG decoder reads no side longer than 65500")},
        {"twoinks0001.jpg", patched({{components, 2}}), QStringLiteral("it has 2 colour components")},
        {"nowidth0001.jpg", patched({{width, 0}, {width + 1, 0}}),
         QStringLiteral("the file is damaged: its frame header gives a picture 48 pixels high and 0 wide")},
        {"sampling0001.jpg", patched({{sampling, 0x55}}),
         QStringLiteral("the file is damaged: its frame header gives a sampling factor of 5 x 5")},
        {"noframe0001.jpg", patched({{marker, 0xEE}}),
         QStringLiteral("the file is damaged: its picture data come before its frame header")},
        // Nothing in the frame header says why: a table it names is missing.
        {"notable0001.jpg", patched({{table, 3}}),
         QStringLiteral("the JPEG decoder could not read its picture: the file is damaged, or a kind of JPEG this "
                        "program does not read")},
    };
    const AllowedQtNotes damaged(AllowedQtNotes::JpegDecoder, "these pictures are refused on purpose; the decoder says why");
    for (const auto &c : cases) {
        const QString path = write(QString::fromUtf8(c.name), c.bytes);
        expectRefused(path, c.why);
        const Result<QImage> loaded = LoadPicture(path);
        EXPECT_TRUE(loaded.error.endsWith(
            QStringLiteral("; save it as an 8-bit JPEG or as a 24-bit BMP picture and choose that file.")))
            << loaded.error.toStdString();
        EXPECT_FALSE(loaded.error.contains(QStringLiteral("Unable to read"))) << loaded.error.toStdString();
    }
}

// A 56-byte header holds the 40-byte header's fields and four masks: its
// picture loads as the same picture after a 40-byte header does.
TEST_F(PictureLoadTest, AFiftySixByteHeaderIsTheFortyByteOneWithMasks)
{
    auto pixel = [](int x, int y) { return quint32(x * 40 << 16 | y * 60 << 8 | (x ^ y) * 30); };
    for (const int bits : {24, 32}) {
        SCOPED_TRACE(bits);
        const QString plain = write(QStringLiteral("plain0001.bmp"), BmpBytes{.width = 5, .height = 4, .bits = bits}.make(pixel));
        const QString masked = write(
            QStringLiteral("masked0001.bmp"),
            BmpBytes{.width = 5, .height = 4, .bits = bits, .compression = quint32(bits == 32 ? 3 : 0), .infoSize = 56,
                     .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000}}
                .make(pixel));
        const Result<QImage> before = LoadPicture(plain);
        ASSERT_TRUE(before) << before.error.toStdString();
        ASSERT_EQ(before.value.pixel(4, 3), qRgb(160, 180, 210));
        const PictureBytes read = ReadPictureFile(masked);
        ASSERT_TRUE(read) << read.error.toStdString();
        EXPECT_EQ(read.value.size, QSize(5, 4));
        expectLoads(masked, before.value, true);
        // Cut short in its header or its rows, it is refused as such.
        for (const qsizetype length : {qsizetype(60), read.value.bytes.size() - 1})
            expectRefused(write(QStringLiteral("part0001.bmp"), read.value.bytes.left(length)),
                          QStringLiteral("ends before its picture does"));
    }
}

// The loader reads BMP and JPEG only, told by the content, whatever the name.
TEST_F(PictureLoadTest, OnlyBmpAndJpegContentLoads)
{
    const QImage small = patterned(6, 4);
    // The smallest GIF: one pixel, a two-colour table, one image block.
    const QByteArray gif = QByteArray::fromHex("474946383961010001008000000000ffffff21f90401000000002c000000000100"
                                               "010000020144003b");
    const struct {
        const char *name;
        QByteArray bytes;
    } others[] = {
        {"png0001.bmp", encodedPicture(small, "PNG")}, {"ppm0001.jpg", encodedPicture(small, "PPM")},
        {"xpm0001.bmp", encodedPicture(small, "XPM")}, {"ico0001.jpg", encodedPicture(small, "ICO")},
        {"gif0001.bmp", gif},
    };
    for (const auto &c : others) {
        ASSERT_FALSE(c.bytes.isEmpty()) << c.name;
        expectRefused(write(QString::fromUtf8(c.name), c.bytes), QStringLiteral("not a BMP or JPEG picture"));
    }
    expectLoads(write(QStringLiteral("bmp0001.jpg"), encodedPicture(small, "BMP")), small, true);
}

// A file that changes between its check and its read: only what passed the
// check is read, so a part that grows whole afterwards is still a part.
TEST_F(PictureLoadTest, AFileGrownAfterItsCheckIsReadOnlyAsFarAsItWasChecked)
{
    static QByteArray rest;
    static QString grown;
    const QByteArray bmp = encodedPicture(patterned(16, 16), "BMP");
    grown = write(QStringLiteral("growing0001.bmp"), bmp.left(bmp.size() / 2));
    rest = bmp.mid(bmp.size() / 2) + QByteArray(1 << 20, 'x');
    OpenedFile::setCheckedHook([](const QString &path) {
        if (path != grown)
            return;
        QFile f(path);
        if (f.open(QIODevice::Append))
            f.write(rest);
    });
    expectRefused(grown, QStringLiteral("ends before its picture does"));
    OpenedFile::setCheckedHook(nullptr);
    EXPECT_EQ(QFileInfo(grown).size(), bmp.size() + (1 << 20));
    expectLoads(grown, patterned(16, 16), true);
}

} // namespace

namespace {

// The one rule of how large a picture may be, with the readers' allocation
// limit as Qt sets it and with none set (0), where a picture still stops at
// 2 GiB: every reader, the cutter and the resize ask it.
TEST(PictureMemoryLimit, OneRuleWithAndWithoutTheReadersLimit)
{
    const int before = QImageReader::allocationLimit();
    struct Case {
        int limitMb;
        qint64 width, height, fileBytes;
        bool fits, fileFits;
    } cases[] = {
        {8, 1024, 2048, 16LL << 20, true, true},        // exactly 8 MB, a file of twice that
        {8, 1024, 2049, (16LL << 20) + 1, false, false}, // one row and one byte more
        {0, 16384, 32768, 4LL << 30, true, true},       // 2 GiB with no limit set
        {0, 16384, 32769, (4LL << 30) + 1, false, false},
        {0, 70000, 70000, 0, false, true},              // past 2 GiB: refused, never "no limit"
        {8, qint64(1) << 40, 1, 0, false, true},        // a side alone past the limit
    };
    for (const Case &c : cases) {
        QImageReader::setAllocationLimit(c.limitMb);
        SCOPED_TRACE(::testing::Message() << c.limitMb << " MB, " << c.width << " x " << c.height);
        EXPECT_EQ(pictureFitsInMemory(c.width, c.height), c.fits);
        EXPECT_EQ(pictureFileFitsInMemory(c.fileBytes), c.fileFits);
    }
    QImageReader::setAllocationLimit(before);
}

} // namespace
