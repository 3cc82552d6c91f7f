#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace lumivex;
using lumivex::test::arrowFrom;

namespace {

void expectNear(Point actual, Point expected, double tolerance = 1e-9)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance) << "expected (" << expected.x << ", " << expected.y << ")";
    EXPECT_NEAR(actual.y, expected.y, tolerance) << "expected (" << expected.x << ", " << expected.y << ")";
}

} // namespace

TEST(ArrowGeometry, StraightArrowHeadIsTheNotchedDart)
{
    const auto shape = arrowFrom({0, 0}, {100, 0}, 4).arrowShape();
    ASSERT_TRUE(shape);
    ASSERT_EQ(shape->head.size(), 4u);
    expectNear(shape->head[0], {100, 0});
    expectNear(shape->head[1], {80, 10});
    expectNear(shape->head[2], {85.6, 0});
    expectNear(shape->head[3], {80, -10});
}

TEST(ArrowGeometry, StraightShaftTapersFromTailToInsideTheHead)
{
    const auto shape = arrowFrom({0, 0}, {100, 0}, 4).arrowShape();
    ASSERT_TRUE(shape);
    // 29 samples down one side, 29 back up the other, 7 around the tail.
    ASSERT_EQ(shape->body.size(), 65u);
    const Point tailFirst = shape->body[0], shaftEndFirst = shape->body[28];
    const Point shaftEndSecond = shape->body[29], tailSecond = shape->body[57];
    expectNear(tailFirst, {0, 1});
    expectNear(tailSecond, {0, -1});
    EXPECT_NEAR(shaftEndFirst.y, 3.1, 1e-9);
    EXPECT_NEAR(shaftEndSecond.y, -3.1, 1e-9);
    // The shaft ends 0.6 x head length (12 px) before the tip: between the notch (85.6) and the tip.
    EXPECT_NEAR(shaftEndFirst.x, 88, 1e-4);
    // The cap runs round the back of the tail: all behind it, its middle point straight behind.
    for (std::size_t i = 58; i < 65; ++i) {
        EXPECT_LT(shape->body[i].x, 0);
        EXPECT_NEAR(shape->body[i].distance({0, 0}), 1, 1e-9);
    }
    expectNear(shape->body[61], {-1, 0});
}

TEST(ArrowGeometry, HeadLengthIsClampedBetweenMinimumAndFractionOfLength)
{
    EXPECT_EQ(arrowFrom({0, 0}, {100, 0}, 4).arrowHeadSize(), (std::pair<double, double>{20, 10}));
    EXPECT_EQ(arrowFrom({0, 0}, {100, 0}, 1).arrowHeadSize(), (std::pair<double, double>{12, 6}));
    EXPECT_EQ(arrowFrom({0, 0}, {10, 0}, 4).arrowHeadSize(), (std::pair<double, double>{8, 4}));
}

TEST(ArrowGeometry, OnlyArrowsLongerThanHalfAPixelHaveAnOutline)
{
    EXPECT_FALSE(arrowFrom({0, 0}, {0.5, 0}).arrowShape());
    EXPECT_TRUE(arrowFrom({0, 0}, {0.6, 0}).arrowShape());
    Annotation notAnArrow = arrowFrom({0, 0}, {100, 0});
    notAnArrow.kind = AnnotationKind::polygon;
    EXPECT_FALSE(notAnArrow.arrowShape());
}

TEST(ArrowGeometry, BentCurveControlPointAndMiddle)
{
    const Annotation a = arrowFrom({0, 0}, {100, 0}, 4, 0.5);
    expectNear(a.arrowControlPoint(), {50, 50});
    expectNear(a.arrowPoint(0.5), {50, 25});
    expectNear(a.arrowPoint(0), {0, 0});
    expectNear(a.arrowPoint(1), {100, 0});
    // At the tip the curve runs from the control point towards the tip: up and to the right on screen, and
    // the head's notch lies back along that direction.
    const Vector tipDirection = a.arrowTangent(1);
    expectNear(Point{tipDirection.dx, tipDirection.dy}, {std::sqrt(0.5), -std::sqrt(0.5)});
    const auto shape = a.arrowShape();
    ASSERT_TRUE(shape);
    const double notchBack = 0.72 * a.arrowHeadSize().first * std::sqrt(0.5);
    expectNear(shape->head[2], {100 - notchBack, notchBack});
}

TEST(ArrowGeometry, TangentIsAUnitVectorEvenWhereTheCurveHasNoDerivative)
{
    // With both ends and the control point on one spot neither derivative nor chord has a direction.
    const Annotation collapsed = arrowFrom({7, 7}, {7, 7}, 4, 0.8);
    for (double t : {0.0, 0.5, 1.0})
        EXPECT_EQ(collapsed.arrowTangent(t), (Vector{1, 0}));
    const Vector down = arrowFrom({10, 10}, {10, 60}).arrowTangent(1);
    EXPECT_NEAR(down.dx, 0, 1e-12);
    EXPECT_NEAR(down.dy, 1, 1e-12);
}

struct BendCase {
    double offset; // signed distance from the chord's midpoint along the normal
    bool shift;
    double expected;
};

class ArrowBendDragging : public testing::TestWithParam<BendCase> {};

TEST_P(ArrowBendDragging, FollowsPointerClampsAndSnapsStraight)
{
    // From (0,0) to (100,0) the normal points down the screen (+y).
    const Annotation a = arrowFrom({0, 0}, {100, 0});
    const BendCase c = GetParam();
    EXPECT_NEAR(a.bendDragging({50, c.offset}, c.shift), c.expected, 1e-12);
    // The bend handle drives the same rule, with Shift as the snap.
    EXPECT_NEAR(a.dragging(Handle::bend(), {50, c.offset}, c.shift).arrowBend, c.expected, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Cases, ArrowBendDragging,
                         testing::Values(BendCase{30, false, 0.6}, BendCase{-30, false, -0.6},
                                         BendCase{100, false, 1.2}, BendCase{-100, true, -1.2},
                                         BendCase{1, false, 0}, BendCase{5, false, 0.1}, BendCase{5, true, 0},
                                         BendCase{6, true, 0.12}));

TEST(ArrowGeometry, BendDragOnAZeroLengthArrowIsStraight)
{
    EXPECT_EQ(arrowFrom({5, 5}, {5, 5}).bendDragging({50, 80}, false), 0);
}
