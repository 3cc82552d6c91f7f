#include "core/document/EditorState.h"

#include <cmath>

namespace lumivex {

Size EditorState::imageSize() const { return {double(image.width()), double(image.height())}; }

Rect EditorState::imageRect() const { return {Point{0, 0}, imageSize()}; }

Rect EditorState::visibleRect() const
{
    const Rect whole = imageRect();
    if (!cropRect)
        return whole;
    const Rect visible = cropRect->intersected(whole);
    // A sliver under one pixel cannot be drawn or exported: show the whole image instead.
    if (visible.isEmpty() || visible.width < 1 || visible.height < 1)
        return whole;
    return visible;
}

Rect EditorState::canvasRect() const
{
    const double border = std::round(padding.effectiveAmount());
    return ratio.expanding(visibleRect().outset(border, border));
}

bool EditorState::hasSameContent(const EditorState& other) const
{
    return cropRect == other.cropRect && padding == other.padding && ratio == other.ratio
        && annotations == other.annotations;
}

} // namespace lumivex
