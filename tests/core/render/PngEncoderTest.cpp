#include "core/render/PngEncoder.h"

#include "ExportFixtures.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace lumivex;
using Effort = PngEncoder::Effort;

namespace {

struct Source {
    const char* name;
    QImage image;
};

// Sources of every kind the encoder meets: premultiplied screenshots with and without alpha, straight alpha
// (whose colour under alpha 0 must survive), other formats, odd and single-pixel sizes, and images large
// enough to be split into bands.
std::vector<Source> sources()
{
    using test::noiseImage;
    return {
        {"OnePixel", noiseImage(1, 1, QImage::Format_ARGB32_Premultiplied, false)},
        {"OddOpaque", noiseImage(37, 23, QImage::Format_ARGB32_Premultiplied, false)},
        {"OddTranslucentPremultiplied", noiseImage(41, 29, QImage::Format_ARGB32_Premultiplied, true)},
        {"StraightAlpha", noiseImage(33, 17, QImage::Format_ARGB32, true)},
        {"Rgb32", noiseImage(19, 31, QImage::Format_RGB32, false)},
        {"Rgb888", noiseImage(13, 9, QImage::Format_RGB888, false)},
        {"Grayscale", noiseImage(21, 11, QImage::Format_Grayscale8, false)},
        {"SixteenBitTranslucent", noiseImage(15, 14, QImage::Format_RGBA64, true)},
        {"BandedNoise", noiseImage(1031, 1201, QImage::Format_ARGB32_Premultiplied, false)},
        {"BandedTranslucent", noiseImage(1201, 1031, QImage::Format_ARGB32_Premultiplied, true)},
        {"BandedScreenshot", test::screenshotLikeImage(1600, 900)},
    };
}

// Qt's decoder is the oracle: the decoded picture must equal the source as Qt itself converts it.
void expectSamePixels(const QImage& source, const QImage& decoded)
{
    ASSERT_EQ(decoded.size(), source.size());
    const bool premultiplied = source.format() == QImage::Format_ARGB32_Premultiplied;
    const QImage expected = source.convertToFormat(premultiplied ? source.format() : QImage::Format_ARGB32);
    const QImage actual = decoded.convertToFormat(expected.format());
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            ASSERT_EQ(actual.pixel(x, y), expected.pixel(x, y)) << "at " << x << "," << y;
}

quint8 colorTypeOf(const QByteArray& png) { return quint8(png[8 + 8 + 9]); } // IHDR: width, height, depth, type

} // namespace

class PngEncoderRoundTrip : public testing::TestWithParam<Effort> {};

TEST_P(PngEncoderRoundTrip, QtDecodesEveryPixelExactly)
{
    for (const Source& source : sources()) {
        SCOPED_TRACE(source.name);
        const std::optional<QByteArray> png = PngEncoder::encode(source.image, 1, GetParam());
        ASSERT_TRUE(png);
        expectSamePixels(source.image, QImage::fromData(*png, "PNG"));
        // Opaque pictures are written without an alpha channel.
        const bool translucent = source.image.hasAlphaChannel()
            && source.image.convertToFormat(QImage::Format_ARGB32).pixelColor(0, 0).alpha() < 255;
        EXPECT_EQ(colorTypeOf(*png), translucent ? 6 : 2);
    }
}

INSTANTIATE_TEST_SUITE_P(Efforts, PngEncoderRoundTrip, testing::Values(Effort::compact, Effort::fast),
                         [](const auto& info) { return info.param == Effort::compact ? "Compact" : "Fast"; });

TEST(PngEncoder, StatesSeventyTwoDpiPerPixelScaleAndRefusesNullImages)
{
    const QImage image = test::noiseImage(4, 4, QImage::Format_ARGB32_Premultiplied, false);
    // 72 dpi = 2834.6 dots per metre, 144 dpi = 5669.3; scales that are no usable number count as 1.
    for (const auto& [scale, dotsPerMetre] : {std::pair{1.0, 2835}, {2.0, 5669}, {1.5, 4252}, {0.0, 2835},
                                             {-2.0, 2835}, {std::nan(""), 2835}, {INFINITY, 2835}}) {
        const QImage decoded = QImage::fromData(*PngEncoder::encode(image, scale, Effort::fast), "PNG");
        EXPECT_EQ(decoded.dotsPerMeterX(), dotsPerMetre) << scale;
        EXPECT_EQ(decoded.dotsPerMeterY(), dotsPerMetre) << scale;
    }
    EXPECT_FALSE(PngEncoder::encode(QImage(), 1, Effort::compact));
}
