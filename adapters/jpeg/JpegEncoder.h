#pragma once
// Encodes a picture as JPEG straight from its rows with libjpeg: the rows go
// to the encoder as they are in memory, without a converted copy. The file
// is the one Qt's JPEG writer makes of the same picture at the same quality,
// byte for byte (the same settings, the same JFIF header and density).

#include <QByteArray>
#include <QImage>

// Encodes `picture` into `bytes` (replacing what they held, reusing their
// memory). Takes 32-bit pictures without text or a colour space, which Qt's
// writer would add as markers; false for any other picture or a failure,
// which are left to QImageWriter.
bool encodeJpegRows(const QImage &picture, int quality, QByteArray *bytes);

// Makes EncodeJpeg (core/pictures/ImageWorkspace.h) use encodeJpegRows.
void useLibJpegEncoder();
