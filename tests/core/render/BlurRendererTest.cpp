#include "core/render/BlurRenderer.h"

#include "samples/TestImages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using namespace lumivex;

namespace {

const double notANumber = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();

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

// A true gaussian in double precision, sampled to 4 sigma, every coordinate outside the image clamped onto it.
QImage referenceGaussian(const QImage& source, const QRect& region, double sigma)
{
    const int reach = int(std::ceil(4 * sigma));
    std::vector<double> kernel(2 * reach + 1);
    double sum = 0;
    for (int i = -reach; i <= reach; ++i)
        sum += kernel[i + reach] = std::exp(-0.5 * i * i / (sigma * sigma));
    auto at = [&](int y, int x, int c) {
        return source.constScanLine(std::clamp(y, 0, source.height() - 1))[4 * std::clamp(x, 0, source.width() - 1) + c];
    };
    const int w = region.width();
    std::vector<double> rows(std::size_t(region.height() + 2 * reach) * w * 4);
    for (int r = 0; r < region.height() + 2 * reach; ++r)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 4; ++c)
                for (int i = -reach; i <= reach; ++i)
                    rows[(std::size_t(r) * w + x) * 4 + c]
                        += kernel[i + reach] / sum * at(region.top() - reach + r, region.left() + x + i, c);
    QImage result(region.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < region.height(); ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 4; ++c) {
                double v = 0;
                for (int i = -reach; i <= reach; ++i)
                    v += kernel[i + reach] / sum * rows[(std::size_t(y + reach + i) * w + x) * 4 + c];
                result.scanLine(y)[4 * x + c] = uchar(std::clamp(std::lround(v), 0L, 255L));
            }
    return result;
}

