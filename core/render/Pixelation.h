#pragma once

#include <QImage>
#include <QRect>

namespace lumivex {

// Pixelation into square blocks anchored at the image's bottom-left corner, so that blocks stay aligned to
// the whole image: two regions side by side share one grid, and moving a region does not shift its blocks.
namespace Pixelation {

// The pixels of `output` of `source` (4 channels of 8 bits: Format_ARGB32_Premultiplied or Format_RGB32)
// pixelated into blocks of `blockSize` pixels. Each block shows the average of the pixels whose centres lie in
// it; where a block reaches past the image, the image's edge pixels count for the missing ones, as if the
// edges extended forever. A null image when the arguments are unusable.
QImage pixelated(const QImage& source, const QRect& output, double blockSize);

} // namespace Pixelation

} // namespace lumivex
