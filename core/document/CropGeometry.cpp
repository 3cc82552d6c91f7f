#include "core/document/CropGeometry.h"

#include <algorithm>
#include <cmath>

namespace lumivex::CropGeometry {

namespace {

// Each edge is rounded on its own, so that moving one edge never shifts the opposite one by a pixel.
Rect snappedEdges(double left, double top, double right, double bottom)
{
    const double l = std::round(left);
    const double t = std::round(top);
    const double r = std::round(right);
    const double b = std::round(bottom);
    return {l, t, r - l, b - t};
}

// A NaN coordinate lands on the low end instead of poisoning the rectangle.
double clampInto(double v, double low, double high)
{
    if (std::isnan(v))
        return low;
    return std::min(std::max(v, low), high);
}

} // namespace

std::vector<std::pair<CropHandle, Point>> handlePoints(const Rect& rect)
{
    const double minX = rect.minX(), midX = rect.midX(), maxX = rect.maxX();
    const double minY = rect.minY(), midY = rect.midY(), maxY = rect.maxY();
    return {
        {CropHandle::topLeft, {minX, minY}},    {CropHandle::top, {midX, minY}},
        {CropHandle::topRight, {maxX, minY}},   {CropHandle::right, {maxX, midY}},
        {CropHandle::bottomRight, {maxX, maxY}}, {CropHandle::bottom, {midX, maxY}},
        {CropHandle::bottomLeft, {minX, maxY}}, {CropHandle::left, {minX, midY}},
    };
}

Rect newRect(Point from, Point to, const Rect& bounds)
{
    const auto clamped = [&](Point p) {
        return Point{clampInto(p.x, bounds.minX(), bounds.maxX()), clampInto(p.y, bounds.minY(), bounds.maxY())};
    };
    const Rect spanned = Rect::spanning(clamped(from), clamped(to));
    return snappedEdges(spanned.minX(), spanned.minY(), spanned.maxX(), spanned.maxY());
}

Rect resized(const Rect& rect, CropHandle handle, Point to, const Rect& bounds, double minimumSize)
{
    double minX = rect.minX(), maxX = rect.maxX(), minY = rect.minY(), maxY = rect.maxY();
    const double m = minimumSize;
    const bool movesLeft = handle == CropHandle::topLeft || handle == CropHandle::left || handle == CropHandle::bottomLeft;
    const bool movesRight =
        handle == CropHandle::topRight || handle == CropHandle::right || handle == CropHandle::bottomRight;
    const bool movesTop = handle == CropHandle::topLeft || handle == CropHandle::top || handle == CropHandle::topRight;
    const bool movesBottom =
        handle == CropHandle::bottomRight || handle == CropHandle::bottom || handle == CropHandle::bottomLeft;

    // A pointer coordinate that is not a number leaves its edges where they are.
    if (!std::isnan(to.x)) {
        if (movesLeft)
            minX = std::min(maxX - m, std::max(to.x, bounds.minX()));
        if (movesRight)
            maxX = std::max(minX + m, std::min(to.x, bounds.maxX()));
    }
    if (!std::isnan(to.y)) {
        if (movesTop)
            minY = std::min(maxY - m, std::max(to.y, bounds.minY()));
        if (movesBottom)
            maxY = std::max(minY + m, std::min(to.y, bounds.maxY()));
    }
    return snappedEdges(minX, minY, maxX, maxY);
}

Rect moved(const Rect& rect, Vector by, const Rect& within)
{
    const double width = std::abs(rect.width);
    const double height = std::abs(rect.height);
    const double dx = std::isfinite(by.dx) ? by.dx : 0;
    const double dy = std::isfinite(by.dy) ? by.dy : 0;
    const double x = std::min(within.maxX() - width, std::max(rect.minX() + dx, within.minX()));
    const double y = std::min(within.maxY() - height, std::max(rect.minY() + dy, within.minY()));
    return snappedEdges(x, y, x + width, y + height);
}

} // namespace lumivex::CropGeometry
