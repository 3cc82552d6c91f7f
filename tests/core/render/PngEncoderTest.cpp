#include "core/render/PngEncoder.h"

#include "ExportFixtures.h"
#include "support/TestImages.h"

#include <QtEndian>

#include <gtest/gtest.h>
#include <libdeflate.h>

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

// The image data of a single-IDAT PNG, inflated by libdeflate, which checks the zlib Adler-32 as well.
std::optional<size_t> inflatedLength(const QByteArray& png, size_t expectedLength)
{
    const qsizetype idat = png.indexOf("IDAT");
    const quint32 length = qFromBigEndian<quint32>(png.constData() + idat - 4);
    std::vector<char> out(expectedLength + 1);
    size_t actual = 0;
    auto* decompressor = libdeflate_alloc_decompressor();
    const auto result = libdeflate_zlib_decompress(decompressor, png.constData() + idat + 4, length, out.data(),
                                                   out.size(), &actual);
    libdeflate_free_decompressor(decompressor);
    return result == LIBDEFLATE_SUCCESS ? std::optional(actual) : std::nullopt;
}

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

TEST_P(PngEncoderRoundTrip, BandsJoinIntoOneValidZlibStream)
{
    const QImage image = test::noiseImage(1500, 1400, QImage::Format_RGB32, false);
    const std::optional<QByteArray> png = PngEncoder::encode(image, 1, GetParam());
    ASSERT_TRUE(png);
    const size_t expected = size_t(1400) * (1 + 1500 * 3);
    EXPECT_EQ(inflatedLength(*png, expected), expected);
}

INSTANTIATE_TEST_SUITE_P(Efforts, PngEncoderRoundTrip, testing::Values(Effort::compact, Effort::fast),
                         [](const auto& info) { return info.param == Effort::compact ? "Compact" : "Fast"; });

TEST(PngEncoder, StatesSeventyTwoDpiPerPixelScale)
{
    const QImage image = test::noiseImage(4, 4, QImage::Format_ARGB32_Premultiplied, false);
    struct Case {
        double scale;
        int dotsPerMetre;
    };
    // 72 dpi = 2834.6 dots per metre; 144 dpi = 5669.3. Scales that are no number fall back to 1.
    for (const Case c : {Case{1, 2835}, Case{2, 5669}, Case{1.5, 4252}, Case{3, 8504}, Case{0, 2835},
                         Case{-2, 2835}, Case{std::numeric_limits<double>::quiet_NaN(), 2835},
                         Case{std::numeric_limits<double>::infinity(), 2835}}) {
        SCOPED_TRACE(c.scale);
        const QImage decoded = QImage::fromData(*PngEncoder::encode(image, c.scale, Effort::fast), "PNG");
        EXPECT_EQ(decoded.dotsPerMeterX(), c.dotsPerMetre);
        EXPECT_EQ(decoded.dotsPerMeterY(), c.dotsPerMetre);
    }
}

TEST(PngEncoder, NullImageGivesNothing)
{
    EXPECT_FALSE(PngEncoder::encode(QImage(), 1, Effort::compact));
    EXPECT_FALSE(PngEncoder::encode(QImage(), 1, Effort::fast));
}
