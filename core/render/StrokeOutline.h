#pragma once

#include <QPainterPath>

namespace lumivex {

// The outlines around text glyphs and arrows: every point within `width` of a shape's edge, what stroking it
// with a round pen twice as wide gives (the shape drawn over it covers the inner half).
//
// Filling such a stroke is slow in Qt's rasteriser (2 to 4 ms for one word at 143 pixels, most of what a large
// outlined text costs): a stroke is hundreds of overlapping pieces. The same shape without overlaps fills ten times
// faster but takes a few milliseconds to compute, so the last outlines made are kept: the canvas draws a text or an
// arrow many times before it is exported, and every drawing after the first reuses its outline.
namespace StrokeOutline {

// The outline of `shape` as one path without overlaps, in the shape's own coordinates.
QPainterPath around(const QPainterPath& shape, double width);

} // namespace StrokeOutline

} // namespace lumivex
