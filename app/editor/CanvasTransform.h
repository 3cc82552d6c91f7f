#pragma once

#include "core/geometry/Point.h"
#include "core/geometry/Rect.h"
#include "core/geometry/Size.h"
#include "core/geometry/Vector.h"

#include <QPointF>
#include <QRectF>
#include <QTransform>

namespace lumivex {

// Maps between image pixels and view points: the canvas rectangle is fitted into the view with a margin of
// 28 points on every side and centred. Small pictures are enlarged, large ones reduced.
struct CanvasTransform {
    double scale = 1;   // view points per image pixel
    double offsetX = 0; // view position of the canvas's top-left corner
    double offsetY = 0;
    double originX = 0; // image-pixel position of the canvas's top-left corner (negative with padding)
    double originY = 0;

    static constexpr double margin = 28;

    // The fit of the canvas rectangle into a view of that size. Degenerate or non-finite input gives a usable
    // identity-like mapping rather than NaN or infinity.
    static CanvasTransform fitting(Size viewSize, const Rect& canvasRect);

    QPointF toView(Point imagePoint) const;
    Point toImage(QPointF viewPoint) const;
    QRectF toView(const Rect& imageRect) const;
    // A length in view points as image pixels (tolerances, nudges, minimum sizes).
    double toImageLength(double viewLength) const { return viewLength / scale; }
    // The card: where the canvas rectangle lies in the view.
    QRectF cardRect(const Rect& canvasRect) const;
    // Image pixels to view points, for a painter drawing in image pixels.
    QTransform imageToView() const;

    bool operator==(const CanvasTransform&) const = default;
};

} // namespace lumivex
