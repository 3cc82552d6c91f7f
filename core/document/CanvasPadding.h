#pragma once

#include "core/model/RGBAColor.h"

#include <algorithm>

namespace lumivex {

// The border drawn around the output, in image pixels.
struct CanvasPadding {
    bool enabled = false;
    double amount = 0;
    RGBAColor color = RGBAColor::white;

    double effectiveAmount() const { return enabled ? std::max(amount, 0.0) : 0.0; }
    bool operator==(const CanvasPadding&) const = default;
};

} // namespace lumivex
