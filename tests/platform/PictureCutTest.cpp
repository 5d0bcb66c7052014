// Pictures cut while they are read: every cut equals the loader's whole
// picture cut afterwards, pixel for pixel, in every JPEG and BMP layout the
// cutter takes; every other file is left to the loader.

#include "adapters/jpeg/PictureCut.h"
#include "core/pictures/ImageWorkspace.h"
#include "core/scene/FrameExport.h"

#include "tests/support/BmpBytes.h"
#include "tests/support/EncodedPicture.h"
#include "tests/support/QtNotes.h"
#include "tests/support/program/ScriptedWindows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include <sys/stat.h>

extern "C" {
#include <jpeglib.h>
}

namespace {

// Gradients with noise, so that the JPEG encoder has real work and no two
// blocks are alike.
QImage photoLike(int width, int height, quint32 seed = 7)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 state = seed;
    auto clamp = [](int v) { return std::clamp(v, 0, 255); };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const int noise = int(state >> 27) - 16;
            image.setPixel(x, y, qRgb(clamp(x * 255 / width + noise), clamp(y * 255 / height - noise),
                                      clamp((x + y) * 255 / (width + height) + noise / 2)));
        }
    }
    return image;
}


// Encodes with libjpeg itself: `configure` sets what differs from its
// defaults, `fill` writes row y at `components` bytes a pixel.
QByteArray encodedByLibjpeg(int width, int height, int components, J_COLOR_SPACE space,
                            const std::function<void(jpeg_compress_struct &)> &configure,
                            const std::function<void(int, uchar *)> &fill)
{
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char *out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    configure(info);
    jpeg_start_compress(&info, TRUE);
    std::vector<uchar> row(size_t(width) * size_t(components));
    while (info.next_scanline < info.image_height) {
        fill(int(info.next_scanline), row.data());
        JSAMPROW rows = row.data();
        jpeg_write_scanlines(&info, &rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const QByteArray bytes(reinterpret_cast<const char *>(out), qsizetype(size));
    std::free(out);
    return bytes;
}

// A JPEG with the given sampling of the brightness component (2 x 2 is what
// the Qt writer makes; 1 x 1 keeps the colours at full size, 4:4:4), and a
// restart marker every `restartRows` rows of blocks when not 0.
QByteArray encodedSampled(const QImage &image, int horizontal, int vertical, int restartRows = 0)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    return encodedByLibjpeg(
        image.width(), image.height(), 3, JCS_RGB,
        [&](jpeg_compress_struct &info) {
            jpeg_set_quality(&info, 85, TRUE);
            info.comp_info[0].h_samp_factor = horizontal;
            info.comp_info[0].v_samp_factor = vertical;
            info.restart_in_rows = restartRows;
        },
        [&](int y, uchar *row) { std::memcpy(row, rgb.constScanLine(y), size_t(image.width()) * 3); });
}

// A JPEG of four inks (CMYK), as print programs write them.
QByteArray encodedInks(int width, int height)
{
    return encodedByLibjpeg(
        width, height, 4, JCS_CMYK, [](jpeg_compress_struct &) {},
        [&](int y, uchar *row) {
            for (int i = 0; i < width * 4; ++i)
                row[i] = uchar(i * 7 + y);
        });
}

void putLittleEndian(QByteArray &bytes, qsizetype at, qint64 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

qint64 littleEndian(const QByteArray &bytes, qsizetype at)
{
    return quint8(bytes[at]) | quint8(bytes[at + 1]) << 8 | quint8(bytes[at + 2]) << 16 | qint64(quint8(bytes[at + 3])) << 24;
}

// The same uncompressed BMP stored top down: rows in reverse order, the height negative.
QByteArray topDown(const QByteArray &bmp)
{
    QByteArray out = bmp;
    const qint64 offset = littleEndian(bmp, 10), width = littleEndian(bmp, 18), height = littleEndian(bmp, 22);
    const qint64 bits = quint8(bmp[28]);
    const qint64 row = (width * bits + 31) / 32 * 4;
    for (qint64 y = 0; y < height; ++y)
        out.replace(offset + y * row, row, bmp.mid(offset + (height - 1 - y) * row, row));
    putLittleEndian(out, 22, -height, 4);
    return out;
}

// An 8-bit picture with a palette of 40 colours (more than 16, so that it is
// stored with 8 bits a pixel).
QImage paletted(int width, int height)
{
    QImage image(width, height, QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (int i = 0; i < 40; ++i)
        colours << qRgb(i * 6, 255 - i * 5, (i * 37) % 256);
    image.setColorTable(colours);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, uint((x * 3 + y * 7) % 40));
    return image;
}

// The same 8-bit BMP with some pixels pointing beyond its palette.
QByteArray withIndexesBeyondPalette(const QByteArray &bmp)
{
    QByteArray out = bmp;
    const qint64 offset = littleEndian(bmp, 10);
    for (qint64 at = offset; at < out.size(); at += 5)
        out[at] = char(200);
    return out;
}

struct Area {
    const char *name;
    std::optional<PictureArea> area;
};

// Areas of a 203 x 151 picture: corners, edges, odd offsets, block edges and
// areas reaching beyond the picture.
const Area kAreas[] = {
    {"no area: the whole picture", std::nullopt},
    {"the whole picture as an area", PictureArea{0, 0, 203, 151}},
    {"1 x 1 at the top left", PictureArea{0, 0, 1, 1}},
    {"1 x 1 at the bottom right", PictureArea{202, 150, 203, 151}},
    {"1 x 1 inside", PictureArea{101, 77, 102, 78}},
    {"odd offsets", PictureArea{13, 7, 50, 36}},
    {"on 16-pixel block edges", PictureArea{16, 32, 48, 64}},
    {"one past block edges", PictureArea{17, 33, 32, 49}},
    {"one before block edges", PictureArea{15, 31, 47, 63}},
    {"the right edge", PictureArea{180, 40, 203, 90}},
    {"the bottom edge", PictureArea{50, 120, 110, 151}},
    {"reaching beyond the right and bottom", PictureArea{190, 140, 290, 240}},
    {"reaching beyond the left and top", PictureArea{-5, -3, 15, 17}},
    {"one row", PictureArea{0, 75, 203, 76}},
    {"one column", PictureArea{101, 0, 102, 151}},
    {"a large part", PictureArea{9, 5, 170, 140}},
};

class PictureCutTest : public AppTest {
protected:
    QString write(const QString &name, const QByteArray &bytes) { return writeTempFile(name, bytes); }

    // What the loader and the workspace's crop give.
    static QImage loadedAndCut(const QString &path, const std::optional<PictureArea> &area)
    {
        ImageWorkspace ws;
        if (!ws.LoadImageFile(path))
            return QImage();
        if (area && !ws.CropImageArea(int(area->left), int(area->top), int(area->right), int(area->bottom)))
            return QImage();
        return ws.Picture();
    }

    void expectSameCuts(const QString &path, PictureCutter::Reader reader)
    {
        PictureCutter cutter;
        for (const Area &a : kAreas) {
            SCOPED_TRACE(a.name);
            const QImage expected = loadedAndCut(path, a.area);
            ASSERT_FALSE(expected.isNull());
            ASSERT_TRUE(cutter.read(path, a.area));
            EXPECT_EQ(cutter.lastReader(), reader);
            EXPECT_EQ(cutter.picture().size(), expected.size());
            EXPECT_TRUE(cutter.picture() == expected);
        }
    }
};

TEST_F(PictureCutTest, JpegCutsEqualTheWholePictureCut)
{
    const QImage photo = photoLike(203, 151);
    QImage grey = photo.convertToFormat(QImage::Format_Grayscale8);
    const struct {
        const char *name;
        QByteArray bytes;
    } sources[] = {
        {"baseline, colours at half size both ways (4:2:0)", encodedPicture(photo, "JPEG")},
        {"progressive", encodedPicture(photo, "JPEG", true)},
        {"colours at full size (4:4:4)", encodedSampled(photo, 1, 1)},
        {"colours at half width (4:2:2)", encodedSampled(photo, 2, 1)},
        {"with restart markers", encodedSampled(photo, 2, 2, 1)},
        {"grey", encodedPicture(grey, "JPEG")},
    };
    for (const auto &source : sources) {
        SCOPED_TRACE(source.name);
        expectSameCuts(write(QStringLiteral("frame.jpg"), source.bytes), PictureCutter::Reader::Jpeg);
    }
}

TEST_F(PictureCutTest, BmpCutsEqualTheWholePictureCutBitForBit)
{
    const QByteArray rgb = encodedPicture(photoLike(203, 151), "BMP"); // rows of 609 bytes padded to 612
    const QByteArray indexed = encodedPicture(paletted(203, 151), "BMP");
    ASSERT_EQ(rgb[28], 24);
    ASSERT_EQ(indexed[28], 8);
    const struct {
        const char *name;
        QByteArray bytes;
    } sources[] = {
        {"24-bit, bottom up", rgb},
        {"24-bit, top down", topDown(rgb)},
        {"8-bit with a palette, bottom up", indexed},
        {"8-bit with a palette, top down", topDown(indexed)},
        {"8-bit with indexes beyond its palette", withIndexesBeyondPalette(indexed)},
    };
    for (const auto &source : sources) {
        SCOPED_TRACE(source.name);
        expectSameCuts(write(QStringLiteral("frame.bmp"), source.bytes), PictureCutter::Reader::Bmp);
    }
}

// 16-bit pixels, and the 56-byte header, are widened by repeating each
// channel's bits: white is 255 in every channel, as other programs show it,
// not the 248 of a shift. The loader and the cutter give the same pixels.
TEST_F(PictureCutTest, SixteenBitBmpsAreWidenedAlikeByTheLoaderAndTheCutter)
{
    struct Colours {
        quint32 white, black, grey;
        QRgb greyShown;
    };
    const Colours rgb565{0xFFFF, 0x0000, 0x8410, qRgb(132, 130, 132)}; // 16 of 31, 32 of 63
    const Colours rgb555{0x7FFF, 0x0000, 0x4210, qRgb(132, 132, 132)};
    const Colours rgb32{0xFFFFFF, 0x000000, 0x808080, qRgb(128, 128, 128)};
    const std::array<quint32, 4> masks565{0xF800, 0x07E0, 0x001F, 0}, masks555{0x7C00, 0x03E0, 0x001F, 0};
    const struct {
        const char *name;
        BmpBytes layout;
        Colours colours;
    } layouts[] = {
        {"565 in bit fields", {.bits = 16, .compression = 3, .masks = masks565}, rgb565},
        {"555 plain", {.bits = 16}, rgb555},
        {"555 in bit fields", {.bits = 16, .compression = 3, .masks = masks555}, rgb555},
        {"565 after a 56-byte header", {.bits = 16, .compression = 3, .infoSize = 56, .masks = masks565}, rgb565},
        {"555 after a 52-byte header", {.bits = 16, .compression = 3, .infoSize = 52, .masks = masks555}, rgb555},
        {"4444 with alpha after a 56-byte header",
         {.bits = 16, .compression = 3, .infoSize = 56, .masks = {0x0F00, 0x00F0, 0x000F, 0xF000}},
         {0xFFFF, 0xF000, 0x0888, qRgb(136, 136, 136)}},
        {"565 after a 124-byte header", {.bits = 16, .compression = 3, .infoSize = 124, .masks = masks565}, rgb565},
        {"24-bit after a 56-byte header", {.bits = 24, .infoSize = 56}, rgb32},
        {"32-bit after a 56-byte header",
         {.bits = 32, .compression = 3, .infoSize = 56, .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000}}, rgb32},
    };
    PictureCutter cutter;
    for (const auto &l : layouts) {
        for (const bool topDown : {false, true}) {
            SCOPED_TRACE(::testing::Message() << l.name << (topDown ? ", top down" : ", bottom up"));
            // 7 x 5: the rows of 16-bit pixels are padded. Each row and column
            // differs from its neighbours, so that a row read upside down or a
            // column off by one shows.
            BmpBytes layout = l.layout;
            layout.width = 7;
            layout.height = 5;
            layout.topDown = topDown;
            const quint32 stored[] = {l.colours.white, l.colours.black, l.colours.grey};
            const QRgb shown[] = {qRgb(255, 255, 255), qRgb(0, 0, 0), l.colours.greyShown};
            auto which = [](int x, int y) { return (x + 2 * y) % 3; };
            QImage expected(7, 5, QImage::Format_RGB32);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 7; ++x)
                    expected.setPixel(x, y, shown[which(x, y)]);
            const QString path =
                write(QStringLiteral("frame0001.bmp"), layout.make([&](int x, int y) { return stored[which(x, y)]; }));

            const Result<QImage> loaded = LoadPicture(path);
            ASSERT_TRUE(loaded) << loaded.error.toStdString();
            EXPECT_EQ(loaded.value, expected);
            for (const std::optional<PictureArea> &area :
                 {std::optional<PictureArea>(), std::optional(PictureArea{1, 1, 4, 3}), std::optional(PictureArea{6, 4, 9, 9})}) {
                ASSERT_TRUE(cutter.read(path, area));
                EXPECT_EQ(cutter.lastReader(), PictureCutter::Reader::Bmp);
                const QRect inside = area ? QRect(int(area->left), int(area->top), int(area->right - area->left),
                                                  int(area->bottom - area->top))
                                                .intersected(expected.rect())
                                          : expected.rect();
                EXPECT_EQ(cutter.picture(), expected.copy(inside));
                EXPECT_TRUE(cutter.picture() == loadedAndCut(path, area));
            }
            // Cut short by its last byte, each is left to the loader, which refuses it.
            const QByteArray whole = layout.make([&](int x, int y) { return stored[which(x, y)]; });
            const QString part = write(QStringLiteral("part0001.bmp"), whole.left(whole.size() - 1));
            EXPECT_FALSE(cutter.read(part, std::nullopt));
            EXPECT_FALSE(LoadPicture(part));
        }
    }
}

