#include "app/design/DesignCard.h"

#include "app/design/Design.h"

#include <QPainter>
#include <QVBoxLayout>

namespace lumivex {

DesignCard::DesignCard(int spacing, QMargins insets, QWidget* parent)
    : QWidget(parent)
    , m_content(new QVBoxLayout(this))
{
    m_content->setSpacing(spacing);
    m_content->setContentsMargins(insets);
}

void DesignCard::add(QWidget* widget)
{
    m_content->addWidget(widget);
}

void DesignCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Design::color(Design::Token::cardBorder), 1));
    painter.setBrush(Design::color(Design::Token::card));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
}

} // namespace lumivex
