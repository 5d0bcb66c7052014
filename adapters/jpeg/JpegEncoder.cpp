#include "adapters/jpeg/JpegEncoder.h"

#include "adapters/jpeg/LibJpeg.h"
#include "core/pictures/ImageWorkspace.h"

#include <QColorSpace>

#include <algorithm>
#include <cstring>


namespace {

constexpr qsizetype kFirstChunk = 64 * 1024;

// Where the encoder writes: the bytes, grown as it needs. libjpeg sees only
// the first member.
struct Destination {
    jpeg_destination_mgr manager;
    QByteArray *bytes;
};

Destination *destinationOf(j_compress_ptr info)
{
    return reinterpret_cast<Destination *>(info->dest);
}

void initDestination(j_compress_ptr info)
{
    Destination *d = destinationOf(info);
    d->bytes->resize(std::max(d->bytes->capacity(), kFirstChunk));
    d->manager.next_output_byte = reinterpret_cast<JOCTET *>(d->bytes->data());
    d->manager.free_in_buffer = size_t(d->bytes->size());
}

boolean growDestination(j_compress_ptr info)
{
    Destination *d = destinationOf(info);
    const qsizetype used = d->bytes->size();
    d->bytes->resize(used * 2);
    d->manager.next_output_byte = reinterpret_cast<JOCTET *>(d->bytes->data()) + used;
    d->manager.free_in_buffer = size_t(used);
    return TRUE;
}

void termDestination(j_compress_ptr info)
{
    Destination *d = destinationOf(info);
    d->bytes->resize(d->bytes->size() - qsizetype(d->manager.free_in_buffer));
}

// The picture's density in whole dots per inch or per centimetre, in the unit
// that holds its dots per metre more nearly as whole numbers (inches when
// both do equally badly), as Qt's writer gives it.
void setDensity(jpeg_compress_struct *info, int dotsPerMeterX, int dotsPerMeterY)
{
    const double inchX = dotsPerMeterX * 2.54 / 100., inchY = dotsPerMeterY * 2.54 / 100.;
    const double cmX = dotsPerMeterX / 100., cmY = dotsPerMeterY / 100.;
    const double inchError = qAbs(inchX - qRound(inchX)) + qAbs(inchY - qRound(inchY));
    const double cmError = (qAbs(cmX - qRound(cmX)) + qAbs(cmY - qRound(cmY))) * 2.54;
    if (inchError < cmError) {
        info->density_unit = 1;
        info->X_density = UINT16(qRound(inchX));
        info->Y_density = UINT16(qRound(inchY));
    } else {
        info->density_unit = 2;
        info->X_density = UINT16((dotsPerMeterX + 50) / 100);
        info->Y_density = UINT16((dotsPerMeterY + 50) / 100);
    }
}

// An error leaves through longjmp to the setjmp below, so nothing here has a
// destructor that must run.
bool encode(jpeg_compress_struct *info, JpegErrors *errors, Destination *destination, const QImage &picture, int quality)
{
    if (setjmp(errors->jump))
        return false;
    jpeg_create_compress(info);
    info->dest = &destination->manager;
    info->image_width = JDIMENSION(picture.width());
    info->image_height = JDIMENSION(picture.height());
    info->input_components = 4;
    info->in_color_space = JCS_EXT_BGRX; // the bytes of a 32-bit QImage pixel
    jpeg_set_defaults(info);
    setDensity(info, picture.dotsPerMeterX(), picture.dotsPerMeterY());
    jpeg_set_quality(info, quality, TRUE);
    jpeg_start_compress(info, TRUE);
    JSAMPROW rows[16];
    while (info->next_scanline < info->image_height) {
        const JDIMENSION count = std::min<JDIMENSION>(info->image_height - info->next_scanline, 16);
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = const_cast<uchar *>(picture.constScanLine(int(info->next_scanline + i)));
        jpeg_write_scanlines(info, rows, count);
    }
    jpeg_finish_compress(info);
    return true;
}

} // namespace

bool encodeJpegRows(const QImage &picture, int quality, QByteArray *bytes)
{
    const QImage::Format format = picture.format();
    if (picture.isNull() || (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32))
        return false;
    if (!picture.textKeys().isEmpty() || picture.colorSpace().isValid())
        return false;
    jpeg_compress_struct info;
    std::memset(&info, 0, sizeof info);
    JpegErrors errors;
    info.err = useJpegErrors(&errors);
    Destination destination;
    destination.manager.init_destination = initDestination;
    destination.manager.empty_output_buffer = growDestination;
    destination.manager.term_destination = termDestination;
    destination.bytes = bytes;
    const bool ok = encode(&info, &errors, &destination, picture, quality);
    jpeg_destroy_compress(&info);
    return ok;
}

void useLibJpegEncoder()
{
    setJpegRowEncoder(encodeJpegRows);
}
