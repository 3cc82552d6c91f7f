#include "app/design/IconTile.h"

#include "app/design/Design.h"
#include "app/design/DesignIcons.h"

#include <QPainter>

namespace lumivex {

IconTile::IconTile(const QString& icon, int size, QWidget* parent)
    : QWidget(parent)
    , m_icon(icon)
    , m_size(size)
{
    setFixedSize(size, size);
}

void IconTile::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(0, 0, m_size, m_size);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Design::brandGradient(box, layoutDirection()));
    painter.drawRoundedRect(box, m_size * 0.26, m_size * 0.26);
    const int glyph = int(m_size * 0.58);
    const int offset = (m_size - glyph) / 2;
    painter.drawPixmap(QPoint(offset, offset),
                       DesignIcons::pixmap(m_icon, QSize(glyph, glyph), Qt::white, devicePixelRatioF()));
}

} // namespace lumivex
