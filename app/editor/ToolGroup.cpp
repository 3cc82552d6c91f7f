#include "app/editor/ToolGroup.h"

#include "app/design/Design.h"

#include <QHBoxLayout>
#include <QPainter>

namespace lumivex {

ToolGroup::ToolGroup(QWidget* parent)
    : QWidget(parent)
    , m_row(new QHBoxLayout(this))
{
    m_row->setContentsMargins(3, 3, 3, 3);
    m_row->setSpacing(2);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ToolGroup::add(QWidget* button)
{
    m_row->addWidget(button);
}

void ToolGroup::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Design::color(Design::Token::group));
    painter.drawRoundedRect(QRectF(rect()), 10, 10);
}

} // namespace lumivex
