#include "core/model/ToolStyle.h"

#include "core/model/Annotation.h"

#include <cmath>

namespace lumivex {

const std::vector<double> ToolStyle::fontSizeLevels{20, 28, 44};
const std::vector<double> ToolStyle::lineWidthLevels{2.5, 4, 8};

namespace {

using namespace Capabilities;

// The document's unit is at least 1 by construction; anything else would turn sizes into zero, infinity or
// NaN, so it is read as 1.
double usableUnit(double unit) { return std::isfinite(unit) && unit > 0 ? unit : 1.0; }

std::optional<RGBAColor> fillOf(const ToolStyle& style)
{
    return style.fillEnabled ? std::optional<RGBAColor>(style.fillColor) : std::nullopt;
}

std::optional<RGBAColor> outlineOf(const ToolStyle& style)
{
    return style.outlineEnabled ? std::optional<RGBAColor>(style.outlineColor) : std::nullopt;
}

bool fillDiffers(const ToolStyle& a, const ToolStyle& b)
{
    return a.fillEnabled != b.fillEnabled || a.fillColor != b.fillColor;
}

bool outlineDiffers(const ToolStyle& a, const ToolStyle& b)
{
    return a.outlineEnabled != b.outlineEnabled || a.outlineColor != b.outlineColor;
}

} // namespace

void ToolStyle::apply(Annotation& annotation, double unit) const
{
    const double u = usableUnit(unit);
    const AnnotationKind kind = annotation.kind;
    annotation.opacity = opacity;
    if (canFill(kind))
        annotation.fillColor = fillOf(*this);
    if (hasLineWidth(kind))
        annotation.lineWidth = lineWidth * u;
    if (hasOutline(kind)) {
        annotation.outlineColor = outlineOf(*this);
        annotation.outlineWidth = outlineWidth * u;
    }
    switch (kind) {
    case AnnotationKind::rectangle:
        annotation.strokeColor = strokeColor;
        annotation.cornerRadius = cornerRadius * u;
        break;
    case AnnotationKind::ellipse:
    case AnnotationKind::polygon:
        annotation.strokeColor = strokeColor;
        break;
    case AnnotationKind::arrow:
        annotation.strokeColor = strokeColor;
        annotation.arrowBend = arrowBend;
        break;
    case AnnotationKind::text:
        annotation.strokeColor = strokeColor;
        annotation.fontSize = fontSize * u;
        annotation.bold = bold;
        annotation.refreshTextFrame(false);
        break;
    case AnnotationKind::blur:
        annotation.cornerRadius = cornerRadius * u;
        annotation.blurStyle = blurStyle;
        annotation.blurAmount = blurAmount * u;
        break;
    case AnnotationKind::sticker:
        break;
    }
}

void ToolStyle::applyChanges(const ToolStyle& old, Annotation& annotation, double unit) const
{
    const double u = usableUnit(unit);
    const AnnotationKind kind = annotation.kind;
    if (opacity != old.opacity)
        annotation.opacity = opacity;
    if (canFill(kind) && fillDiffers(*this, old))
        annotation.fillColor = fillOf(*this);
    if (hasLineWidth(kind) && lineWidth != old.lineWidth)
        annotation.lineWidth = lineWidth * u;
    if (hasOutline(kind)) {
        if (outlineDiffers(*this, old))
            annotation.outlineColor = outlineOf(*this);
        if (outlineWidth != old.outlineWidth)
            annotation.outlineWidth = outlineWidth * u;
    }
    const bool strokeChanged = strokeColor != old.strokeColor;
    switch (kind) {
    case AnnotationKind::rectangle:
        if (strokeChanged)
            annotation.strokeColor = strokeColor;
        if (cornerRadius != old.cornerRadius)
            annotation.cornerRadius = cornerRadius * u;
        break;
    case AnnotationKind::ellipse:
    case AnnotationKind::polygon:
        if (strokeChanged)
            annotation.strokeColor = strokeColor;
        break;
    case AnnotationKind::arrow:
        if (strokeChanged)
            annotation.strokeColor = strokeColor;
        if (arrowBend != old.arrowBend)
            annotation.arrowBend = arrowBend;
        break;
    case AnnotationKind::text:
        if (strokeChanged)
            annotation.strokeColor = strokeColor;
        // Size and weight both decide the measured text, so a change of either rewrites both and re-measures.
        if (fontSize != old.fontSize || bold != old.bold) {
            annotation.fontSize = fontSize * u;
            annotation.bold = bold;
            annotation.refreshTextFrame(false);
        }
        break;
    case AnnotationKind::blur:
        if (cornerRadius != old.cornerRadius)
            annotation.cornerRadius = cornerRadius * u;
        if (blurStyle != old.blurStyle)
            annotation.blurStyle = blurStyle;
        if (blurAmount != old.blurAmount)
            annotation.blurAmount = blurAmount * u;
        break;
    case AnnotationKind::sticker:
        break;
    }
}

ToolStyle ToolStyle::syncing(const Annotation& annotation, double unit, const ToolStyle& base)
{
    const double u = usableUnit(unit);
    const AnnotationKind kind = annotation.kind;
    ToolStyle style = base;
    if (canFill(kind)) {
        style.fillEnabled = annotation.fillColor.has_value();
        // Without a fill the base's colour stays, so switching fill back on restores the last fill colour.
        if (annotation.fillColor)
            style.fillColor = *annotation.fillColor;
    }
    if (hasLineWidth(kind))
        style.lineWidth = annotation.lineWidth / u;
    if (hasOutline(kind)) {
        style.outlineEnabled = annotation.outlineColor.has_value();
        if (annotation.outlineColor)
            style.outlineColor = *annotation.outlineColor;
        if (annotation.outlineWidth > 0)
            style.outlineWidth = annotation.outlineWidth / u;
    }
    style.opacity = annotation.opacity;
    switch (kind) {
    case AnnotationKind::rectangle:
        style.strokeColor = annotation.strokeColor;
        style.cornerRadius = annotation.cornerRadius / u;
        break;
    case AnnotationKind::ellipse:
    case AnnotationKind::polygon:
        style.strokeColor = annotation.strokeColor;
        break;
    case AnnotationKind::arrow:
        style.strokeColor = annotation.strokeColor;
        style.arrowBend = annotation.arrowBend;
        break;
    case AnnotationKind::text:
        style.strokeColor = annotation.strokeColor;
        style.fontSize = annotation.fontSize / u;
        style.bold = annotation.bold;
        break;
    case AnnotationKind::blur:
        style.cornerRadius = annotation.cornerRadius / u;
        style.blurStyle = annotation.blurStyle;
        style.blurAmount = annotation.blurAmount / u;
        break;
    case AnnotationKind::sticker:
        break;
    }
    return style;
}

bool ToolStyle::cycleSize(AnnotationKind kind)
{
    switch (kind) {
    case AnnotationKind::rectangle:
    case AnnotationKind::ellipse:
    case AnnotationKind::polygon:
    case AnnotationKind::arrow:
        if (!(lineWidth > 0))
            return false;
        lineWidth = nextLevel(lineWidth, lineWidthLevels);
        return true;
    case AnnotationKind::text:
        fontSize = nextLevel(fontSize, fontSizeLevels);
        return true;
    case AnnotationKind::blur:
    case AnnotationKind::sticker:
        return false;
    }
    return false;
}

double ToolStyle::nextLevel(double value, const std::vector<double>& levels)
{
    if (levels.empty())
        return value;
    std::size_t nearest = 0;
    for (std::size_t i = 1; i < levels.size(); ++i) {
        // Strictly nearer only: an exact tie keeps the lower level.
        if (std::abs(levels[i] - value) < std::abs(levels[nearest] - value))
            nearest = i;
    }
    return levels[(nearest + 1) % levels.size()];
}

} // namespace lumivex
