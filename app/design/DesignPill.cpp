#include "app/design/DesignPill.h"

#include "app/design/Design.h"

#include <QFontMetrics>
#include <QPainter>

namespace lumivex {

DesignPill::DesignPill(const QString& title, bool selected, const QString& help, QWidget* parent)
    : QAbstractButton(parent)
    , m_selected(selected)
{
    setText(title);
    setToolTip(help);
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setFont(Design::font(12, QFont::Medium));
}

void DesignPill::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    update();
}

QSize DesignPill::sizeHint() const
{
    return {QFontMetrics(font()).horizontalAdvance(text()) + 20, 24};
}

void DesignPill::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = box.height() / 2;
    if (m_selected) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Design::brandGradient(box, layoutDirection()));
        painter.drawRoundedRect(box, radius, radius);
        painter.setPen(Qt::white);
    } else {
        painter.setPen(QPen(underMouse() ? Design::indigo() : Design::color(Design::Token::controlBorder), 1));
        painter.setBrush(Design::color(Design::Token::buttonFill));
        painter.drawRoundedRect(box, radius, radius);
        painter.setPen(Design::color(isEnabled() ? Design::Token::ink : Design::Token::disabledInk));
    }
    painter.drawText(box, Qt::AlignCenter, text());
}

} // namespace lumivex
