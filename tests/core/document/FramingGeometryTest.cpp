#include "core/document/CanvasPadding.h"
#include "core/document/CanvasRatio.h"
#include "core/document/CropGeometry.h"
#include "core/document/EditorState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace lumivex;

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
} // namespace

TEST(CanvasRatio, ExpandingGrowsToTheRatioByWholePixels)
{
    struct Case {
        CanvasRatio ratio;
        Rect input, expected;
    };
    for (const Case& c : {
             Case{CanvasRatio::fixed(4, 3), {0, 0, 100, 100}, {-17, 0, 134, 100}}, // odd surplus
             Case{CanvasRatio::fixed(1, 1), {10, 20, 300, 200}, {10, -30, 300, 300}},
             Case{CanvasRatio::fixed(7, 3), {0, 0, 10, 27}, {-26, 0, 63, 27}}, // 7/3 x 27 is 63.00000000000001
             Case{CanvasRatio::automatic(), {1, 2, 3, 4}, {1, 2, 3, 4}},
             Case{CanvasRatio::fixed(4, 3), {0, 0, 0, 10}, {0, 0, 0, 10}},
             Case{CanvasRatio::size(0, 630), {0, 0, 10, 10}, {0, 0, 10, 10}},
             Case{CanvasRatio::fixed(kInf, 3), {0, 0, 10, 10}, {0, 0, 10, 10}}})
        EXPECT_EQ(c.ratio.expanding(c.input), c.expected) << c.input.width << "x" << c.input.height;

    const Rect exact = CanvasRatio::size(1200, 630).expanding({0, 0, 1000, 1000}); // exact sizes are not rounded
    EXPECT_NEAR(exact.width, 1904.7619047619, 1e-6);
    EXPECT_NEAR(exact.x, -452.3809523809, 1e-6);
    EXPECT_EQ(exact.height, 1000);
}

TEST(CanvasRatio, PresetsCustomRatiosAndDeviceSizes)
{
    EXPECT_EQ(CanvasRatio::fixed(16, 9).preset()->title, "16:9"); // the first entry with that ratio
    EXPECT_EQ(CanvasRatio::size(1200, 630).preset()->title, "Open Graph");
    EXPECT_FALSE(CanvasRatio::fixed(32, 18).preset()); // same value, different payload

    EXPECT_EQ(CanvasRatio::custom(16, 9), CanvasRatio::fixed(16, 9));
    EXPECT_FALSE(CanvasRatio::custom(16, 9)->isCustom()); // it is the "16:9" preset
    EXPECT_TRUE(CanvasRatio::custom(7, 3)->isCustom());
    EXPECT_TRUE(CanvasRatio::custom(1, 20));  // 0.05, the lower limit
    EXPECT_TRUE(CanvasRatio::custom(100, 5)); // 20, the upper limit
    for (auto [w, h] : {std::pair{100.0, 4.0}, {0.5, 1.0}, {101.0, 50.0}, {kNaN, 1.0}})
        EXPECT_FALSE(CanvasRatio::custom(w, h)) << w << ":" << h;

    const auto landscape = CanvasRatio::size(2796, 1290).iPhoneAppStoreSize();
    ASSERT_TRUE(landscape);
    EXPECT_EQ(landscape->inches, QString::fromUtf8("6.7\u2033"));
    EXPECT_EQ(CanvasRatio::size(1290, 2796).iPhoneAppStoreSize()->inches, landscape->inches);
    EXPECT_FALSE(CanvasRatio::size(1000, 1000).iPhoneAppStoreSize());
    EXPECT_FALSE(CanvasRatio::fixed(1290, 2796).iPhoneAppStoreSize());
}

TEST(EditorState, CanvasPadsTheVisibleRectByRoundedAmountThenWidensToTheRatio)
{
    EditorState state(QImage(200, 100, QImage::Format_Mono));
    for (Rect unusable : {Rect{10, 10, 0.5, 50}, Rect{300, 300, 10, 10}, Rect{kNaN, 0, 10, 10}}) {
        state.cropRect = unusable;
        EXPECT_EQ(state.visibleRect(), (Rect{0, 0, 200, 100}));
    }
    state.cropRect = Rect{150, 50, 100, 100}; // partly outside
    EXPECT_EQ(state.visibleRect(), (Rect{150, 50, 50, 50}));

    state.cropRect = Rect{0, 0, 100, 100};
    state.padding = CanvasPadding{true, 10.5, RGBAColor::black}; // rounds away from zero to 11
    EXPECT_EQ(state.canvasRect(), (Rect{-11, -11, 122, 122}));
    state.ratio = CanvasRatio::fixed(2, 1);
    EXPECT_EQ(state.canvasRect(), (Rect{-72, -11, 244, 122}));
    EXPECT_EQ((CanvasPadding{true, kNaN, RGBAColor::white}).effectiveAmount(), 0);
}

TEST(CropGeometry, ResizeMoveAndNewRectRoundEachEdgeWithinTheBounds)
{
    const Rect bounds{0, 0, 100, 100};
    EXPECT_EQ(CropGeometry::resized(bounds, CropHandle::topLeft, {150, 170}, bounds, 8), (Rect{92, 92, 8, 8}));
    EXPECT_EQ(CropGeometry::resized({10, 10, 50, 50}, CropHandle::right, {500, 0}, bounds, 8), (Rect{10, 10, 90, 50}));
    // Edges 10.6 and 31.4: rounding origin and size instead would give width 21 and a right edge at 32.
    EXPECT_EQ(CropGeometry::resized({10.6, 0, 20.8, 10}, CropHandle::bottom, {0, 20}, bounds, 8), (Rect{11, 0, 20, 20}));
    EXPECT_EQ(CropGeometry::newRect({10.4, 10.6}, {20.5, -5}, bounds), (Rect{10, 0, 11, 11}));
    EXPECT_EQ(CropGeometry::moved({0, 0, 50, 50}, {80, 0}, bounds), (Rect{50, 0, 50, 50}));
    EXPECT_EQ(CropGeometry::moved({20, 20, 50, 50}, {5.5, -0.4}, bounds), (Rect{26, 20, 50, 50}));

    const Rect made = CropGeometry::newRect({kNaN, 5}, {kInf, -kInf}, bounds);
    EXPECT_TRUE(std::isfinite(made.x) && std::isfinite(made.y) && std::isfinite(made.width) && std::isfinite(made.height));
    EXPECT_EQ(CropGeometry::resized({10, 10, 50, 50}, CropHandle::topLeft, {kNaN, kNaN}, bounds, 8), (Rect{10, 10, 50, 50}));
    EXPECT_EQ(CropGeometry::moved({10, 10, 50, 50}, {kNaN, kInf}, bounds), (Rect{10, 10, 50, 50}));
}
