// Annotation::dragging: the annotation as it becomes when one of its handles is dragged. Always computed from
// the geometry at the start of the drag, so a drag never accumulates rounding.

#include "core/model/Annotation.h"

#include "core/model/TextLayout.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lumivex {

namespace {

using namespace Capabilities;

constexpr double minimumCornerScale = 0.05;
constexpr double minimumFontSize = 1.0;
constexpr double minimumFrameSide = 1.0;
constexpr double rotationSnapStep = std::numbers::pi / 12;

Rect rectAround(Point center, double width, double height)
{
    return {center.x - width * 0.5, center.y - height * 0.5, width, height};
}

// The unit direction k x 45 degrees, exact for the axis directions so snapped arrows are exactly level.
Vector eighthTurnDirection(long k)
{
    constexpr double d = std::numbers::sqrt2 / 2;
    static constexpr Vector directions[8] = {{1, 0}, {d, d}, {0, 1}, {-d, d}, {-1, 0}, {-d, -d}, {0, -1}, {d, -d}};
    return directions[((k % 8) + 8) % 8];
}

// The point at p's distance from `from`, in the direction from `from` rounded to the nearest multiple of 45°.
Point snappedToEighthTurn(Point p, Point from)
{
    const Vector v = p - from;
    const double step = std::atan2(v.dy, v.dx) / (std::numbers::pi / 4);
    if (!std::isfinite(step))
        return p;
    return from + v.length() * eighthTurnDirection(std::lround(step));
}

// Outward direction of edge i (0 top, 1 right, 2 bottom, 3 left) of a frame turned by angle.
Vector outwardDirection(int edge, double angle)
{
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    switch (edge) {
    case 0:
        return {s, -c};
    case 1:
        return {c, s};
    case 2:
        return {-s, c};
    default:
        return {-c, -s};
    }
}

void dragAspectCorner(Annotation& a, Point anchor, Point corner, Point p)
{
    const double span = corner.distance(anchor);
    if (!(span > 0))
        return;
    const double scale = std::max(p.distance(anchor) / span, minimumCornerScale);
    const Point scaledCenter = anchor + scale * (a.center() - anchor);
    a.frame = rectAround(scaledCenter, a.frame.width * scale, a.frame.height * scale);
    if (a.kind == AnnotationKind::text) {
        a.fontSize = std::max(scale * a.fontSize, minimumFontSize);
        a.textExtraSize = Size(scale * a.textExtraSize.width, scale * a.textExtraSize.height);
        // The font size snaps to what the text actually measures; the scaled frame's centre stays.
        a.refreshTextFrame(true);
    }
}

void dragFreeCorner(Annotation& a, Point anchor, Point p)
{
    const Vector v = p - anchor;
    const double c = std::cos(a.rotation);
    const double s = std::sin(a.rotation);
    // Past the anchor the frame mirrors instead of getting a negative size.
    const double width = std::max(std::abs(v.dx * c + v.dy * s), minimumFrameSide);
    const double height = std::max(std::abs(-v.dx * s + v.dy * c), minimumFrameSide);
    a.frame = rectAround(Point::midpoint(p, anchor), width, height);
}

void dragCorner(Annotation& a, int i, Point p)
{
    if (i < 0 || i > 3 || !usesFrame(a.kind))
        return;
    const auto corners = a.corners();
    const Point anchor = corners[std::size_t((i + 2) % 4)];
    if (preservesAspect(a.kind))
        dragAspectCorner(a, anchor, corners[std::size_t(i)], p);
    else
        dragFreeCorner(a, anchor, p);
}

void dragPoint(Annotation& a, int i, Point p, bool snap)
{
    if (i < 0 || std::size_t(i) >= a.points.size())
        return;
    if (snap && a.kind == AnnotationKind::arrow && a.points.size() == 2)
        p = snappedToEighthTurn(p, a.points[std::size_t(1 - i)]);
    a.points[std::size_t(i)] = p;
}

void dragEdge(Annotation& a, int i, Point p)
{
    if (!hasEdgeHandles(a.kind) || i < 0 || i > 3)
        return;
    const bool horizontal = i == 1 || i == 3; // the left and right edges change the width
    const Vector u = outwardDirection(i, a.rotation);
    const double extent = horizontal ? a.frame.width : a.frame.height;
    const Size measured = TextLayout::textSize(a.text, a.fontSize, a.bold);
    const double minimum = (horizontal ? measured.width : measured.height) + 2 * TextLayout::padding(a.fontSize);
    const Point fixedEdge = a.center() - u * (extent / 2);
    const double newExtent = std::max((p - fixedEdge).dot(u), minimum);
    const Point newCenter = fixedEdge + u * (newExtent / 2);
    if (horizontal) {
        a.textExtraSize.width = newExtent - minimum;
        a.frame = rectAround(newCenter, newExtent, a.frame.height);
    } else {
        a.textExtraSize.height = newExtent - minimum;
        a.frame = rectAround(newCenter, a.frame.width, newExtent);
    }
}

void dragRotation(Annotation& a, Point p, bool snap)
{
    // Blur regions are drawn unturned; a rotation would only make their hit area disagree with the picture.
    if (!canRotate(a.kind))
        return;
    const Point c = a.center();
    double angle = std::atan2(p.y - c.y, p.x - c.x) + std::numbers::pi / 2;
    if (snap)
        angle = std::round(angle / rotationSnapStep) * rotationSnapStep;
    a.rotation = angle;
}

} // namespace

Annotation Annotation::dragging(const Handle& handle, Point to, bool snap) const
{
    Annotation result = *this;
    switch (handle.type) {
    case Handle::Type::corner:
        dragCorner(result, handle.index, to);
        break;
    case Handle::Type::point:
        dragPoint(result, handle.index, to, snap);
        break;
    case Handle::Type::edge:
        dragEdge(result, handle.index, to);
        break;
    case Handle::Type::rotate:
        dragRotation(result, to, snap);
        break;
    case Handle::Type::bend:
        if (kind == AnnotationKind::arrow)
            result.arrowBend = bendDragging(to, snap);
        break;
    }
    return result;
}

} // namespace lumivex