TEST_F(PictureCutTest, FilesItDoesNotReadExactlyAreLeftToTheLoader)
{
    const QImage photo = photoLike(64, 48);
    const QByteArray jpeg = encodedPicture(photo, "JPEG");
    const QByteArray bmp = encodedPicture(photo, "BMP");
    QImage described = photo;
    described.setText(QStringLiteral("Description"), QStringLiteral("a frame with a comment"));
    QByteArray fourBits = encodedPicture(paletted(20, 10), "BMP");
    putLittleEndian(fourBits, 28, 4, 2);
    QByteArray v5 = bmp;
    putLittleEndian(v5, 14, 124, 4); // a larger header claimed, as newer writers make it
    const struct {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"empty", QByteArray()},
        {"text", "no picture here\n"},
        {"a PNG picture", encodedPicture(photo, "PNG")},
        {"a JPEG cut short", jpeg.left(jpeg.size() * 6 / 10)},
        {"a JPEG without its end marker", jpeg.left(jpeg.size() - 2)},
        {"a JPEG with a comment", encodedPicture(described, "JPEG")},
        {"a JPEG of four inks", encodedInks(32, 24)},
        {"a BMP cut short by one byte", bmp.left(bmp.size() - 1)},
        {"a BMP of 4 bits a pixel", fourBits},
        {"a BMP with another header size", v5},
    };
    PictureCutter cutter;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(cutter.read(write(QStringLiteral("frame0001.bmp"), c.bytes), PictureArea{1, 1, 9, 9}));
        EXPECT_EQ(cutter.lastReader(), PictureCutter::Reader::None);
        EXPECT_TRUE(cutter.picture().isNull());
    }

    // An area with nothing inside the picture is the workspace's to refuse.
    const QString whole = write(QStringLiteral("whole.jpg"), jpeg);
    EXPECT_FALSE(cutter.read(whole, PictureArea{64, 0, 80, 10}));
    EXPECT_FALSE(cutter.read(whole, PictureArea{10, 10, 10, 20}));
    EXPECT_TRUE(cutter.read(whole, PictureArea{63, 47, 80, 80}));

    // Paths that are no file: nothing is opened that could wait.
    QDir().mkpath(tempPath(QStringLiteral("folder.bmp")));
    EXPECT_FALSE(cutter.read(tempPath(QStringLiteral("folder.bmp")), std::nullopt));
    EXPECT_FALSE(cutter.read(tempPath(QStringLiteral("missing.bmp")), std::nullopt));
    ASSERT_EQ(mkfifo(QFile::encodeName(tempPath(QStringLiteral("pipe.bmp"))).constData(), 0600), 0);
    EXPECT_FALSE(cutter.read(tempPath(QStringLiteral("pipe.bmp")), std::nullopt));
}

