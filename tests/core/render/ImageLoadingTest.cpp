#include "core/render/ImageLoading.h"

#include "core/render/JpegEncoder.h"
#include "core/render/PngEncoder.h"
#include "ExportFixtures.h"
#include "samples/TestImages.h"

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

QByteArray jpegAt(double scale, const QImage& image = smallPicture()) { return *JpegEncoder::encode(image, 0.92, scale); }

} // namespace

TEST(ImageLoading, ScaleIsTheStatedResolutionOverSeventyTwoRoundedOrOne)
{
    // 108 dpi is exactly halfway and rounds up, though dots per metre cannot store it exactly and Qt truncates
    // JPEG densities on the way in.
    for (const auto& [dpi, scale] : {std::pair{72.0, 1.0}, {100.0, 1.0}, {108.0, 2.0}, {144.0, 2.0}, {216.0, 3.0},
                                     {36.0, 1.0}}) {
        SCOPED_TRACE(dpi);
        EXPECT_EQ(ImageLoading::load(pngAt(dpi / 72), "png")->scale, scale);
        EXPECT_EQ(ImageLoading::load(jpegAt(dpi / 72), "jpeg")->scale, scale);
    }
    EXPECT_EQ(ImageLoading::load(test::zeroPng(8, 8, 8, 2), "no pHYs")->scale, 1);
    QByteArray aspectOnly = jpegAt(2);
    aspectOnly[13] = 0; // JFIF units 0: the densities are only an aspect ratio
    EXPECT_EQ(ImageLoading::load(aspectOnly, "aspect")->scale, 1);
    EXPECT_EQ(ImageLoading::scaleForDotsPerMetre(std::nan("")), 1);
}

TEST(ImageLoading, WideGamutIsConvertedToSrgbAndLargeSixteenBitLoads)
{
    QImage p3(4, 4, QImage::Format_ARGB32);
    p3.fill(QColor(40, 200, 90));
    p3.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    const QColor actual = ImageLoading::load(test::encodedByQt(p3, "png"), "p3")->image.pixelColor(1, 1);
    const QColor expected
        = QColorSpace(QColorSpace::DisplayP3).transformationToColorSpace(QColorSpace::SRgb).map(QColor(40, 200, 90));
    for (auto channel : {&QColor::red, &QColor::green, &QColor::blue})
        EXPECT_NEAR((actual.*channel)(), (expected.*channel)(), 1);

    // 7680 x 4320 at 16 bits per channel is 265 MB decoded, twice Qt's default allocation limit.
    const std::optional<LoadedImage> loaded = ImageLoading::load(test::zeroPng(7680, 4320, 16, 6), "8k");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->image.size(), QSize(7680, 4320));
    EXPECT_EQ(loaded->image.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_TRUE(ImageLoading::load(pngAt(1, QImage(ImageLoading::maxSide, 1, QImage::Format_RGB32)), "edge"));
}

// Each comes back as nothing, without a crash and without decoding gigapixels.
TEST(ImageLoading, BadInputLoadsAsNothing)
{
    QTemporaryDir dir;
    const QByteArray png = pngAt(1, smallPicture(200, 120)), jpeg = jpegAt(1, smallPicture(200, 120));
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
        {"beyond-side.png", test::zeroPng(ImageLoading::maxSide + 1, 1, 8, 2)},
        {"bomb-grey.png", test::zeroPng(30000, 30000, 1, 0)}, // small as Qt's 1-bit image, 3.6 GB as ARGB
        {"bomb-rgba.png", test::zeroPng(30000, 30000, 8, 6)}, // 3.6 GB from a 3.5 MB file
        {"bomb-wide.png", test::zeroPng(20000, 20000, 8, 2)}, // within the side limit, beyond the pixel limit
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        test::writeFile(dir.filePath(name), bytes);
        EXPECT_FALSE(ImageLoading::load(dir.filePath(name)));
        EXPECT_FALSE(ImageLoading::load(bytes, name));
    }
    QDir(dir.path()).mkdir("folder.png");
    for (const QString& path : {dir.filePath("folder.png"), dir.filePath("missing.png"), QStringLiteral("/dev/zero")})
        EXPECT_FALSE(ImageLoading::load(path)) << path.toStdString();
}

class ClipboardLoading : public testing::Test {
protected:
    void TearDown() override { QGuiApplication::clipboard()->clear(); }
    static std::optional<LoadedImage> loadFrom(QMimeData* data)
    {
        QGuiApplication::clipboard()->setMimeData(data);
        return ImageLoading::load(QGuiApplication::clipboard());
    }
    static QMimeData* with(const QString& type, const QByteArray& bytes, QMimeData* data = new QMimeData)
    {
        data->setData(type, bytes);
        return data;
    }
};

TEST_F(ClipboardLoading, PngIsPreferredAndDataThatDoesNotDecodeFallsThrough)
{
    const QByteArray tiff = test::encodedByQt(smallPicture(20, 20), "tiff");
    const std::optional<LoadedImage> png = loadFrom(with("image/png", pngAt(2, smallPicture(10, 10)), with("image/tiff", tiff)));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->image.width(), 10);
    EXPECT_EQ(png->scale, 2);
    EXPECT_EQ(png->name, "clipboard");
    EXPECT_EQ(loadFrom(with("image/png", "garbage", with("image/tiff", tiff)))->image.width(), 20);
    EXPECT_FALSE(loadFrom(with("text/plain", "just text")));
}

TEST_F(ClipboardLoading, FileReferencesAndOtherImagesKeepNameAndScale)
{
    QTemporaryDir dir;
    test::writeFile(dir.filePath("readme.txt"), "not a picture");
    test::writeFile(dir.filePath("Screenshot 1.png"), pngAt(2));
    auto* urls = new QMimeData;
    urls->setUrls({QUrl("https://example.org/remote.png"), QUrl::fromLocalFile(dir.filePath("readme.txt")),
                   QUrl::fromLocalFile(dir.filePath("Screenshot 1.png"))});
    const std::optional<LoadedImage> file = loadFrom(urls);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->name, "Screenshot 1");
    EXPECT_EQ(file->scale, 2);

    QImage retina = smallPicture();
    retina.setDevicePixelRatio(2);
    auto* object = new QMimeData;
    object->setImageData(retina);
    EXPECT_EQ(loadFrom(object)->scale, 2);
}
