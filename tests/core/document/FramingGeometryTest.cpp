#include "core/document/CanvasPadding.h"
#include "core/document/CanvasRatio.h"
#include "core/document/CropGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace lumivex;

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
} // namespace

// ---------------------------------------------------------------- ratio expansion

struct ExpansionCase {
    const char* name;
    CanvasRatio ratio;
    Rect input;
    Rect expected;
};

void PrintTo(const ExpansionCase& c, std::ostream* os) { *os << c.name; }

class RatioExpansion : public testing::TestWithParam<ExpansionCase> {};

TEST_P(RatioExpansion, GrowsToTheRatioByWholePixels)
{
    EXPECT_EQ(GetParam().ratio.expanding(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    HandComputed, RatioExpansion,
    testing::Values(
        ExpansionCase{"widerByOddSurplus", CanvasRatio::fixed(4, 3), Rect{0, 0, 100, 100}, Rect{-17, 0, 134, 100}},
        ExpansionCase{"taller", CanvasRatio::fixed(1, 1), Rect{10, 20, 300, 200}, Rect{10, -30, 300, 300}},
        // 7/3 x 27 is 63.00000000000001 in doubles: the width must still be 63, not 64.
        ExpansionCase{"wholeResultStaysWhole", CanvasRatio::fixed(7, 3), Rect{0, 0, 10, 27}, Rect{-26, 0, 63, 27}},
        ExpansionCase{"alreadyAtRatio", CanvasRatio::fixed(16, 9), Rect{5, 5, 1600, 900}, Rect{5, 5, 1600, 900}},
        ExpansionCase{"automaticNeverChanges", CanvasRatio::automatic(), Rect{1, 2, 3, 4}, Rect{1, 2, 3, 4}},
        ExpansionCase{"emptyRectUnchanged", CanvasRatio::fixed(4, 3), Rect{0, 0, 0, 10}, Rect{0, 0, 0, 10}},
        ExpansionCase{"invalidSizeIsNoRatio", CanvasRatio::size(0, 630), Rect{0, 0, 10, 10}, Rect{0, 0, 10, 10}},
        ExpansionCase{"infinitePayloadIsNoRatio", CanvasRatio::fixed(kInf, 3), Rect{0, 0, 10, 10}, Rect{0, 0, 10, 10}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExactSizeExpansion, IsNotRounded)
{
    const Rect grown = CanvasRatio::size(1200, 630).expanding({0, 0, 1000, 1000});
    EXPECT_NEAR(grown.width, 1904.7619047619, 1e-6);
    EXPECT_NEAR(grown.x, -452.3809523809, 1e-6);
    EXPECT_NE(grown.x, std::round(grown.x));
    EXPECT_EQ(grown.height, 1000);
}

// ---------------------------------------------------------------- presets, custom ratios, device sizes

TEST(CanvasRatio, PresetIsTheFirstEntryWithTheSameRatio)
{
    EXPECT_EQ(CanvasRatio::presets().size(), 13u);
    EXPECT_EQ(CanvasRatio::fixed(16, 9).preset()->title, "16:9"); // not "Twitter" or "YouTube"
    EXPECT_EQ(CanvasRatio::size(1200, 630).preset()->title, "Open Graph");
    EXPECT_EQ(CanvasRatio::fixed(1200, 630).preset()->title, "Facebook");
    EXPECT_FALSE(CanvasRatio::automatic().preset());
    EXPECT_FALSE(CanvasRatio::fixed(32, 18).preset()); // same value, different payload
}

TEST(CanvasRatio, CustomRatiosStayWithinTheirRanges)
{
    EXPECT_EQ(CanvasRatio::custom(16, 9), CanvasRatio::fixed(16, 9));
    EXPECT_FALSE(CanvasRatio::custom(16, 9)->isCustom()); // it is the "16:9" preset
    EXPECT_TRUE(CanvasRatio::custom(7, 3)->isCustom());
    EXPECT_TRUE(CanvasRatio::custom(1, 20).has_value());   // 0.05, the lower limit
    EXPECT_TRUE(CanvasRatio::custom(100, 5).has_value());  // 20, the upper limit
    EXPECT_FALSE(CanvasRatio::custom(100, 4)); // 25
    EXPECT_FALSE(CanvasRatio::custom(0.5, 1));
    EXPECT_FALSE(CanvasRatio::custom(101, 50));
    EXPECT_FALSE(CanvasRatio::custom(kNaN, 1));
    EXPECT_EQ((CanvasPadding{true, kNaN, RGBAColor::white}).effectiveAmount(), 0);
    EXPECT_FALSE(CanvasRatio::size(1200, 630).isCustom());
    EXPECT_FALSE(CanvasRatio::automatic().isCustom());
}

TEST(CanvasRatio, IPhoneSizesMatchInEitherOrientation)
{
    const auto landscape = CanvasRatio::size(2796, 1290).iPhoneAppStoreSize();
    ASSERT_TRUE(landscape);
    EXPECT_EQ(landscape->inches, QString::fromUtf8("6.7\u2033"));
    EXPECT_FALSE(CanvasRatio::size(1000, 1000).iPhoneAppStoreSize());
    EXPECT_FALSE(CanvasRatio::fixed(1290, 2796).iPhoneAppStoreSize());
    EXPECT_EQ(CanvasRatio::iPhoneAppStoreSizes().back().ratio(true).pixelSize(), (std::pair{2208, 1242}));
}

// ---------------------------------------------------------------- crop editing

TEST(CropGeometry, HandleDraggedPastTheOppositeCornerStopsAtTheMinimum)
{
    const Rect bounds{0, 0, 100, 100};
    EXPECT_EQ(CropGeometry::resized(bounds, CropHandle::topLeft, {150, 170}, bounds, 8), (Rect{92, 92, 8, 8}));
    EXPECT_EQ(CropGeometry::resized(bounds, CropHandle::bottomRight, {-50, -50}, bounds, 8), (Rect{0, 0, 8, 8}));
    // Edge handles move one edge only, and never past the bounds.
    EXPECT_EQ(CropGeometry::resized({10, 10, 50, 50}, CropHandle::right, {500, 0}, bounds, 8), (Rect{10, 10, 90, 50}));
    EXPECT_EQ(CropGeometry::resized({10, 10, 50, 50}, CropHandle::top, {0, 30.4}, bounds, 8), (Rect{10, 30, 50, 30}));
}

TEST(CropGeometry, EachEdgeIsRoundedSeparately)
{
    // Edges 10.6 and 31.4: rounding origin and size instead would give width 21 and a right edge at 32.
    EXPECT_EQ(CropGeometry::resized({10.6, 0, 20.8, 10}, CropHandle::bottom, {0, 20}, {0, 0, 100, 100}, 8),
              (Rect{11, 0, 20, 20}));
    EXPECT_EQ(CropGeometry::newRect({10.4, 10.6}, {20.5, -5}, {0, 0, 100, 100}), (Rect{10, 0, 11, 11}));
    EXPECT_EQ(CropGeometry::newRect({-2.5, 3}, {-2.5, 3}, {-10, -10, 20, 20}), (Rect{-3, 3, 0, 0}));
}

TEST(CropGeometry, MovingStaysWithinTheBounds)
{
    const Rect bounds{0, 0, 100, 100};
    EXPECT_EQ(CropGeometry::moved({0, 0, 50, 50}, {80, 0}, bounds), (Rect{50, 0, 50, 50}));
    EXPECT_EQ(CropGeometry::moved({20, 20, 50, 50}, {5.5, -0.4}, bounds), (Rect{26, 20, 50, 50}));
}

TEST(CropGeometry, NonFiniteInputGivesAFiniteResult)
{
    const Rect bounds{0, 0, 100, 100};
    const auto finite = [](const Rect& r) {
        return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.width) && std::isfinite(r.height);
    };
    EXPECT_TRUE(finite(CropGeometry::newRect({kNaN, 5}, {kInf, -kInf}, bounds)));
    EXPECT_EQ(CropGeometry::resized({10, 10, 50, 50}, CropHandle::topLeft, {kNaN, kNaN}, bounds, 8), (Rect{10, 10, 50, 50}));
    EXPECT_EQ(CropGeometry::moved({10, 10, 50, 50}, {kNaN, kInf}, bounds), (Rect{10, 10, 50, 50}));
}