// A JPEG of 12-bit samples, which the decoder does not read, is left to the
// loader, and the frame export stops with the loader's reason: the same
// sentence as a whole-picture load gives.
TEST_F(PictureCutTest, AJpegTheDecoderRefusesStopsTheExportWithTheLoadersReason)
{
    const QString path = QStringLiteral(SCENARA_FUZZ_CORPUS "/picture_load/jpeg-12bit-samples.jpg");
    const AllowedQtNotes refused(AllowedQtNotes::JpegDecoder, "the decoder says it does not read 12-bit samples");
    PictureCutter cutter;
    EXPECT_FALSE(cutter.read(path, PictureArea{1, 1, 9, 5}));
    EXPECT_EQ(cutter.lastReader(), PictureCutter::Reader::None);

    const Result<QImage> loaded = LoadPicture(path);
    ASSERT_FALSE(loaded);
    EXPECT_EQ(loaded.error, QStringLiteral("Could not load the picture %1: it has 12-bit samples, which this program "
                                           "does not read; save it as an 8-bit JPEG or as a 24-bit BMP picture and "
                                           "choose that file.")
                                .arg(path));
    FramePlan plan;
    plan.frames.append({path, tempPath(QStringLiteral("out/BExtra01.jpg"))});
    for (const std::optional<PixelCrop> &crop : {std::optional<PixelCrop>(PixelCrop{1, 1, 8, 4}), std::optional<PixelCrop>()}) {
        ImageWorkspace ws;
        const Result<> exported = exportFramePlan(ws, plan, crop);
        ASSERT_FALSE(exported);
        EXPECT_EQ(exported.error, loaded.error);
        EXPECT_FALSE(QFileInfo::exists(plan.frames[0].target));
    }
}

