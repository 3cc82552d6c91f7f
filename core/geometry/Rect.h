#pragma once

#include "core/geometry/Point.h"
#include "core/geometry/Size.h"
#include "core/geometry/Vector.h"

#include <array>

namespace lumivex {

// An axis-aligned rectangle with the rules screenshot geometry relies on:
// - min/max are taken over the standardised rectangle, so a negative size still has proper edges;
// - it contains its min edges but not its max edges;
// - an intersection without area is the null rectangle (origin at infinity), which is also empty;
// - integral() floors the origin and ceils the far edges.
struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    constexpr Rect() = default;
    constexpr Rect(double rx, double ry, double w, double h) : x(rx), y(ry), width(w), height(h) {}
    constexpr Rect(Point origin, Size size) : x(origin.x), y(origin.y), width(size.width), height(size.height) {}

    static Rect null();
    // The rectangle spanned by two corners: origin at the smaller coordinates, size the absolute differences.
    static Rect spanning(Point a, Point b);

    bool isNull() const;
    // Null, or without area.
    bool isEmpty() const;
    // Every coordinate is a real number (the null rectangle is not finite).
    bool isFinite() const;

    double minX() const;
    double maxX() const;
    double minY() const;
    double maxY() const;
    double midX() const { return (minX() + maxX()) * 0.5; }
    double midY() const { return (minY() + maxY()) * 0.5; }
    Point origin() const { return {x, y}; }
    Size size() const { return {width, height}; }
    Point center() const { return {midX(), midY()}; }
    // Corners top-left, top-right, bottom-right, bottom-left (y down).
    std::array<Point, 4> corners() const;

    Rect standardized() const;
    bool contains(Point p) const;
    bool contains(const Rect& r) const;
    bool intersects(const Rect& r) const;
    Rect intersected(const Rect& r) const;
    Rect united(const Rect& r) const;
    // Grows by dx on the left and right and by dy at the top and bottom (negative values shrink).
    Rect outset(double dx, double dy) const;
    Rect inset(double dx, double dy) const { return outset(-dx, -dy); }
    Rect translated(Vector v) const;
    Rect integral() const;

    bool operator==(const Rect& o) const;
};

} // namespace lumivex
