#pragma once

#include "core/geometry/Rect.h"

#include <QImage>
#include <QRect>

#include <vector>

namespace lumivex::FacePass {

// dlib's frontal-face detector slides an 80-pixel window over an image pyramid, so on its own it sees no face
// smaller than about 56 pixels and spends most of its time on the finest pyramid level. A pass therefore brings
// its region to the scale at which the smallest face it is responsible for measures `windowFloor` pixels: tiles
// are mostly enlarged, the whole image of a large screenshot is reduced. A tile only looks for faces from a
// quarter to half of its size (smaller ones are found by smaller tiles, larger ones by larger tiles or the whole
// image), which takes three pyramid levels; the whole image looks for every face from a quarter of its longer
// side up. Every pass thus reads an image of at most 288 pixels a side, so the cost of a detection depends on the
// number of tiles, not on the size of the picture.
struct Band {
    double smallestFace = 0; // image pixels
    bool largerFacesToo = false;

    static Band forTile(const QRect& tile);
    static Band forWholeImage(QSize imageSize);
};

// Working pixels the smallest face of a band is scaled to: above the detector's limit (about 56), where small,
// blurred faces of an enlarged tile are still found (at 64, one face in ten of 30 to 36 pixels was missed).
inline constexpr double windowFloor = 72;

// The faces found in `region` of the image (Format_RGB32, ARGB32 or ARGB32_Premultiplied), in image pixels and
// clipped to the image; a region outside the image gives none. A face that touches an edge of the region that
// is not an edge of the image is left out: the region cut it, and a neighbouring tile or the whole image sees it
// whole. Throws what dlib throws.
// The detector is built once per thread and reused by every later pass on that thread.
std::vector<Rect> detect(const QImage& image, const QRect& region, const Band& band);

} // namespace lumivex::FacePass
