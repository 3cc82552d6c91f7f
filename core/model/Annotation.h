#pragma once

#include "core/geometry/Point.h"
#include "core/geometry/Rect.h"
#include "core/geometry/Size.h"
#include "core/geometry/Vector.h"
#include "core/model/AnnotationKind.h"
#include "core/model/ArrowShape.h"
#include "core/model/BlurStyle.h"
#include "core/model/Handle.h"
#include "core/model/RGBAColor.h"
#include "core/model/StickerSource.h"

#include <QString>
#include <QUuid>

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace lumivex {

// One drawn object: a plain value identified by its id. Image pixels, y down, radians clockwise.
struct Annotation {
    QUuid id;
    AnnotationKind kind = AnnotationKind::rectangle;
    Rect frame;
    double rotation = 0;
    std::vector<Point> points;
    double arrowBend = 0;
    RGBAColor strokeColor = RGBAColor::red;
    std::optional<RGBAColor> fillColor;
    double lineWidth = 4.0;
    double cornerRadius = 0;
    double opacity = 1.0;
    std::optional<RGBAColor> outlineColor;
    double outlineWidth = 0;
    QString text;
    double fontSize = 32.0;
    bool bold = true;
    Size textExtraSize;
    BlurStyle blurStyle = BlurStyle::gaussian;
    double blurAmount = 16.0;
    std::optional<StickerSource> sticker;

    static constexpr double arrowBendLimit = 1.2;

    // A new object of the kind with a fresh random id and the initial values above.
    explicit Annotation(AnnotationKind k = AnnotationKind::rectangle);

    bool operator==(const Annotation&) const = default;

    // ---- geometry
    Point center() const;
    // Frame corners top-left, top-right, bottom-right, bottom-left, rotated about the centre.
    std::array<Point, 4> corners() const;
    void translate(Vector by);
    // Closed outline (four points, or none) the canvas draws around a selected object: the turned frame, or the
    // bounding box of the points (of the sampled curve for an arrow with both ends).
    std::vector<Point> selectionOutline() const;
    bool contains(Point p, double tolerance) const;
    // (handle, position) pairs in drawing and hit order; later entries win where they overlap.
    std::vector<std::pair<Handle, Point>> handles(double rotateOffset) const;
    // The annotation as it would be with the handle dragged to `to`, computed from this (the drag's start).
    Annotation dragging(const Handle& handle, Point to, bool snap) const;

    // ---- arrow (points[0] is the tail, points[1] the tip)
    Point arrowControlPoint() const;
    Point arrowPoint(double t) const;
    Vector arrowTangent(double t) const;
    // segments + 1 curve points; segments is clamped to 1...65536.
    std::vector<Point> arrowPolyline(int segments) const;
    // (length, half width) of the head.
    std::pair<double, double> arrowHeadSize() const;
    // The bend that puts the curve's middle level with midpointTo; 0 for a pointer that gives no finite bend.
    double bendDragging(Point midpointTo, bool snapToStraight) const;
    std::optional<ArrowShape> arrowShape() const;

    // ---- text box
    Size textFrameSize() const;
    void refreshTextFrame(bool keepingCenter);
};

} // namespace lumivex
