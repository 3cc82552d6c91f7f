#pragma once

#include "core/document/CanvasPadding.h"
#include "core/document/CanvasRatio.h"
#include "core/geometry/Rect.h"
#include "core/geometry/Size.h"
#include "core/model/Annotation.h"

#include <QImage>

#include <optional>
#include <vector>

namespace lumivex {

// The undoable content of one image. Copying it never copies pixels: QImage is implicitly shared and the
// base image is never written to.
struct EditorState {
    QImage image;
    std::vector<Annotation> annotations;
    CanvasPadding padding;
    CanvasRatio ratio;
    std::optional<Rect> cropRect;

    EditorState() = default;
    explicit EditorState(QImage baseImage) : image(std::move(baseImage)) {}

    Size imageSize() const;
    Rect imageRect() const;
    // The crop within the image, or the whole image when there is no usable crop.
    Rect visibleRect() const;
    // The visible rectangle grown by the rounded padding and widened to the ratio.
    Rect canvasRect() const;
    // Everything but the image is equal: the test by which a change counts as a change.
    bool hasSameContent(const EditorState& other) const;
};

} // namespace lumivex
