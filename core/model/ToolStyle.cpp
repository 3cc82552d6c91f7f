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

// Every style field that an annotation has, mapped once: which kinds have it, whether two styles differ in it, how
// it is written onto an annotation and read back. apply, applyChanges and syncing all walk this one table.
struct Field {
    bool (*belongsTo)(AnnotationKind);
    bool (*differs)(const ToolStyle& a, const ToolStyle& b);
    void (*write)(const ToolStyle& style, Annotation& annotation, double unit);
    void (*read)(const Annotation& annotation, double unit, ToolStyle& style);
};

constexpr bool everyKind(AnnotationKind) { return true; }

const Field fields[] = {
    {everyKind, [](const ToolStyle& a, const ToolStyle& b) { return a.opacity != b.opacity; },
     [](const ToolStyle& s, Annotation& a, double) { a.opacity = s.opacity; },
     [](const Annotation& a, double, ToolStyle& s) { s.opacity = a.opacity; }},
    {canFill, fillDiffers, [](const ToolStyle& s, Annotation& a, double) { a.fillColor = fillOf(s); },
     [](const Annotation& a, double, ToolStyle& s) {
         s.fillEnabled = a.fillColor.has_value();
         // Without a fill the base's colour stays, so switching fill back on restores the last fill colour.
         if (a.fillColor)
             s.fillColor = *a.fillColor;
     }},
    {hasLineWidth, [](const ToolStyle& a, const ToolStyle& b) { return a.lineWidth != b.lineWidth; },
     [](const ToolStyle& s, Annotation& a, double u) { a.lineWidth = s.lineWidth * u; },
     [](const Annotation& a, double u, ToolStyle& s) { s.lineWidth = a.lineWidth / u; }},
    {hasOutline, outlineDiffers, [](const ToolStyle& s, Annotation& a, double) { a.outlineColor = outlineOf(s); },
     [](const Annotation& a, double, ToolStyle& s) {
         s.outlineEnabled = a.outlineColor.has_value();
         if (a.outlineColor)
             s.outlineColor = *a.outlineColor;
     }},
    // Written even when the outline is off; read back only when there is one to read.
    {hasOutline, [](const ToolStyle& a, const ToolStyle& b) { return a.outlineWidth != b.outlineWidth; },
     [](const ToolStyle& s, Annotation& a, double u) { a.outlineWidth = s.outlineWidth * u; },
     [](const Annotation& a, double u, ToolStyle& s) {
         if (a.outlineWidth > 0)
             s.outlineWidth = a.outlineWidth / u;
     }},
    {hasStrokeColor, [](const ToolStyle& a, const ToolStyle& b) { return a.strokeColor != b.strokeColor; },
     [](const ToolStyle& s, Annotation& a, double) { a.strokeColor = s.strokeColor; },
     [](const Annotation& a, double, ToolStyle& s) { s.strokeColor = a.strokeColor; }},
    {hasCornerRadius, [](const ToolStyle& a, const ToolStyle& b) { return a.cornerRadius != b.cornerRadius; },
     [](const ToolStyle& s, Annotation& a, double u) { a.cornerRadius = s.cornerRadius * u; },
     [](const Annotation& a, double u, ToolStyle& s) { s.cornerRadius = a.cornerRadius / u; }},
    {hasArrowBend, [](const ToolStyle& a, const ToolStyle& b) { return a.arrowBend != b.arrowBend; },
     [](const ToolStyle& s, Annotation& a, double) { a.arrowBend = s.arrowBend; },
     [](const Annotation& a, double, ToolStyle& s) { s.arrowBend = a.arrowBend; }},
    // Size and weight both decide the measured text, so a change of either rewrites both and re-measures.
    {hasFont, [](const ToolStyle& a, const ToolStyle& b) { return a.fontSize != b.fontSize || a.bold != b.bold; },
     [](const ToolStyle& s, Annotation& a, double u) {
         a.fontSize = s.fontSize * u;
         a.bold = s.bold;
         a.refreshTextFrame(false);
     },
     [](const Annotation& a, double u, ToolStyle& s) {
         s.fontSize = a.fontSize / u;
         s.bold = a.bold;
     }},
    {hasBlur, [](const ToolStyle& a, const ToolStyle& b) { return a.blurStyle != b.blurStyle; },
     [](const ToolStyle& s, Annotation& a, double) { a.blurStyle = s.blurStyle; },
     [](const Annotation& a, double, ToolStyle& s) { s.blurStyle = a.blurStyle; }},
    {hasBlur, [](const ToolStyle& a, const ToolStyle& b) { return a.blurAmount != b.blurAmount; },
     [](const ToolStyle& s, Annotation& a, double u) { a.blurAmount = s.blurAmount * u; },
     [](const Annotation& a, double u, ToolStyle& s) { s.blurAmount = a.blurAmount / u; }},
};

} // namespace

void ToolStyle::apply(Annotation& annotation, double unit) const
{
    const double u = usableUnit(unit);
    for (const Field& field : fields) {
        if (field.belongsTo(annotation.kind))
            field.write(*this, annotation, u);
    }
}

void ToolStyle::applyChanges(const ToolStyle& old, Annotation& annotation, double unit) const
{
    const double u = usableUnit(unit);
    for (const Field& field : fields) {
        if (field.belongsTo(annotation.kind) && field.differs(*this, old))
            field.write(*this, annotation, u);
    }
}

ToolStyle ToolStyle::syncing(const Annotation& annotation, double unit, const ToolStyle& base)
{
    const double u = usableUnit(unit);
    ToolStyle style = base;
    for (const Field& field : fields) {
        if (field.belongsTo(annotation.kind))
            field.read(annotation, u, style);
    }
    return style;
}

bool ToolStyle::cycleSize(AnnotationKind kind)
{
    if (hasLineWidth(kind)) {
        if (!(lineWidth > 0))
            return false;
        lineWidth = nextLevel(lineWidth, lineWidthLevels);
        return true;
    }
    if (hasFont(kind)) {
        fontSize = nextLevel(fontSize, fontSizeLevels);
        return true;
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
