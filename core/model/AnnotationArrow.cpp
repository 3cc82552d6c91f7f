// The arrow members of Annotation: a quadratic Bézier from the tail points[0] to the tip points[1], bent
// sideways by arrowBend (a fraction of the chord length), filled as a tapering shaft plus a notched head.

#include "core/model/Annotation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lumivex {

namespace {

constexpr double headLengthPerLineWidth = 5.0;
constexpr double minimumHeadLength = 12.0;
constexpr double maximumHeadFraction = 0.8; // of the arrow's length
constexpr double headNotchDepth = 0.72;      // of the head's length, from the tip
constexpr double shaftEndDistance = 0.6;     // of the head's length, from the tip
constexpr int shaftEndBisectionSteps = 24;
constexpr int shaftSamples = 29;
constexpr double tailWidthPerLineWidth = 0.5;
constexpr double endWidthPerLineWidth = 1.55;
constexpr int tailCapPoints = 7;
constexpr double minimumOutlinedLength = 0.5;
constexpr double straightSnapWithShift = 0.12;
constexpr double straightSnapWithoutShift = 0.03;
// Largest number of segments arrowPolyline hands out; a caller asking for more gets this many.
constexpr int maximumPolylineSegments = 1 << 16;

// The quarter turn to the right on screen of a direction (y points down).
Vector normalOf(Vector v) { return {-v.dy, v.dx}; }

Vector unitOr(Vector v, Vector fallback)
{
    const double length = v.length();
    return length > 0 ? v / length : fallback;
}

} // namespace

Point Annotation::arrowControlPoint() const
{
    if (points.size() < 2)
        return {};
    const Point p0 = points[0];
    const Point p1 = points[1];
    const Vector d = p1 - p0;
    const double length = d.length();
    const Vector n = length > 0 ? normalOf(d) / length : Vector{};
    return Point::midpoint(p0, p1) + (length * arrowBend) * n;
}

Point Annotation::arrowPoint(double t) const
{
    if (points.size() < 2)
        return {};
    const Point p0 = points[0];
    const Point p1 = points[1];
    const Point c = arrowControlPoint();
    const double s = 1 - t;
    return {s * s * p0.x + 2 * t * s * c.x + t * t * p1.x, s * s * p0.y + 2 * t * s * c.y + t * t * p1.y};
}

Vector Annotation::arrowTangent(double t) const
{
    if (points.size() < 2)
        return {1, 0};
    const Point p0 = points[0];
    const Point p1 = points[1];
    const Point c = arrowControlPoint();
    Vector derivative = 2 * (1 - t) * (c - p0) + 2 * t * (p1 - c);
    // The control point on an end point leaves no derivative there; the chord still gives the direction.
    if (!(derivative.length() >= 1e-9))
        derivative = p1 - p0;
    return unitOr(derivative, {1, 0});
}

std::vector<Point> Annotation::arrowPolyline(int segments) const
{
    const int n = std::clamp(segments, 1, maximumPolylineSegments);
    std::vector<Point> result;
    result.reserve(std::size_t(n) + 1);
    for (int i = 0; i <= n; ++i)
        result.push_back(arrowPoint(double(i) / n));
    return result;
}

std::pair<double, double> Annotation::arrowHeadSize() const
{
    if (points.size() < 2)
        return {0, 0};
    const double arrowLength = points[0].distance(points[1]);
    const double length =
        std::min(std::max(headLengthPerLineWidth * lineWidth, minimumHeadLength), maximumHeadFraction * arrowLength);
    return {length, length * 0.5};
}

double Annotation::bendDragging(Point midpointTo, bool snapToStraight) const
{
    if (points.size() < 2)
        return 0;
    const Point p0 = points[0];
    const Point p1 = points[1];
    const Vector d = p1 - p0;
    const double length = d.length();
    if (!(length > 0))
        return 0;
    const Vector n = normalOf(d) / length;
    const double offset = (midpointTo - Point::midpoint(p0, p1)).dot(n);
    const double bend = std::clamp(2 * offset / length, -arrowBendLimit, arrowBendLimit);
    // A pointer we cannot place (NaN, infinity) leaves the arrow straight rather than storing NaN.
    if (!std::isfinite(bend))
        return 0;
    const double threshold = snapToStraight ? straightSnapWithShift : straightSnapWithoutShift;
    return std::abs(bend) < threshold ? 0 : bend;
}

std::optional<ArrowShape> Annotation::arrowShape() const
{
    if (kind != AnnotationKind::arrow || points.size() < 2)
        return std::nullopt;
    const Point p0 = points[0];
    const Point p1 = points[1];
    if (!(p0.distance(p1) > minimumOutlinedLength))
        return std::nullopt;

    ArrowShape shape;
    const auto [headLength, headHalfWidth] = arrowHeadSize();
    const Vector tipDirection = arrowTangent(1);
    const Vector across = normalOf(tipDirection);
    const Point base = p1 - headLength * tipDirection;
    shape.head = {p1, base + headHalfWidth * across, p1 - headNotchDepth * headLength * tipDirection,
                  base - headHalfWidth * across};

    // The shaft stops inside the head, between the notch and the tip, so no gap shows between them.
    double lo = 0;
    double hi = 1;
    for (int step = 0; step < shaftEndBisectionSteps; ++step) {
        const double m = (lo + hi) / 2;
        if (arrowPoint(m).distance(p1) > shaftEndDistance * headLength)
            lo = m;
        else
            hi = m;
    }
    const double shaftEnd = lo;

    std::vector<Point> firstSide;
    std::vector<Point> secondSide;
    firstSide.reserve(shaftSamples);
    secondSide.reserve(shaftSamples);
    const double tailWidth = tailWidthPerLineWidth * lineWidth;
    const double endWidth = endWidthPerLineWidth * lineWidth;
    for (int i = 0; i < shaftSamples; ++i) {
        const double u = double(i) / (shaftSamples - 1);
        const double t = shaftEnd * u;
        const Point onCurve = arrowPoint(t);
        const Vector side = normalOf(arrowTangent(t));
        const double halfWidth = 0.5 * (tailWidth + (endWidth - tailWidth) * u);
        firstSide.push_back(onCurve + halfWidth * side);
        secondSide.push_back(onCurve - halfWidth * side);
    }

    shape.body = std::move(firstSide);
    shape.body.insert(shape.body.end(), secondSide.rbegin(), secondSide.rend());

    // Round tail: half a circle around the tail from the second side back to the first.
    const Vector tailDirection = arrowTangent(0);
    const Vector tailNormal = normalOf(tailDirection);
    const double radius = 0.25 * lineWidth;
    for (int k = 1; k <= tailCapPoints; ++k) {
        const double theta = k * std::numbers::pi / 8;
        shape.body.push_back(p0 + radius * (-std::cos(theta) * tailNormal - std::sin(theta) * tailDirection));
    }
    return shape;
}

} // namespace lumivex
