#pragma once

#include "core/geometry/Rect.h"
#include "core/model/Annotation.h"
#include "core/document/BlurCache.h"

#include <QImage>
#include <QRect>

#include <optional>

namespace lumivex {

// Computes the blurred or pixelated patch of a blur annotation from the document's base image, only for the
// part of the annotation that lies on the image. The renderer clips the patch to the annotation's rounded
// frame; this only produces it.
namespace BlurRenderer {

struct Patch {
    Rect region;  // whole image pixels, inside the image
    QImage image; // exactly the region's size, Format_ARGB32_Premultiplied (or Format_RGB32 for an opaque base)
};

// Beyond this a blur radius or block size changes nothing visible; it also keeps the arithmetic finite.
constexpr double maximumAmount = 1e6;

// The smallest whole-pixel rectangle containing the frame, cut to the image; empty when nothing remains.
QRect patchRegion(const Rect& frame, QSize imageSize);

// The cache key of the annotation's patch, or none when the annotation draws no patch on such an image.
std::optional<BlurCache::Key> cacheKey(const Annotation& annotation, QSize imageSize);

// The patch to draw, looked up in and stored into the cache when one is given; none when nothing is drawn.
std::optional<Patch> render(const Annotation& annotation, const QImage& base, BlurCache* cache);

// The region of the base image blurred with a gaussian of standard deviation `radius`. The image's edges are
// extended by repeating their pixels, so a patch at the border keeps its colour up to the edge.
QImage gaussianPatch(const QImage& base, const QRect& region, double radius);

// The region of the base image pixelated into blocks of `blockSize` anchored at the image's bottom-left corner.
QImage pixelatedPatch(const QImage& base, const QRect& region, double blockSize);

} // namespace BlurRenderer

} // namespace lumivex
