#include "core/geometry/Rect.h"

#include <gtest/gtest.h>

#include <limits>

using namespace lumivex;

TEST(Rect, ContainsMinEdgesButNotMaxEdges)
{
    const Rect r{10, 20, 30, 40};
    EXPECT_TRUE(r.contains(Point{10, 20}));
    EXPECT_TRUE(r.contains(Point{39.999, 59.999}));
    EXPECT_FALSE(r.contains(Point{40, 30}));
    EXPECT_FALSE(r.contains(Point{20, 60}));
    EXPECT_FALSE(Rect(5, 5, 0, 10).contains(Point{5, 6}));
}

TEST(Rect, IntersectionWithoutAreaIsNull)
{
    const Rect a{0, 0, 10, 10};
    EXPECT_EQ(a.intersected(Rect{5, 5, 10, 10}), (Rect{5, 5, 5, 5}));
    EXPECT_TRUE(a.intersected(Rect{20, 0, 5, 5}).isNull());
    EXPECT_TRUE(a.intersected(Rect{10, 0, 5, 5}).isNull()); // touching edges only
    EXPECT_TRUE(a.intersected(Rect::null()).isNull());
    EXPECT_TRUE(Rect::null().isEmpty());
}

TEST(Rect, NegativeSizesHaveProperEdges)
{
    const Rect r{10, 10, -4, -6};
    EXPECT_EQ(r.minX(), 6);
    EXPECT_EQ(r.maxX(), 10);
    EXPECT_EQ(r.minY(), 4);
    EXPECT_EQ(r.standardized(), (Rect{6, 4, 4, 6}));
}

TEST(Rect, IntegralFloorsOriginAndCeilsFarEdges)
{
    EXPECT_EQ((Rect{10.3, 5.7, 20.2, 10.1}).integral(), (Rect{10, 5, 21, 11}));
    EXPECT_EQ((Rect{-0.5, -0.5, 1, 1}).integral(), (Rect{-1, -1, 2, 2}));
}

TEST(Rect, NonFiniteInputNeverClaimsAnOverlap)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Rect bad{nan, 0, 10, 10};
    EXPECT_TRUE(bad.intersected(Rect{0, 0, 100, 100}).isNull());
    EXPECT_FALSE(bad.contains(Point{1, 1}));
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE((Rect{0, 0, inf, 10}).intersected(Rect{0, 0, 5, 5}).width == 5);
}

TEST(Rect, UnionAndOutset)
{
    EXPECT_EQ((Rect{0, 0, 1, 1}).united(Rect{5, 5, 1, 1}), (Rect{0, 0, 6, 6}));
    EXPECT_EQ(Rect::null().united(Rect{1, 2, 3, 4}), (Rect{1, 2, 3, 4}));
    EXPECT_EQ((Rect{10, 10, 10, 10}).outset(2, 3), (Rect{8, 7, 14, 16}));
    EXPECT_TRUE((Rect{10, 10, 4, 4}).inset(3, 3).isNull());
    EXPECT_EQ(Rect::spanning(Point{5, 1}, Point{2, 7}), (Rect{2, 1, 3, 6}));
}
