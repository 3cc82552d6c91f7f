#include "app/editor/CanvasTransform.h"

#include <algorithm>
#include <cmath>

namespace lumivex {

namespace {

bool usable(double value) { return std::isfinite(value) && value > 0; }

} // namespace

CanvasTransform CanvasTransform::fitting(Size viewSize, const Rect& canvasRect)
{
    const double viewWidth = std::isfinite(viewSize.width) ? std::max(viewSize.width, 0.0) : 0.0;
    const double viewHeight = std::isfinite(viewSize.height) ? std::max(viewSize.height, 0.0) : 0.0;
    if (!usable(canvasRect.width) || !usable(canvasRect.height) || !std::isfinite(canvasRect.x)
        || !std::isfinite(canvasRect.y))
        return {1, viewWidth * 0.5, viewHeight * 0.5, 0, 0};

    const double availableWidth = std::max(viewWidth - 2 * margin, 1.0);
    const double availableHeight = std::max(viewHeight - 2 * margin, 1.0);
    double scale = std::min(availableWidth / canvasRect.width, availableHeight / canvasRect.height);
    if (!usable(scale))
        scale = 1;
    return {scale, (viewWidth - canvasRect.width * scale) * 0.5, (viewHeight - canvasRect.height * scale) * 0.5,
            canvasRect.x, canvasRect.y};
}

QPointF CanvasTransform::toView(Point imagePoint) const
{
    return {offsetX + (imagePoint.x - originX) * scale, offsetY + (imagePoint.y - originY) * scale};
}

Point CanvasTransform::toImage(QPointF viewPoint) const
{
    return {(viewPoint.x() - offsetX) / scale + originX, (viewPoint.y() - offsetY) / scale + originY};
}

QRectF CanvasTransform::toView(const Rect& imageRect) const
{
    if (imageRect.isNull())
        return {};
    const QPointF topLeft = toView(Point(imageRect.minX(), imageRect.minY()));
    const QPointF bottomRight = toView(Point(imageRect.maxX(), imageRect.maxY()));
    return QRectF(topLeft, bottomRight);
}

QRectF CanvasTransform::cardRect(const Rect& canvasRect) const
{
    return {offsetX, offsetY, canvasRect.width * scale, canvasRect.height * scale};
}

QTransform CanvasTransform::imageToView() const
{
    return QTransform(scale, 0, 0, scale, offsetX - originX * scale, offsetY - originY * scale);
}

} // namespace lumivex
