#include "core/render/ImageLoading.h"

#include "core/render/JpegEncoder.h"
#include "core/render/PngEncoder.h"
#include "ExportFixtures.h"
#include "TrickyImageFiles.h"
#include "samples/TestImages.h"

#include <QClipboard>
#include <QColorSpace>
#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <QtEndian>

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
    // Then a camera's EXIF resolution counts (216 dpi, inches being EXIF's default unit).
    const QByteArray exif = test::TrickyImageFiles::withExif(aspectOnly, {{0x011A, 5, 216}});
    EXPECT_EQ(ImageLoading::load(exif, "exif")->scale, 3);
    EXPECT_EQ(ImageLoading::load(test::TrickyImageFiles::withExif(aspectOnly, {{0x011A, 5, 216}, {0x0128, 3, 1}}),
                                 "exif without unit")->scale, 1);
    for (const char* format : {"tiff", "bmp"}) {
        QImage stated = smallPicture();
        stated.setDotsPerMeterX(5669); // 144 dpi
        stated.setDotsPerMeterY(5669);
        EXPECT_EQ(ImageLoading::load(test::encodedByQt(stated, format), format)->scale, 2) << format;
    }
    EXPECT_EQ(ImageLoading::scaleForDotsPerMetre(std::nan("")), 1);
}

TEST(ImageLoading, TheScaleComesFromTheFileNotFromTheScreen)
{
    // Qt gives an image without a stated resolution the screen's; on a 144-dpi screen without Qt's high-density
    // scaling that is the very resolution of our own scale-2 exports. Another process sees such a screen.
    QTemporaryDir dir;
    test::writeFile(dir.filePath("shot.png"), pngAt(2));
    test::writeFile(dir.filePath("shot.jpg"), jpegAt(2));
    test::writeFile(dir.filePath("plain.png"), test::zeroPng(8, 8, 8, 2));
    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_FONT_DPI", "144");
    environment.insert("QT_ENABLE_HIGHDPI_SCALING", "0");
    cli.setProcessEnvironment(environment);
    cli.start(QStringLiteral(LUMIVEX_CLI_EXECUTABLE),
              {"info", dir.filePath("shot.png"), dir.filePath("shot.jpg"), dir.filePath("plain.png")});
    ASSERT_TRUE(cli.waitForFinished(60000));
    const QStringList lines = QString::fromUtf8(cli.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << cli.readAllStandardError().toStdString();
    EXPECT_TRUE(lines[0].endsWith("scale 2")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith("scale 2")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].endsWith("scale 1")) << lines[2].toStdString();
}

TEST(ImageLoading, AnSrgbPictureComesThroughExactlyWhateverItsGammaChunksSay)
{
    // What ImageMagick and many other tools write: the gAMA and cHRM that approximate sRGB, with or without an
    // sRGB chunk. Only an ICC profile that is not sRGB is a reason to convert.
    QImage solid(6, 4, QImage::Format_RGB32);
    solid.fill(QColor(0x30, 0x50, 0xD0));
    QByteArray gamma(4, '\0'), chromaticities;
    qToBigEndian(quint32(45455), gamma.data());
    for (quint32 value : {31270u, 32900u, 64000u, 33000u, 30000u, 60000u, 15000u, 6000u}) {
        char raw[4];
        qToBigEndian(value, raw);
        chromaticities.append(raw, 4);
    }
    for (const bool srgbChunk : {false, true}) {
        std::vector<std::pair<const char*, QByteArray>> chunks{{"gAMA", gamma}, {"cHRM", chromaticities}};
        if (srgbChunk)
            chunks.insert(chunks.begin(), {"sRGB", QByteArray(1, '\0')});
        const std::optional<LoadedImage> loaded
            = ImageLoading::load(test::TrickyImageFiles::withChunksAfterHeader(pngAt(1, solid), chunks), "srgb");
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->image.pixel(2, 2), qRgb(0x30, 0x50, 0xD0)) << "with an sRGB chunk: " << srgbChunk;
    }
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
