#pragma once

#include <cmath>

namespace lumivex {

// A displacement in image pixels (or view points), as opposed to a position.
struct Vector {
    double dx = 0;
    double dy = 0;

    constexpr Vector() = default;
    constexpr Vector(double x, double y) : dx(x), dy(y) {}

    double length() const { return std::hypot(dx, dy); }
    constexpr double lengthSquared() const { return dx * dx + dy * dy; }
    constexpr double dot(Vector o) const { return dx * o.dx + dy * o.dy; }
    // The vector turned a quarter to the right on screen (y points down).
    constexpr Vector normal() const { return {-dy, dx}; }

    constexpr Vector operator+(Vector o) const { return {dx + o.dx, dy + o.dy}; }
    constexpr Vector operator-(Vector o) const { return {dx - o.dx, dy - o.dy}; }
    constexpr Vector operator-() const { return {-dx, -dy}; }
    constexpr Vector operator*(double k) const { return {dx * k, dy * k}; }
    constexpr Vector operator/(double k) const { return {dx / k, dy / k}; }
    constexpr bool operator==(const Vector&) const = default;
};

constexpr Vector operator*(double k, Vector v) { return v * k; }

} // namespace lumivex
