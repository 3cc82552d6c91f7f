#include "ImageLoading.h"

#include <QBuffer>
#include <QClipboard>
#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace lumivex::ImageLoading {
namespace {

// Qt's default (128 MiB) refuses an 8K screenshot in 16 bits per channel; this admits everything within
// maxPixels at 32 bits per pixel, while the declared-size check keeps decompression bombs out.
constexpr int allocationLimitMiB = 1024;

// Larger than any image file within the size limits that Qt would still decode.
constexpr qint64 maxFileSize = qint64(2) << 30;

const QString clipboardName = QStringLiteral("clipboard");

enum class ScaleRule {
    wholeNumber, // files and PNG/TIFF data: max(round(dpi / 72), 1)
    exactRatio,  // any other clipboard image: its pixel-to-point ratio as it is, at least 1
};

bool acceptableSize(const QSize& size)
{
    return size.width() > 0 && size.height() > 0 && size.width() <= maxSide && size.height() <= maxSide
        && qint64(size.width()) * size.height() <= maxPixels;
}

// An image whose file states no resolution gets the screen's logical resolution from Qt; such a value says
// nothing about the picture (on a high-density desktop it would double every opened file), so it counts as
// unstated. The one casualty is a file stating exactly the screen's resolution.
bool resolutionStated(const QImage& image)
{
    static const int unstatedDotsPerMetre = QImage(1, 1, QImage::Format_ARGB32).dotsPerMeterX();
    return image.dotsPerMeterX() > 0 && image.dotsPerMeterX() != unstatedDotsPerMetre;
}

double scaleOf(const QImage& image, ScaleRule rule)
{
    if (!resolutionStated(image))
        return 1.0;
    if (rule == ScaleRule::wholeNumber)
        return scaleForDotsPerMetre(image.dotsPerMeterX());
    return std::max(image.dotsPerMeterX() * 0.0254 / 72.0, 1.0);
}

// The one pixel layout and colour space the rest of the program works in.
QImage workingImage(QImage image)
{
    const QColorSpace colorSpace = image.colorSpace();
    if (colorSpace.isValid() && colorSpace != QColorSpace(QColorSpace::SRgb))
        image.convertToColorSpace(QColorSpace::SRgb);
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Qt shows a truncated JPEG with its missing part filled in grey (libjpeg only warns), so the loader looks for
// the end-of-image marker after the main image's first scan. Segments before the scan are skipped by their
// lengths, which also skips an embedded thumbnail with its own end marker; inside scan data 0xFF is always
// followed by 0x00 or a restart or scan marker, so 0xFF 0xD9 there is the real end.
bool jpegIsComplete(const QByteArray& data)
{
    const auto byteAt = [&data](qsizetype i) { return uchar(data[i]); };
    qsizetype i = 2; // after the start-of-image marker
    while (i + 4 <= data.size()) {
        if (byteAt(i) != 0xFF)
            return false;
        const uchar marker = byteAt(i + 1);
        if (marker == 0xFF) { // fill byte
            ++i;
            continue;
        }
        const qsizetype length = (qsizetype(byteAt(i + 2)) << 8) | byteAt(i + 3);
        if (marker == 0xDA) // start of scan
            return data.indexOf(QByteArrayView("\xFF\xD9", 2), i + 2 + length) >= 0;
        i += 2 + length;
    }
    return false;
}

std::optional<LoadedImage> decode(const QByteArray& data, const QString& name, ScaleRule rule)
{
    if (data.isEmpty())
        return std::nullopt;
    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly))
        return std::nullopt;
    QImageReader reader(&buffer);
    reader.setAllocationLimit(allocationLimitMiB);
    // Photos from phones are stored sideways with an orientation tag; show them the way they were taken.
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return std::nullopt;
    const QSize declared = reader.size();
    if (declared.isValid() && !acceptableSize(declared))
        return std::nullopt;
    if (reader.format() == "jpeg" && !jpegIsComplete(data))
        return std::nullopt;
    QImage image;
    if (!reader.read(&image) || image.isNull() || !acceptableSize(image.size()))
        return std::nullopt;
    const double scale = scaleOf(image, rule);
    image = workingImage(std::move(image));
    if (image.isNull())
        return std::nullopt;
    return LoadedImage{image, scale, name};
}

std::optional<LoadedImage> imageObject(const QMimeData* mimeData)
{
    if (!mimeData->hasImage())
        return std::nullopt;
    QImage image = qvariant_cast<QImage>(mimeData->imageData());
    if (image.isNull() || !acceptableSize(image.size()))
        return std::nullopt;
    const double ratio = image.devicePixelRatio();
    const double scale = std::isfinite(ratio) ? std::max(ratio, 1.0) : 1.0;
    image = workingImage(std::move(image));
    if (image.isNull())
        return std::nullopt;
    return LoadedImage{image, scale, clipboardName};
}

} // namespace

double scaleForDotsPerMetre(double dotsPerMetre)
{
    if (!std::isfinite(dotsPerMetre) || dotsPerMetre <= 0)
        return 1.0;
    // Resolutions are stated in whole dots per inch but stored in whole dots per metre (and some readers
    // truncate on the way back), which puts 108 dpi a hair below 1.5 x 72; a tenth of a dot per inch absorbs it.
    const double dpi = std::round(dotsPerMetre * 0.0254 * 10.0) / 10.0;
    return std::max(std::round(dpi / 72.0), 1.0);
}

std::optional<LoadedImage> load(const QString& path)
{
    // Only regular files: a directory, a pipe or a device is no picture (and /dev/zero never ends).
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > maxFileSize)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return decode(file.readAll(), info.completeBaseName(), ScaleRule::wholeNumber);
}

std::optional<LoadedImage> load(const QByteArray& data, const QString& name)
{
    return decode(data, name, ScaleRule::wholeNumber);
}

std::optional<LoadedImage> load(const QClipboard* clipboard)
{
    return clipboard ? load(clipboard->mimeData(QClipboard::Clipboard)) : std::nullopt;
}

std::optional<LoadedImage> load(const QMimeData* mimeData)
{
    if (!mimeData)
        return std::nullopt;
    const QString pngType = QStringLiteral("image/png"), tiffType = QStringLiteral("image/tiff");
    for (const QString& type : {pngType, tiffType}) {
        if (!mimeData->hasFormat(type))
            continue;
        if (auto loaded = decode(mimeData->data(type), clipboardName, ScaleRule::wholeNumber))
            return loaded;
    }
    for (const QUrl& url : mimeData->urls()) {
        if (!url.isLocalFile())
            continue;
        if (auto loaded = load(url.toLocalFile()))
            return loaded;
    }
    for (const QString& type : mimeData->formats()) {
        if (!type.startsWith(QLatin1String("image/")) || type == pngType || type == tiffType)
            continue;
        if (auto loaded = decode(mimeData->data(type), clipboardName, ScaleRule::exactRatio))
            return loaded;
    }
    return imageObject(mimeData);
}

} // namespace lumivex::ImageLoading
