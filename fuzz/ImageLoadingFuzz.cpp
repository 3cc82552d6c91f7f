// Image bytes as a file or the clipboard hands them over: every loader must return a picture or nothing.
#include "FuzzTarget.h"

#include "core/render/ImageLoading.h"
#include "core/render/ImageMetadata.h"
#include "core/render/JpegEncoder.h"
#include "core/render/PngEncoder.h"
#include "samples/TestImages.h"

#include <QBuffer>
#include <QImageWriter>
#include <QMimeData>

using namespace lumivex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    ImageMetadata::read(bytes);
    ImageLoading::load(bytes, QStringLiteral("fuzz"));
    // The clipboard road: typed data first, then any other image type, read with the exact-ratio rule.
    static const char* const types[] = {"image/png", "image/tiff", "image/bmp", "image/jpeg"};
    QMimeData clipboard;
    clipboard.setData(QString::fromLatin1(types[size % std::size(types)]), bytes);
    ImageLoading::load(&clipboard);
    return 0;
}

std::vector<QByteArray> fuzzSeeds()
{
    // Our own exports: the PNG and JPEG encoders at both scales, and the TIFF and BMP Qt writes for the clipboard.
    const QImage picture = test::screenshotLikeImage(48, 32);
    std::vector<QByteArray> seeds;
    for (double scale : {1.0, 2.0}) {
        seeds.push_back(*PngEncoder::encode(picture, scale, PngEncoder::Effort::compact));
        seeds.push_back(*JpegEncoder::encode(picture, 0.92, scale));
    }
    for (const char* format : {"tiff", "bmp", "gif"}) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        if (QImageWriter(&buffer, format).write(picture))
            seeds.push_back(buffer.data());
    }
    return seeds;
}
