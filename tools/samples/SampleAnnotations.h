#pragma once

#include "core/model/Annotation.h"

#include <QSize>

#include <vector>

namespace lumivex::test {

// `count` annotations laid out on a grid over an image of the given size, cycling through every kind and many
// styles: outlined and filled, rounded, rotated and translucent shapes, bent outlined arrows, outlined Korean
// and English text on a background box, emoji and image stickers, and `blurCount` blur regions that alternate
// between gaussian and pixelated. Sizes follow the image as the editor's style points do.
std::vector<Annotation> sampleAnnotations(QSize imageSize, int count, int blurCount);

} // namespace lumivex::test
