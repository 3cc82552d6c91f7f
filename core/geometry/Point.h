#pragma once

#include "core/geometry/Vector.h"

#include <cmath>

namespace lumivex {

// A position in image pixels (or view points); origin top-left, y grows downwards.
struct Point {
    double x = 0;
    double y = 0;

    constexpr Point() = default;
    constexpr Point(double px, double py) : x(px), y(py) {}

    constexpr Point operator+(Vector v) const { return {x + v.dx, y + v.dy}; }
    constexpr Point operator-(Vector v) const { return {x - v.dx, y - v.dy}; }
    constexpr Vector operator-(Point o) const { return {x - o.x, y - o.y}; }
    constexpr Vector toVector() const { return {x, y}; }
    constexpr bool operator==(const Point&) const = default;

    double distance(Point o) const { return std::hypot(x - o.x, y - o.y); }
    static constexpr Point midpoint(Point a, Point b) { return {(a.x + b.x) * 0.5, (a.y + b.y) * 0.5}; }
};

} // namespace lumivex
