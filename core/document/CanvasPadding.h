#pragma once

#include "core/model/RGBAColor.h"

#include <cmath>

namespace lumivex {

// The border drawn around the output, in image pixels.
struct CanvasPadding {
    bool enabled = false;
    double amount = 0;
    RGBAColor color = RGBAColor::white;

    // The border width actually drawn: never negative, and a non-finite amount draws no border.
    double effectiveAmount() const { return enabled && std::isfinite(amount) && amount > 0 ? amount : 0.0; }
    bool operator==(const CanvasPadding&) const = default;
};

} // namespace lumivex
