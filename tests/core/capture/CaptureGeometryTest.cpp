#include "core/capture/CaptureGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace lumivex {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

WindowInfo window(uint32_t id, Rect frame) { return {id, frame, QStringLiteral("owner"), QString()}; }

TEST(CaptureGeometry, DragRectAndTopLeftFrame)
{
    // Normalised whichever way the drag went.
    EXPECT_EQ(CaptureGeometry::rect({30, 40}, {10, 5}), Rect(10, 5, 20, 35));
    EXPECT_EQ(CaptureGeometry::rect({10, 40}, {30, 5}), Rect(10, 5, 20, 35));
    // Bottom-left display frames flipped around the primary display's height.
    EXPECT_EQ(CaptureGeometry::topLeftFrame({0, 0, 1440, 900}, 900), Rect(0, 0, 1440, 900));
    // A display above the primary one lies at negative y in top-left space.
    EXPECT_EQ(CaptureGeometry::topLeftFrame({0, 900, 1920, 1080}, 900), Rect(0, -1080, 1920, 1080));
    // A display to the right whose bottom edge sits 100 points higher than the primary's.
    EXPECT_EQ(CaptureGeometry::topLeftFrame({1440, 100, 1280, 720}, 900), Rect(1440, 80, 1280, 720));
}

TEST(CaptureGeometry, TopWindowIsTheFrontMostWindowUnderThePoint)
{
    const QList<WindowInfo> frontToBack{window(1, {100, 100, 50, 50}), window(2, {0, 0, 400, 300})};
    EXPECT_EQ(CaptureGeometry::topWindow({120, 120}, frontToBack)->id, 1u);
    EXPECT_EQ(CaptureGeometry::topWindow({10, 10}, frontToBack)->id, 2u);
    // The right and bottom edges belong to whatever lies beyond them.
    EXPECT_EQ(CaptureGeometry::topWindow({150, 120}, frontToBack)->id, 2u);
    EXPECT_EQ(CaptureGeometry::topWindow({120, 150}, frontToBack)->id, 2u);
    EXPECT_EQ(CaptureGeometry::topWindow({100, 100}, frontToBack)->id, 1u);
    EXPECT_FALSE(CaptureGeometry::topWindow({400, 10}, frontToBack));
    EXPECT_FALSE(CaptureGeometry::topWindow({-1, 10}, frontToBack));
    EXPECT_FALSE(CaptureGeometry::topWindow({nan, 10}, frontToBack));
    EXPECT_FALSE(CaptureGeometry::topWindow({10, 10}, {}));
}

struct PixelRectCase {
    const char* name;
    Rect rect;
    Size display;
    Size image;
    std::optional<Rect> expected;
};

class PixelRect : public testing::TestWithParam<PixelRectCase> {};

TEST_P(PixelRect, WidensToWholePixelsAndClipsToTheImage)
{
    const PixelRectCase& c = GetParam();
    EXPECT_EQ(CaptureGeometry::pixelRect(c.rect, c.display, c.image), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    CaptureGeometry, PixelRect,
    testing::Values(
        // 2 pixels per point: 20.4..30.6 → 20..31 and 21.4..31.6 → 21..32.
        PixelRectCase{"fractional_at_2x", {10.2, 10.7, 5.1, 5.1}, {100, 100}, {200, 200}, Rect(20, 21, 11, 11)},
        PixelRectCase{"thin_rect_keeps_one_pixel", {5, 5, 0.3, 10}, {100, 100}, {100, 100}, Rect(5, 5, 1, 10)},
        // x and y scale separately when the image is not uniformly denser than the display.
        PixelRectCase{"anisotropic", {10, 10, 10, 10}, {100, 100}, {300, 100}, Rect(30, 10, 30, 10)},
        PixelRectCase{"overhanging_left_top", {-20, -5, 30, 10}, {100, 100}, {100, 100}, Rect(0, 0, 10, 5)},
        PixelRectCase{"overhanging_right_bottom", {90, 95, 30, 30}, {100, 100}, {100, 100}, Rect(90, 95, 10, 5)},
        PixelRectCase{"negative_size_is_standardised", {30, 30, -10, -10}, {100, 100}, {100, 100},
                      Rect(20, 20, 10, 10)},
        PixelRectCase{"wholly_outside", {150, 10, 20, 20}, {100, 100}, {100, 100}, std::nullopt},
        PixelRectCase{"touching_the_right_edge_only", {100, 10, 20, 20}, {100, 100}, {100, 100}, std::nullopt},
        PixelRectCase{"zero_display", {0, 0, 10, 10}, {0, 0}, {100, 100}, std::nullopt},
        PixelRectCase{"empty_image", {0, 0, 10, 10}, {100, 100}, {0, 0}, std::nullopt},
        PixelRectCase{"nan_display", {0, 0, 10, 10}, {nan, 100}, {100, 100}, std::nullopt},
        PixelRectCase{"nan_rect", {nan, 0, 10, 10}, {100, 100}, {100, 100}, std::nullopt},
        PixelRectCase{"infinite_width_is_clipped", {10, 0, inf, 10}, {100, 100}, {100, 100}, Rect(10, 0, 90, 10)},
        PixelRectCase{"gigantic", {-1e300, -1e300, 2e300, 2e300}, {100, 100}, {64, 64}, Rect(0, 0, 64, 64)}),
    [](const testing::TestParamInfo<PixelRectCase>& info) { return std::string(info.param.name); });

TEST(CaptureGeometry, CropCutsAnIndependentCopyOfTheSelectedPixels)
{
    // Every pixel carries its own coordinates; the top byte stays 0, as the X server leaves it.
    QImage frozen(200, 100, QImage::Format_RGB32);
    for (int y = 0; y < frozen.height(); ++y)
        for (int x = 0; x < frozen.width(); ++x)
            reinterpret_cast<uint32_t*>(frozen.scanLine(y))[x] = (uint32_t(x) << 12) | uint32_t(y);
    const std::optional<QImage> cut = CaptureGeometry::crop(frozen, {10.5, 20, 30, 15.2}, {100, 50});
    frozen.fill(Qt::black);
    ASSERT_TRUE(cut);
    ASSERT_EQ(cut->size(), QSize(60, 31)); // 21..81 by 40..71 in pixels
    EXPECT_EQ(cut->format(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < cut->height(); ++y)
        for (int x = 0; x < cut->width(); ++x)
            ASSERT_EQ(cut->pixel(x, y), 0xff000000u | (uint32_t(x + 21) << 12) | uint32_t(y + 40)) << x << "," << y;
    EXPECT_FALSE(CaptureGeometry::crop(frozen, {260, 0, 10, 10}, {100, 50}));
    EXPECT_FALSE(CaptureGeometry::crop(QImage(), {0, 0, 10, 10}, {100, 50}));
}

} // namespace
} // namespace lumivex
