#pragma once
// JPEG through libjpeg: the writer of the exported pictures and the decoder of the background picture.

#include "Outcome.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace JpegCodec {

// A 24-bit RGB copy of image compressed with libjpeg's defaults at quality 100 with baseline
// quantisation tables, sequential encoding. A positive sizeLimit refuses output beyond that many
// bytes through libjpeg's own error path (a bound for the caller, and the tests' way to make the
// encoder fail part-way).
Outcome<QByteArray> encode(const QImage &image, int quality = 100, qsizetype sizeLimit = 0);

// Decodes a JPEG into an RGB32 image, or says why the data is not one.
Outcome<QImage> decode(const QByteArray &data);

} // namespace JpegCodec
