#include "app/design/DesignIcon.h"

#include "app/design/DesignIcons.h"

#include <QPainter>

namespace lumivex {

DesignIcon::DesignIcon(const QString& name, int size, Design::Token ink, QWidget* parent)
    : QWidget(parent)
    , m_name(name)
    , m_size(size)
    , m_ink(ink)
{
    setFixedSize(size, size);
}

void DesignIcon::setName(const QString& name)
{
    m_name = name;
    update();
}

void DesignIcon::setColor(const QColor& color)
{
    m_color = color;
    update();
}

void DesignIcon::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), DesignIcons::pixmap(m_name, QSize(m_size, m_size),
                                                         m_color.value_or(Design::color(m_ink)), devicePixelRatioF()));
}

} // namespace lumivex
