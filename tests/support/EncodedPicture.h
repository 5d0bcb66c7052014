#pragma once
// A picture's file bytes as Qt's own writer makes them, for tests that need a
// BMP, JPEG or other file without going through the program's code.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

#include <gtest/gtest.h>

// `quality` -1 is the writer's default.
inline QByteArray encodedPicture(const QImage &image, const char *format, bool progressive = false, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.setQuality(quality);
    EXPECT_TRUE(writer.write(image));
    return bytes;
}
