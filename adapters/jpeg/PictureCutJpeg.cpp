// The JPEG reader of PictureCutter, over libjpeg: the decoder produces only
// the columns of the cut (jpeg_crop_scanline, to the nearest block edge) and
// skips the rows above it (jpeg_skip_scanlines), which costs only the entropy
// decoding of those rows. The file is read in chunks, never whole: first
// through its markers to where the picture ends (a file that ends before is
// left to the loader), then by the decoder, which is given no byte after that
// end, as the loader's decoder is not. The decoder must still find where the
// data fails it: in a picture of one scan the bytes below the cut are searched
// for the end-of-image marker, without decoding them; a progressive picture is
// walked to its end by the decoder, which asks for more data where there is
// none.

#include "adapters/jpeg/PictureCutFormats.h"

#include "adapters/jpeg/LibJpeg.h"
#include "core/pictures/PictureFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace {

constexpr size_t kInputChunk = 64 * 1024;

// What the decoder reads from; libjpeg sees only the first member.
struct Source {
    jpeg_source_mgr manager;
    int fd;
    qint64 offset;
    qint64 end; // of the picture: the decoder is given no byte after it (decodePicture)
    JOCTET *buffer;
    bool endOfFile; // the decoder asked for data beyond the end of the file
};

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

Source *sourceOf(j_decompress_ptr info)
{
    return reinterpret_cast<Source *>(info->src);
}

void initSource(j_decompress_ptr) {}

// The next chunk of the picture into the buffer, up to its end at most.
ssize_t readChunk(Source *src)
{
    const size_t size = size_t(std::min<qint64>(kInputChunk, src->end - src->offset));
    if (size == 0)
        return 0;
    ssize_t n;
    do {
        n = ::pread(src->fd, src->buffer, size, off_t(src->offset));
    } while (n < 0 && errno == EINTR);
    return n;
}

// Where the picture in the file ends, walked through in chunks of `buffer`;
// 0 when the file ends first, -1 for a second start marker.
qint64 pictureEnd(int fd, JOCTET *buffer)
{
    JpegPictureEnd walk;
    for (qint64 offset = 0; !walk.found();) {
        ssize_t n;
        do {
            n = ::pread(fd, buffer, kInputChunk, off_t(offset));
        } while (n < 0 && errno == EINTR);
        if (n <= 0)
            break;
        walk.read(reinterpret_cast<const char *>(buffer), n);
        offset += n;
    }
    return walk.end();
}

// At the end of the file the decoder gets an end marker, as libjpeg's own
// file reader gives it, and the reader then refuses the picture.
boolean fillInput(j_decompress_ptr info)
{
    Source *src = sourceOf(info);
    const ssize_t n = readChunk(src);
    if (n <= 0) {
        // The file ends (or cannot be read) before the picture does.
        src->endOfFile = true;
        src->manager.next_input_byte = kEndOfImage;
        src->manager.bytes_in_buffer = sizeof kEndOfImage;
        return TRUE;
    }
    src->offset += n;
    src->manager.next_input_byte = src->buffer;
    src->manager.bytes_in_buffer = size_t(n);
    return TRUE;
}

void skipInput(j_decompress_ptr info, long count)
{
    if (count <= 0)
        return;
    Source *src = sourceOf(info);
    if (size_t(count) <= src->manager.bytes_in_buffer) {
        src->manager.next_input_byte += count;
        src->manager.bytes_in_buffer -= size_t(count);
        return;
    }
    src->offset += qint64(count) - qint64(src->manager.bytes_in_buffer);
    src->manager.next_input_byte = src->buffer;
    src->manager.bytes_in_buffer = 0;
}

void termSource(j_decompress_ptr) {}

// True when the rest of a one-scan picture's data ends in its end-of-image
// marker: a 0xFF, perhaps more 0xFF that fill, then 0xD9. In the entropy-coded
// data a 0xFF is followed by 0x00 (a stuffed data byte) or a restart marker;
// any other marker before the end is left to the loader. The search goes on
// from where the decoder stopped, which is never between a 0xFF and the byte
// after it.
bool endsWithEndOfImage(j_decompress_ptr info, Source *src)
{
    const auto isRestart = [](int marker) { return marker >= JPEG_RST0 && marker <= JPEG_RST0 + 7; };
    if (src->endOfFile)
        return false;
    if (info->unread_marker == JPEG_EOI)
        return true; // the decoder met it early
    if (info->unread_marker != 0 && !isRestart(info->unread_marker))
        return false;
    const JOCTET *at = src->manager.next_input_byte;
    size_t left = src->manager.bytes_in_buffer;
    bool afterMarkerByte = false;
    for (;;) {
        while (left > 0) {
            if (!afterMarkerByte) {
                const void *ff = std::memchr(at, 0xFF, left);
                if (!ff)
                    break;
                const size_t skipped = size_t(static_cast<const JOCTET *>(ff) - at) + 1;
                at += skipped;
                left -= skipped;
                afterMarkerByte = true;
                continue;
            }
            const int c = *at++;
            --left;
            if (c == JPEG_EOI)
                return true;
            if (c == 0xFF)
                continue;
            if (c != 0 && !isRestart(c))
                return false;
            afterMarkerByte = false;
        }
        const ssize_t n = readChunk(src);
        if (n <= 0)
            return false; // the file ends (or cannot be read) before the picture does
        src->offset += n;
        at = src->buffer;
        left = size_t(n);
    }
}

struct Decoded {
    QRect cut;
    qint64 firstColumn = 0; // of the decoded rows, in the picture
    qint64 stride = 0;
    int densityUnit = 0, densityX = 0, densityY = 0;
};

