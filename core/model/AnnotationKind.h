#pragma once

namespace lumivex {

// What a drawn object is. Other code asks these capabilities instead of switching on the kind.
enum class AnnotationKind { rectangle, ellipse, polygon, arrow, text, blur, sticker };

namespace Capabilities {

// Geometry is the rotated frame (polygons and arrows use points instead).
constexpr bool usesFrame(AnnotationKind k) { return k != AnnotationKind::polygon && k != AnnotationKind::arrow; }
constexpr bool canRotate(AnnotationKind k)
{
    return k == AnnotationKind::rectangle || k == AnnotationKind::ellipse || k == AnnotationKind::text
        || k == AnnotationKind::sticker;
}
// A corner drag scales uniformly.
constexpr bool preservesAspect(AnnotationKind k) { return k == AnnotationKind::text || k == AnnotationKind::sticker; }
constexpr bool hasEdgeHandles(AnnotationKind k) { return k == AnnotationKind::text; }
constexpr bool canFill(AnnotationKind k)
{
    return k == AnnotationKind::rectangle || k == AnnotationKind::ellipse || k == AnnotationKind::polygon
        || k == AnnotationKind::text;
}
constexpr bool hasLineWidth(AnnotationKind k)
{
    return k == AnnotationKind::rectangle || k == AnnotationKind::ellipse || k == AnnotationKind::polygon
        || k == AnnotationKind::arrow;
}
constexpr bool hasOutline(AnnotationKind k) { return k == AnnotationKind::arrow || k == AnnotationKind::text; }
// The stroke colour: the outline of shapes, the body of an arrow, the glyphs of a text.
constexpr bool hasStrokeColor(AnnotationKind k) { return k != AnnotationKind::blur && k != AnnotationKind::sticker; }
constexpr bool hasCornerRadius(AnnotationKind k) { return k == AnnotationKind::rectangle || k == AnnotationKind::blur; }
constexpr bool hasArrowBend(AnnotationKind k) { return k == AnnotationKind::arrow; }
// Font size and weight.
constexpr bool hasFont(AnnotationKind k) { return k == AnnotationKind::text; }
// Blur style and amount.
constexpr bool hasBlur(AnnotationKind k) { return k == AnnotationKind::blur; }

} // namespace Capabilities

} // namespace lumivex
