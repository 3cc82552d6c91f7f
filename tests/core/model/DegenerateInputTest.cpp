// Every geometry entry point with NaN, infinities and zero-size input: each must return (no crash, no hang,
// no runaway allocation). Values are not checked except where a stated fallback exists.

#include "ModelTestSupport.h"
#include "core/model/TextLayout.h"
#include "core/model/ToolStyle.h"

#include <gtest/gtest.h>

#include <limits>

using namespace lumivex;

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();
const double awkward[] = {0.0, notANumber, infinity, -infinity, 1e308};

const Handle allHandles[] = {Handle::corner(0), Handle::corner(2), Handle::corner(7), Handle::point(0),
                             Handle::point(1),  Handle::point(-1), Handle::edge(0),   Handle::edge(1),
                             Handle::edge(2),   Handle::edge(3),   Handle::edge(9),   Handle::rotate(),
                             Handle::bend()};

void exerciseEverything(const Annotation& a, double v)
{
    const Point p{v, v};
    (void)a.center();
    (void)a.corners();
    (void)a.selectionOutline();
    (void)a.contains(p, v);
    (void)a.contains({1, 1}, 3);
    (void)a.handles(v);
    for (const Handle& h : allHandles)
        for (bool snap : {false, true})
            (void)a.dragging(h, p, snap);
    (void)a.arrowControlPoint();
    (void)a.arrowPoint(v);
    (void)a.arrowTangent(v);
    (void)a.arrowHeadSize();
    (void)a.bendDragging(p, true);
    (void)a.arrowShape();
    (void)a.textFrameSize();
    Annotation copy = a;
    copy.translate({v, v});
    copy.refreshTextFrame(true);
    ToolStyle style = ToolStyle::syncing(a, v, ToolStyle());
    style.apply(copy, v);
    style.cycleSize(a.kind);
}

} // namespace

TEST(DegenerateInput, EveryGeometryFunctionReturns)
{
    const AnnotationKind kinds[] = {AnnotationKind::rectangle, AnnotationKind::ellipse, AnnotationKind::polygon,
                                    AnnotationKind::arrow,     AnnotationKind::text,    AnnotationKind::blur,
                                    AnnotationKind::sticker};
    for (AnnotationKind kind : kinds) {
        for (double v : awkward) {
            for (std::size_t pointCount : {0u, 1u, 2u, 3u}) {
                Annotation a(kind);
                a.frame = {v, v, v, v};
                a.rotation = v;
                a.points.assign(pointCount, Point{v, v});
                a.arrowBend = v;
                a.lineWidth = v;
                a.fontSize = v;
                a.textExtraSize = {v, v};
                exerciseEverything(a, v);
                a.frame = {};
                a.points.assign(pointCount, Point{});
                exerciseEverything(a, v);
            }
        }
    }
}

TEST(DegenerateInput, StatedFallbacksForMissingArrowPoints)
{
    Annotation a(AnnotationKind::arrow);
    a.points = {{3, 4}};
    EXPECT_EQ(a.arrowControlPoint(), (Point{0, 0}));
    EXPECT_EQ(a.arrowPoint(0.5), (Point{0, 0}));
    EXPECT_EQ(a.arrowTangent(0.5), (Vector{1, 0}));
    EXPECT_EQ(a.arrowPolyline(3), (std::vector<Point>(4, Point{0, 0})));
    EXPECT_EQ(a.arrowHeadSize(), (std::pair<double, double>{0, 0}));
    EXPECT_EQ(a.bendDragging({1, 1}, false), 0);
    EXPECT_FALSE(a.arrowShape());
    EXPECT_FALSE(a.contains({3, 4}, 10));
    // Absurd segment counts are clamped rather than allocated.
    EXPECT_EQ(a.arrowPolyline(0).size(), 2u);
    EXPECT_LE(a.arrowPolyline(std::numeric_limits<int>::max()).size(), 70000u);
    // A pointer at infinity leaves a real arrow straight instead of storing NaN.
    EXPECT_EQ(lumivex::test::arrowFrom({0, 0}, {100, 0}).bendDragging({infinity, infinity}, false), 0);
}

TEST(DegenerateInput, TextMeasuringOfHugeAndOddInput)
{
    for (double size : {0.0, -5.0, notANumber, infinity, 1e300})
        EXPECT_GT(TextLayout::textSize("Hello", size, true).height, 0) << size;
    const QString controls = QString::fromUtf8("a\tb") + QChar(0) + QString::fromUtf8("c\u200Dd\U0001F600\r\r\n");
    EXPECT_GT(TextLayout::textSize(controls, 20, false).width, 0);
    EXPECT_TRUE(TextLayout::glyphPath("x", 20, true, Rect::null()).isEmpty());
}