// Below the cut, a picture of one scan is only searched for its end marker.
// Cut short anywhere, with restart markers or without, in its first chunk of
// input or far after it, it is still left to the loader; whole, or with bytes
// after its end, it is read. A progressive picture, walked by the decoder,
// is held to the same.
TEST_F(PictureCutTest, APictureCutShortBelowTheCutIsLeftToTheLoaderAtAnyLength)
{
    // Noise over the whole range, so that the data is long and full of stuffed 0xFF bytes.
    QImage photo(800, 600, QImage::Format_RGB32);
    quint32 state = 11;
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            photo.setPixel(x, y, state >> 8);
        }
    const struct {
        const char *name;
        QByteArray bytes;
    } sources[] = {
        {"baseline", encodedPicture(photo, "JPEG")},
        {"with restart markers", encodedSampled(photo, 2, 2, 1)},
        {"progressive", encodedPicture(photo, "JPEG", true)},
    };
    const PictureArea area{10, 10, 200, 40};
    PictureCutter cutter;
    for (const auto &source : sources) {
        SCOPED_TRACE(source.name);
        const QByteArray &jpeg = source.bytes;
        ASSERT_GT(jpeg.size(), 3 * 64 * 1024) << "the search crosses chunks of input";
        for (const QByteArray &whole : {jpeg, jpeg + QByteArray("\xff\x00trailing\xff", 12)}) {
            const QString path = write(QStringLiteral("whole.jpg"), whole);
            ASSERT_TRUE(cutter.read(path, area));
            EXPECT_EQ(cutter.lastReader(), PictureCutter::Reader::Jpeg);
            EXPECT_TRUE(cutter.picture() == loadedAndCut(path, area));
        }
        QList<qsizetype> lengths{jpeg.size() - 1, jpeg.size() - 2, jpeg.size() - 3, 64 * 1024, 64 * 1024 + 1};
        for (int i = 1; i < 40; ++i)
            lengths << jpeg.size() * i / 40;
        for (const qsizetype length : lengths) {
            SCOPED_TRACE(length);
            EXPECT_FALSE(cutter.read(write(QStringLiteral("short.jpg"), jpeg.left(length)), area));
            EXPECT_EQ(cutter.lastReader(), PictureCutter::Reader::None);
        }
    }
}

TEST_F(PictureCutTest, OneCutterReadsASeriesOfSizes)
{
    // The buffers grow and shrink with the pictures; each cut is still exact.
    PictureCutter cutter;
    const QSize sizes[] = {{640, 480}, {33, 17}, {320, 240}, {1, 1}, {200, 100}};
    int n = 0;
    for (const QSize size : sizes) {
        for (const char *format : {"BMP", "JPEG"}) {
            ++n;
            const QString name = QStringLiteral("%1 x %2 %3").arg(size.width()).arg(size.height()).arg(QLatin1String(format));
            SCOPED_TRACE(name.toStdString());
            const QString path = write(QStringLiteral("f%1.%2").arg(n).arg(QLatin1String(format)),
                                       encodedPicture(photoLike(size.width(), size.height(), quint32(n)), format));
            const PictureArea area{size.width() / 3, size.height() / 4, size.width(), size.height() - size.height() / 5};
            ASSERT_TRUE(cutter.read(path, area));
            EXPECT_TRUE(cutter.picture() == loadedAndCut(path, area));
        }
    }
}

} // namespace
