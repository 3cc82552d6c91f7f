#pragma once

#include <QColor>
#include <QJsonObject>

#include <optional>

namespace lumivex {

// An sRGB colour of four doubles, nominally 0...1 and never clamped here.
struct RGBAColor {
    double r = 0;
    double g = 0;
    double b = 0;
    double a = 1;

    static const RGBAColor red;
    static const RGBAColor white;
    static const RGBAColor black;
    static const RGBAColor yellow;

    RGBAColor withAlpha(double alpha) const { return {r, g, b, alpha}; }

    // Platform colour conversions. A colour that cannot be expressed in sRGB becomes opaque black.
    static RGBAColor fromQColor(const QColor& color);
    QColor toQColor() const;

    // The keyed form {"r","g","b","a"} used wherever colours are stored.
    QJsonObject toJson() const;
    static std::optional<RGBAColor> fromJson(const QJsonObject& json);

    bool operator==(const RGBAColor&) const = default;
};

} // namespace lumivex
