#pragma once

#include <QByteArrayView>
#include <QImage>

#include <optional>

namespace lumivex::PngDecoder {

// Decodes the plain PNGs that screenshot services write (8-bit RGB or RGBA, not interlaced, no colour-space
// chunks) with libdeflate, several times faster than the general reader on large flat pictures, whose deflate
// streams are long runs of repeats. Nothing for any other kind, a damaged file, a picture with more than
// `pixelLimit` pixels or when memory runs out: the caller then reads with QImageReader, which explains errors.
std::optional<QImage> decodePlain(QByteArrayView png, qint64 pixelLimit);

} // namespace lumivex::PngDecoder
