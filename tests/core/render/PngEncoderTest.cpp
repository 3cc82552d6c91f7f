#include "core/render/PngEncoder.h"

#include "ExportFixtures.h"
#include "core/render/DeflateStreamJoin.h"
#include "core/render/PngDecoder.h"
#include "samples/TestImages.h"

#include <QBuffer>
#include <QColorSpace>

#include <gtest/gtest.h>
#include <libdeflate.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using namespace lumivex;
using Effort = PngEncoder::Effort;

class PngEncoderRoundTrip : public testing::TestWithParam<Effort> {};

// Qt's decoder is the oracle. Sources of every kind the encoder meets: premultiplied with and without alpha,
// straight alpha (whose colour under alpha 0 must survive), other formats, odd and single-pixel sizes, and
// pictures large enough to be split into bands.
TEST_P(PngEncoderRoundTrip, QtDecodesEveryPixelExactly)
{
    using test::noiseImage;
    const auto premultiplied = QImage::Format_ARGB32_Premultiplied;
    for (const auto& [name, source] : std::initializer_list<std::pair<const char*, QImage>>{
             {"OnePixel", noiseImage(1, 1, premultiplied, false)},
             {"OddTranslucentPremultiplied", noiseImage(41, 29, premultiplied, true)},
             {"StraightAlpha", noiseImage(33, 17, QImage::Format_ARGB32, true)},
             {"Rgb32", noiseImage(19, 31, QImage::Format_RGB32, false)},
             {"Grayscale", noiseImage(21, 11, QImage::Format_Grayscale8, false)},
             {"SixteenBitTranslucent", noiseImage(15, 14, QImage::Format_RGBA64, true)},
             {"BandedNoise", noiseImage(1031, 1201, premultiplied, false)},
             {"BandedTranslucent", noiseImage(1201, 1031, premultiplied, true)},
             {"BandedScreenshot", test::screenshotLikeImage(1600, 900)}}) {
        SCOPED_TRACE(name);
        const std::optional<QByteArray> png = PngEncoder::encode(source, 1, GetParam());
        ASSERT_TRUE(png);
        const QImage::Format format = source.format() == premultiplied ? premultiplied : QImage::Format_ARGB32;
        const QImage expected = source.convertToFormat(format);
        const QImage actual = QImage::fromData(*png, "PNG").convertToFormat(format);
        ASSERT_EQ(actual.size(), expected.size());
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x)
                ASSERT_EQ(actual.pixel(x, y), expected.pixel(x, y)) << "at " << x << "," << y;
        // Our own rows use every filter kind, so the plain decoder must agree with Qt's on all of them.
        const std::optional<QImage> plain = PngDecoder::decodePlain(*png, qint64(1) << 30);
        ASSERT_TRUE(plain);
        EXPECT_EQ(plain->convertToFormat(format), actual);
        // Opaque pictures are written without an alpha channel (the colour type byte of IHDR).
        const bool translucent = source.hasAlphaChannel() && qAlpha(expected.pixel(0, 0)) < 255;
        EXPECT_EQ(quint8((*png)[25]), translucent ? 6 : 2);
    }
}

INSTANTIATE_TEST_SUITE_P(Efforts, PngEncoderRoundTrip, testing::Values(Effort::compact, Effort::fast),
                         [](const auto& info) { return info.param == Effort::compact ? "Compact" : "Fast"; });

TEST(PngEncoder, StatesSeventyTwoDpiPerPixelScaleAndRefusesNullImages)
{
    const QImage image = test::noiseImage(4, 4, QImage::Format_ARGB32_Premultiplied, false);
    // 72 dpi = 2834.6 dots per metre, 144 dpi = 5669.3; scales that are no usable number count as 1.
    for (const auto& [scale, dotsPerMetre] :
         {std::pair{1.0, 2835}, {2.0, 5669}, {1.5, 4252}, {0.0, 2835}, {-2.0, 2835}, {std::nan(""), 2835}, {INFINITY, 2835}}) {
        const QImage decoded = QImage::fromData(*PngEncoder::encode(image, scale, Effort::fast), "PNG");
        EXPECT_EQ(decoded.dotsPerMeterX(), dotsPerMetre) << scale;
        EXPECT_EQ(decoded.dotsPerMeterY(), dotsPerMetre) << scale;
    }
    EXPECT_FALSE(PngEncoder::encode(QImage(), 1, Effort::compact));
}

