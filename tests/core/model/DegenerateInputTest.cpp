// Every geometry entry point with NaN, infinities, zero sizes and missing points must return (no crash, hang or
// runaway allocation); values are checked only where a fallback is promised.

#include "ModelTestSupport.h"
#include "core/model/TextLayout.h"
#include "core/model/ToolStyle.h"

#include <limits>

using namespace lumivex;

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

void exerciseEverything(const Annotation& a, double v)
{
    const Point p{v, v};
    (void)a.selectionOutline();
    (void)a.contains(p, v);
    (void)a.contains({1, 1}, 3);
    (void)a.handles(v);
    for (Handle h : {Handle::corner(0), Handle::corner(7), Handle::point(1), Handle::point(-1), Handle::edge(1),
                     Handle::edge(9), Handle::rotate(), Handle::bend()})
        (void)a.dragging(h, p, true), (void)a.dragging(h, p, false);
    (void)a.arrowTangent(v);
    (void)a.bendDragging(p, true);
    (void)a.arrowShape();
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
    for (AnnotationKind kind : {AnnotationKind::rectangle, AnnotationKind::ellipse, AnnotationKind::polygon,
                                AnnotationKind::arrow, AnnotationKind::text, AnnotationKind::blur,
                                AnnotationKind::sticker}) {
        for (double v : {0.0, std::numeric_limits<double>::quiet_NaN(), infinity, -infinity, 1e308}) {
            for (std::size_t pointCount : {0u, 1u, 2u, 3u}) {
                Annotation a(kind);
                a.frame = {v, v, v, v};
                a.rotation = a.arrowBend = a.lineWidth = a.fontSize = v;
                a.points.assign(pointCount, Point{v, v});
                a.textExtraSize = {v, v};
                exerciseEverything(a, v);
                a.frame = {};
                a.points.assign(pointCount, Point{});
                exerciseEverything(a, v);
            }
            EXPECT_GT(TextLayout::textSize("Hello", v, true).height, 0) << v;
        }
    }
    EXPECT_TRUE(TextLayout::glyphPath("x", 20, true, Rect::null()).isEmpty());

    Annotation a(AnnotationKind::arrow);
    a.points = {{3, 4}};
    EXPECT_EQ(a.arrowTangent(0.5), (Vector{1, 0}));
    EXPECT_EQ(a.arrowPolyline(3), (std::vector<Point>(4, Point{0, 0})));
    EXPECT_LE(a.arrowPolyline(std::numeric_limits<int>::max()).size(), 70000u); // clamped, not allocated
    EXPECT_EQ(test::arrowFrom({7, 7}, {7, 7}, 4, 0.8).arrowTangent(1), (Vector{1, 0}));
    EXPECT_EQ(test::arrowFrom({5, 5}, {5, 5}).bendDragging({50, 80}, false), 0);
    // A pointer at infinity leaves a real arrow straight instead of storing NaN.
    EXPECT_EQ(test::arrowFrom({0, 0}, {100, 0}).bendDragging({infinity, infinity}, false), 0);
}
