#include "ModelTestSupport.h"
#include "core/model/TextLayout.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace lumivex;
using lumivex::test::arrowFrom;
using lumivex::test::framed;

namespace {

constexpr double pi = std::numbers::pi;

Annotation unfilledRectangle(Rect frame, double lineWidth = 4)
{
    Annotation a = framed(AnnotationKind::rectangle, frame);
    a.lineWidth = lineWidth;
    return a;
}

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

TEST(AnnotationHitTest, UnfilledRectangleIsHitOnlyAlongItsRing)
{
    const Annotation ring = unfilledRectangle({0, 0, 100, 100});
    EXPECT_FALSE(ring.contains({50, 50}, 3));
    EXPECT_TRUE(ring.contains({4, 50}, 3));    // inside the edge, within tolerance + half line width (5)
    EXPECT_TRUE(ring.contains({-4.9, 50}, 3)); // outside the edge
    EXPECT_FALSE(ring.contains({5.5, 50}, 3));
    EXPECT_FALSE(ring.contains({-5.5, 50}, 3));

    Annotation filled = ring;
    filled.fillColor = RGBAColor::white;
    EXPECT_TRUE(filled.contains({50, 50}, 3));
    EXPECT_FALSE(filled.contains({-3.5, 50}, 3));

    // Too narrow to have an inside: everything in the grown frame is outline.
    const Annotation narrow = unfilledRectangle({0, 0, 6, 100});
    for (double x : {-4.9, 0.0, 3.0, 6.0, 10.9})
        EXPECT_TRUE(narrow.contains({x, 50}, 3)) << x;
    EXPECT_FALSE(narrow.contains({11.1, 50}, 3));
}

TEST(AnnotationHitTest, RotatedShapesAreHitInTheirTurnedFootprint)
{
    Annotation turned = framed(AnnotationKind::rectangle, {0, 0, 200, 100}, pi / 2);
    turned.fillColor = RGBAColor::red;
    EXPECT_TRUE(turned.contains({100, 140}, 3));
    EXPECT_FALSE(turned.contains({180, 50}, 3));

    // At any angle, points just inside each turned corner hit and points just outside miss.
    for (AnnotationKind kind : {AnnotationKind::rectangle, AnnotationKind::sticker}) {
        Annotation shape = framed(kind, {10, 20, 200, 100}, 0.4);
        shape.fillColor = RGBAColor::red;
        for (const Point& corner : shape.corners()) {
            const Vector inwards = (shape.center() - corner) * 0.05;
            EXPECT_TRUE(shape.contains(corner + inwards, 0));
            EXPECT_FALSE(shape.contains(corner - inwards, 0));
        }
    }

    Annotation text = turned;
    text.kind = AnnotationKind::text;
    EXPECT_TRUE(text.contains({100, -40}, 3));
    EXPECT_FALSE(text.contains({10, 50}, 3));
}

TEST(AnnotationHitTest, EllipseFilledAndRing)
{
    Annotation ellipse = framed(AnnotationKind::ellipse, {0, 0, 200, 100});
    ellipse.lineWidth = 4;
    EXPECT_FALSE(ellipse.contains({100, 50}, 3)); // centre of an unfilled ellipse
    EXPECT_TRUE(ellipse.contains({100, 2}, 3));   // on the ring near the top
    EXPECT_TRUE(ellipse.contains({204, 50}, 3));  // just outside the right end, within 5
    EXPECT_FALSE(ellipse.contains({2, 2}, 3));    // frame corner, far from the curve
    ellipse.fillColor = RGBAColor::black;
    EXPECT_TRUE(ellipse.contains({100, 50}, 3));
    EXPECT_FALSE(ellipse.contains({204, 50}, 3)); // filled: only tolerance, no half line width
}

TEST(AnnotationHitTest, PolygonEdgesAreaAndTwoPointLines)
{
    // A concave "U": its notch is outside by the even-odd rule.
    const Annotation u = polygon({{0, 0}, {30, 0}, {30, 100}, {70, 100}, {70, 0}, {100, 0}, {100, 120}, {0, 120}},
                                 true);
    EXPECT_TRUE(u.contains({15, 60}, 3));
    EXPECT_FALSE(u.contains({50, 50}, 3));
    EXPECT_TRUE(u.contains({50, 99}, 3)); // near the notch's bottom edge
    EXPECT_FALSE(polygon(u.points, false).contains({15, 60}, 3));

    // Two points never enclose anything, filled or not; only the segment is hit.
    for (bool filled : {true, false}) {
        const Annotation line = polygon({{0, 0}, {100, 100}}, filled);
        EXPECT_TRUE(line.contains({50, 53}, 3));
        EXPECT_FALSE(line.contains({80, 20}, 3));
    }
    EXPECT_FALSE(polygon({{0, 0}}, true).contains({0, 0}, 3));
}

TEST(AnnotationHitTest, ArrowReachIsOneAndAHalfLineWidths)
{
    const Annotation arrow = arrowFrom({0, 0}, {100, 0}, 4);
    EXPECT_TRUE(arrow.contains({50, 8.9}, 3)); // 3 + 6
    EXPECT_FALSE(arrow.contains({50, 9.1}, 3));
    // A bent arrow is hit along its curve, not along its chord.
    const Annotation bent = arrowFrom({0, 0}, {100, 0}, 4, 0.5);
    EXPECT_TRUE(bent.contains({50, 25}, 0));
    EXPECT_FALSE(bent.contains({50, 0}, 3));
}

TEST(AnnotationOutline, BentArrowOutlineEnclosesItsCurve)
{
    const auto outline = arrowFrom({0, 0}, {100, 0}, 4, 0.5).selectionOutline();
    ASSERT_EQ(outline.size(), 4u);
    EXPECT_EQ(outline[0], (Point{0, 0}));
    EXPECT_EQ(outline[2].x, 100);
    EXPECT_NEAR(outline[2].y, 25, 1e-12); // the curve's lowest point is its middle
    EXPECT_TRUE(polygon({}, false).selectionOutline().empty());
}

TEST(AnnotationHandles, OrderAndPositions)
{
    const Annotation text = framed(AnnotationKind::text, {0, 0, 100, 40});
    const auto handles = text.handles(20);
    ASSERT_EQ(handles.size(), 9u);
    EXPECT_EQ(handles[2], (std::pair{Handle::corner(2), Point{100, 40}}));
    EXPECT_EQ(handles[5], (std::pair{Handle::edge(1), Point{100, 20}}));
    EXPECT_EQ(handles[8], (std::pair{Handle::rotate(), Point{50, -20}}));

    // Turned a quarter clockwise about (50, 20), the knob above the top edge ends up right of the centre.
    const auto turnedKnob = framed(AnnotationKind::sticker, {0, 0, 100, 40}, pi / 2).handles(20).back();
    EXPECT_EQ(turnedKnob.first, Handle::rotate());
    EXPECT_NEAR(turnedKnob.second.x, 90, 1e-9);
    EXPECT_NEAR(turnedKnob.second.y, 20, 1e-9);

    EXPECT_EQ(framed(AnnotationKind::blur, {0, 0, 10, 10}).handles(20).size(), 4u);
    const auto arrow = arrowFrom({0, 0}, {100, 0}, 4, 0.5).handles(20);
    ASSERT_EQ(arrow.size(), 3u);
    EXPECT_EQ(arrow[0].first, Handle::bend());
    EXPECT_NEAR(arrow[0].second.y, 25, 1e-12);
    EXPECT_EQ(arrow[2], (std::pair{Handle::point(1), Point{100, 0}}));
}

TEST(AnnotationDragging, RectangleCornerKeepsTheOppositeCornerAndMirrors)
{
    const Annotation r = framed(AnnotationKind::rectangle, {10, 10, 100, 50});
    EXPECT_EQ(r.dragging(Handle::corner(2), {150, 100}, false).frame, (Rect{10, 10, 140, 90}));
    // Past the anchor the frame flips over instead of getting a negative size.
    EXPECT_EQ(r.dragging(Handle::corner(2), {0, 0}, false).frame, (Rect{0, 0, 10, 10}));
    // Exactly onto the anchor: the smallest frame, 1 x 1, centred there.
    EXPECT_EQ(r.dragging(Handle::corner(0), {110, 60}, false).frame, (Rect{109.5, 59.5, 1, 1}));
}

TEST(AnnotationDragging, RotatedCornerDragKeepsTheAnchorOnScreen)
{
    const Annotation r = framed(AnnotationKind::ellipse, {0, 0, 100, 50}, pi / 6);
    const Point anchor = r.corners()[0];
    const Point pointer = r.corners()[2] + Vector{20, 30};
    const Annotation dragged = r.dragging(Handle::corner(2), pointer, false);
    EXPECT_EQ(dragged.rotation, r.rotation);
    EXPECT_NEAR(dragged.corners()[0].distance(anchor), 0, 1e-9);
    EXPECT_NEAR(dragged.corners()[2].distance(pointer), 0, 1e-9);
}

TEST(AnnotationDragging, AspectCornerDragScalesAboutTheAnchor)
{
    Annotation sticker = framed(AnnotationKind::sticker, {0, 0, 100, 50});
    const Annotation doubled = sticker.dragging(Handle::corner(2), {200, 100}, false);
    EXPECT_EQ(doubled.frame, (Rect{0, 0, 200, 100}));
    // Onto the anchor: scale 0.05, never zero.
    EXPECT_EQ(sticker.dragging(Handle::corner(2), {0, 0}, false).frame, (Rect{0, 0, 5, 2.5}));
    // A 0 x 0 frame has no scale to take; nothing changes.
    sticker.frame = {30, 30, 0, 0};
    EXPECT_EQ(sticker.dragging(Handle::corner(1), {80, 80}, false), sticker);
    Annotation emptyText = framed(AnnotationKind::text, {30, 30, 0, 0});
    EXPECT_EQ(emptyText.dragging(Handle::corner(3), {0, 90}, false), emptyText);
}

TEST(AnnotationDragging, TextEdgesAddRoomButNeverCutIntoTheText)
{
    const Annotation box = lumivex::test::textBox("Hello", 28, {100, 100});
    const Size measured = TextLayout::textSize("Hello", 28, true);
    const double minimumWidth = measured.width + 14;
    ASSERT_EQ(box.frame.width, minimumWidth);

    const Annotation wider = box.dragging(Handle::edge(1), {box.frame.maxX() + 30, 0}, false);
    EXPECT_EQ(wider.frame, (Rect{100, 100, minimumWidth + 30, box.frame.height}));
    EXPECT_EQ(wider.textExtraSize, (Size{30, 0}));

    // Dragged back far past the text: stops at the text plus padding, with no extra room left.
    const Annotation narrowed = wider.dragging(Handle::edge(1), {-500, 0}, false);
    EXPECT_EQ(narrowed.frame, box.frame);
    EXPECT_EQ(narrowed.textExtraSize, (Size{0, 0}));

    const Annotation taller = box.dragging(Handle::edge(0), {0, 80}, false);
    EXPECT_EQ(taller.frame.maxY(), box.frame.maxY());
    EXPECT_EQ(taller.frame.minY(), 80);
    EXPECT_EQ(taller.textExtraSize.height, 20);

    // Turned a quarter clockwise, the right edge faces down the screen; the left edge stays put.
    Annotation turned = box;
    turned.rotation = std::numbers::pi / 2;
    const auto leftEdgeOf = [](const Annotation& a) { return a.handles(20)[7].second; };
    const Point below = turned.handles(20)[5].second + Vector{0, 25};
    const Annotation stretched = turned.dragging(Handle::edge(1), below, false);
    EXPECT_NEAR(stretched.frame.width, minimumWidth + 25, 1e-9);
    EXPECT_NEAR(leftEdgeOf(stretched).distance(leftEdgeOf(turned)), 0, 1e-9);
    EXPECT_EQ(framed(AnnotationKind::rectangle, {0, 0, 10, 10}).dragging(Handle::edge(1), {50, 5}, false).frame,
              (Rect{0, 0, 10, 10}));
}

TEST(AnnotationDragging, TextCornerScalesTheFontAndRemeasures)
{
    const Annotation box = lumivex::test::textBox("Hello", 28, {100, 100});
    const Point anchor = box.corners()[0];
    const Annotation doubled = box.dragging(Handle::corner(2), anchor + 2 * (box.corners()[2] - anchor), false);
    EXPECT_DOUBLE_EQ(doubled.fontSize, 56);
    EXPECT_EQ(doubled.frame.size(), TextLayout::frameSize("Hello", 56, true));
    const Point scaledCenter = anchor + 2 * (box.center() - anchor);
    EXPECT_NEAR(doubled.center().distance(scaledCenter), 0, 1e-9);

    EXPECT_DOUBLE_EQ(box.dragging(Handle::corner(2), anchor, false).fontSize, 28 * 0.05);
    const Annotation small = lumivex::test::textBox("Hello", 10, {100, 100});
    EXPECT_EQ(small.dragging(Handle::corner(2), small.corners()[0], false).fontSize, 1);
}

TEST(AnnotationDragging, PointFollowsPointerOrSnapsToEighthTurnsKeepingLength)
{
    const Annotation arrow = arrowFrom({0, 0}, {100, 0});
    EXPECT_EQ(arrow.dragging(Handle::point(1), {90, 37}, false).points[1], (Point{90, 37}));
    // 20° off the horizontal snaps to level, at the pointer's distance from the tail.
    const Point pointer{100 * std::cos(pi / 9), 100 * std::sin(pi / 9)};
    const Point level = arrow.dragging(Handle::point(1), pointer, true).points[1];
    EXPECT_NEAR(level.x, 100, 1e-9);
    EXPECT_EQ(level.y, 0); // exactly level, not within rounding
    // 30° snaps to 45°, around the tip when the tail is dragged.
    const Point tailPointer = Point{100, 0} + Vector{-50 * std::cos(pi / 6), 50 * std::sin(pi / 6)};
    const Point tail = arrow.dragging(Handle::point(0), tailPointer, true).points[0];
    EXPECT_NEAR(tail.x, 100 - 50 * std::sqrt(0.5), 1e-9);
    EXPECT_NEAR(tail.y, 50 * std::sqrt(0.5), 1e-9);
    // Polygons never snap, and indices outside the points change nothing.
    const Annotation triangle = polygon({{0, 0}, {10, 0}, {0, 10}}, true);
    EXPECT_EQ(triangle.dragging(Handle::point(2), {3, 17}, true).points[2], (Point{3, 17}));
    EXPECT_EQ(triangle.dragging(Handle::point(3), {3, 17}, false), triangle);
}

TEST(AnnotationDragging, RotationFollowsTheKnobAndSnapsToFifteenDegrees)
{
    const Annotation r = framed(AnnotationKind::rectangle, {0, 0, 100, 100});
    EXPECT_EQ(r.dragging(Handle::rotate(), {150, 50}, false).rotation, pi / 2);
    EXPECT_EQ(r.dragging(Handle::rotate(), {150, 50}, true).rotation, pi / 2);
    EXPECT_EQ(r.dragging(Handle::rotate(), {49, -100}, true).rotation, 0);
    EXPECT_NEAR(r.dragging(Handle::rotate(), {49, -100}, false).rotation, -std::atan2(1, 150), 1e-12);
    // 20° snaps to 15°, 23° to 30°.
    const auto knobAt = [](double degrees) {
        const double a = degrees * pi / 180;
        return Point{50 + 80 * std::sin(a), 50 - 80 * std::cos(a)};
    };
    EXPECT_NEAR(r.dragging(Handle::rotate(), knobAt(20), true).rotation, pi / 12, 1e-12);
    EXPECT_NEAR(r.dragging(Handle::rotate(), knobAt(23), true).rotation, pi / 6, 1e-12);
}

TEST(AnnotationMoving, TranslateMovesFrameAndPoints)
{
    Annotation a = polygon({{0, 0}, {10, 5}}, false);
    a.frame = {1, 2, 3, 4};
    a.translate({10, -5});
    EXPECT_EQ(a.frame, (Rect{11, -3, 3, 4}));
    EXPECT_EQ(a.points, (std::vector<Point>{{10, -5}, {20, 0}}));
}
