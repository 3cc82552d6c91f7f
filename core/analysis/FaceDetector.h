#pragma once

#include "core/geometry/Rect.h"

#include <QImage>
#include <QString>

#include <optional>
#include <vector>

namespace lumivex::FaceDetector {

// What a detection found: face rectangles in image pixels (origin top left, y down), ordered by top edge and
// then left edge; or, when a pass failed, why (and no faces).
struct Detection {
    std::vector<Rect> faces;
    std::optional<QString> error;
};

// Finds the frontal faces in the image with dlib's HOG detector. The whole-image pass finds the faces of at least
// a quarter of the longer side; `thorough` adds one pass per tile of tileRegions() on the global thread pool,
// each tile finding the faces from a quarter to half of its size, so faces of about 30 pixels are found in a
// 1920 x 1080 screenshot. Profiles, faces turned well away and faces below the smallest tile's reach are not
// found. Safe to call from any thread; a null image has no faces.
Detection detectFaces(const QImage& image, bool thorough);

// Overlapping square tiles, sizes halving from half the longer side down to at least 120 pixels, each size laid
// out column by column with a step of half a tile and the last tile flush with the far edge; at most 700 tiles,
// and no size that would pass that number (nor any smaller size after it).
std::vector<Rect> tileRegions(int imageWidth, int imageHeight);

// Largest first, each rectangle is kept unless it duplicates one already kept: intersection over union above
// 0.35, or the intersection covering more than 60 % of the smaller of the two. The larger of two duplicates
// always survives.
std::vector<Rect> merge(std::vector<Rect> rects);

} // namespace lumivex::FaceDetector
