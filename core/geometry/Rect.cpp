#include "core/geometry/Rect.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lumivex {

namespace {
constexpr double inf = std::numeric_limits<double>::infinity();
}

Rect Rect::null() { return {inf, inf, 0, 0}; }

Rect Rect::spanning(Point a, Point b)
{
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::abs(a.x - b.x), std::abs(a.y - b.y)};
}

bool Rect::isNull() const { return std::isinf(x) || std::isinf(y); }

bool Rect::isEmpty() const { return isNull() || !(width != 0) || !(height != 0); }

bool Rect::isFinite() const
{
    return std::isfinite(x) && std::isfinite(y) && std::isfinite(width) && std::isfinite(height);
}

double Rect::minX() const { return width < 0 ? x + width : x; }
double Rect::maxX() const { return width < 0 ? x : x + width; }
double Rect::minY() const { return height < 0 ? y + height : y; }
double Rect::maxY() const { return height < 0 ? y : y + height; }

std::array<Point, 4> Rect::corners() const
{
    return {Point{minX(), minY()}, Point{maxX(), minY()}, Point{maxX(), maxY()}, Point{minX(), maxY()}};
}

Rect Rect::standardized() const
{
    if (isNull())
        return *this;
    return {minX(), minY(), std::abs(width), std::abs(height)};
}

bool Rect::contains(Point p) const
{
    if (isEmpty())
        return false;
    return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
}

bool Rect::contains(const Rect& r) const
{
    if (isEmpty() || r.isEmpty())
        return false;
    return r.minX() >= minX() && r.maxX() <= maxX() && r.minY() >= minY() && r.maxY() <= maxY();
}

bool Rect::intersects(const Rect& r) const { return !intersected(r).isNull(); }

Rect Rect::intersected(const Rect& r) const
{
    if (isNull() || r.isNull())
        return null();
    const double left = std::max(minX(), r.minX());
    const double top = std::max(minY(), r.minY());
    const double right = std::min(maxX(), r.maxX());
    const double bottom = std::min(maxY(), r.maxY());
    // Written so that NaN edges also end up here: a rectangle we cannot reason about has no overlap.
    if (!(right > left) || !(bottom > top))
        return null();
    return {left, top, right - left, bottom - top};
}

Rect Rect::united(const Rect& r) const
{
    if (isNull())
        return r.standardized();
    if (r.isNull())
        return standardized();
    const double left = std::min(minX(), r.minX());
    const double top = std::min(minY(), r.minY());
    return {left, top, std::max(maxX(), r.maxX()) - left, std::max(maxY(), r.maxY()) - top};
}

Rect Rect::outset(double dx, double dy) const
{
    if (isNull())
        return *this;
    const Rect s = standardized();
    const Rect grown{s.x - dx, s.y - dy, s.width + 2 * dx, s.height + 2 * dy};
    if (grown.width < 0 || grown.height < 0)
        return null();
    return grown;
}

Rect Rect::translated(Vector v) const
{
    if (isNull())
        return *this;
    return {x + v.dx, y + v.dy, width, height};
}

Rect Rect::integral() const
{
    if (isNull())
        return *this;
    const double left = std::floor(minX());
    const double top = std::floor(minY());
    return {left, top, std::ceil(maxX()) - left, std::ceil(maxY()) - top};
}

bool Rect::operator==(const Rect& o) const
{
    if (isNull() || o.isNull())
        return isNull() == o.isNull();
    return x == o.x && y == o.y && width == o.width && height == o.height;
}

} // namespace lumivex
