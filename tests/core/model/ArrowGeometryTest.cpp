#include "ModelTestSupport.h"

#include <cmath>
#include <tuple>

using namespace lumivex;
using lumivex::test::arrowFrom;
using lumivex::test::expectNear;

TEST(ArrowGeometry, StraightArrowOutlineAndHeadLimits)
{
    const auto shape = arrowFrom({0, 0}, {100, 0}, 4).arrowShape();
    ASSERT_TRUE(shape);
    ASSERT_EQ(shape->head.size(), 4u);
    expectNear(shape->head[0], {100, 0});
    expectNear(shape->head[1], {80, 10});
    expectNear(shape->head[2], {85.6, 0});
    expectNear(shape->head[3], {80, -10});
    // The shaft widens from half-width 1 at the tail to 3.1 and ends 12 px before the tip, inside the head.
    ASSERT_EQ(shape->body.size(), 65u);
    expectNear(shape->body[0], {0, 1});
    expectNear(shape->body[28], {88, 3.1}, 1e-4);

    // Head length is clamped below (12 for a thin line) and to 0.8 of a short arrow.
    EXPECT_EQ(arrowFrom({0, 0}, {100, 0}, 1).arrowHeadSize(), (std::pair<double, double>{12, 6}));
    EXPECT_EQ(arrowFrom({0, 0}, {10, 0}, 4).arrowHeadSize(), (std::pair<double, double>{8, 4}));
    EXPECT_FALSE(arrowFrom({0, 0}, {0.5, 0}).arrowShape());
    EXPECT_TRUE(arrowFrom({0, 0}, {0.6, 0}).arrowShape());
}

TEST(ArrowGeometry, BentCurveAndItsHead)
{
    const Annotation a = arrowFrom({0, 0}, {100, 0}, 4, 0.5);
    expectNear(a.arrowControlPoint(), {50, 50});
    expectNear(a.arrowPoint(0.5), {50, 25});
    const Vector tip = a.arrowTangent(1);
    expectNear({tip.dx, tip.dy}, {std::sqrt(0.5), -std::sqrt(0.5)});
    const double notchBack = 0.72 * 20 * std::sqrt(0.5); // the notch lies back along the curve's tangent
    expectNear(a.arrowShape()->head[2], {100 - notchBack, notchBack});
}

TEST(ArrowGeometry, BendDragFollowsThePointerClampsAndSnapsStraight)
{
    // {signed distance of the pointer from the chord's midpoint along the normal (+y), shift, expected bend}
    const Annotation a = arrowFrom({0, 0}, {100, 0});
    for (auto [offset, shift, expected] : {std::tuple{30.0, false, 0.6}, {-30.0, false, -0.6}, {100.0, false, 1.2},
                                           {-100.0, true, -1.2}, {1.0, false, 0.0}, {5.0, false, 0.1},
                                           {5.0, true, 0.0}, {6.0, true, 0.12}}) {
        EXPECT_NEAR(a.bendDragging({50, offset}, shift), expected, 1e-12) << offset << " " << shift;
        EXPECT_NEAR(a.dragging(Handle::bend(), {50, offset}, shift).arrowBend, expected, 1e-12) << offset;
    }
}
