#pragma once
// Checks on the bytes of a picture file before it is decoded. The decoders
// take a BMP or JPEG file that ends too early as a whole picture (the missing
// rows left black, grey or undefined), so a frame copied or saved only in part
// would go into a scene as if it were complete.

#include <QByteArray>

// True when the bytes start as a BMP or JPEG file but end before its picture
// data does: an uncompressed BMP shorter than its rows, a JPEG without the
// marker that ends its picture. False for anything else, which is left to the
// decoder.
bool pictureFileCutShort(const QByteArray &bytes);