// Anything but a plain, intact 8-bit PNG is left to Qt's reader, which applies colour chunks and explains errors.
TEST(PngDecoder, LeavesEveryOtherKindAndDamageToTheGeneralReader)
{
    const auto saved = [](const QImage& image) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    };
    const QImage noise = test::noiseImage(40, 30, QImage::Format_ARGB32, true);
    QImage p3 = noise;
    p3.setColorSpace(QColorSpace::DisplayP3);
    const QByteArray plain = *PngEncoder::encode(noise, 1, Effort::compact);
    QByteArray badChecksum = plain;
    badChecksum[plain.size() / 2] = char(badChecksum[plain.size() / 2] ^ 0x40);
    for (const auto& [name, bytes] : std::initializer_list<std::pair<const char*, QByteArray>>{
             {"palette", saved(noise.convertToFormat(QImage::Format_Indexed8))},
             {"sixteen bits", saved(noise.convertToFormat(QImage::Format_RGBA64))},
             {"colour profile", saved(p3)},
             {"truncated", plain.left(plain.size() - 20)},
             {"bad checksum", badChecksum},
             {"not a PNG", QByteArray("GIF89a")}})
        EXPECT_FALSE(PngDecoder::decodePlain(bytes, qint64(1) << 30)) << name;
    EXPECT_FALSE(PngDecoder::decodePlain(plain, 40 * 30 - 1));
    EXPECT_TRUE(PngDecoder::decodePlain(plain, 40 * 30));
}

// Pieces compressed on their own, each made joinable but the last, decode as one stream to the pieces' data in
// order. libdeflate's decoder, which knows nothing of the joining, is the judge; the inputs make libdeflate write
// stored blocks (noise), static ones (a few bytes, nothing), and dynamic ones with codes longer than the walker's
// look-up table (bytes of very uneven frequency).
TEST(DeflateStreamJoin, PiecesDecodeAsOneStreamAndBrokenStreamsAreRefused)
{
    std::mt19937 random(11);
    std::vector<std::uint8_t> noise(200000), uneven(300000);
    for (std::uint8_t& byte : noise)
        byte = std::uint8_t(random());
    std::geometric_distribution<int> rare(0.35);
    for (std::uint8_t& byte : uneven)
        byte = std::uint8_t(std::min(rare(random), 255));
    const std::vector<std::vector<std::uint8_t>> inputs{noise, std::vector<std::uint8_t>(250000, 0), uneven, {1, 2, 3}, {}};
    const auto compress = [](const std::vector<std::uint8_t>& data, int level) {
        libdeflate_compressor* compressor = libdeflate_alloc_compressor(level);
        std::vector<std::uint8_t> out(libdeflate_deflate_compress_bound(compressor, data.size()));
        out.resize(libdeflate_deflate_compress(compressor, data.data(), data.size(), out.data(), out.size()));
        libdeflate_free_compressor(compressor);
        return out;
    };
    for (const int level : {1, 6, 12}) {
        SCOPED_TRACE(level);
        std::vector<std::uint8_t> joined, expected;
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            std::vector<std::uint8_t> piece = compress(inputs[i], level);
            if (i + 1 < inputs.size()) {
                ASSERT_TRUE(DeflateStreamJoin::makeJoinable(piece)) << "piece " << i;
            }
            joined.insert(joined.end(), piece.begin(), piece.end());
            expected.insert(expected.end(), inputs[i].begin(), inputs[i].end());
        }
        std::vector<std::uint8_t> decoded(expected.size());
        libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
        const libdeflate_result result = libdeflate_deflate_decompress(decompressor, joined.data(), joined.size(),
                                                                       decoded.data(), decoded.size(), nullptr);
        libdeflate_free_decompressor(decompressor);
        ASSERT_EQ(result, LIBDEFLATE_SUCCESS);
        EXPECT_TRUE(decoded == expected);
    }
    std::vector<std::uint8_t> cut = compress(uneven, 6);
    cut.resize(cut.size() - 3);
    const std::vector<std::uint8_t> reserved{0xff, 0xff, 0xff}; // a final block of the reserved type 3
    for (std::vector<std::uint8_t> broken : {cut, reserved, std::vector<std::uint8_t>{}}) {
        const std::vector<std::uint8_t> before = broken;
        EXPECT_FALSE(DeflateStreamJoin::makeJoinable(broken));
        EXPECT_TRUE(broken == before);
    }
}
