#pragma once
// The two readers behind PictureCutter, one per file format. Each reads an
// open regular file and returns false for anything it does not read exactly.

#include "adapters/jpeg/PictureCut.h"

#include <QRect>

struct CutRequest {
    int fd = -1;
    qint64 fileSize = 0;
    std::optional<PictureArea> area;
};

// The part of a width x height picture that the request keeps; empty when
// nothing of the area lies inside or the picture is too large to hold.
QRect cutRect(const CutRequest &request, qint64 width, qint64 height);

// Both fill `pixels` with the cut at 4 bytes a pixel and set `picture` to a
// view of it.
bool readJpegCut(const CutRequest &request, std::vector<uchar> &pixels, std::vector<uchar> &input, QImage *picture);
bool readBmpCut(const CutRequest &request, std::vector<uchar> &pixels, std::vector<uchar> &input, QImage *picture);
