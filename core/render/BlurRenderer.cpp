#include "core/render/BlurRenderer.h"

#include "core/render/Pixelation.h"
#include "core/render/RecursiveGaussian.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace lumivex::BlurRenderer {

namespace {

bool usableAmount(double amount) { return std::isfinite(amount) && amount > 0; }

// The filters read 4-byte pixels with alpha last; other formats are converted, but only around the region.
struct Source {
    QImage image;
    QPoint offset; // where image's (0, 0) lies on the base image
};

Source filterSource(const QImage& base, const QRect& area)
{
    if (base.format() == QImage::Format_ARGB32_Premultiplied || base.format() == QImage::Format_RGB32)
        return {base, QPoint()};
    return {base.copy(area).convertToFormat(QImage::Format_ARGB32_Premultiplied), area.topLeft()};
}

// Small radii are cheap to convolve directly, and there the recursive approximation is least accurate.
QImage convolvedDirectly(const QImage& source, const QRect& window, const QRect& region, double sigma)
{
    cv::Mat in(window.height(), window.width(), CV_8UC4,
               const_cast<uchar*>(source.constScanLine(window.top()) + std::size_t(window.left()) * 4),
               std::size_t(source.bytesPerLine()));
    cv::Mat out;
    // `in` wraps only the window, so the replicated border is the window's edge.
    cv::GaussianBlur(in, out, cv::Size(), sigma, sigma, cv::BORDER_REPLICATE);
    QImage result(region.size(), source.format());
    if (result.isNull())
        return {};
    const int dx = region.left() - window.left();
    const int dy = region.top() - window.top();
    for (int y = 0; y < region.height(); ++y)
        std::copy_n(out.ptr<uchar>(y + dy) + std::size_t(dx) * 4, std::size_t(region.width()) * 4, result.scanLine(y));
    return result;
}

} // namespace

QRect patchRegion(const Rect& frame, QSize imageSize)
{
    if (!frame.isFinite() || imageSize.isEmpty())
        return {};
    const double left = std::max(std::floor(frame.minX()), 0.0);
    const double top = std::max(std::floor(frame.minY()), 0.0);
    const double right = std::min(std::ceil(frame.maxX()), double(imageSize.width()));
    const double bottom = std::min(std::ceil(frame.maxY()), double(imageSize.height()));
    if (right - left < 1 || bottom - top < 1)
        return {};
    return QRect(int(left), int(top), int(right - left), int(bottom - top));
}

std::optional<BlurCache::Key> cacheKey(const Annotation& annotation, QSize imageSize)
{
    if (!usableAmount(annotation.blurAmount))
        return std::nullopt;
    const QRect region = patchRegion(annotation.frame, imageSize);
    if (region.isEmpty())
        return std::nullopt;
    const double amount = std::min(annotation.blurAmount, maximumAmount);
    return BlurCache::Key{region.x(), region.y(), region.width(), region.height(), annotation.blurStyle,
                          std::llround(amount * 4)};
}

std::optional<Patch> render(const Annotation& annotation, const QImage& base, BlurCache* cache)
{
    if (base.isNull())
        return std::nullopt;
    const std::optional<BlurCache::Key> key = cacheKey(annotation, base.size());
    if (!key)
        return std::nullopt;
    const QRect region(key->x, key->y, key->w, key->h);
    const Rect regionRect(region.x(), region.y(), region.width(), region.height());
    if (cache) {
        if (std::optional<QImage> cached = cache->image(*key))
            return Patch{regionRect, *cached};
    }
    const double amount = std::min(annotation.blurAmount, maximumAmount);
    QImage image = annotation.blurStyle == BlurStyle::gaussian ? gaussianPatch(base, region, amount)
                                                               : pixelatedPatch(base, region, amount);
    if (image.isNull())
        return std::nullopt;
    if (cache)
        cache->store(image, *key);
    return Patch{regionRect, image};
}

QImage gaussianPatch(const QImage& base, const QRect& region, double radius)
{
    if (base.isNull() || region.isEmpty() || !base.rect().contains(region) || !usableAmount(radius))
        return {};
    const double sigma = std::min(radius, maximumAmount);
    // Beyond three sigmas the kernel's weight is too small to show; the filters treat the pixels past this
    // margin as copies of its edge, which is exact where the margin reaches the image's own edge.
    const int margin = int(std::min(std::ceil(3 * sigma) + 1, 1e9));
    const QRect window = region.marginsAdded(QMargins(margin, margin, margin, margin)) & base.rect();
    const Source source = filterSource(base, window);
    const QRect localWindow = window.translated(-source.offset);
    const QRect localRegion = region.translated(-source.offset);
    if (source.image.isNull())
        return {};
    if (sigma < RecursiveGaussian::minimumSigma)
        return convolvedDirectly(source.image, localWindow, localRegion, sigma);
    return RecursiveGaussian::blurred(source.image, localWindow, localRegion, sigma);
}

QImage pixelatedPatch(const QImage& base, const QRect& region, double blockSize)
{
    if (base.isNull() || region.isEmpty() || !base.rect().contains(region) || !usableAmount(blockSize))
        return {};
    if (base.format() == QImage::Format_ARGB32_Premultiplied || base.format() == QImage::Format_RGB32)
        return Pixelation::pixelated(base, region, std::min(blockSize, maximumAmount));
    // Blocks reach outside the region; convert the whole image rather than guess how far.
    return Pixelation::pixelated(base.convertToFormat(QImage::Format_ARGB32_Premultiplied), region,
                                 std::min(blockSize, maximumAmount));
}

} // namespace lumivex::BlurRenderer
