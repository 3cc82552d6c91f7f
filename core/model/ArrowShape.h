#pragma once

#include "core/geometry/Point.h"

#include <vector>

namespace lumivex {

// The filled outline of an arrow: the tapering shaft with its rounded tail, and the notched head.
struct ArrowShape {
    std::vector<Point> body;
    std::vector<Point> head;

    bool operator==(const ArrowShape&) const = default;
};

} // namespace lumivex
