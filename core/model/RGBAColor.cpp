#include "core/model/RGBAColor.h"

#include <algorithm>
#include <cmath>

namespace lumivex {

namespace {

float drawable(double component)
{
    return std::isnan(component) ? 0.0f : float(std::clamp(component, 0.0, 1.0));
}

} // namespace

const RGBAColor RGBAColor::red{1.0, 0.231, 0.188, 1.0};
const RGBAColor RGBAColor::white{1.0, 1.0, 1.0, 1.0};
const RGBAColor RGBAColor::black{0.0, 0.0, 0.0, 1.0};
const RGBAColor RGBAColor::yellow{1.0, 0.8, 0.0, 1.0};

RGBAColor RGBAColor::fromQColor(const QColor& color)
{
    const QColor rgb = color.isValid() ? color.toRgb() : QColor();
    if (!rgb.isValid())
        return black;
    return {rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF()};
}

QColor RGBAColor::toQColor() const
{
    // Our components are only nominally in range, and QColor rejects an alpha outside 0...1 (an invalid colour)
    // and takes NaN as if it were a number; the drawing colour is therefore clamped here, the value never.
    return QColor::fromRgbF(drawable(r), drawable(g), drawable(b), drawable(a));
}

QJsonObject RGBAColor::toJson() const
{
    return QJsonObject{{"r", r}, {"g", g}, {"b", b}, {"a", a}};
}

std::optional<RGBAColor> RGBAColor::fromJson(const QJsonObject& json)
{
    for (const char* key : {"r", "g", "b", "a"}) {
        if (!json.value(QLatin1String(key)).isDouble())
            return std::nullopt;
    }
    return RGBAColor{json.value("r").toDouble(), json.value("g").toDouble(), json.value("b").toDouble(),
                     json.value("a").toDouble()};
}

} // namespace lumivex
