#include "core/render/TransparencyLayer.h"

#include "core/render/BlurRenderer.h"

#include <QPaintDevice>

#include <algorithm>
#include <cmath>

namespace lumivex {

namespace {

// The painter's device in device pixels. Images and pixmaps report their size in pixels, widgets in logical
// units that the device pixel ratio scales.
QRect devicePixels(const QPainter& painter)
{
    const QPaintDevice* device = painter.device();
    if (!device)
        return {};
    const bool sizedInPixels = device->devType() == QInternal::Image || device->devType() == QInternal::Pixmap;
    const double ratio = sizedInPixels ? 1.0 : device->devicePixelRatio();
    return QRect(0, 0, int(std::ceil(device->width() * ratio)), int(std::ceil(device->height() * ratio)));
}

QRect coveredDeviceRect(const QPainter& target, const QRectF& bounds, double deviceMargin)
{
    QRect visible = devicePixels(target);
    if (target.hasClipping())
        visible &= target.deviceTransform().mapRect(target.clipBoundingRect()).toAlignedRect();
    if (!bounds.isValid() || !std::isfinite(deviceMargin) || !target.deviceTransform().isInvertible()
        || !target.worldTransform().isInvertible())
        return {};
    QRectF covered = target.deviceTransform().mapRect(bounds);
    const double margin = std::max(deviceMargin, 0.0) + 1; // one more pixel for antialiased edges
    covered.adjust(-margin, -margin, margin, margin);
    // Cut in floating point first: a huge object must not overflow the integer rectangle.
    covered &= QRectF(visible);
    if (covered.isEmpty())
        return {};
    return covered.toAlignedRect() & visible;
}

} // namespace

TransparencyLayer::TransparencyLayer(QPainter& target, const QRectF& bounds, double deviceMargin)
    : m_target(target), m_deviceRect(coveredDeviceRect(target, bounds, deviceMargin))
{
    // An empty layer still hands out a working painter; its picture is dropped in compose().
    m_image = QImage(m_deviceRect.isEmpty() ? QSize(1, 1) : m_deviceRect.size(), QImage::Format_ARGB32_Premultiplied);
    if (m_image.isNull()) {
        m_deviceRect = {};
        m_image = QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
    }
    m_image.fill(Qt::transparent);
    m_painter.begin(&m_image);
    m_painter.setRenderHints(target.renderHints());
    m_painter.setTransform(target.deviceTransform() * QTransform::fromTranslate(-m_deviceRect.x(), -m_deviceRect.y()));
}

void TransparencyLayer::compose(double opacity, const std::optional<Shadow>& shadow)
{
    if (m_painter.isActive())
        m_painter.end();
    if (m_deviceRect.isEmpty() || !(opacity > 0))
        return;
    m_target.save();
    // Device pixels as user space, so the layer lands pixel for pixel.
    const QTransform worldToDevice = m_target.worldTransform().inverted() * m_target.deviceTransform();
    m_target.setWorldTransform(worldToDevice.inverted());
    m_target.setOpacity(m_target.opacity() * std::min(opacity, 1.0));
    if (shadow && shadow->color.alpha() > 0)
        drawShadow(*shadow);
    m_target.drawImage(m_deviceRect.topLeft(), m_image);
    m_target.restore();
}

void TransparencyLayer::drawShadow(const Shadow& shadow)
{
    // A soft shadow has no detail worth computing at full size: blur a reduced copy of the layer (each reduced
    // pixel averages factor x factor pixels, which is itself a little blur) and let the painter scale it back up.
    const int factor = int(std::clamp(std::floor(shadow.sigma / 3), 1.0, 8.0));
    const QSize reducedSize((m_image.width() + factor - 1) / factor, (m_image.height() + factor - 1) / factor);
    const QImage reduced = factor > 1 ? m_image.scaled(reducedSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                      : m_image;
    const double averagingVariance = (factor * factor - 1) / 12.0;
    const double sigma = std::sqrt(std::max(shadow.sigma * shadow.sigma - averagingVariance, 0.0)) / factor;
    const QImage cast = tinted(sigma > 0.1 ? BlurRenderer::gaussianPatch(reduced, reduced.rect(), sigma) : reduced,
                               shadow.color);
    if (cast.isNull())
        return;
    const QRectF target(QPointF(m_deviceRect.topLeft()) + shadow.offset, QSizeF(reduced.size()) * factor);
    m_target.save();
    m_target.setRenderHint(QPainter::SmoothPixmapTransform);
    m_target.drawImage(target, cast);
    m_target.restore();
}

QImage TransparencyLayer::tinted(const QImage& alphaSource, const QColor& colour)
{
    if (alphaSource.isNull())
        return {};
    QImage cast(alphaSource.size(), QImage::Format_ARGB32_Premultiplied);
    if (cast.isNull())
        return {};
    const QRgb tint = colour.rgba();
    const int alpha = qAlpha(tint);
    for (int y = 0; y < cast.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(alphaSource.constScanLine(y));
        QRgb* out = reinterpret_cast<QRgb*>(cast.scanLine(y));
        for (int x = 0; x < cast.width(); ++x)
            out[x] = qPremultiply(qRgba(qRed(tint), qGreen(tint), qBlue(tint), qAlpha(in[x]) * alpha / 255));
    }
    return cast;
}

} // namespace lumivex
