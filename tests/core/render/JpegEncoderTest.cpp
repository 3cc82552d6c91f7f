#include "core/render/JpegEncoder.h"

#include "ExportFixtures.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace lumivex;

namespace {

double meanAbsoluteError(const QImage& a, const QImage& b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

} // namespace

TEST(JpegEncoder, DecodesCloseToTheSourceWithTheDensityInDotsPerInch)
{
    const QImage image = test::screenshotLikeImage(333, 211);
    const std::optional<QByteArray> jpeg = JpegEncoder::encode(image, 0.92, 2);
    ASSERT_TRUE(jpeg);
    // JFIF APP0: units 1 (dots per inch), X and Y density 144.
    EXPECT_EQ(jpeg->mid(6, 5), QByteArray("JFIF\0", 5));
    EXPECT_EQ(jpeg->mid(13, 5), QByteArray("\x01\x00\x90\x00\x90", 5));
    const QImage decoded = QImage::fromData(*jpeg, "JPEG");
    ASSERT_EQ(decoded.size(), image.size());
    EXPECT_LT(meanAbsoluteError(decoded, image), 2.0);
}

TEST(JpegEncoder, QualityChangesTheEncoding)
{
    const QImage image = test::screenshotLikeImage(300, 200);
    const qsizetype low = JpegEncoder::encode(image, 0.3, 1)->size();
    const qsizetype high = JpegEncoder::encode(image, 0.92, 1)->size();
    EXPECT_LT(low, high);
    // A quality that is no number means the default, not an error.
    EXPECT_EQ(JpegEncoder::encode(image, std::nan(""), 1)->size(), high);
}

TEST(JpegEncoder, TranslucentPixelsAreFlattenedOverBlack)
{
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(qRgba(100, 100, 100, 100)); // white at alpha 100/255, premultiplied
    const QImage decoded = QImage::fromData(*JpegEncoder::encode(image, 0.92, 1), "JPEG");
    EXPECT_NEAR(qRed(decoded.pixel(8, 8)), 100, 2);
}

TEST(JpegEncoder, RefusesWhatJpegCannotHold)
{
    EXPECT_FALSE(JpegEncoder::encode(QImage(), 0.92, 1));
    EXPECT_FALSE(JpegEncoder::encode(QImage(70000, 1, QImage::Format_RGB32), 0.92, 1));
}
