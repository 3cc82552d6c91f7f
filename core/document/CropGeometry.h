#pragma once

#include "core/document/CropHandle.h"
#include "core/geometry/Point.h"
#include "core/geometry/Rect.h"
#include "core/geometry/Vector.h"

#include <utility>
#include <vector>

namespace lumivex {

// Crop rectangle editing. Every result has each edge rounded to the nearest whole pixel separately.
namespace CropGeometry {

constexpr double minimumSize = 8;

std::vector<std::pair<CropHandle, Point>> handlePoints(const Rect& rect);
Rect newRect(Point from, Point to, const Rect& bounds);
Rect resized(const Rect& rect, CropHandle handle, Point to, const Rect& bounds, double minimumSize);
Rect moved(const Rect& rect, Vector by, const Rect& within);

} // namespace CropGeometry

} // namespace lumivex