// Decodes the cut into `pixels`. An error leaves through longjmp to the
// setjmp below, so nothing here has a destructor that must run.
bool decode(jpeg_decompress_struct *info, JpegErrors *errors, Source *source, const CutRequest &request,
            std::vector<uchar> &pixels, Decoded *out)
{
    if (setjmp(errors->jump))
        return false;
    jpeg_create_decompress(info);
    info->src = &source->manager;
    // Comments and colour profiles travel with a loaded picture into the
    // pictures saved from it; such files are left to the loader.
    jpeg_save_markers(info, JPEG_COM, 1);
    jpeg_save_markers(info, JPEG_APP0 + 2, 1);
    if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK || info->marker_list)
        return false;
    const bool grey = info->num_components == 1 && info->jpeg_color_space == JCS_GRAYSCALE;
    const bool colour =
        info->num_components == 3 && (info->jpeg_color_space == JCS_YCbCr || info->jpeg_color_space == JCS_RGB);
    if (!grey && !colour)
        return false;
    out->cut = cutRect(request, info->image_width, info->image_height);
    if (out->cut.isEmpty())
        return false;

    info->out_color_space = JCS_EXT_BGRX; // the bytes of a QImage::Format_RGB32 pixel
    jpeg_start_decompress(info);
    // The decoder smooths the colours of each column with its neighbours, and
    // at the edges of a cropped row it has none: a column beyond the cut on
    // either side keeps the cut's own columns as in the whole picture. The
    // decoder moves the first column down to a block edge itself.
    const JDIMENSION left = JDIMENSION(std::max(out->cut.x() - 1, 0));
    const JDIMENSION right = std::min(JDIMENSION(out->cut.x() + out->cut.width() + 1), info->output_width);
    JDIMENSION firstColumn = left, columns = right - left;
    if (columns < info->output_width)
        jpeg_crop_scanline(info, &firstColumn, &columns);
    out->firstColumn = firstColumn;
    out->stride = qint64(info->output_width) * 4;
    pixels.resize(size_t(out->stride * (out->cut.height() + 1)));

    const JDIMENSION top = JDIMENSION(out->cut.y()), bottom = top + JDIMENSION(out->cut.height());
    if (top > 0 && jpeg_skip_scanlines(info, top) != top)
        return false;
    JSAMPROW rows[16];
    while (info->output_scanline < bottom) {
        const JDIMENSION want = std::min<JDIMENSION>(bottom - info->output_scanline, 16);
        for (JDIMENSION i = 0; i < want; ++i)
            rows[i] = pixels.data() + (info->output_scanline - top + i) * out->stride;
        if (jpeg_read_scanlines(info, rows, want) == 0)
            return false;
    }
    out->densityUnit = info->density_unit;
    out->densityX = info->X_density;
    out->densityY = info->Y_density;
    if (info->output_scanline < info->output_height && !jpeg_has_multiple_scans(info))
        return endsWithEndOfImage(info, source);
    // The rows below the cut are walked through to the end of the picture:
    // all but the last skipped (the decoder takes a skip to the very end as
    // the end of the data, without reading it), the last decoded into a
    // spare row after the cut.
    if (info->output_scanline < info->output_height) {
        if (info->output_scanline + 1 < info->output_height)
            jpeg_skip_scanlines(info, info->output_height - 1 - info->output_scanline);
        JSAMPROW spare = pixels.data() + out->cut.height() * out->stride;
        if (jpeg_read_scanlines(info, &spare, 1) != 1)
            return false;
    }
    jpeg_finish_decompress(info);
    return !source->endOfFile;
}

} // namespace

bool readJpegCut(const CutRequest &request, std::vector<uchar> &pixels, std::vector<uchar> &input, QImage *picture)
{
    if (input.size() < kInputChunk)
        input.resize(kInputChunk);
    jpeg_decompress_struct info;
    std::memset(&info, 0, sizeof info);
    JpegErrors errors;
    info.err = useJpegErrors(&errors);
    Source source;
    source.manager.init_source = initSource;
    source.manager.fill_input_buffer = fillInput;
    source.manager.skip_input_data = skipInput;
    source.manager.resync_to_restart = jpeg_resync_to_restart;
    source.manager.term_source = termSource;
    source.manager.next_input_byte = input.data();
    source.manager.bytes_in_buffer = 0;
    source.fd = request.fd;
    source.offset = 0;
    source.buffer = input.data();
    source.endOfFile = false;
    // A file that ends before its picture does, or starts a second one, is
    // the loader's to refuse.
    source.end = pictureEnd(request.fd, input.data());
    if (source.end <= 0)
        return false;

    Decoded decoded;
    const bool ok = decode(&info, &errors, &source, request, pixels, &decoded);
    jpeg_destroy_decompress(&info);
    if (!ok)
        return false;
    const QRect &cut = decoded.cut;
    *picture = QImage(pixels.data() + (cut.x() - decoded.firstColumn) * 4, cut.width(), cut.height(),
                      decoded.stride, QImage::Format_RGB32);
    // The density the loader gives a JPEG picture, which the JPEG writer passes on.
    if (decoded.densityUnit == 1) {
        picture->setDotsPerMeterX(int(100. * decoded.densityX / 2.54));
        picture->setDotsPerMeterY(int(100. * decoded.densityY / 2.54));
    } else if (decoded.densityUnit == 2) {
        picture->setDotsPerMeterX(int(100. * decoded.densityX));
        picture->setDotsPerMeterY(int(100. * decoded.densityY));
    }
    return true;
}
