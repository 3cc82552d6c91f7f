#include "core/capture/CaptureGeometry.h"

#include <QRect>

#include <cmath>

namespace lumivex::CaptureGeometry {

Rect rect(Point from, Point to) { return Rect::spanning(from, to); }

Rect topLeftFrame(const Rect& appKitFrame, double primaryScreenHeight)
{
    const Rect frame = appKitFrame.standardized();
    return {frame.minX(), primaryScreenHeight - frame.maxY(), frame.width, frame.height};
}

std::optional<WindowInfo> topWindow(Point at, const QList<WindowInfo>& in)
{
    for (const WindowInfo& window : in)
        if (window.frame.contains(at))
            return window;
    return std::nullopt;
}

std::optional<Rect> pixelRect(const Rect& rect, Size displaySize, Size imageSize)
{
    // Written as negations so that NaN sizes are refused too.
    if (!(displaySize.width > 0) || !(displaySize.height > 0) || rect.isNull())
        return std::nullopt;
    const double sx = imageSize.width / displaySize.width;
    const double sy = imageSize.height / displaySize.height;
    const Rect r = rect.standardized();
    const Rect scaled{sx * r.minX(), sy * r.minY(), sx * r.width, sy * r.height};
    const double left = std::floor(scaled.minX());
    const double top = std::floor(scaled.minY());
    const Rect widened{left, top, std::ceil(scaled.maxX()) - left, std::ceil(scaled.maxY()) - top};
    const Rect clipped = widened.intersected(Rect(0, 0, imageSize.width, imageSize.height));
    if (clipped.isNull() || !(clipped.width >= 1) || !(clipped.height >= 1))
        return std::nullopt;
    return clipped;
}

std::optional<QImage> crop(const QImage& image, const Rect& selection, Size displaySize)
{
    if (image.isNull())
        return std::nullopt;
    const std::optional<Rect> pixels
        = pixelRect(selection, displaySize, Size(image.width(), image.height()));
    if (!pixels)
        return std::nullopt;
    // The edges are whole numbers inside the image here, so the conversion to int is exact.
    const QRect area(int(pixels->x), int(pixels->y), int(pixels->width), int(pixels->height));
    QImage result = image.copy(area);
    if (result.isNull())
        return std::nullopt;
    // Frozen screens arrive as RGB32, whose padding byte the X server leaves at 0; the conversion makes the
    // alpha explicit so that nothing downstream mistakes the picture for transparent.
    result.convertTo(QImage::Format_ARGB32_Premultiplied);
    result.setDevicePixelRatio(1);
    return result;
}

} // namespace lumivex::CaptureGeometry
