#include "ModelTestSupport.h"
#include "core/model/TextLayout.h"

#include <numbers>

using namespace lumivex;
using namespace lumivex::test;

namespace {

constexpr double pi = std::numbers::pi;

Annotation polygon(std::vector<Point> points, bool filled)
{
    Annotation a(AnnotationKind::polygon);
    a.points = std::move(points);
    a.lineWidth = 2;
    if (filled)
        a.fillColor = RGBAColor::black;
    return a;
}

} // namespace

TEST(AnnotationHitTest, UnfilledShapesAreHitOnlyAlongTheirRing)
{
    // Tolerance 3 plus half the line width 4: 5 px either side of the edge.
    Annotation ring = framed(AnnotationKind::rectangle, {0, 0, 100, 100});
    EXPECT_FALSE(ring.contains({50, 50}, 3));
    EXPECT_TRUE(ring.contains({4, 50}, 3));
    EXPECT_TRUE(ring.contains({-4.9, 50}, 3));
    EXPECT_FALSE(ring.contains({5.5, 50}, 3));
    ring.fillColor = RGBAColor::white;
    EXPECT_TRUE(ring.contains({50, 50}, 3));
    EXPECT_FALSE(ring.contains({-3.5, 50}, 3));
}

TEST(AnnotationHitTest, RotatedPolygonAndArrowFootprints)
{
    Annotation turned = framed(AnnotationKind::rectangle, {0, 0, 200, 100}, pi / 2);
    turned.fillColor = RGBAColor::red;
    EXPECT_TRUE(turned.contains({100, 140}, 3));
    EXPECT_FALSE(turned.contains({180, 50}, 3));

    // A filled concave "U": its notch is outside.
    const Annotation u = polygon({{0, 0}, {30, 0}, {30, 100}, {70, 100}, {70, 0}, {100, 0}, {100, 120}, {0, 120}},
                                 true);
    EXPECT_TRUE(u.contains({15, 60}, 3));
    EXPECT_FALSE(u.contains({50, 50}, 3));
    // Two points never enclose anything, filled or not; only the segment is hit.
    for (bool filled : {true, false}) {
        EXPECT_TRUE(polygon({{0, 0}, {100, 100}}, filled).contains({50, 53}, 3));
        EXPECT_FALSE(polygon({{0, 0}, {100, 100}}, filled).contains({80, 20}, 3));
    }
    // Arrows reach tolerance + 1.5 x line width from the curve, not the chord.
    EXPECT_TRUE(arrowFrom({0, 0}, {100, 0}, 4).contains({50, 8.9}, 3));
    EXPECT_FALSE(arrowFrom({0, 0}, {100, 0}, 4).contains({50, 9.1}, 3));
    EXPECT_FALSE(arrowFrom({0, 0}, {100, 0}, 4, 0.5).contains({50, 0}, 3));
}

TEST(AnnotationDragging, CornersKeepTheOppositeCornerOrScaleAboutIt)
{
    const Annotation r = framed(AnnotationKind::rectangle, {10, 10, 100, 50});
    EXPECT_EQ(r.dragging(Handle::corner(2), {150, 100}, false).frame, (Rect{10, 10, 140, 90}));
    EXPECT_EQ(r.dragging(Handle::corner(0), {110, 60}, false).frame, (Rect{109.5, 59.5, 1, 1})); // onto the anchor

    const Annotation turned = framed(AnnotationKind::ellipse, {0, 0, 100, 50}, pi / 6);
    const Point pointer = turned.corners()[2] + Vector{20, 30};
    const Annotation dragged = turned.dragging(Handle::corner(2), pointer, false);
    expectNear(dragged.corners()[0], turned.corners()[0]);
    expectNear(dragged.corners()[2], pointer);

    Annotation sticker = framed(AnnotationKind::sticker, {0, 0, 100, 50});
    EXPECT_EQ(sticker.dragging(Handle::corner(2), {200, 100}, false).frame, (Rect{0, 0, 200, 100}));
    EXPECT_EQ(sticker.dragging(Handle::corner(2), {0, 0}, false).frame, (Rect{0, 0, 5, 2.5})); // scale 0.05
    sticker.frame = {30, 30, 0, 0}; // no scale to take: nothing changes
    EXPECT_EQ(sticker.dragging(Handle::corner(1), {80, 80}, false), sticker);
    Annotation emptyText = textBox("Hi", 28);
    emptyText.frame = {30, 30, 0, 0};
    EXPECT_EQ(emptyText.dragging(Handle::corner(2), {80, 80}, false), emptyText);

    const Annotation text = textBox("Hello", 40); // onto the anchor: scale 0.05
    EXPECT_DOUBLE_EQ(text.dragging(Handle::corner(2), text.corners()[0], false).fontSize, 2);
}

TEST(AnnotationDragging, TextEdgesAddRoomButNeverCutIntoTheText)
{
    const Annotation box = textBox("Hello", 28, {100, 100});
    const double minimumWidth = TextLayout::textSize("Hello", 28, true).width + 14;
    const Annotation wider = box.dragging(Handle::edge(1), {box.frame.maxX() + 30, 0}, false);
    EXPECT_EQ(wider.frame, (Rect{100, 100, minimumWidth + 30, box.frame.height}));
    EXPECT_EQ(wider.textExtraSize, (Size{30, 0}));
    const Annotation narrowed = wider.dragging(Handle::edge(1), {-500, 0}, false);
    EXPECT_EQ(narrowed.frame, box.frame);
    EXPECT_EQ(narrowed.textExtraSize, (Size{0, 0}));
}

TEST(AnnotationDragging, PointsSnapToEighthTurnsAndRotationToFifteenDegrees)
{
    const Annotation arrow = arrowFrom({0, 0}, {100, 0});
    EXPECT_EQ(arrow.dragging(Handle::point(1), {90, 37}, false).points[1], (Point{90, 37}));
    const Point level = arrow.dragging(Handle::point(1), {100 * std::cos(pi / 9), 100 * std::sin(pi / 9)}, true).points[1];
    EXPECT_NEAR(level.x, 100, 1e-9);
    EXPECT_EQ(level.y, 0); // exactly level, not within rounding
    // The tail 30° below the leftward direction from the tip snaps to 45°, keeping its distance 50.
    const Point tail = arrow.dragging(Handle::point(0), {100 - 50 * std::cos(pi / 6), 25}, true).points[0];
    expectNear(tail, {100 - 50 * std::sqrt(0.5), 50 * std::sqrt(0.5)});
    EXPECT_EQ(polygon({{0, 0}, {10, 0}, {0, 10}}, true).dragging(Handle::point(2), {3, 17}, true).points[2],
              (Point{3, 17})); // polygons never snap

    const Annotation r = framed(AnnotationKind::rectangle, {0, 0, 100, 100});
    const auto knobAt = [](double degrees) {
        const double a = degrees * pi / 180;
        return Point{50 + 80 * std::sin(a), 50 - 80 * std::cos(a)};
    };
    EXPECT_EQ(r.dragging(Handle::rotate(), {150, 50}, false).rotation, pi / 2);
    EXPECT_NEAR(r.dragging(Handle::rotate(), knobAt(20), false).rotation, pi / 9, 1e-12);
    EXPECT_NEAR(r.dragging(Handle::rotate(), knobAt(20), true).rotation, pi / 12, 1e-12);
    EXPECT_NEAR(r.dragging(Handle::rotate(), knobAt(23), true).rotation, pi / 6, 1e-12);
}
