#include "ImageLoading.h"

#include "core/render/ImageMetadata.h"

#include <QBuffer>
#include <QClipboard>
#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The scale comes from what the file itself states, never from what Qt's reader reports: an image without a
// stated resolution gets the screen's from Qt, which says nothing about the picture.
double scaleOf(const ImageMetadata& facts, ScaleRule rule)
{
    if (!facts.dotsPerMetre)
        return 1.0;
    if (rule == ScaleRule::wholeNumber)
        return scaleForDotsPerMetre(*facts.dotsPerMetre);
    return std::max(*facts.dotsPerMetre * 0.0254 / 72.0, 1.0);
}

// The one pixel layout and colour space the rest of the program works in. Pixels are converted only from a
// real colour profile that is not sRGB; a picture without one, or with PNG's sRGB chunk (whatever gAMA and cHRM
// say beside it), is sRGB already and passes through exactly.
QImage workingImage(QImage image, bool convertColours)
{
    const QColorSpace colorSpace = image.colorSpace();
    if (convertColours && colorSpace.isValid() && colorSpace != QColorSpace(QColorSpace::SRgb))
        image.convertToColorSpace(QColorSpace::SRgb);
    // Unlabelled, as every other picture in the program: nothing downstream may convert it again.
    image.setColorSpace(QColorSpace());
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

using Decoded = std::variant<LoadedImage, LoadError::Kind>;

Decoded decode(const QByteArray& data, const QString& name, ScaleRule rule)
{
    constexpr auto notAnImage = LoadError::Kind::notAnImage;
    if (data.isEmpty())
        return notAnImage;
    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly))
        return notAnImage;
    QImageReader reader(&buffer);
    reader.setAllocationLimit(allocationLimitMiB);
    // Photos from phones are stored sideways with an orientation tag; show them the way they were taken.
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return notAnImage;
    const QSize declared = reader.size();
    if (declared.isValid() && !acceptableSize(declared))
        return LoadError::Kind::tooLarge;
    if (reader.format() == "jpeg" && !jpegIsComplete(data))
        return notAnImage;
    QImage image;
    if (!reader.read(&image) || image.isNull() || !acceptableSize(image.size()))
        return notAnImage;
    const ImageMetadata facts = ImageMetadata::read(data);
    const double scale = scaleOf(facts, rule);
    image = workingImage(std::move(image), facts.embedsColourProfile && !facts.declaresSrgb);
    if (image.isNull())
        return notAnImage;
    return LoadedImage{image, scale, name};
}

std::optional<LoadedImage> decoded(Decoded result)
{
    if (auto* image = std::get_if<LoadedImage>(&result))
        return std::move(*image);
    return std::nullopt;
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
    // An image object carries its colour space explicitly, so a non-sRGB one is converted.
    image = workingImage(std::move(image), true);
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

LoadResult loadFile(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    // Opened without blocking and checked on the open descriptor itself: a pipe or a device is never read (a
    // FIFO would block, /dev/zero never ends), and nothing can be swapped in between the check and the read.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        return LoadError(error == ENOENT || error == ENOTDIR ? LoadError::Kind::notFound : LoadError::Kind::unreadable,
                         path, QString::fromLocal8Bit(std::strerror(error)));
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return LoadError(LoadError::Kind::unreadable, path, file.errorString());
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return LoadError(LoadError::Kind::notAFile, path);
    if (status.st_size > maxFileSize)
        return LoadError(LoadError::Kind::tooLarge, path);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return LoadError(LoadError::Kind::unreadable, path, file.errorString());
    Decoded result = decode(bytes, QFileInfo(path).completeBaseName(), ScaleRule::wholeNumber);
    if (auto* kind = std::get_if<LoadError::Kind>(&result))
        return LoadError(*kind, path);
    return std::get<LoadedImage>(std::move(result));
}

std::optional<LoadedImage> load(const QString& path)
{
    LoadResult result = loadFile(path);
    if (auto* image = std::get_if<LoadedImage>(&result))
        return std::move(*image);
    return std::nullopt;
}

std::optional<LoadedImage> load(const QByteArray& data, const QString& name)
{
    return decoded(decode(data, name, ScaleRule::wholeNumber));
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
        if (auto loaded = decoded(decode(mimeData->data(type), clipboardName, ScaleRule::wholeNumber)))
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
        if (auto loaded = decoded(decode(mimeData->data(type), clipboardName, ScaleRule::exactRatio)))
            return loaded;
    }
    return imageObject(mimeData);
}

} // namespace lumivex::ImageLoading
