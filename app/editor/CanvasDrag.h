#pragma once

#include "core/document/CropHandle.h"
#include "core/geometry/Point.h"
#include "core/geometry/Rect.h"
#include "core/model/Annotation.h"
#include "core/model/Handle.h"

#include <QUuid>

#include <variant>

namespace lumivex {

// The gesture in progress between a mouse press and its release on the canvas. Positions are image pixels.
namespace CanvasDrags {

// Drawing a new rectangle, ellipse, arrow or blur region.
struct Create {
    QUuid id;
    Point start;
};
// Moving an existing object; every step starts again from the original so errors never add up.
struct Move {
    QUuid id;
    Point start;
    Annotation original;
};
// Dragging one handle of the selected object.
struct HandleDrag {
    Handle handle;
    QUuid id;
    Annotation original;
};
struct CropCreate {
    Point start;
    Rect previous;
};
struct CropMove {
    Point start;
    Rect original;
};
struct CropResize {
    CropHandle handle;
    Rect original;
};
// The rubber band of the text-recognition tool.
struct TextRegion {
    Point start;
};

} // namespace CanvasDrags

using CanvasDrag = std::variant<CanvasDrags::Create, CanvasDrags::Move, CanvasDrags::HandleDrag,
                                CanvasDrags::CropCreate, CanvasDrags::CropMove, CanvasDrags::CropResize,
                                CanvasDrags::TextRegion>;

} // namespace lumivex
