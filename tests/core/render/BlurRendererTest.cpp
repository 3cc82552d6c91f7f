#include "core/render/BlurRenderer.h"

#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using namespace lumivex;

namespace {

Annotation blurOver(Rect frame, double amount, BlurStyle style = BlurStyle::gaussian)
{
    Annotation a(AnnotationKind::blur);
    a.frame = frame;
    a.blurAmount = amount;
    a.blurStyle = style;
    return a;
}

QImage filled(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

// A true gaussian by brute force, in double precision: the kernel is sampled far out (4 sigma) and every
// coordinate outside the image is clamped onto it, which is what repeating the edge pixels forever means.
QImage referenceGaussian(const QImage& source, const QRect& region, double sigma)
{
    const int reach = int(std::ceil(4 * sigma));
    std::vector<double> kernel(2 * reach + 1);
    double sum = 0;
    for (int i = -reach; i <= reach; ++i)
        sum += kernel[i + reach] = std::exp(-0.5 * i * i / (sigma * sigma));
    for (double& k : kernel)
        k /= sum;
    auto clampTo = [](int v, int size) { return std::clamp(v, 0, size - 1); };

    const int top = region.top() - reach, rows = region.height() + 2 * reach;
    std::vector<double> horizontal(std::size_t(rows) * region.width() * 4);
    for (int r = 0; r < rows; ++r) {
        const uchar* line = source.constScanLine(clampTo(top + r, source.height()));
        for (int x = 0; x < region.width(); ++x)
            for (int c = 0; c < 4; ++c) {
                double v = 0;
                for (int i = -reach; i <= reach; ++i)
                    v += kernel[i + reach] * line[4 * clampTo(region.left() + x + i, source.width()) + c];
                horizontal[(std::size_t(r) * region.width() + x) * 4 + c] = v;
            }
    }
    QImage result(region.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < region.height(); ++y)
        for (int x = 0; x < region.width(); ++x)
            for (int c = 0; c < 4; ++c) {
                double v = 0;
                for (int i = -reach; i <= reach; ++i)
                    v += kernel[i + reach] * horizontal[(std::size_t(y + reach + i) * region.width() + x) * 4 + c];
                result.scanLine(y)[4 * x + c] = uchar(std::clamp(std::lround(v), 0L, 255L));
            }
    return result;
}

struct Difference {
    int maximum = 0;
    double psnr = std::numeric_limits<double>::infinity();
};

Difference compare(const QImage& a, const QImage& b)
{
    Difference d;
    double squares = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width() * 4; ++x) {
            const int diff = std::abs(int(a.constScanLine(y)[x]) - int(b.constScanLine(y)[x]));
            d.maximum = std::max(d.maximum, diff);
            squares += diff * diff;
        }
    const double mse = squares / (double(a.width()) * a.height() * 4);
    if (mse > 0)
        d.psnr = 10 * std::log10(255.0 * 255.0 / mse);
    return d;
}

// Block averages by brute force: every pixel centre of the plane (the image extended by its edges) belongs to
// block floor(centre / size), counted in x from the left edge and in y from the bottom edge.
QRgb referenceBlock(const QImage& source, int x, int y, double size)
{
    const int height = source.height();
    auto blockOf = [size](int index) { return std::floor((index + 0.5) / size); };
    const double bx = blockOf(x), by = blockOf(height - 1 - y);
    const int reach = int(std::ceil(size)) + 1;
    double sum[4] = {};
    double count = 0;
    for (int k = int(by * size) - reach; k <= int((by + 1) * size) + reach; ++k) {
        if (blockOf(k) != by)
            continue;
        const uchar* line = source.constScanLine(std::clamp(height - 1 - k, 0, height - 1));
        for (int i = int(bx * size) - reach; i <= int((bx + 1) * size) + reach; ++i) {
            if (blockOf(i) != bx)
                continue;
            const uchar* p = line + 4 * std::clamp(i, 0, source.width() - 1);
            for (int c = 0; c < 4; ++c)
                sum[c] += p[c];
            count += 1;
        }
    }
    uchar bytes[4];
    for (int c = 0; c < 4; ++c)
        bytes[c] = uchar(std::floor(sum[c] / count + 0.5));
    QRgb rgb;
    std::memcpy(&rgb, bytes, 4);
    return rgb;
}

} // namespace

