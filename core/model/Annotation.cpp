#include "core/model/Annotation.h"

#include "core/model/Rotation.h"
#include "core/model/TextLayout.h"

#include <algorithm>
#include <cmath>

namespace lumivex {

namespace {

using namespace Capabilities;

// Segments the geometry of an arrow is sampled with for outlines and hit tests.
constexpr int arrowSampleSegments = 24;

double distanceToSegment(Point p, Point a, Point b)
{
    const Vector d = b - a;
    const double lengthSquared = d.lengthSquared();
    if (!(lengthSquared > 0))
        return p.distance(a);
    const double u = std::clamp((p - a).dot(d) / lengthSquared, 0.0, 1.0);
    return p.distance(a + u * d);
}

// Corners (min, min), (max, min), (max, max), (min, max) of the points' bounding box; none for no points.
std::vector<Point> boundingOutline(const std::vector<Point>& points)
{
    if (points.empty())
        return {};
    double minX = points.front().x, maxX = minX;
    double minY = points.front().y, maxY = minY;
    for (const Point& p : points) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    return {{minX, minY}, {maxX, minY}, {maxX, maxY}, {minX, maxY}};
}

// Even-odd crossing rule.
bool insidePolygon(Point p, const std::vector<Point>& points)
{
    bool inside = false;
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const Point& vi = points[i];
        const Point& vj = points[j];
        if ((p.y < vi.y) != (p.y < vj.y) && p.x < vi.x + (p.y - vi.y) * (vj.x - vi.x) / (vj.y - vi.y))
            inside = !inside;
    }
    return inside;
}

bool nearAnyEdge(Point p, const std::vector<Point>& points, double reach)
{
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (distanceToSegment(p, points[i], points[(i + 1) % points.size()]) <= reach)
            return true;
    }
    return false;
}

bool nearPolyline(Point p, const std::vector<Point>& points, double reach)
{
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        if (distanceToSegment(p, points[i], points[i + 1]) <= reach)
            return true;
    }
    return false;
}

// Inside the frame grown by `grow` on every side (a negative value shrinks it).
bool insideGrown(const Rect& frame, double grow, Point local)
{
    return frame.outset(grow, grow).contains(local);
}

bool hitsRectangleOutline(const Rect& frame, double reach, Point local)
{
    if (!insideGrown(frame, reach, local))
        return false;
    const Rect inner = frame.standardized();
    // Too narrow to have an inside: the whole grown frame is outline.
    if (!(inner.width - 2 * reach > 0) || !(inner.height - 2 * reach > 0))
        return true;
    return !insideGrown(frame, -reach, local);
}

bool hitsEllipse(const Rect& frame, bool filled, double tolerance, double lineWidth, Point local)
{
    const Rect f = frame.standardized();
    const double a = f.width * 0.5;
    const double b = f.height * 0.5;
    const double dx = local.x - f.midX();
    const double dy = local.y - f.midY();
    auto inside = [&](double ra, double rb) { return (dx / ra) * (dx / ra) + (dy / rb) * (dy / rb) <= 1; };
    if (filled) {
        const double outerA = a + tolerance, outerB = b + tolerance;
        return outerA > 0 && outerB > 0 && inside(outerA, outerB);
    }
    const double e = tolerance + lineWidth * 0.5;
    const double outerA = a + e, outerB = b + e;
    if (!(outerA > 0) || !(outerB > 0) || !inside(outerA, outerB))
        return false;
    const double innerA = a - e, innerB = b - e;
    if (!(innerA > 0) || !(innerB > 0))
        return true;
    return !inside(innerA, innerB);
}

} // namespace

Annotation::Annotation(AnnotationKind k) : id(QUuid::createUuid()), kind(k) {}

Point Annotation::center() const { return frame.center(); }

std::array<Point, 4> Annotation::corners() const
{
    std::array<Point, 4> result = frame.corners();
    const Point c = center();
    for (Point& corner : result)
        corner = Rotation::rotated(corner, c, rotation);
    return result;
}

void Annotation::translate(Vector by)
{
    frame.x += by.dx;
    frame.y += by.dy;
    for (Point& p : points)
        p = p + by;
}

std::vector<Point> Annotation::selectionOutline() const
{
    if (usesFrame(kind)) {
        const auto c = corners();
        return {c.begin(), c.end()};
    }
    // An arrow without both ends has no curve to enclose; its outline is that of the points it has.
    if (kind == AnnotationKind::arrow && points.size() >= 2)
        return boundingOutline(arrowPolyline(arrowSampleSegments));
    return boundingOutline(points);
}

bool Annotation::contains(Point p, double tolerance) const
{
    const Point local = Rotation::unrotated(p, center(), rotation);
    switch (kind) {
    case AnnotationKind::rectangle:
        if (fillColor)
            return insideGrown(frame, tolerance, local);
        return hitsRectangleOutline(frame, tolerance + lineWidth * 0.5, local);
    case AnnotationKind::ellipse:
        return hitsEllipse(frame, fillColor.has_value(), tolerance, lineWidth, local);
    case AnnotationKind::polygon:
        if (points.size() < 2)
            return false;
        if (nearAnyEdge(p, points, tolerance + lineWidth * 0.5))
            return true;
        // Two points are a line, never an area.
        return points.size() > 2 && fillColor && insidePolygon(p, points);
    case AnnotationKind::arrow:
        if (points.size() < 2)
            return false;
        return nearPolyline(p, arrowPolyline(arrowSampleSegments), tolerance + lineWidth * 1.5);
    case AnnotationKind::text:
    case AnnotationKind::blur:
    case AnnotationKind::sticker:
        return insideGrown(frame, tolerance, local);
    }
    return false;
}

std::vector<std::pair<Handle, Point>> Annotation::handles(double rotateOffset) const
{
    std::vector<std::pair<Handle, Point>> result;
    if (kind == AnnotationKind::polygon || (kind == AnnotationKind::arrow && points.size() < 2)) {
        for (std::size_t i = 0; i < points.size(); ++i)
            result.emplace_back(Handle::point(int(i)), points[i]);
        return result;
    }
    if (kind == AnnotationKind::arrow) {
        result.emplace_back(Handle::bend(), arrowPoint(0.5));
        result.emplace_back(Handle::point(0), points[0]);
        result.emplace_back(Handle::point(1), points[1]);
        return result;
    }

    const auto c = corners();
    for (int i = 0; i < 4; ++i)
        result.emplace_back(Handle::corner(i), c[std::size_t(i)]);
    if (hasEdgeHandles(kind)) {
        for (int i = 0; i < 4; ++i)
            result.emplace_back(Handle::edge(i), Point::midpoint(c[std::size_t(i)], c[std::size_t((i + 1) % 4)]));
    }
    if (canRotate(kind)) {
        const Point knob{frame.midX(), frame.minY() - rotateOffset};
        result.emplace_back(Handle::rotate(), Rotation::rotated(knob, center(), rotation));
    }
    return result;
}

Size Annotation::textFrameSize() const
{
    const Size measured = TextLayout::textSize(text, fontSize, bold);
    const double pad = TextLayout::padding(fontSize);
    return {measured.width + 2 * pad + textExtraSize.width, measured.height + 2 * pad + textExtraSize.height};
}

void Annotation::refreshTextFrame(bool keepingCenter)
{
    if (kind != AnnotationKind::text)
        return;
    const Size size = textFrameSize();
    if (keepingCenter) {
        const Point c = center();
        frame = Rect(c.x - size.width * 0.5, c.y - size.height * 0.5, size.width, size.height);
    } else {
        frame.width = size.width;
        frame.height = size.height;
    }
}

} // namespace lumivex
