#include "core/render/DevicePixels.h"

#include <QPaintDevice>

#include <algorithm>
#include <cmath>

namespace lumivex::DevicePixels {

namespace {

// The painter's device in device pixels. Images and pixmaps report their size in pixels, widgets in logical
// units that the device pixel ratio scales.
QRect deviceRect(const QPainter& painter)
{
    const QPaintDevice* device = painter.device();
    if (!device)
        return {};
    const bool sizedInPixels = device->devType() == QInternal::Image || device->devType() == QInternal::Pixmap;
    const double ratio = sizedInPixels ? 1.0 : device->devicePixelRatio();
    return QRect(0, 0, int(std::ceil(device->width() * ratio)), int(std::ceil(device->height() * ratio)));
}

} // namespace

QRect covered(const QPainter& painter, const QRectF& bounds, double margin)
{
    if (!bounds.isValid() || !std::isfinite(margin) || !painter.deviceTransform().isInvertible()
        || !painter.worldTransform().isInvertible())
        return {};
    QRect visible = deviceRect(painter);
    if (painter.hasClipping())
        visible &= painter.deviceTransform().mapRect(painter.clipBoundingRect()).toAlignedRect();
    QRectF area = painter.deviceTransform().mapRect(bounds);
    const double grown = std::max(margin, 0.0) + 1; // one more pixel for antialiased edges
    area.adjust(-grown, -grown, grown, grown);
    // Cut in floating point first: a huge object must not overflow the integer rectangle.
    area &= QRectF(visible);
    if (area.isEmpty())
        return {};
    return area.toAlignedRect() & visible;
}

void useDevicePixels(QPainter& painter)
{
    // The device transform is the world transform followed by what the device adds (its pixel ratio).
    const QTransform deviceAdds = painter.worldTransform().inverted() * painter.deviceTransform();
    painter.setWorldTransform(deviceAdds.inverted());
}

void mirror(QPainter& painter, const QPainter& target, const QRect& deviceRect, double scale)
{
    painter.setRenderHints(target.renderHints());
    painter.setTransform(target.deviceTransform() * QTransform::fromTranslate(-deviceRect.x(), -deviceRect.y())
                         * QTransform::fromScale(scale, scale));
}

} // namespace lumivex::DevicePixels
