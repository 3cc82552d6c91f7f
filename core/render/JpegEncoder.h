#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

namespace lumivex::JpegEncoder {

// A baseline JPEG (libjpeg-turbo) at the given quality (0...1; a non-finite value means the default 0.92) with
// a JFIF density of round(72 x pixelScale) dots per inch. Chroma is kept at full resolution: screenshots are
// mostly text and sharp edges, which subsampling smears. A translucent image is flattened over black, as its
// premultiplied pixels already are. Nothing for a null image or one wider or taller than JPEG allows (65535).
std::optional<QByteArray> encode(const QImage& image, double quality, double pixelScale);

// The whole dots per inch stored for a pixel scale, kept within the JFIF field's range.
int dotsPerInch(double pixelScale);

} // namespace lumivex::JpegEncoder
