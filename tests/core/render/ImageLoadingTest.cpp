#include "core/render/ImageLoading.h"

#include "core/render/JpegEncoder.h"
#include "core/render/PngEncoder.h"
#include "ExportFixtures.h"
#include "support/TestImages.h"

#include <QClipboard>
#include <QColorSpace>
#include <QDir>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

using namespace lumivex;

namespace {

QImage smallPicture(int width = 24, int height = 16) { return test::screenshotLikeImage(width, height); }

QByteArray pngAt(double scale, const QImage& image = smallPicture())
{
    return *PngEncoder::encode(image, scale, PngEncoder::Effort::compact);
}

QByteArray jpegAt(double scale) { return *JpegEncoder::encode(smallPicture(), 0.92, scale); }

} // namespace

TEST(ImageLoading, ScaleIsTheStatedResolutionOverSeventyTwoRounded)
{
    struct Case {
        double dpi;
        double scale;
    };
    // 108 dpi is exactly halfway and rounds up, even though dots per metre cannot store it exactly and Qt
    // truncates JPEG densities on the way in.
    for (const Case c : {Case{72, 1}, Case{100, 1}, Case{108, 2}, Case{144, 2}, Case{216, 3}, Case{36, 1}}) {
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(ImageLoading::load(pngAt(c.dpi / 72), "png")->scale, c.scale);
        EXPECT_EQ(ImageLoading::load(jpegAt(c.dpi / 72), "jpeg")->scale, c.scale);
    }
}

TEST(ImageLoading, UnstatedResolutionMeansScaleOne)
{
    EXPECT_EQ(ImageLoading::load(test::zeroPng(8, 8, 8, 2), "no pHYs")->scale, 1);
    QByteArray aspectOnly = jpegAt(2);
    aspectOnly[13] = 0; // JFIF units 0: the densities are only an aspect ratio
    EXPECT_EQ(ImageLoading::load(aspectOnly, "aspect")->scale, 1);
    EXPECT_EQ(ImageLoading::scaleForDotsPerMetre(0), 1);
    EXPECT_EQ(ImageLoading::scaleForDotsPerMetre(std::nan("")), 1);
}

TEST(ImageLoading, WideGamutPicturesAreConvertedToSrgb)
{
    QImage p3(4, 4, QImage::Format_ARGB32);
    p3.fill(QColor(40, 200, 90));
    p3.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    const QColor actual = ImageLoading::load(test::encodedByQt(p3, "png"), "p3")->image.pixelColor(1, 1);
    const QColor expected
        = QColorSpace(QColorSpace::DisplayP3).transformationToColorSpace(QColorSpace::SRgb).map(QColor(40, 200, 90));
    for (auto channel : {&QColor::red, &QColor::green, &QColor::blue})
        EXPECT_NEAR((actual.*channel)(), (expected.*channel)(), 1);
}

TEST(ImageLoading, EightKSixteenBitPictureLoadsDespiteQtsDefaultLimit)
{
    // 7680 x 4320 at 16 bits per channel decodes to 265 MB, twice Qt's default allocation limit.
    const std::optional<LoadedImage> loaded = ImageLoading::load(test::zeroPng(7680, 4320, 16, 6), "8k");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->image.size(), QSize(7680, 4320));
    EXPECT_EQ(loaded->image.format(), QImage::Format_ARGB32_Premultiplied);
}

TEST(ImageLoading, SideLimitIsInclusive)
{
    const QImage longest(ImageLoading::maxSide, 1, QImage::Format_RGB32);
    EXPECT_TRUE(ImageLoading::load(pngAt(1, longest), "edge"));
    EXPECT_FALSE(ImageLoading::load(test::zeroPng(ImageLoading::maxSide + 1, 1, 8, 2), "beyond"));
}

