#include "core/render/TransparencyLayer.h"

#include "core/render/DevicePixels.h"

#include <algorithm>

namespace lumivex {

TransparencyLayer::TransparencyLayer(QPainter& target, const QRectF& bounds, double deviceMargin)
    : m_target(target), m_deviceRect(DevicePixels::covered(target, bounds, deviceMargin))
{
    // An empty layer still hands out a working painter; its picture is dropped in compose().
    m_image = QImage(m_deviceRect.isEmpty() ? QSize(1, 1) : m_deviceRect.size(), QImage::Format_ARGB32_Premultiplied);
    if (m_image.isNull()) {
        m_deviceRect = {};
        m_image = QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
    }
    m_image.fill(Qt::transparent);
    m_painter.begin(&m_image);
    DevicePixels::mirror(m_painter, target, m_deviceRect);
}

void TransparencyLayer::compose(double opacity)
{
    if (m_painter.isActive())
        m_painter.end();
    if (m_deviceRect.isEmpty() || !(opacity > 0))
        return;
    m_target.save();
    DevicePixels::useDevicePixels(m_target);
    m_target.setOpacity(m_target.opacity() * std::min(opacity, 1.0));
    m_target.drawImage(m_deviceRect.topLeft(), m_image);
    m_target.restore();
}

} // namespace lumivex
