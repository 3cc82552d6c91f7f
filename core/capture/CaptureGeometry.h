#pragma once

#include "core/capture/WindowInfo.h"
#include "core/geometry/Point.h"
#include "core/geometry/Rect.h"
#include "core/geometry/Size.h"

#include <QImage>
#include <QList>

#include <optional>

namespace lumivex {

// The coordinate conversions a capture crosses: drag points to a rectangle, a bottom-left-origin screen frame
// to top-left global space, a pointed-at window, and display points to whole image pixels.
namespace CaptureGeometry {

// The normalised rectangle spanned by two points.
Rect rect(Point from, Point to);

// A frame in a global space whose origin is the primary display's bottom-left corner (y upwards) converted to
// top-left global space (y downwards): (minX, primaryScreenHeight - maxY, width, height).
Rect topLeftFrame(const Rect& appKitFrame, double primaryScreenHeight);

// The first window of the list whose frame contains the point (its min edges count, its max edges do not):
// given a front-to-back list, the front-most window under the point.
std::optional<WindowInfo> topWindow(Point at, const QList<WindowInfo>& in);

// A rectangle in display points (origin at the display's top-left corner) widened to whole pixels of the
// display's image and clipped to it; nothing when the display has no size or no pixel is left.
std::optional<Rect> pixelRect(const Rect& rect, Size displaySize, Size imageSize);

// The pixels of the selection (display points) cut out of the display's image. The result is its own
// opaque ARGB32 premultiplied copy: it must not keep the whole frozen display alive for a small crop.
std::optional<QImage> crop(const QImage& image, const Rect& selection, Size displaySize);

} // namespace CaptureGeometry

} // namespace lumivex
