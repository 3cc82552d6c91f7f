#include "app/design/DesignIcons.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

// The icons live in a static library: its resources must be registered by hand before the first lookup.
static void registerIconResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    (void)registered;
}

namespace lumivex::DesignIcons {

std::optional<QString> path(const QString& name)
{
    registerIconResources();
    const QString resource = QStringLiteral(":/icons/lvicon-%1.svg").arg(name);
    if (name.isEmpty() || !QFile::exists(resource))
        return std::nullopt;
    return resource;
}

std::optional<QImage> image(const QString& name, QSize logicalSize, qreal devicePixelRatio)
{
    const auto resource = path(name);
    if (!resource || logicalSize.isEmpty() || !(devicePixelRatio > 0))
        return std::nullopt;
    QSvgRenderer renderer(*resource);
    if (!renderer.isValid())
        return std::nullopt;
    const QSize pixels(int(std::ceil(logicalSize.width() * devicePixelRatio)),
                       int(std::ceil(logicalSize.height() * devicePixelRatio)));
    QImage result(pixels, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    {
        QPainter painter(&result);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    }
    result.setDevicePixelRatio(devicePixelRatio);
    return result;
}

std::optional<QImage> tinted(const QString& name, QSize logicalSize, const QColor& color, qreal devicePixelRatio)
{
    auto result = image(name, logicalSize, devicePixelRatio);
    if (!result)
        return std::nullopt;
    QPainter painter(&*result);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRectF(QPointF(0, 0), QSizeF(logicalSize)), color);
    return result;
}

QPixmap pixmap(const QString& name, QSize logicalSize, const QColor& color, qreal devicePixelRatio)
{
    static QHash<QString, QPixmap> cache;
    const QString key = QStringLiteral("%1/%2x%3/%4/%5")
                            .arg(name)
                            .arg(logicalSize.width())
                            .arg(logicalSize.height())
                            .arg(color.rgba(), 8, 16)
                            .arg(devicePixelRatio);
    if (const auto found = cache.constFind(key); found != cache.constEnd())
        return *found;
    const auto rendered = tinted(name, logicalSize, color, devicePixelRatio);
    QPixmap result = rendered ? QPixmap::fromImage(*rendered) : QPixmap();
    cache.insert(key, result);
    return result;
}

QIcon icon(const QString& name, const QColor& color)
{
    QIcon result;
    for (const qreal ratio : {1.0, 2.0}) {
        const QPixmap drawn = pixmap(name, QSize(16, 16), color, ratio);
        if (drawn.isNull())
            return {};
        result.addPixmap(drawn);
    }
    return result;
}

} // namespace lumivex::DesignIcons
