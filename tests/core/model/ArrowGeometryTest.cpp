#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace lumivex;
using lumivex::test::arrowFrom;
using lumivex::test::expectNear;

TEST(ArrowGeometry, StraightArrowOutline)
{
    const auto shape = arrowFrom({0, 0}, {100, 0}, 4).arrowShape();
    ASSERT_TRUE(shape);
    ASSERT_EQ(shape->head.size(), 4u);
    expectNear(shape->head[0], {100, 0});
    expectNear(shape->head[1], {80, 10});
    expectNear(shape->head[2], {85.6, 0});
    expectNear(shape->head[3], {80, -10});

    // 29 samples down one side, 29 back up the other, 7 round the tail. The shaft widens from half-width 1 to
    // 3.1 and ends 0.6 x head length (12 px) before the tip, between the notch and the tip.
    ASSERT_EQ(shape->body.size(), 65u);
    expectNear(shape->body[0], {0, 1});
    expectNear(shape->body[57], {0, -1});
    expectNear(shape->body[28], {88, 3.1}, 1e-4);
    expectNear(shape->body[29], {88, -3.1}, 1e-4);
    for (std::size_t i = 58; i < 65; ++i) {
        EXPECT_LT(shape->body[i].x, 0);
        EXPECT_NEAR(shape->body[i].distance({0, 0}), 1, 1e-9);
    }
}

TEST(ArrowGeometry, HeadLengthAndOutlineThresholds)
{
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
    // At the tip the curve runs from the control point to the tip, up and to the right on screen; the head's
    // notch lies back along that direction.
    const Vector tip = a.arrowTangent(1);
    expectNear({tip.dx, tip.dy}, {std::sqrt(0.5), -std::sqrt(0.5)});
    const double notchBack = 0.72 * 20 * std::sqrt(0.5);
    const auto shape = a.arrowShape();
    ASSERT_TRUE(shape);
    expectNear(shape->head[2], {100 - notchBack, notchBack});
    // Where neither the derivative nor the chord has a direction, the tangent is still a unit vector.
    EXPECT_EQ(arrowFrom({7, 7}, {7, 7}, 4, 0.8).arrowTangent(1), (Vector{1, 0}));
}

struct BendCase {
    double offset; // signed distance from the chord's midpoint along the normal
    bool shift;
    double expected;
};

class ArrowBendDragging : public testing::TestWithParam<BendCase> {};

TEST_P(ArrowBendDragging, FollowsPointerClampsAndSnapsStraight)
{
    // From (0,0) to (100,0) the normal points down the screen (+y). The bend handle drives the same rule.
    const Annotation a = arrowFrom({0, 0}, {100, 0});
    const BendCase c = GetParam();
    EXPECT_NEAR(a.bendDragging({50, c.offset}, c.shift), c.expected, 1e-12);
    EXPECT_NEAR(a.dragging(Handle::bend(), {50, c.offset}, c.shift).arrowBend, c.expected, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Cases, ArrowBendDragging,
                         testing::Values(BendCase{30, false, 0.6}, BendCase{-30, false, -0.6},
                                         BendCase{100, false, 1.2}, BendCase{-100, true, -1.2},
                                         BendCase{1, false, 0}, BendCase{5, false, 0.1}, BendCase{5, true, 0},
                                         BendCase{6, true, 0.12}));
