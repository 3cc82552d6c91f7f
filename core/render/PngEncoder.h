#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

namespace lumivex::PngEncoder {

// How hard the deflate stage works. `compact` (libdeflate level 6 with per-row filter choice) is for files:
// several times faster than Qt's default writer, and within a few percent of its size. `fast` (ISA-L igzip
// level 1) is for the clipboard, where the copy must feel instant and a slightly larger PNG costs nothing. Both
// work on bands of rows in parallel.
enum class Effort { compact, fast };

// An 8-bit PNG of the image: RGB when every pixel is opaque, otherwise RGBA with straight (un-premultiplied)
// alpha, and a pHYs chunk of 72 x pixelScale dots per inch (a non-finite or non-positive scale counts as 1).
// Nothing for a null image or when memory runs out.
std::optional<QByteArray> encode(const QImage& image, double pixelScale, Effort effort);

// Dots per metre stored for a pixel scale: round(72 x scale / 0.0254), kept within the PNG field's range.
quint32 dotsPerMetre(double pixelScale);

} // namespace lumivex::PngEncoder
