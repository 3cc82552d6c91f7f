#include "JpegEncoder.h"

#include "core/render/ExportFormat.h"

#include <QtEndian>

#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace lumivex::JpegEncoder {
namespace {

constexpr int maxJpegSide = 65535;

int turboQuality(double quality)
{
    const double q = std::isfinite(quality) ? quality : ExportFormat::defaultJpegQuality;
    return int(std::clamp(std::round(q * 100.0), 1.0, 100.0));
}

// 32-bit pixels whose colour bytes libjpeg-turbo reads directly; alpha (when present) is premultiplied.
QImage opaqueReadableSource(const QImage& image)
{
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32_Premultiplied)
        return image;
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

// The JFIF APP0 segment libjpeg-turbo writes right after the start-of-image marker states an aspect ratio
// only; set its units to dots per inch and both densities.
bool stampDensity(QByteArray& jpeg, int dpi)
{
    constexpr qsizetype unitsOffset = 13; // SOI(2) + APP0 marker(2) + length(2) + "JFIF\0"(5) + version(2)
    if (jpeg.size() < unitsOffset + 5 || uchar(jpeg[2]) != 0xFF || uchar(jpeg[3]) != 0xE0
        || !jpeg.mid(6, 5).startsWith(QByteArray("JFIF\0", 5)))
        return false;
    jpeg[unitsOffset] = 1;
    qToBigEndian(quint16(dpi), jpeg.data() + unitsOffset + 1);
    qToBigEndian(quint16(dpi), jpeg.data() + unitsOffset + 3);
    return true;
}

} // namespace

int dotsPerInch(double pixelScale)
{
    const double scale = std::isfinite(pixelScale) && pixelScale > 0 ? pixelScale : 1.0;
    return int(std::clamp(std::round(72.0 * scale), 1.0, 65535.0));
}

std::optional<QByteArray> encode(const QImage& image, double quality, double pixelScale)
{
    if (image.isNull() || image.width() > maxJpegSide || image.height() > maxJpegSide)
        return std::nullopt;
    const QImage source = opaqueReadableSource(image);
    if (source.isNull())
        return std::nullopt;

    std::unique_ptr<void, decltype(&tjDestroy)> compressor(tjInitCompress(), &tjDestroy);
    if (!compressor)
        return std::nullopt;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const int pixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB;
    const int status = tjCompress2(compressor.get(), source.constBits(), source.width(), int(source.bytesPerLine()),
                                   source.height(), pixelFormat, &buffer, &size, TJSAMP_444,
                                   turboQuality(quality), 0);
    std::unique_ptr<unsigned char, decltype(&tjFree)> owned(buffer, &tjFree);
    if (status != 0 || !buffer || size == 0)
        return std::nullopt;
    QByteArray jpeg(reinterpret_cast<const char*>(buffer), qsizetype(size));
    if (!stampDensity(jpeg, dotsPerInch(pixelScale)))
        return std::nullopt;
    return jpeg;
}

} // namespace lumivex::JpegEncoder
