#pragma once
// The words for a JPEG picture that the decoder refuses. The decoder's own
// ("Unable to read image data") tell a user nothing to do; the frame header
// (the first SOF segment) says what kind of JPEG the file is: one of a kind
// the decoder does not read (12-bit samples, lossless, hierarchical, its
// height given after the picture data, colour components other than one,
// three or four), or one whose header is damaged.

#include <QByteArray>
#include <QString>

// Why the decoder refused the JPEG `bytes`, ending with what to do: the kind
// the frame header gives, or that the file is damaged.
QString jpegRefusal(const QByteArray &bytes);
