#include "app/editor/ToolCursor.h"

#include "app/design/DesignIcons.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace lumivex::ToolCursor {

namespace {

const QColor kIconTint(28, 28, 30);
constexpr double kArm = 7;
const QRectF kBadge(15, 15, 18, 18);

void drawPlus(QPainter& painter)
{
    QPainterPath plus;
    plus.moveTo(hotSpot - kArm, hotSpot);
    plus.lineTo(hotSpot + kArm, hotSpot);
    plus.moveTo(hotSpot, hotSpot - kArm);
    plus.lineTo(hotSpot, hotSpot + kArm);
    // A white halo under a thin black cross keeps the cursor visible on dark and light pictures alike.
    painter.strokePath(plus, QPen(QColor::fromRgbF(1, 1, 1, 0.95), 3.2, Qt::SolidLine, Qt::RoundCap));
    painter.strokePath(plus, QPen(Qt::black, 1.1, Qt::SolidLine, Qt::RoundCap));
}

void drawBadge(QPainter& painter, const QImage& icon)
{
    painter.setPen(QPen(QColor::fromRgbF(0, 0, 0, 0.35), 1));
    painter.setBrush(Qt::white);
    painter.drawEllipse(kBadge.adjusted(0.5, 0.5, -0.5, -0.5));
    painter.drawImage(kBadge.adjusted(3, 3, -3, -3), icon);
}

qreal cursorDevicePixelRatio()
{
    // X11 cursors are bitmaps in device pixels: make them sharp for the screen's scale.
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    return std::isfinite(ratio) && ratio >= 1 ? std::min(ratio, 4.0) : 1.0;
}

} // namespace

QImage make(Tool tool, qreal devicePixelRatio)
{
    const int pixels = int(std::ceil(imageSize * devicePixelRatio));
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    drawPlus(painter);
    if (const auto icon = DesignIcons::tinted(Tools::designIcon(tool), QSize(12, 12), kIconTint, devicePixelRatio))
        drawBadge(painter, *icon);
    return image;
}

QCursor cursor(Tool tool)
{
    if (tool == Tool::select)
        return QCursor(Qt::ArrowCursor);
    static QHash<int, QCursor> cache;
    const auto found = cache.constFind(int(tool));
    if (found != cache.constEnd())
        return *found;
    QPixmap pixmap = QPixmap::fromImage(make(tool, cursorDevicePixelRatio()));
    const QCursor made(pixmap, hotSpot, hotSpot);
    cache.insert(int(tool), made);
    return made;
}

} // namespace lumivex::ToolCursor
