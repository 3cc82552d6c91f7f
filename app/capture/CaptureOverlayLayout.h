#pragma once

#include "core/geometry/Rect.h"
#include "core/geometry/Size.h"

#include <QColor>
#include <QFont>
#include <QString>

namespace lumivex {

// The measurements of what an overlay draws: the size label, the hint pill and the area redrawn while dragging.
// All in the overlay's points (origin at its display's top-left corner, y downwards).
namespace CaptureOverlayLayout {

inline constexpr double dimAlpha = 0.45;
inline constexpr double windowHighlightAlpha = 0.18;
inline constexpr double pillAlpha = 0.75;
inline constexpr double minimumSelection = 4;
inline constexpr double hintTop = 36;

// "W × H": the selection's size in image pixels, both taken with the width's pixels per point.
QString sizeLabelText(Size selectionPoints, double pixelsPerPoint);
// The label's top-left corner: at the selection's left edge, 28 points above it, never closer than 4 points to
// the top of the display.
Point sizeLabelOrigin(const Rect& selection);
// A pill around text of that size: rounded up, plus 12 left and right and 6 above and below.
Size pillSize(Size textSize);
// What needs repainting when the selection changes: both rectangles (either may be null for "none"), with room
// at the sides for the outline and above and below for the size label.
Rect dragRedrawRect(const Rect& oldSelection, const Rect& newSelection);
// The pill's font: the desktop's font at 13 points, medium weight.
QFont pillFont();

} // namespace CaptureOverlayLayout

} // namespace lumivex
