#pragma once

namespace lumivex {

struct Size {
    double width = 0;
    double height = 0;

    constexpr Size() = default;
    constexpr Size(double w, double h) : width(w), height(h) {}

    constexpr bool operator==(const Size&) const = default;
};

} // namespace lumivex
