#pragma once

#include "core/geometry/Point.h"

#include <cmath>

namespace lumivex::Rotation {

// q turned by angle radians about c; positive angles turn clockwise on screen (y points down).
inline Point rotated(Point q, Point c, double angle)
{
    if (angle == 0)
        return q; // exact for the common unrotated case, not merely within rounding
    const double cosA = std::cos(angle);
    const double sinA = std::sin(angle);
    const double dx = q.x - c.x;
    const double dy = q.y - c.y;
    return {c.x + cosA * dx - sinA * dy, c.y + sinA * dx + cosA * dy};
}

// The inverse of rotated(): brings a point on screen into the unrotated frame.
inline Point unrotated(Point q, Point c, double angle) { return rotated(q, c, -angle); }

} // namespace lumivex::Rotation