TEST(BlurRegion, WholePixelsContainingTheFrameCutToTheImage)
{
    const QSize image(200, 100);
    EXPECT_EQ(BlurRenderer::patchRegion(Rect{10.3, 5.7, 20.2, 10.1}, image), QRect(10, 5, 21, 11));
    EXPECT_EQ(BlurRenderer::patchRegion(Rect{-50.5, 80, 100, 100}, image), QRect(0, 80, 50, 20)); // half outside
    EXPECT_EQ(BlurRenderer::patchRegion(Rect{60, 40, -20, -10}, image), QRect(40, 30, 20, 10)); // negative size
    EXPECT_TRUE(BlurRenderer::patchRegion(Rect{300, 0, 50, 50}, image).isEmpty());              // all outside
    EXPECT_TRUE(BlurRenderer::patchRegion(Rect{10, 10, 0, 50}, image).isEmpty());               // no width
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(BlurRenderer::patchRegion(Rect{nan, 0, 10, 10}, image).isEmpty());
    EXPECT_TRUE(BlurRenderer::patchRegion(Rect{0, 0, inf, 10}, image).isEmpty());
    EXPECT_EQ(BlurRenderer::patchRegion(Rect{-1e300, -1e300, 2e300, 2e300}, image), QRect(QPoint(), image));
}

TEST(BlurRender, NothingForAmountsThatAreNotPositiveAndNothingCached)
{
    const QImage base = filled(64, 64, Qt::blue);
    BlurCache cache;
    for (double amount : {0.0, -3.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()})
        for (BlurStyle style : {BlurStyle::gaussian, BlurStyle::pixelate})
            EXPECT_FALSE(BlurRenderer::render(blurOver({5, 5, 20, 20}, amount, style), base, &cache).has_value());
    EXPECT_EQ(cache.count(), 0u);
    EXPECT_FALSE(BlurRenderer::render(blurOver({100, 5, 20, 20}, 4), base, &cache).has_value());
    EXPECT_FALSE(BlurRenderer::render(blurOver({5, 5, 20, 20}, 4), QImage(), &cache).has_value());
    EXPECT_EQ(cache.count(), 0u);
}

TEST(BlurRender, AmountsAreToldApartToAQuarterPixel)
{
    const QImage base = test::screenshotLikeImage(120, 90);
    BlurCache cache;
    const auto first = BlurRenderer::render(blurOver({10, 10, 50, 40}, 10.05), base, &cache);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(BlurRenderer::cacheKey(blurOver({10, 10, 50, 40}, 10.05), base.size())->amount, 40);
    EXPECT_EQ(BlurRenderer::cacheKey(blurOver({10, 10, 50, 40}, 10.1), base.size())->amount, 40);
    EXPECT_EQ(BlurRenderer::cacheKey(blurOver({10, 10, 50, 40}, 10.2), base.size())->amount, 41);

    // 10.1 finds the patch made for 10.05: the very same pixels, shared rather than recomputed.
    const auto second = BlurRenderer::render(blurOver({10, 10, 50, 40}, 10.1), base, &cache);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->image.constBits(), first->image.constBits());
    EXPECT_EQ(cache.count(), 1u);
    ASSERT_TRUE(BlurRenderer::render(blurOver({10, 10, 50, 40}, 10.2), base, &cache).has_value());
    EXPECT_EQ(cache.count(), 2u);
    // The frame only matters through its whole-pixel region.
    ASSERT_TRUE(BlurRenderer::render(blurOver({10.4, 10.2, 49.1, 39.5}, 10.05), base, &cache).has_value());
    EXPECT_EQ(cache.count(), 2u);
}

struct GaussianCase {
    double sigma;
    QRect region;
};

class GaussianAccuracy : public testing::TestWithParam<GaussianCase> {};

// Against a true gaussian: both the direct convolution used for small radii and the recursive approximation
// used above it, in the middle of the image (where the margin is cut inside the image) and at its edges.
TEST_P(GaussianAccuracy, MatchesATrueGaussian)
{
    const QImage base = test::screenshotLikeImage(240, 180, 7);
    const GaussianCase c = GetParam();
    const QImage patch = BlurRenderer::gaussianPatch(base, c.region, c.sigma);
    ASSERT_EQ(patch.size(), c.region.size());
    const Difference d = compare(patch, referenceGaussian(base, c.region, c.sigma));
    EXPECT_LE(d.maximum, 1) << "sigma " << c.sigma;
    EXPECT_GE(d.psnr, 55) << "sigma " << c.sigma;
}

