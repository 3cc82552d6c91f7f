#include "app/editor/TipBubble.h"

#include "app/design/Design.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace lumivex {

TipBubble::TipBubble(const QString& text, std::function<void()> onClick, QWidget* parent)
    : QWidget(parent)
    , m_label(new QLabel(text))
    , m_onClick(std::move(onClick))
{
    setCursor(Qt::PointingHandCursor);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 8 + arrowHeight, 12, 8);
    m_label->setFont(Design::font(12, QFont::Medium));
    m_label->setWordWrap(true);
    m_label->setFixedWidth(220);
    QPalette palette = m_label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    m_label->setPalette(palette);
    row->addWidget(m_label);
    adjustSize();
}

QString TipBubble::text() const
{
    return m_label->text();
}

void TipBubble::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF body = QRectF(rect()).adjusted(0.5, arrowHeight + 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(body, 10, 10);
    // The arrow points up at the control, near the bubble's left end where the control sits.
    const double tip = 24;
    QPainterPath arrow;
    arrow.moveTo(tip - arrowHeight, body.top() + 1);
    arrow.lineTo(tip, 0.5);
    arrow.lineTo(tip + arrowHeight, body.top() + 1);
    arrow.closeSubpath();
    path = path.united(arrow);
    painter.fillPath(path, Design::brandGradient(rect()));
}

void TipBubble::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && m_onClick)
        m_onClick();
}

} // namespace lumivex
