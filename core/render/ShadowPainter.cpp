#include "core/render/ShadowPainter.h"

#include "core/render/BlurRenderer.h"
#include "core/render/DevicePixels.h"

#include <QImage>

#include <algorithm>
#include <cmath>

namespace lumivex::ShadowPainter {

namespace {

// `colour` with the alpha of each pixel of `alphaSource`.
QImage tinted(const QImage& alphaSource, const QColor& colour)
{
    if (alphaSource.isNull())
        return {};
    QImage cast(alphaSource.size(), QImage::Format_ARGB32_Premultiplied);
    if (cast.isNull())
        return {};
    const QRgb tint = colour.rgba();
    for (int y = 0; y < cast.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(alphaSource.constScanLine(y));
        QRgb* out = reinterpret_cast<QRgb*>(cast.scanLine(y));
        for (int x = 0; x < cast.width(); ++x)
            out[x] = qPremultiply(qRgba(qRed(tint), qGreen(tint), qBlue(tint), qAlpha(in[x]) * qAlpha(tint) / 255));
    }
    return cast;
}

} // namespace

double reach(const Shadow& shadow) { return std::hypot(shadow.offset.x(), shadow.offset.y()) + 3 * shadow.sigma + 1; }

void draw(QPainter& target, const QRectF& bounds, const Shadow& shadow, const std::function<void(QPainter&)>& paint)
{
    if (!(shadow.color.alpha() > 0) || !std::isfinite(shadow.sigma))
        return;
    // What casts a shadow into view may lie just outside it.
    const QRect area = DevicePixels::covered(target, bounds, reach(shadow));
    if (area.isEmpty())
        return;
    // A soft shadow has no detail worth computing at full size: the content is drawn at a reduced scale (each
    // reduced pixel covering factor x factor device pixels, itself a little blur), blurred there, and scaled
    // back up by the painter.
    const int factor = int(std::clamp(std::floor(shadow.sigma / 3), 1.0, 8.0));
    QImage reduced((area.width() + factor - 1) / factor, (area.height() + factor - 1) / factor,
                   QImage::Format_ARGB32_Premultiplied);
    if (reduced.isNull())
        return;
    reduced.fill(Qt::transparent);
    {
        QPainter painter(&reduced);
        DevicePixels::mirror(painter, target, area, 1.0 / factor);
        paint(painter);
    }
    const double averagingVariance = (factor * factor - 1) / 12.0;
    const double sigma = std::sqrt(std::max(shadow.sigma * shadow.sigma - averagingVariance, 0.0)) / factor;
    const QImage cast = tinted(sigma > 0.1 ? BlurRenderer::gaussianPatch(reduced, reduced.rect(), sigma) : reduced,
                               shadow.color);
    if (cast.isNull())
        return;
    target.save();
    DevicePixels::useDevicePixels(target);
    target.setRenderHint(QPainter::SmoothPixmapTransform);
    target.drawImage(QRectF(QPointF(area.topLeft()) + shadow.offset, QSizeF(cast.size()) * factor), cast);
    target.restore();
}

} // namespace lumivex::ShadowPainter