INSTANTIATE_TEST_SUITE_P(Radii, GaussianAccuracy,
                         testing::Values(GaussianCase{0.8, QRect(60, 50, 100, 60)}, GaussianCase{1.9, QRect(0, 0, 90, 70)},
                                         GaussianCase{2.5, QRect(30, 40, 120, 100)}, GaussianCase{6, QRect(150, 100, 90, 80)},
                                         GaussianCase{16, QRect(70, 50, 80, 60)}, GaussianCase{30, QRect(0, 0, 160, 120)}));

TEST(GaussianBlur, NoFringeAtTheImageEdge)
{
    // Edges repeat outwards: a flat picture stays flat right up to its border, with no dark or clear band.
    const QColor colour(200, 60, 30);
    const QImage base = filled(80, 60, colour);
    for (double sigma : {1.0, 5.0, 25.0}) {
        const auto patch = BlurRenderer::render(blurOver({-10, 10, 30, 40}, sigma), base, nullptr);
        ASSERT_TRUE(patch.has_value());
        EXPECT_EQ(patch->region.x, 0);
        for (int y = 0; y < patch->image.height(); ++y)
            for (int x : {0, 1, 2})
                EXPECT_EQ(patch->image.pixel(x, y), colour.rgba()) << "sigma " << sigma << " at " << x << "," << y;
    }
}

TEST(GaussianBlur, TranslucentPixelsStayValidPremultiplied)
{
    QImage base(64, 64, QImage::Format_ARGB32_Premultiplied);
    base.fill(Qt::transparent);
    for (int y = 20; y < 44; ++y)
        for (int x = 0; x < 64; x += 2)
            base.setPixel(x, y, qRgba(255, 255, 255, 255));
    const QImage patch = BlurRenderer::gaussianPatch(base, base.rect(), 4);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const QRgb p = patch.pixel(x, y);
            ASSERT_LE(qRed(p), qAlpha(p));
            ASSERT_LE(qGreen(p), qAlpha(p));
        }
}

TEST(Pixelation, BlocksAreAnchoredAtTheBottomLeftCorner)
{
    // 101 rows: counted from the bottom the blocks are whole, so the top block is the short one, reaching past
    // the top edge (where row 0 stands in for the missing rows).
    const QImage base = test::screenshotLikeImage(130, 101, 3);
    for (double size : {16.0, 7.5, 40.0, 150.0}) {
        const QRect region(5, 0, 110, 101);
        const QImage patch = BlurRenderer::pixelatedPatch(base, region, size);
        ASSERT_EQ(patch.size(), region.size());
        for (int y = 0; y < region.height(); y += 7)
            for (int x = 0; x < region.width(); x += 13)
                ASSERT_EQ(patch.pixel(x, y), referenceBlock(base, region.x() + x, region.y() + y, size))
                    << "block " << size << " at " << x << "," << y;
    }
}

TEST(Pixelation, NeighbouringRegionsShareOneGrid)
{
    const QImage base = test::screenshotLikeImage(200, 120, 5);
    const QImage left = BlurRenderer::pixelatedPatch(base, QRect(13, 21, 50, 70), 12);
    const QImage right = BlurRenderer::pixelatedPatch(base, QRect(63, 21, 70, 70), 12);
    const QImage both = BlurRenderer::pixelatedPatch(base, QRect(13, 21, 120, 70), 12);
    EXPECT_EQ(left, both.copy(0, 0, 50, 70));
    EXPECT_EQ(right, both.copy(50, 0, 70, 70));
}

TEST(Pixelation, HugeBlocksStayFinite)
{
    const QImage base = filled(50, 30, QColor(10, 200, 90));
    const auto patch = BlurRenderer::render(blurOver({0, 0, 50, 30}, 1e12, BlurStyle::pixelate), base, nullptr);
    ASSERT_TRUE(patch.has_value());
    EXPECT_EQ(patch->image.pixel(25, 15), QColor(10, 200, 90).rgba());
    const auto blurred = BlurRenderer::render(blurOver({0, 0, 50, 30}, 1e12), base, nullptr);
    ASSERT_TRUE(blurred.has_value());
    EXPECT_EQ(blurred->image.pixel(25, 15), QColor(10, 200, 90).rgba());
}
