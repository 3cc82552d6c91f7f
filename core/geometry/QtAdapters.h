#pragma once

// The one place where our geometry meets Qt's: used only at drawing and widget calls.

#include "core/geometry/Point.h"
#include "core/geometry/Rect.h"
#include "core/geometry/Size.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace lumivex {

inline QPointF toQt(Point p) { return {p.x, p.y}; }
inline QSizeF toQt(Size s) { return {s.width, s.height}; }
inline QRectF toQt(const Rect& r) { return r.isNull() ? QRectF() : QRectF(r.minX(), r.minY(), r.maxX() - r.minX(), r.maxY() - r.minY()); }

inline Point fromQt(QPointF p) { return {p.x(), p.y()}; }
inline Size fromQt(QSizeF s) { return {s.width(), s.height()}; }
inline Rect fromQt(const QRectF& r) { return {r.x(), r.y(), r.width(), r.height()}; }

} // namespace lumivex