// Every one of these must come back as nothing, without a crash and without decoding gigapixels.
TEST(ImageLoading, BadInputLoadsAsNothing)
{
    QTemporaryDir dir;
    const QByteArray png = pngAt(1, smallPicture(200, 120));
    const QByteArray jpeg = *JpegEncoder::encode(smallPicture(200, 120), 0.92, 1);
    QByteArray hugeJpeg = jpeg; // the frame header claims 30000 x 30000
    const qsizetype frame = hugeJpeg.indexOf("\xFF\xC0");
    hugeJpeg[frame + 5] = hugeJpeg[frame + 7] = char(30000 >> 8);
    hugeJpeg[frame + 6] = hugeJpeg[frame + 8] = char(30000 & 0xFF);

    const std::vector<std::pair<const char*, QByteArray>> files = {
        {"truncated.png", png.left(png.size() / 2)},
        {"truncated.jpg", jpeg.left(jpeg.size() * 2 / 3)},
        {"empty.png", {}},
        {"notes.png", "This is a text file, not a picture.\n"},
        {"huge-header.jpg", hugeJpeg},
        {"bomb-grey.png", test::zeroPng(30000, 30000, 1, 0)},  // 112 MB of Qt's 1-bit image, 3.6 GB as ARGB
        {"bomb-rgba.png", test::zeroPng(30000, 30000, 8, 6)},  // 3.6 GB decoded from a 3.5 MB file
        {"bomb-wide.png", test::zeroPng(20000, 20000, 8, 2)},  // within the side limit, beyond the pixel limit
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        const QString path = dir.filePath(name);
        test::writeFile(path, bytes);
        EXPECT_FALSE(ImageLoading::load(path));
        EXPECT_FALSE(ImageLoading::load(bytes, name));
    }
    QDir(dir.path()).mkdir("folder.png");
    EXPECT_FALSE(ImageLoading::load(dir.filePath("folder.png")));
    EXPECT_FALSE(ImageLoading::load(dir.filePath("missing.png")));
    EXPECT_FALSE(ImageLoading::load(QStringLiteral("/dev/zero")));
}

class ClipboardLoading : public testing::Test {
protected:
    void TearDown() override { QGuiApplication::clipboard()->clear(); }
    static std::optional<LoadedImage> loadFrom(QMimeData* data)
    {
        QGuiApplication::clipboard()->setMimeData(data);
        return ImageLoading::load(QGuiApplication::clipboard());
    }
    static QMimeData* withData(const QString& type, const QByteArray& bytes, QMimeData* data = new QMimeData)
    {
        data->setData(type, bytes);
        return data;
    }
};

TEST_F(ClipboardLoading, PngComesFirstAndDataThatDoesNotDecodeFallsThrough)
{
    const QByteArray tiff = test::encodedByQt(smallPicture(20, 20), "tiff");
    const std::optional<LoadedImage> png
        = loadFrom(withData("image/png", pngAt(2, smallPicture(10, 10)), withData("image/tiff", tiff)));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->image.width(), 10);
    EXPECT_EQ(png->scale, 2);
    EXPECT_EQ(png->name, "clipboard");
    EXPECT_EQ(loadFrom(withData("image/png", "garbage", withData("image/tiff", tiff)))->image.width(), 20);
    EXPECT_FALSE(loadFrom(withData("text/plain", "just text")));
}

TEST_F(ClipboardLoading, FileReferenceLoadsTheFirstPictureUnderItsName)
{
    QTemporaryDir dir;
    test::writeFile(dir.filePath("readme.txt"), "not a picture");
    test::writeFile(dir.filePath("Screenshot 1.png"), pngAt(2));
    auto* data = new QMimeData;
    data->setUrls({QUrl("https://example.org/remote.png"), QUrl::fromLocalFile(dir.filePath("readme.txt")),
                   QUrl::fromLocalFile(dir.filePath("Screenshot 1.png"))});
    const std::optional<LoadedImage> loaded = loadFrom(data);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->name, "Screenshot 1");
    EXPECT_EQ(loaded->scale, 2);
}

TEST_F(ClipboardLoading, OtherImagesKeepTheirExactPixelToPointRatio)
{
    QImage hundredDpi = smallPicture();
    hundredDpi.setDotsPerMeterX(3937);
    hundredDpi.setDotsPerMeterY(3937);
    EXPECT_NEAR(loadFrom(withData("image/bmp", test::encodedByQt(hundredDpi, "bmp")))->scale, 100.0 / 72, 0.001);

    QImage retina = smallPicture();
    retina.setDevicePixelRatio(2);
    auto* object = new QMimeData;
    object->setImageData(retina);
    const std::optional<LoadedImage> loaded = loadFrom(object);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->scale, 2);
    EXPECT_EQ(loaded->name, "clipboard");
}