// Block averages by brute force: every pixel centre of the edge-extended plane belongs to block
// floor(centre / size), counted in x from the left edge and in y from the bottom edge.
QRgb referenceBlock(const QImage& source, int x, int y, double size)
{
    const int height = source.height(), reach = int(std::ceil(size)) + 1;
    auto blockOf = [size](int index) { return std::floor((index + 0.5) / size); };
    const double bx = blockOf(x), by = blockOf(height - 1 - y);
    double sum[4] = {}, count = 0;
    for (int k = int(by * size) - reach; k <= int((by + 1) * size) + reach; ++k)
        for (int i = int(bx * size) - reach; i <= int((bx + 1) * size) + reach; ++i) {
            if (blockOf(k) != by || blockOf(i) != bx)
                continue;
            const uchar* p = source.constScanLine(std::clamp(height - 1 - k, 0, height - 1))
                + 4 * std::clamp(i, 0, source.width() - 1);
            for (int c = 0; c < 4; ++c)
                sum[c] += p[c];
            count += 1;
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
    EXPECT_EQ(BlurRenderer::patchRegion(Rect{-50.5, 80, 100, 100}, image), QRect(0, 80, 50, 20));
    EXPECT_EQ(BlurRenderer::patchRegion(Rect{60, 40, -20, -10}, image), QRect(40, 30, 20, 10));
    EXPECT_EQ(BlurRenderer::patchRegion(Rect{-1e300, -1e300, 2e300, 2e300}, image), QRect(QPoint(), image));
    for (Rect empty : {Rect{300, 0, 50, 50}, Rect{10, 10, 0, 50}, Rect{notANumber, 0, 10, 10}, Rect{0, 0, inf, 10}})
        EXPECT_TRUE(BlurRenderer::patchRegion(empty, image).isEmpty());
}

TEST(BlurRender, NothingAndNothingCachedForUnusableAmountsFramesOrImages)
{
    const QImage base = filled(64, 64, Qt::blue);
    BlurCache cache;
    for (double amount : {0.0, -3.0, notANumber, inf})
        for (BlurStyle style : {BlurStyle::gaussian, BlurStyle::pixelate})
            EXPECT_FALSE(BlurRenderer::render(blurOver({5, 5, 20, 20}, amount, style), base, &cache));
    EXPECT_FALSE(BlurRenderer::render(blurOver({100, 5, 20, 20}, 4), base, &cache));
    EXPECT_FALSE(BlurRenderer::render(blurOver({5, 5, 20, 20}, 4), QImage(), &cache));
    EXPECT_EQ(cache.count(), 0u);
    for (BlurStyle style : {BlurStyle::gaussian, BlurStyle::pixelate}) { // huge amounts stay finite
        const auto patch = BlurRenderer::render(blurOver({0, 0, 50, 30}, 1e12, style), base, nullptr);
        ASSERT_TRUE(patch);
        EXPECT_EQ(patch->image.pixel(25, 15), QColor(Qt::blue).rgba());
    }
}

TEST(BlurRender, AmountsAreToldApartToAQuarterPixelAndEqualKeysSharePixels)
{
    const QImage base = test::screenshotLikeImage(120, 90);
    const Rect frame{10, 10, 50, 40};
    EXPECT_EQ(BlurRenderer::cacheKey(blurOver(frame, 10.05), base.size())->amount, 40);
    EXPECT_EQ(BlurRenderer::cacheKey(blurOver(frame, 10.1), base.size())->amount, 40);
    EXPECT_EQ(BlurRenderer::cacheKey(blurOver(frame, 10.2), base.size())->amount, 41);
    BlurCache cache;
    const auto first = BlurRenderer::render(blurOver(frame, 10.05), base, &cache);
    const auto second = BlurRenderer::render(blurOver(frame, 10.1), base, &cache);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(second->image.constBits(), first->image.constBits());
    ASSERT_TRUE(BlurRenderer::render(blurOver(frame, 10.2), base, &cache));
    ASSERT_TRUE(BlurRenderer::render(blurOver({10.4, 10.2, 49.1, 39.5}, 10.05), base, &cache)); // same pixels
    EXPECT_EQ(cache.count(), 2u);
}

// Both the direct convolution of small radii and the recursive one above it, inside the image and at its edges.
TEST(GaussianBlur, MatchesATrueGaussian)
{
    const QImage base = test::screenshotLikeImage(240, 180, 7);
    for (const auto& [sigma, region] : {std::pair{0.8, QRect(60, 50, 100, 60)}, {1.9, QRect(0, 0, 90, 70)},
                                        {6.0, QRect(150, 100, 90, 80)}, {30.0, QRect(0, 0, 160, 120)}}) {
        SCOPED_TRACE(sigma);
        const QImage patch = BlurRenderer::gaussianPatch(base, region, sigma);
        const QImage expected = referenceGaussian(base, region, sigma);
        ASSERT_EQ(patch.size(), region.size());
        int worst = 0, offByOne = 0; // at most one level apart, and rarely (a peak signal-to-noise of 55 dB)
        for (int y = 0; y < patch.height(); ++y)
            for (int x = 0; x < patch.width() * 4; ++x) {
                const int diff = std::abs(int(patch.constScanLine(y)[x]) - int(expected.constScanLine(y)[x]));
                worst = std::max(worst, diff);
                offByOne += diff;
            }
        EXPECT_LE(worst, 1);
        EXPECT_LE(offByOne, 255.0 * 255 / std::pow(10, 5.5) * patch.width() * patch.height() * 4);
    }
}

TEST(GaussianBlur, NoFringeAtTheImageEdgeAndPremultipliedStaysValid)
{
    const QColor colour(200, 60, 30);
    for (double sigma : {1.0, 5.0, 25.0}) {
        const auto patch = BlurRenderer::render(blurOver({-10, 10, 30, 40}, sigma), filled(80, 60, colour), nullptr);
        ASSERT_TRUE(patch);
        EXPECT_EQ(patch->region.x, 0);
        for (int y = 0; y < patch->image.height(); ++y)
            for (int x : {0, 1, 2})
                ASSERT_EQ(patch->image.pixel(x, y), colour.rgba()) << sigma << " at " << x << "," << y;
    }
    QImage sparse = filled(64, 64, Qt::transparent);
    for (int y = 20; y < 44; ++y)
        for (int x = 0; x < 64; x += 2)
            sparse.setPixel(x, y, qRgba(255, 255, 255, 255));
    const QImage patch = BlurRenderer::gaussianPatch(sparse, sparse.rect(), 4);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_LE(qRed(patch.pixel(x, y)), qAlpha(patch.pixel(x, y)));
}

TEST(Pixelation, BlocksAreAnchoredAtTheBottomLeftAndNeighboursShareOneGrid)
{
    // 101 rows: whole blocks counted from the bottom leave the short one at the top, past the top edge.
    const QImage base = test::screenshotLikeImage(130, 101, 3);
    const QRect region(5, 0, 110, 101);
    for (double size : {16.0, 7.5, 150.0}) {
        const QImage patch = BlurRenderer::pixelatedPatch(base, region, size);
        ASSERT_EQ(patch.size(), region.size());
        for (int y = 0; y < region.height(); y += 7)
            for (int x = 0; x < region.width(); x += 13)
                ASSERT_EQ(patch.pixel(x, y), referenceBlock(base, region.x() + x, region.y() + y, size))
                    << size << " at " << x << "," << y;
    }
    const QImage both = BlurRenderer::pixelatedPatch(base, QRect(13, 21, 110, 70), 12);
    EXPECT_EQ(BlurRenderer::pixelatedPatch(base, QRect(13, 21, 50, 70), 12), both.copy(0, 0, 50, 70));
    EXPECT_EQ(BlurRenderer::pixelatedPatch(base, QRect(63, 21, 60, 70), 12), both.copy(50, 0, 60, 70));
}
