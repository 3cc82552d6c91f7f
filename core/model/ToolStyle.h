#pragma once

#include "core/model/AnnotationKind.h"
#include "core/model/BlurStyle.h"
#include "core/model/RGBAColor.h"

#include <vector>

namespace lumivex {

struct Annotation;

// The style the next drawn object receives and the inspector edits. Sizes are style points; annotations
// store pixels = style points x the document's unit.
struct ToolStyle {
    RGBAColor strokeColor = RGBAColor::red;
    bool fillEnabled = false;
    RGBAColor fillColor = RGBAColor::black;
    double lineWidth = 4.0;
    double cornerRadius = 0.0;
    double opacity = 1.0;
    double fontSize = 28.0;
    bool bold = true;
    BlurStyle blurStyle = BlurStyle::gaussian;
    double blurAmount = 14.0;
    bool outlineEnabled = true;
    RGBAColor outlineColor = RGBAColor::white;
    double outlineWidth = 2.5;
    double arrowBend = 0.0;

    static const std::vector<double> fontSizeLevels;  // 20, 28, 44
    static const std::vector<double> lineWidthLevels; // 2.5, 4, 8

    ToolStyle() = default;
    // Reads a style back from an existing annotation, starting from base.
    static ToolStyle syncing(const Annotation& annotation, double unit, const ToolStyle& base);

    // Writes the whole style onto a new annotation.
    void apply(Annotation& annotation, double unit) const;
    // Writes only what differs between old and this style onto an existing annotation.
    void applyChanges(const ToolStyle& old, Annotation& annotation, double unit) const;
    // Steps the size that matters for the kind to its next level; whether anything was stepped.
    bool cycleSize(AnnotationKind kind);

    // The level after the one nearest to value (ties keep the lower index), wrapping around.
    static double nextLevel(double value, const std::vector<double>& levels);

    bool operator==(const ToolStyle&) const = default;
};

} // namespace lumivex
