#pragma once

#include "app/editor/CanvasTransform.h"
#include "core/geometry/Point.h"
#include "core/geometry/Rect.h"
#include "core/model/Annotation.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>

#include <vector>

namespace lumivex {

// The editing aids drawn over the picture in view points, so they keep their size at any zoom; none of them
// ever reaches an exported image.
namespace CanvasOverlay {

QColor accent();
// The distance of the rotation knob above the top edge, in view points.
constexpr double rotateKnobOffset = 26;

// Dashed outline (not for polygons and arrows), the rotation stem, and every handle.
void drawSelection(QPainter& painter, const Annotation& annotation, const CanvasTransform& transform);

// Shading outside the draft, thirds, border, eight handles and the size label. `card` is where the canvas
// rectangle lies in the view.
void drawCropOverlay(QPainter& painter, const Rect& draft, const QRectF& card, const CanvasTransform& transform);
// "<width> × <height>" in whole image pixels, fractions dropped.
QString cropSizeLabel(const Rect& draft);
QFont cropLabelFont();
// The label's pill for a draft shown at draftInView: above the draft, never closer than 2 points to the top.
QRectF cropLabelPill(const QRectF& draftInView, const QSizeF& textSize);

// The rubber band of the text-recognition tool.
void drawRecognitionRegion(QPainter& painter, const QRectF& regionInView);

// The polygon being drafted: its open outline up to the point following the mouse, the first vertex as the
// target that closes it and the fixed vertices as dots.
void drawPolygonDraft(QPainter& painter, const std::vector<Point>& points, const CanvasTransform& transform);

} // namespace CanvasOverlay

} // namespace lumivex
